#pragma once
// The desktop shortcut to the product executable of an updated copy: finding the user's desktop
// folder and saving the shell link there.
#include <functional>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Registry.h"

// Size of the buffer ReadDesktopFolder fills: a path of up to 260 bytes and its terminator.
constexpr int DesktopFolderBufferSize = 261;

// What the shortcut steps need from the system; tests put in their own.
class IDesktopServices {
public:
    virtual ~IDesktopServices() = default;
    virtual TRegistryRead ReadUserString(const AnsiString &keyPath, const AnsiString &valueName, AnsiString &value) = 0;
    virtual AnsiString WindowsFolder() = 0;
    virtual bool FolderExists(const AnsiString &folder) = 0;
    // Saves the link with the show state "shown"; true when it was saved.
    virtual bool SaveLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                          const AnsiString &workingFolder) = 0;
};

// The Windows folder; "" when the system does not tell it.
AnsiString GetWindowsFolder(IDesktopServices &system);
// The desktop folder from the current user's shell folders ("Desktop", a plain string value only),
// written with a terminator into `buffer` (DesktopFolderBufferSize bytes). Returns its length, 0
// when there is none or it does not fit.
int ReadDesktopFolder(char *buffer, IDesktopServices &system);
// Saves the link and repaints the desktop; true when the link was saved.
bool SaveShellLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                   const AnsiString &workingFolder, IDesktopServices &system);
// Told the link file once the desktop is found and before the link is saved there; false keeps the
// link from being saved, as if the system could not save it.
using TBeforeLinkSaved = std::function<bool(const AnsiString &linkFile)>;

// Puts a link named `linkName` to `target` on the desktop, its description the link name. The
// desktop is the registry's, else the Windows folder's "DESKTOP" or "Рабочий стол" subfolder. False
// only when no desktop folder is found; whether the link was saved goes to `saved` when given.
bool CreateDesktopShortcut(const AnsiString &target, const AnsiString &linkName, const AnsiString &workingFolder,
                           IDesktopServices &system, bool *saved = nullptr,
                           const TBeforeLinkSaved &beforeSave = nullptr);

// The same over the real system (Windows build).
IDesktopServices &SystemDesktopServices();
AnsiString GetWindowsFolder();
int ReadDesktopFolder(char *buffer);
bool SaveShellLink(const AnsiString &target, const AnsiString &linkFile, const AnsiString &description,
                   const AnsiString &workingFolder);
bool CreateDesktopShortcut(const AnsiString &target, const AnsiString &linkName, const AnsiString &workingFolder,
                           bool *saved = nullptr, const TBeforeLinkSaved &beforeSave = nullptr);
