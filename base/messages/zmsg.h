#pragma once
// The library layer's message service and its exception.
#include <cstdint>
#include <functional>
#include <initializer_list>

#include "framework/runtime/Exception.h"

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

// What stands for the text of a number that has none (MessageText adds the arguments after it).
AnsiString MissingMessageText(int number);

// Throws ZError(args, number).
[[noreturn]] void RaiseMessage(const AnsiString &args, int number);

// Supplies the texts of numbers that are neither built in nor 99, 1099, 2099: called with the number,
// true when the Russian text is wanted, the text base's record kind (1420) and the string to fill.
using TMessageTextProvider = std::function<void(uint16_t number, bool russian, int kind, AnsiString &text)>;
extern TMessageTextProvider MessageTextProvider;
void ClearMessageTextProvider();
// Record kind of the text base under which the provider keeps message texts.
constexpr int MessageRecordKind = 1420;
// The provider's text for a number in the given language and record kind; without a provider the
// string-resource text of the number.
AnsiString ProviderText(int number, bool russian, int recordKind);
// The same in the message language, record kind MessageRecordKind.
AnsiString ProviderText(int number);

// "<system text>[Win=XXXXXXXX]": the description of a system error code.
AnsiString WindowsErrorDescription(uint32_t code, const AnsiString &systemText);
// The message of a system error about `arg`: arg + "#(" + description + ")", or the description
// alone when arg is empty.
AnsiString WindowsErrorMessage(const AnsiString &arg, uint32_t code, const AnsiString &systemText);

// Throws ZError 99 describing the calling thread's last system error (see WindowsErrorMessage).
[[noreturn]] void RaiseWindowsError(const AnsiString &arg);
// Shows the last system error (arg + "#(" + system text + ")", numbered 99) without throwing.
void ShowLastWindowsError(const AnsiString &arg);

// The program's string resource `number`, "" when it has none (always "" in a build without
// resources).
AnsiString ResourceMessageText(int number);

// ---- dialogs ---------------------------------------------------------------------------------
// Each shows MessageText(args, number + the kind's offset) in the message dialog (an offset is added
// only to a non-zero number). The WithView variants also give the dialog its view button and the two
// files it shows (errors file, inaccuracies file).
void ShowMessageNo(const AnsiString &args, int number);  // error; 999 shows nothing
void ShowMessageWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2);
void ShowZError(const ZError &e);                      // error; 999 shows nothing
bool AskQuestion(const AnsiString &args, int number);  // +2000; true for yes
bool AskQuestionWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2);
void ShowWarning(const AnsiString &args, int number);  // +1000
void ShowWarningWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2);
std::uint8_t AskThreeWay(const AnsiString &args, int number);  // +2000; 1, 2 or 3
// A question with a do-not-ask-again box over a ready text: bit 1 the user said yes, bit 2 the box
// is ticked.
std::uint8_t AskQuestionWithBox(const AnsiString &text);
// The same with the box's own caption; an empty caption hides the box.
std::uint8_t ShowMessageBoxed(const AnsiString &text, const AnsiString &boxCaption);
void ShowInformation(const AnsiString &args, int number);  // +3000
void ShowInformationWithView(const AnsiString &args, int number, const AnsiString &file1, const AnsiString &file2);
// A choice among MessageText(args, n) for the numbers up to the first one below 1; the chosen
// item's index, or -1 when the user refused or there was nothing to choose.
int ChooseFromList(const AnsiString &args, std::initializer_list<int> numbers);
bool ShowWarningOnce(const AnsiString &args, int number);         // +1000; true when the box is ticked
std::uint8_t AskYesCancelNo(const AnsiString &args, int number);  // +2000; 1 yes, 3 refuse, 2 no
