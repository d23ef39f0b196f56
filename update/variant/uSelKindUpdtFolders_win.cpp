// Folders of the copy: creating its path, telling whether a folder is empty, the shell's browsers.
#include "framework/runtime/SysUtils.h"
#include "framework/windows/Dialogs.h"
#include "update/apply/FileOps.h"
#include "update/journal/UndoCommand.h"
#include "update/variant/uSelKindUpdt.h"

bool CreateFolderPath(const AnsiString &path, AnsiString &created)
{
    if (path.empty())
        return false;
    const AnsiString folder = ExcludeTrailingBackslash(path);
    const AnsiString parent = ExtractFileDir(folder);
    if (IsDriveOrShareRoot(folder))  // never made: there or not
        return DirectoryExists(IncludeTrailingBackslash(folder));
    if (folder.size() < 3 || folder == parent)
        return true;
    const int attributes = FileGetAttr(folder);
    if (attributes != -1)  // an entry that is there ends the climb; a file is never made a folder
        return (attributes & faDirectory) != 0;
    created = folder;
    // Parents first, so that `created` ends as the topmost folder that was missing.
    return CreateFolderPath(parent, created) && FileOpCreateFolder(folder);
}

TBrowsDir::TBrowsDir(const AnsiString &title) : Title(title) {}

TBrowsDir::~TBrowsDir() = default;

bool TBrowsDir::BrowseFolder()
{
    Folder.clear();
    for (;;) {
        AnsiString path, displayName;
        if (!BrowseForFolder(nullptr, Title, CSIDL_DRIVES, BIF_RETURNONLYFSDIRS, path, displayName))
            return false;
        if (!path.empty()) {
            Folder = IncludeTrailingBackslash(path);
            return true;
        }
    }
}

bool TBrowsDir::BrowseComputer()
{
    AnsiString path, displayName;
    if (!BrowseForFolder(nullptr, Title, CSIDL_NETWORK, BIF_BROWSEFORCOMPUTER, path, displayName))
        return false;
    Computer = displayName;
    return true;
}
