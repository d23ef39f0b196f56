#pragma once
// The library layer's exception. Its message holds the "|"-separated arguments of a numbered
// message; its help context holds the message number (0: the message is the whole text, 99: the
// first argument is the whole text, 999: the user has already been told).
#include "framework/Exception.h"

class ZError : public Exception {
public:
    ZError(AnsiString arguments, int number) : Exception(std::move(arguments), number) {}
    int Number() const { return HelpContext(); }
};
