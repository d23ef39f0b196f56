// The desktop shortcut over the real system.
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/ShellLink.h"
#include "update/apply/FileOps.h"
#include "update/variant/DesktopShortcut.h"

namespace {
class SystemDesktop : public IDesktopServices {
public:
    TRegistryRead ReadUserString(const AnsiString &keyPath, const AnsiString &valueName, AnsiString &value) override
    {
        return ReadUserRegistryString(keyPath, valueName, value);
    }
    AnsiString WindowsFolder() override { return GetWindowsFolderPath(); }
    bool FolderExists(const AnsiString &folder) override { return DirectoryExists(folder); }
    bool SaveLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                  const AnsiString &workingFolder) override
    {
        // The link is a file the engine makes, outside its own folders: it passes the file-operation gate.
        if (PassFileOpGate(TFileOp::Create, linkFile) != 0)
            return false;
        bool saved = SaveShellLinkFile(target, linkFile, description, workingFolder, swShow);
        RefreshDesktopWindow();
        return saved;
    }
};
}  // namespace

IDesktopServices &SystemDesktopServices()
{
    static SystemDesktop system;
    return system;
}

AnsiString GetWindowsFolder() { return GetWindowsFolder(SystemDesktopServices()); }
int ReadDesktopFolder(char *buffer) { return ReadDesktopFolder(buffer, SystemDesktopServices()); }

bool SaveShellLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                   const AnsiString &workingFolder)
{
    return SaveShellLink(target, linkFile, description, workingFolder, SystemDesktopServices());
}

bool CreateDesktopShortcut(const AnsiString &target, const AnsiString &linkName, const AnsiString &workingFolder,
                           bool *saved, const TBeforeLinkSaved &beforeSave)
{
    return CreateDesktopShortcut(target, linkName, workingFolder, SystemDesktopServices(), saved, beforeSave);
}
