#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/runtime/Clock.h"
#include "framework/runtime/Kernel.h"
#include "tests/support/FakeClock.h"

TEST(ClockSeam, AnInstalledClockServesNowAndSleepUntilRemoved)
{
    TDateTime before = Now();
    {
        FakeClock fake(EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 32));
        TClockOverride use(fake);
        EXPECT_EQ("07.03.26 09:05:04.032", FormatDateTime("dd.mm.yy hh:nn:ss.zzz", Now()));
        ClockSleep(10000);  // ten seconds pass at once
        ClockSleep(968);
        EXPECT_EQ("07.03.26 09:05:15.000", FormatDateTime("dd.mm.yy hh:nn:ss.zzz", Now()));
        EXPECT_EQ((std::vector<unsigned>{10000, 968}), fake.sleeps);
        EXPECT_EQ(10968u, ClockTickCount());
        EXPECT_DOUBLE_EQ(EncodeDate(2026, 3, 7), Date());
    }
    // The system clock is back: real time, later than before.
    EXPECT_GE(Now(), before);
    EXPECT_LT(Now() - before, 1.0);
    EXPECT_EQ(&SystemClock(), &CurrentClock());
}

TEST(ClockSeam, SystemClockMovesForward)
{
    std::uint64_t t0 = SystemClock().TickCount();
    SystemClock().Sleep(20);
    EXPECT_GE(SystemClock().TickCount() - t0, 15u);
}

TEST(ClockSeam, AWaitThatServesServesThroughoutOnTheSystemClockAndOnceOnATestClock)
{
    int served = 0;
    const std::uint64_t t0 = SystemClock().TickCount();
    SystemClock().SleepServing(100, [&] { ++served; });
    EXPECT_GE(SystemClock().TickCount() - t0, 95u);
    EXPECT_GE(served, 3);  // a window stays drawn through the wait, not only at its start

    FakeClock fake;
    TClockOverride use(fake);
    served = 0;
    ClockSleepServing(1000, [&] { ++served; });
    EXPECT_EQ(1, served);
    EXPECT_EQ(std::vector<unsigned>{1000}, fake.sleeps);
}

TEST(Locking, CriticalSectionAndCounterUnderThreads)
{
    TCriticalSection cs;
    TInterlockedCounter counter;
    long long guarded = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                counter.Increment();
                TCriticalSectionLock lock(cs);
                TCriticalSectionLock again(cs);  // the owner may enter again
                ++guarded;
            }
        });
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(40000, counter.Value());
    EXPECT_EQ(40000, guarded);
    EXPECT_EQ(39999, counter.Decrement());
    EXPECT_EQ(39999, counter.Exchange(0));
    EXPECT_TRUE(cs.TryEnter());
    cs.Leave();
}
