#include "tests/support/ScopedDrive.h"

#include <windows.h>

#include <string>

#include "framework/runtime/Cp1251.h"
#include "tests/support/WineUnix.h"

namespace {

std::wstring RootOf(char letter) { return std::wstring(1, wchar_t(letter)) + L":\\"; }

bool Readable(char letter) { return GetFileAttributesW(RootOf(letter).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits up to five seconds for the drive to be there or gone.
bool WaitUntil(char letter, bool there)
{
    for (int i = 0; i < 100; ++i) {
        if (Readable(letter) == there)
            return true;
        Sleep(50);
    }
    return false;
}

// The Unix path of the link Wine reads the drive from.
std::string DosDeviceLink(char letter)
{
    char prefix[4096];
    const DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (n == 0 || n >= sizeof prefix)
        return std::string();
    return std::string(prefix) + "/dosdevices/" + char(letter - 'A' + 'a') + ":";
}

}  // namespace

TScopedDrive::TScopedDrive()
{
    for (char letter = 'Q'; letter <= 'Y' && !letter_; ++letter)
        if (GetDriveTypeW(RootOf(letter).c_str()) == DRIVE_NO_ROOT_DIR)
            letter_ = letter;
}

TScopedDrive::~TScopedDrive() { Unplug(); }

AnsiString TScopedDrive::Root() const { return AnsiString(1, letter_) + ":\\"; }

bool TScopedDrive::Plug(const AnsiString &folder)
{
    if (!letter_)
        return false;
    const std::wstring target = Cp1251ToWide(folder);
    if (UnderWine()) {
        const std::string unixPath = WineUnixPath(target);
        const std::string link = DosDeviceLink(letter_);
        if (unixPath.empty() || link.empty())
            return false;
        plugged_ = RunUnix("/bin/ln -sfn \"" + unixPath + "\" \"" + link + "\"");
    } else {
        const wchar_t device[] = {wchar_t(letter_), L':', 0};
        std::wstring substituted = target;
        if (substituted.size() > 3 && substituted.back() == L'\\')
            substituted.pop_back();
        plugged_ = DefineDosDeviceW(0, device, substituted.c_str()) != 0;
    }
    return plugged_ && WaitUntil(letter_, true);
}

bool TScopedDrive::Unplug()
{
    if (!plugged_)
        return true;
    plugged_ = false;
    if (UnderWine())
        RunUnix("/bin/rm -f \"" + DosDeviceLink(letter_) + "\"");
    else {
        const wchar_t device[] = {wchar_t(letter_), L':', 0};
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, device, nullptr);
    }
    return WaitUntil(letter_, false);
}
