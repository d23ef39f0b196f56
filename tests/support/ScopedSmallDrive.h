#pragma once
// A small drive of the test's own, to fill up: a file system of a few hundred kilobytes mounted on
// an empty folder of the test, so that writes there meet a full disk as a user's full stick does.
// Under Wine (the tests run as root on Linux) it is a tmpfs mounted through the host's mount and
// unmounted when the object goes; where mounting is refused, Mounted() is false and Why() says why.
// Windows build only.
#include <cstdint>
#include <string>

#include "framework/runtime/AnsiString.h"

class TScopedSmallDrive {
public:
    // Mounts a drive of `kilobytes` on `folder` (an existing empty folder, with trailing "\").
    TScopedSmallDrive(const AnsiString &folder, uint32_t kilobytes);
    ~TScopedSmallDrive();
    TScopedSmallDrive(const TScopedSmallDrive &) = delete;
    TScopedSmallDrive &operator=(const TScopedSmallDrive &) = delete;

    bool Mounted() const { return mounted_; }
    const std::string &Why() const { return why_; }
    // Bytes free on the drive.
    uint64_t FreeBytes() const;
    // Writes a filler file onto the drive until at most `bytes` are free; false when it cannot.
    bool FillLeaving(uint64_t bytes);

private:
    AnsiString folder_;
    std::string unixPath_;
    uint64_t bytes_ = 0;
    bool mounted_ = false;
    std::string why_;
};
