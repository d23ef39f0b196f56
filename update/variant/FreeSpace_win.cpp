// The free-space step's contact with the system: drive queries, the speed test, folder clearing.
#include "update/variant/FreeSpace.h"

#include "base/files/FileNames.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Clock.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "framework/windows/Dialogs.h"
#include "storage/files/ourio.h"
#include "update/apply/FileOps.h"
#include "update/apply/FolderContents.h"
#include "update/journal/JournalLine.h"
#include "update/run/MsgBoxes.h"
#include "update/run/RunLog.h"

uint64_t FreeBytesOf(const AnsiString &folder)
{
    uint64_t bytes = 0;
    return GetFreeBytesAvailable(folder, bytes) ? bytes : 0;
}

uint32_t TSystemDrives::LogicalDriveMask() { return GetLogicalDriveMask(); }
AnsiString TSystemDrives::WindowsFolder() { return GetWindowsFolderPath(); }
bool TSystemDrives::IsFixedDrive(const AnsiString &root) { return GetDriveKind(root) == dkFixed; }
uint64_t TSystemDrives::FreeBytes(const AnsiString &folder) { return FreeBytesOf(folder); }
bool TSystemDrives::TestSpeed(const AnsiString &root, sDskNfo &info) { return TestDiskSpeed(root, log_, info); }

bool TestDiskSpeed(const AnsiString &root, TRunLog &log, sDskNfo &info)
{
    log.Log(ept_Plain, "Тест скорости ", true);
    const uint64_t start = ClockTickCount();
    const AnsiString fileName = root + SpeedTestFileName;
    bool created = false;
    try {
        TFileStream file(fileName, fmCreate);
        created = true;
        for (int i = 0; i < 2048; ++i) {
            file.Seek(0, soFromEnd);
            file.WriteBuffer("z", 1);
            file.Seek(0, soFromBeginning);
            if (file.Size() > 128)
                file.SetSize(0);
        }
    } catch (const Exception &) {
        // A file that could not be opened is not ours to delete.
        if (created)
            DeleteFile(fileName);
        log.CheckStep(false, false);
        return false;
    }
    DeleteFile(fileName);
    info.Delay = SpeedTestDelay(ClockTickCount() - start);
    log.Log(ept_Ok, "... задержка:" + UIntToStr(info.Delay), false);
    return true;
}

AnsiString ChooseFolderWithSpace(const AnsiString &title, uint64_t C, uint64_t B, char productDrive)
{
    TFolderChoice choice;
    choice.Browse = [](const AnsiString &browseTitle, AnsiString &path) {
        AnsiString displayName;
        return BrowseForFolder(nullptr, browseTitle, CSIDL_DRIVES,
                               BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX | BIF_VALIDATE |
                                   BIF_NEWDIALOGSTYLE | BIF_UAHINT,
                               path, displayName);
    };
    choice.FreeBytes = FreeBytesOf;
    choice.AskChooseAgain = [](uint64_t free, uint64_t need) {
        return AskYesNo(3005, UIntToStr(free), UIntToStr(need), true);
    };
    return ChooseFolderWithSpace(title, C, B, productDrive, choice);
}

namespace {
// Removes each entry with a protocol line; false when any removal failed.
template <typename Remove>
bool RemoveLogged(const AnsiString &name, TRunLog &log, Remove remove)
{
    const bool ok = remove(name);
    log.Log(ept_Plain, (ok ? "Успешно удалено " : "Невозможно удалить ") + name, true);
    return ok;
}

// The engine's own folders (its temporary folder, a copy of the installation it made) as the folder
// helpers see them: every file the engine put there is listed, a product file it moved aside keeping
// its hidden or system attribute too, and a read-only one is made writable before it is removed.
// Nothing of such a folder must be left behind.
class OwnFolderAccess : public IFolderAccess {
public:
    std::vector<SFolderEntry> List(const AnsiString &folder, const AnsiString &mask) override
    {
        std::vector<SFolderEntry> entries = SystemFolderAccess().List(folder, mask);
        for (SFolderEntry &entry : entries)
            entry.Attr &= ~(faHidden | faSysFile);
        return entries;
    }
    bool RemoveFile(const AnsiString &fileName) override { return ClearReadOnly(fileName) && DeleteFile(fileName); }
    bool RemoveFolder(const AnsiString &folder) override { return SystemFolderAccess().RemoveFolder(folder); }
};
}  // namespace

