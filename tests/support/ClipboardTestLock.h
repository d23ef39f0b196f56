#pragma once
// Test programs that run side by side share the one clipboard of the Wine session. A test case that
// puts text on the clipboard and reads it back holds this lock (a mutex named for the whole session)
// for its time, so that no case of another program changes the clipboard in between. Windows build
// only.
#include <windows.h>

class ClipboardTestLock {
public:
    ClipboardTestLock() : mutex_(CreateMutexW(nullptr, FALSE, L"qmt-tests-clipboard"))
    {
        // A program that died holding the lock leaves it abandoned, which is owned all the same.
        if (mutex_ != nullptr) {
            const DWORD waited = WaitForSingleObject(mutex_, 120000);
            owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        }
    }
    ~ClipboardTestLock()
    {
        if (owned_)
            ReleaseMutex(mutex_);
        if (mutex_ != nullptr)
            CloseHandle(mutex_);
    }
    ClipboardTestLock(const ClipboardTestLock &) = delete;
    ClipboardTestLock &operator=(const ClipboardTestLock &) = delete;

private:
    HANDLE mutex_;
    bool owned_ = false;
};
