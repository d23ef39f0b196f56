#pragma once
// The library layer's message service and its exception.
#include <cstdint>
#include <functional>

#include "framework/Exception.h"

// The library layer's exception. Its message holds the "|"-separated arguments of a numbered
// message; its help context holds the message number (0: the message is the whole text, 99: the
// first argument is the whole text, 999: the user has already been told).
class ZError : public Exception {
public:
    ZError(AnsiString arguments, int number) : Exception(std::move(arguments), number) {}
    int Number() const { return HelpContext(); }
};

// The final text of message `number` with the "|"-separated `args` in its "$" places: 0 gives args
// unchanged, 1 to 40 the built-in text in the message language, 99 (1099, 2099) the first argument,
// any other number the text provider's or the string resources' text. A number without a text gives
// the missing-text message followed by the arguments.
AnsiString MessageText(const AnsiString &args, int number);

// Throws ZError(args, number).
[[noreturn]] void RaiseMessage(const AnsiString &args, int number);

// Supplies the texts of numbers that are neither built in nor 99, 1099, 2099: called with the number,
// true when the Russian text is wanted, the text base's record kind (1420) and the string to fill.
using TMessageTextProvider = std::function<void(uint16_t number, bool russian, int kind, AnsiString &text)>;
extern TMessageTextProvider MessageTextProvider;
void ClearMessageTextProvider();

// "<system text>[Win=XXXXXXXX]": the description of a system error code.
AnsiString WindowsErrorDescription(uint32_t code, const AnsiString &systemText);
// The message of a system error about `arg`: arg + "#(" + description + ")", or the description
// alone when arg is empty.
AnsiString WindowsErrorMessage(const AnsiString &arg, uint32_t code, const AnsiString &systemText);

// Throws ZError 99 describing the calling thread's last system error (see WindowsErrorMessage).
[[noreturn]] void RaiseWindowsError(const AnsiString &arg);

// Asks question `number` (+2000) with the arguments; true when the user answers yes.
bool AskQuestion(const AnsiString &args, int number);

// The program's string resource `number`, "" when it has none (always "" in a build without
// resources).
AnsiString ResourceMessageText(int number);

// Shows message `number` with the arguments as an error; 999 shows nothing.
void ShowMessageNo(const AnsiString &args, int number);
// Shows message `number` (+1000; 0 stays 0) with the arguments as a warning.
void ShowWarning(const AnsiString &args, int number);