void ClearFolder(const AnsiString &folder, bool remove, TRunLog &log)
{
    if (folder.empty()) {
        if (remove)
            log.Log(ept_Plain, "Попытка очистки и удаления несуществующей папки", true);
        return;
    }
    if (!DirectoryExists(folder)) {
        if (!remove)
            FileOpCreateFolder(folder);
        return;
    }
    const AnsiString root = IncludeTrailingBackslash(folder);
    if (IsFolderLink(root)) {
        // Emptying it would empty what it leads to: the link itself goes, and a folder of the run's own
        // takes its place when one is wanted.
        log.Log(ept_DeleteFolder, folder, true);
        log.CheckStep(FileOpRemoveFolder(ExcludeTrailingBackslash(root)), false);
        if (!remove)
            FileOpCreateFolder(folder);
        return;
    }

    OwnFolderAccess own;
    TStringList files;
    if (ListFilesRecursive(root, "*.*", files, false, own) > 0) {
        log.Log(ept_Plain, "...очистка " + folder, true);
        bool ok = true;
        for (int i = 0; i < files.Count(); ++i)
            ok = RemoveLogged(files.Strings(i), log, [](const AnsiString &f) { return FileOpDeleteOwn(f); }) && ok;
        log.CheckStep(ok, true);
    }

    TStringList folders;
    CollectFolders(root, folders, own);
    log.Log(ept_Plain, "...удаление подпапок " + folder, true);
    bool ok = true;
    for (int i = folders.Count() - 1; i >= 1; --i)
        ok = RemoveLogged(folders.Strings(i), log,
                          [](const AnsiString &f) { return FileOpRemoveFolder(ExcludeTrailingBackslash(f)); }) &&
             ok;
    log.CheckStep(ok, true);

    if (remove) {
        log.Log(ept_DeleteFolder, folder, true);
        if (PassFileOpGate(TFileOp::RemoveFolder, folder) == 0)
            DeleteFolderTree(folder, own);
    }
}

bool RemoveTempFolder(const AnsiString &folder, TRunLog &log)
{
    if (folder.empty()) {
        ClearFolder(folder, true, log);
        return true;
    }
    const AnsiString own = IncludeTrailingBackslash(folder);
    AnsiString shared;
    bool gone = true;
    if (IsSharedTempFolder(own)) {
        // A run of an earlier build worked in the shared place itself: what such a run makes there
        // goes; the folders of other runs stay.
        shared = own;
        // ClearFolder takes a linked one away without entering it.
        for (const SFolderEntry &entry : SystemFolderAccess().List(own, "*"))
            if ((entry.Attr & faDirectory) && EarlierRunsEntry(entry.Name)) {
                ClearFolder(own + entry.Name, true, log);
                gone = !DirectoryExists(own + entry.Name) && gone;
            }
    } else {
        ClearFolder(own, true, log);
        gone = !DirectoryExists(own);
        const AnsiString parent = ExtractFilePath(ExcludeTrailingBackslash(own));
        if (IsSharedTempFolder(parent))
            shared = parent;
    }
    // The shared place goes once no run keeps anything there (the system removes only an empty folder,
    // so a run that has just made its own folder there keeps it).
    if (!shared.empty() && DirectoryExists(shared) && FolderIsEmpty(shared)) {
        log.Log(ept_DeleteFolder, shared, true);
        log.CheckStep(FileOpRemoveFolder(ExcludeTrailingBackslash(shared)), false);
    }
    return gone;
}
