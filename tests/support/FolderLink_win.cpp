#include "tests/support/FolderLink.h"

#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "tests/support/UnixCommand.h"

namespace {

bool IsFolderLink(const std::wstring &path)
{
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) &&
           (attr & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The wait for a Unix program may end before the program does: up to five seconds for the link to
// come or go.
void WaitForLink(const std::wstring &link, bool there)
{
    for (int i = 0; i < 100 && IsFolderLink(link) != there; ++i)
        Sleep(50);
}

}  // namespace

void RemoveFolderLink(const std::wstring &link)
{
    if (!IsFolderLink(link))
        return;
    if (!UnderWine()) {
        RemoveDirectoryW(link.c_str());
        return;
    }
    // Wine's removal would follow the link.
    RunUnixCommand("/bin/rm -f \"" + UnixPathOf(WideToCp1251(link)) + "\"");
    WaitForLink(link, false);
}

bool MakeFolderLink(const std::wstring &link, const std::wstring &target)
{
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && IsFolderLink(link))
        return true;
    const std::string unixLink = UnixPathOf(WideToCp1251(link)), unixTarget = UnixPathOf(WideToCp1251(target));
    if (unixLink.empty() || unixTarget.empty() ||
        !RunUnixCommand("/bin/ln -sfn \"" + unixTarget + "\" \"" + unixLink + "\""))
        return false;
    WaitForLink(link, true);
    return IsFolderLink(link);
}
