#pragma once
// The clock seam: every reading of the local time, every wait and every tick count goes through
// the installed clock, so tests can put in a clock whose waits cost nothing.
#include <cstdint>
#include <functional>

#include "framework/runtime/SysUtils.h"

class TClock {
public:
    virtual ~TClock() = default;
    // Local date and time.
    virtual TDateTime Now() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // Waits as Sleep does, calling `serve` as it starts and, on the real clock, every
    // ServeMilliseconds while it lasts: a program keeps its window drawn while it waits. A test clock
    // serves once and then sleeps.
    virtual void SleepServing(unsigned milliseconds, const std::function<void()> &serve)
    {
        serve();
        Sleep(milliseconds);
    }
    static constexpr unsigned ServeMilliseconds = 20;
    // Milliseconds from an arbitrary start, never going back.
    virtual std::uint64_t TickCount() = 0;
};

// The real clock: local time of the machine, real sleeping.
TClock &SystemClock();
// The clock in force (the system clock unless another is installed).
TClock &CurrentClock();
// Puts `clock` in force (nullptr restores the system clock); returns the one it replaces. The
// caller keeps ownership and must keep the clock alive while it is installed.
TClock *InstallClock(TClock *clock);

// Installs a clock for the lifetime of this object and restores the previous one after.
class TClockOverride {
public:
    explicit TClockOverride(TClock &clock) : previous_(InstallClock(&clock)) {}
    ~TClockOverride() { InstallClock(previous_); }
    TClockOverride(const TClockOverride &) = delete;
    TClockOverride &operator=(const TClockOverride &) = delete;

private:
    TClock *previous_;
};

// Waits through the clock in force.
void ClockSleep(unsigned milliseconds);
void ClockSleepServing(unsigned milliseconds, const std::function<void()> &serve);
std::uint64_t ClockTickCount();
