#include "tests/support/ScopedSmallDrive.h"

#include <windows.h>

#include <vector>

#include "framework/runtime/Cp1251.h"
#include "tests/support/UnixCommand.h"

namespace {

// Total bytes of the file system that holds the folder, 0 when it cannot be read.
uint64_t TotalBytes(const AnsiString &folder)
{
    ULARGE_INTEGER total{};
    return GetDiskFreeSpaceExW(Cp1251ToWide(folder).c_str(), nullptr, &total, nullptr) ? total.QuadPart : 0;
}

// Wine starts a Unix command and does not wait for its end: the mount is watched for up to five
// seconds until the folder is on a drive of the size (or, unmounting, no longer is).
bool WaitForSize(const AnsiString &folder, uint64_t bytes, bool mounted)
{
    for (int i = 0; i < 100; ++i) {
        const uint64_t total = TotalBytes(folder);
        if ((total != 0 && total <= bytes) == mounted)
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

TScopedSmallDrive::TScopedSmallDrive(const AnsiString &folder, uint32_t kilobytes) : folder_(folder)
{
    if (!UnderWine()) {
        why_ = "a small drive is mounted only under Wine";
        return;
    }
    unixPath_ = UnixPathOf(folder);
    if (unixPath_.empty()) {
        why_ = "Wine gives no Unix path for " + folder;
        return;
    }
    bytes_ = uint64_t(kilobytes) * 1024;
    RunUnixCommand("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs \"" + unixPath_ + "\"");
    // The mount is there when the folder reports the drive's size, whatever the command said.
    mounted_ = WaitForSize(folder_, bytes_, true);
    if (!mounted_)
        why_ = "mounting a tmpfs on " + unixPath_ + " was refused (the tests must run as root)";
}

TScopedSmallDrive::~TScopedSmallDrive()
{
    // Also when the mount was not seen in time, for it may have come late; lazily, so that a handle a
    // failed test left open does not keep the folder mounted.
    if (!unixPath_.empty())
        RunUnixCommand("/bin/umount -l \"" + unixPath_ + "\"");
    if (mounted_)
        WaitForSize(folder_, bytes_, false);
}

uint64_t TScopedSmallDrive::FreeBytes() const
{
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExW(Cp1251ToWide(folder_).c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

bool TScopedSmallDrive::FillLeaving(uint64_t bytes)
{
    HANDLE filler =
        CreateFileW(Cp1251ToWide(folder_ + "filler.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (filler == INVALID_HANDLE_VALUE)
        return false;
    SetFilePointer(filler, 0, nullptr, FILE_END);
    const std::vector<char> block(4096, 'f');
    bool filled = true;
    while (filled && FreeBytes() > bytes) {
        const uint64_t over = FreeBytes() - bytes;
        const DWORD n = static_cast<DWORD>(over < block.size() ? over : block.size());
        DWORD done = 0;
        filled = WriteFile(filler, block.data(), n, &done, nullptr) && done == n && FlushFileBuffers(filler);
    }
    CloseHandle(filler);
    return FreeBytes() <= bytes;
}
