// Where the desktop is and how the shortcut gets there.
#include "update/variant/DesktopShortcut.h"

#include <cstring>

namespace {
const char kShellFoldersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}  // namespace

AnsiString GetWindowsFolder(IDesktopServices &system) { return system.WindowsFolder(); }

int ReadDesktopFolder(char *buffer, IDesktopServices &system)
{
    buffer[0] = '\0';
    AnsiString folder;
    if (system.ReadUserString(kShellFoldersKey, "Desktop", folder) != rrOk)
        return 0;
    // A path that does not fit is no desktop folder: a cut one would name another folder.
    if (folder.empty() || folder.size() >= static_cast<size_t>(DesktopFolderBufferSize))
        return 0;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<int>(folder.size());
}

bool SaveShellLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                   const AnsiString &workingFolder, IDesktopServices &system)
{
    return system.SaveLink(target, linkFile, description, workingFolder);
}

bool CreateDesktopShortcut(const AnsiString &target, const AnsiString &linkName, const AnsiString &workingFolder,
                           IDesktopServices &system, bool *saved, const TBeforeLinkSaved &beforeSave)
{
    if (saved)
        *saved = false;
    char buffer[DesktopFolderBufferSize];
    AnsiString desktop;
    if (ReadDesktopFolder(buffer, system) > 0) {
        desktop = buffer;
    } else {
        AnsiString windows = GetWindowsFolder(system);
        if (windows.empty())
            return false;
        if (system.FolderExists(windows + "\\DESKTOP"))
            desktop = windows + "\\DESKTOP";
        else if (system.FolderExists(windows + "\\Рабочий стол"))
            desktop = windows + "\\Рабочий стол";
        else
            return false;
    }
    const AnsiString linkFile = desktop + "\\" + linkName;
    const bool ok =
        (!beforeSave || beforeSave(linkFile)) && SaveShellLink(target, linkFile, linkName, workingFolder, system);
    if (saved)
        *saved = ok;
    return true;
}
