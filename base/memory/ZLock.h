#pragma once
// The libraries' one lock. Each shared singleton keeps a TZLock of its own and holds it around its
// whole operation; no code holds two of them at once. The thread that holds a lock may enter it again
// (entries and leaves pair up).
#include "framework/runtime/Kernel.h"

class TZLock {
public:
    TZLock() = default;
    TZLock(const TZLock &) = delete;
    TZLock &operator=(const TZLock &) = delete;

    void Enter() { section_.Enter(); }
    void Leave() { section_.Leave(); }

private:
    TCriticalSection section_;
};

// Holds a TZLock for its lifetime.
class TZLockHold {
public:
    explicit TZLockHold(TZLock &lock) : lock_(lock) { lock_.Enter(); }
    ~TZLockHold() { lock_.Leave(); }
    TZLockHold(const TZLockHold &) = delete;
    TZLockHold &operator=(const TZLockHold &) = delete;

private:
    TZLock &lock_;
};
