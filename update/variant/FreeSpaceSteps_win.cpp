// The free-space step and its companions as steps of the main window.
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "update/run/uMain.h"
#include "update/variant/FreeSpace.h"

bool TForm1::ScanDrives(uint64_t C, uint64_t B, char &drive)
{
    // A drive that is not ready fails its queries quietly instead of asking the user.
    TErrorModeGuard quiet;
    TSystemDrives system(*this);
    return PickTempDrive(C, B, ProductFolder, Drives ? *Drives : system, *this, drive);
}

bool TForm1::TestDiskSpeed(const AnsiString &root, sDskNfo &info) { return ::TestDiskSpeed(root, *this, info); }

void TForm1::ClearFolder(const AnsiString &folder, bool remove) { ::ClearFolder(folder, remove, *this); }

bool TForm1::RemoveTempFolder(const AnsiString &folder) { return ::RemoveTempFolder(folder, *this); }

bool TForm1::CheckFreeSpace()
{
    TFreeSpaceSteps steps;
    steps.FreeBytes = [this](const AnsiString &folder) {
        return Drives ? Drives->FreeBytes(folder) : FreeBytesOf(folder);
    };
    steps.RemoveTempFolder = [this](const AnsiString &folder) { RemoveTempFolder(folder); };
    steps.RunFolderIn = [this](const AnsiString &shared) {
        return RunTempFolder(shared, JournalPath, [](const AnsiString &folder) {
            const AnsiString name = ExcludeTrailingBackslash(folder);
            return DirectoryExists(name) || FileExists(name);
        });
    };
    steps.ScanDrives = [this](uint64_t c, uint64_t b, char &drive) { return ScanDrives(c, b, drive); };
    steps.ChooseFolder = [](const AnsiString &title, uint64_t c, uint64_t b, char productDrive) {
        return ChooseFolderWithSpace(title, c, b, productDrive);
    };
    steps.LogCmd = [this](int32_t code, const AnsiString &text) { return LogCmd(code, text); };
    return ::CheckFreeSpace(ProductFolder, Growth, TempBytesNeeded, LastRunProblems != 0, TempFolder, *this, steps);
}
