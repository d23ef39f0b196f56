// The logged deletion the engine's steps share: a file is deleted with a protocol line and its result;
// a folder the run made is removed once it holds nothing but empty folders.
#include <vector>

#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"
#include "update/apply/FileOps.h"
#include "update/apply/FolderContents.h"
#include "update/journal/JournalLine.h"
#include "update/journal/UndoCommand.h"
#include "update/run/uMain.h"

namespace {

// How many of the entries left in a folder the protocol names.
constexpr size_t NamedEntries = 20;

// Removes the empty folders of a tree, deepest first (never entering a folder link); true when the
// folder itself is then empty.
bool PruneEmptyFolders(const AnsiString &folder)
{
    const AnsiString root = IncludeTrailingBackslash(folder);
    for (const SFolderEntry &entry : SystemFolderAccess().List(root, "*"))
        if ((entry.Attr & faDirectory) && !(entry.Attr & faSymLink) && PruneEmptyFolders(root + entry.Name))
            FileOpRemoveFolder(root + entry.Name);
    return FolderIsEmpty(folder);
}

}  // namespace

bool TForm1::DeleteFileLogged(const AnsiString &name, bool keepReadOnly)
{
    if (FileExists(name)) {
        Log(ept_DeleteFile, name, true);
        return CheckStep(keepReadOnly ? FileOpDelete(name) : FileOpDeleteOwn(name), false);
    }
    if (DirectoryExists(name))
        RemoveMadeFolder(name);
    return true;
}

bool TForm1::RemoveMadeFolder(const AnsiString &folder)
{
    const AnsiString name = ExcludeTrailingBackslash(folder);
    if (IsDriveOrShareRoot(name)) {
        // An earlier build could journal the root of a drive that was not there as a folder it made.
        Log(ept_Plain, "Корневая папка диска не удаляется: " + IncludeTrailingBackslash(name), true);
        return true;
    }
    if (IsFolderLink(name) || PruneEmptyFolders(name)) {
        Log(ept_DeleteFolder, name, true);
        return CheckStep(FileOpRemoveFolder(name), false);
    }
    Log(ept_Plain, "Папка не удалена, в ней есть то, что не создано обновлением: " + name, true);
    const std::vector<SFolderEntry> left = SystemFolderAccess().List(IncludeTrailingBackslash(name), "*");
    for (size_t i = 0; i < left.size() && i < NamedEntries; ++i)
        Log(ept_Plain, "    " + IncludeTrailingBackslash(name) + left[i].Name, true);
    if (left.size() > NamedEntries)
        Log(ept_Plain, "    ...", true);
    return true;
}
