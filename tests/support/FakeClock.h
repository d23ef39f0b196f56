#pragma once
// A clock for tests: time stands still until the code under test sleeps or the test moves it, and
// sleeping costs no real time. Install it with TClockOverride.
#include <cstdint>
#include <vector>

#include "framework/runtime/Clock.h"

class FakeClock : public TClock {
public:
    explicit FakeClock(TDateTime start = EncodeDate(2026, 1, 15) + EncodeTime(10, 0, 0, 0)) : now_(start) {}

    TDateTime Now() override { return now_; }
    void Sleep(unsigned milliseconds) override
    {
        sleeps.push_back(milliseconds);
        Advance(milliseconds);
    }
    std::uint64_t TickCount() override { return ticks_; }

    void Advance(unsigned milliseconds)
    {
        ticks_ += milliseconds;
        now_ += static_cast<double>(milliseconds) / 86400000.0;
    }
    void Set(TDateTime now) { now_ = now; }

    // Every pause asked for, in order.
    std::vector<unsigned> sleeps;

private:
    TDateTime now_;
    std::uint64_t ticks_ = 0;
};
