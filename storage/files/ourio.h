#pragma once
// Folder-tree helpers: list every folder of a tree, list every file matching a mask, remove a whole
// tree. Folder names end in a backslash. Hidden and system entries are never listed nor removed.
// A linked folder (junction or symbolic link) is never entered: its target belongs to someone else.
#include <functional>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Classes.h"

// One entry of a folder as the file system reports it (attributes with the framework's fa* bits).
struct SFolderEntry {
    AnsiString Name;
    int Attr = 0;
};

// The file system as the helpers see it; tests put in a tree held in memory.
class IFolderAccess {
public:
    virtual ~IFolderAccess() = default;
    // Every entry of `folder` (ends in '\') whose name matches `mask`, "." and ".." left out, in
    // the system's order; none when the folder cannot be read.
    virtual std::vector<SFolderEntry> List(const AnsiString &folder, const AnsiString &mask) = 0;
    virtual bool RemoveFile(const AnsiString &fileName) = 0;
    // Removes an empty folder, or a folder link itself (never what it points to).
    virtual bool RemoveFolder(const AnsiString &folder) = 0;
};

// Appends the folder and, depth first, every folder below it (each with a trailing backslash).
void CollectFolders(const AnsiString &folder, TStrings &list, IFolderAccess &fs);
// The number of files matching the mask in the tree; their full paths are appended to the list,
// which is emptied first unless append is true.
int ListFilesRecursive(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool append,
                       IFolderAccess &fs);
// Removes the files, the folder links and the folders of the tree, the folder itself last. Returns the
// number of removals that failed (0: the whole tree is gone).
int DeleteFolderTree(const AnsiString &folder, IFolderAccess &fs);

// Whether the group-selection dialog keeps an item it shows in `folder`: folders always, files only of
// the wanted extension (with or without its dot, any case). The shown text may lack the extension
// when the system hides known ones, so the file with the extension added counts too. `attrOf` gives
// a full name's attributes or -1. An empty wanted extension or an unknown folder keeps everything.
bool GroupDialogKeeps(const AnsiString &folder, const AnsiString &itemText, const AnsiString &wantedExt,
                      const std::function<int(const AnsiString &)> &attrOf);

// The same over the real file system (Windows build).
IFolderAccess &SystemFolderAccess();
void CollectFolders(const AnsiString &folder, TStrings &list);
int ListFilesRecursive(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool append);
int DeleteFolderTree(const AnsiString &folder);
