#pragma once
// Root of every exception of the system: a message and a help context (a number the thrower
// attaches; the library layer uses it for its message number).
#include <exception>

#include "framework/runtime/AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : message_(std::move(message)) {}
    // The framework's create-with-help-context constructor.
    Exception(AnsiString message, int helpContext) : message_(std::move(message)), helpContext_(helpContext) {}

    const AnsiString &Message() const { return message_; }
    void SetMessage(AnsiString message) { message_ = std::move(message); }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int helpContext) { helpContext_ = helpContext; }
    const char *what() const noexcept override { return message_.c_str(); }

private:
    AnsiString message_;
    int helpContext_ = 0;
};
