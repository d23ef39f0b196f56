#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/memory/ZLock.h"

TEST(TZLock, TwoThreadsTakingOneLockNeverInterleave)
{
    TZLock lock;
    // Read-modify-write of a plain pair: without the lock the threads would lose updates and see the
    // pair half written.
    long counter = 0;
    long shadow = 0;
    bool torn = false;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            lock.Enter();
            if (counter != shadow)
                torn = true;
            const long next = counter + 1;
            std::this_thread::yield();
            counter = next;
            shadow = next;
            lock.Leave();
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
    EXPECT_FALSE(torn);
}

TEST(TZLock, TheHolderMayEnterAgain)
{
    TZLock lock;
    lock.Enter();
    lock.Enter();
    lock.Leave();
    bool entered = false;
    std::thread other([&] {
        lock.Enter();
        entered = true;
        lock.Leave();
    });
    lock.Leave();
    other.join();
    EXPECT_TRUE(entered);
}
