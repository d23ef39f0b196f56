#pragma once
// The exception of the library's lowest layers: a numeric code, a second code and a text (usually
// the name of the file concerned). Thrown by value and caught as Exception&, like ZError.
#include <cstdint>

#include "framework/runtime/Exception.h"

// An own error number n of the library becomes the code OwnErrorBase + n.
constexpr uint32_t OwnErrorBase = 0xE4000000u;
constexpr uint32_t OwnErrorCode(uint32_t n) { return OwnErrorBase + n; }

class TZExcept : public Exception {
public:
    // An own error: no message (whoever shows it builds the text from the code); the help context
    // is the code.
    TZExcept(uint32_t code, AnsiString text);
    // The message is the program's string resource numbered by the code ("" when there is none, as
    // for code 0, the code of a failed system call); the help context is the second code.
    TZExcept(uint32_t code, AnsiString text, uint32_t secondCode);
    // A ready message, kept also as the text; the help context is the code.
    TZExcept(AnsiString message, uint32_t code);

    uint32_t Code() const { return code_; }
    uint32_t SecondCode() const { return secondCode_; }
    const AnsiString &Text() const { return text_; }

private:
    uint32_t code_;
    uint32_t secondCode_;
    AnsiString text_;
};
