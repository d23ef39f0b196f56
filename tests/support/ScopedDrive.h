#pragma once
// A drive that is not there until a test plugs it in, as a user plugs in a stick or a share becomes
// reachable: a folder of the test shown as the root of a drive letter no drive uses. Under Wine the
// drive is a link in the prefix's "dosdevices" folder, made and removed with the system's ln and rm
// (Wine looks the link up at each access); on Windows a substituted drive. Windows build only.
#include "framework/runtime/AnsiString.h"

class TScopedDrive {
public:
    // Takes the first letter from Q on that no drive uses; nothing is plugged in yet.
    TScopedDrive();
    // Unplugs the drive.
    ~TScopedDrive();
    TScopedDrive(const TScopedDrive &) = delete;
    TScopedDrive &operator=(const TScopedDrive &) = delete;

    char Letter() const { return letter_; }
    // "Q:\".
    AnsiString Root() const;
    // Shows `folder` (with trailing "\") as the drive's root; true once the drive can be read.
    bool Plug(const AnsiString &folder);
    // The drive is gone again; true once it can no longer be read.
    bool Unplug();

private:
    char letter_ = 0;
    bool plugged_ = false;
};
