#pragma once
// A folder tree held in memory behind IFolderAccess, for walking and removal tests without a disk.
// Names compare without case like the system's; entries list in the order they were added.
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "storage/files/ourio.h"

class FakeFolders : public IFolderAccess {
public:
    // Paths are full names without a trailing backslash ("C:\T\sub"). Parents must exist, except
    // for a folder at the root of a drive.
    void AddFolder(const AnsiString &path, int attr = 0);
    void AddFile(const AnsiString &path, int attr = 0);
    // A folder link at `path` that shows the contents of `target` as the system does.
    void AddFolderLink(const AnsiString &path, const AnsiString &target);

    bool Exists(const AnsiString &path) const;
    // Every successful removal in order.
    std::vector<AnsiString> removed;

    std::vector<SFolderEntry> List(const AnsiString &folder, const AnsiString &mask) override;
    bool RemoveFile(const AnsiString &fileName) override;
    bool RemoveFolder(const AnsiString &folder) override;

private:
    struct Node {
        AnsiString path;  // full path, no trailing backslash
        int attr;
        AnsiString target;  // for a link
    };
    AnsiString Resolve(const AnsiString &path) const;
    int Find(const AnsiString &path) const;  // index in nodes_ of the resolved path, -1 if none
    bool HasChildren(const AnsiString &path) const;
    std::vector<Node> nodes_;
};
