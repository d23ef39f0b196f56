#pragma once
// Runs a function on a new thread whose x87 control word is 0x27F (53-bit precision, rounding to
// nearest), as Windows starts every thread but the main one, and returns its result.
#include <cstdint>
#include <thread>

#include <gtest/gtest.h>

#include "base/numbers/ExtendedPrecision.h"

constexpr std::uint16_t WindowsThreadControlWord = 0x27F;

template <typename F>
auto OnWindowsStyleThread(F f)
{
    decltype(f()) result{};
    std::uint16_t after = 0;
    std::thread thread([&] {
        SetX87ControlWord(WindowsThreadControlWord);
        result = f();
        after = X87ControlWord();
    });
    thread.join();
    // The conversions give the caller's control word back.
    if (after != WindowsThreadControlWord)
        ADD_FAILURE() << "control word left at " << std::hex << after;
    return result;
}
