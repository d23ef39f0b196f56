// The system clock and the installed-clock slot.
#include "framework/runtime/Clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

// The local calendar time of a moment, through the C library's thread-safe form, which each system
// names its own way (Clock_win.cpp, Clock_native.cpp).
std::tm LocalCalendarTime(std::time_t seconds);

namespace {

class RealClock : public TClock {
public:
    TDateTime Now() override
    {
        using namespace std::chrono;
        auto now = system_clock::now();
        std::time_t seconds = system_clock::to_time_t(now);
        auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
        if (ms < 0)
            ms += 1000;
        const std::tm local = LocalCalendarTime(seconds);
        return EncodeDate(static_cast<unsigned short>(local.tm_year + 1900),
                          static_cast<unsigned short>(local.tm_mon + 1), static_cast<unsigned short>(local.tm_mday)) +
               EncodeTime(static_cast<unsigned short>(local.tm_hour), static_cast<unsigned short>(local.tm_min),
                          static_cast<unsigned short>(local.tm_sec > 59 ? 59 : local.tm_sec),
                          static_cast<unsigned short>(ms));
    }

    void Sleep(unsigned milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

    void SleepServing(unsigned milliseconds, const std::function<void()> &serve) override
    {
        using namespace std::chrono;
        const auto end = steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            serve();
            const auto now = steady_clock::now();
            if (now >= end)
                return;
            std::this_thread::sleep_for(
                std::min<steady_clock::duration>(end - now, std::chrono::milliseconds(ServeMilliseconds)));
        }
    }

    std::uint64_t TickCount() override
    {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

std::atomic<TClock *> &Slot()
{
    static std::atomic<TClock *> slot{nullptr};
    return slot;
}

}  // namespace

TClock &SystemClock()
{
    static RealClock clock;
    return clock;
}

TClock &CurrentClock()
{
    TClock *c = Slot().load();
    return c ? *c : SystemClock();
}

TClock *InstallClock(TClock *clock) { return Slot().exchange(clock); }

void ClockSleep(unsigned milliseconds) { CurrentClock().Sleep(milliseconds); }
void ClockSleepServing(unsigned milliseconds, const std::function<void()> &serve)
{
    CurrentClock().SleepServing(milliseconds, serve);
}
std::uint64_t ClockTickCount() { return CurrentClock().TickCount(); }
