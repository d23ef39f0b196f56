#pragma once
// Holds the clipboard open from another thread, as another program would, until the object goes.
// Windows build only.
#include <windows.h>

#include <atomic>
#include <thread>

class ClipboardHeldElsewhere {
public:
    ClipboardHeldElsewhere()
        : holder_([this] {
              opened_ = OpenClipboard(nullptr) != FALSE;
              ready_ = true;
              while (!release_)
                  Sleep(5);
              if (opened_)
                  CloseClipboard();
          })
    {
        while (!ready_)
            Sleep(5);
    }
    ~ClipboardHeldElsewhere()
    {
        release_ = true;
        holder_.join();
    }
    ClipboardHeldElsewhere(const ClipboardHeldElsewhere &) = delete;
    ClipboardHeldElsewhere &operator=(const ClipboardHeldElsewhere &) = delete;
    bool Opened() const { return opened_; }

private:
    std::atomic<bool> opened_{false}, ready_{false}, release_{false};
    std::thread holder_;
};
