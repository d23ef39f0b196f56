// The folder-tree helpers over the real file system.
#include "storage/files/ourio.h"

#include "framework/runtime/SysUtils.h"

namespace {
class SystemFolders : public IFolderAccess {
public:
    std::vector<SFolderEntry> List(const AnsiString &folder, const AnsiString &mask) override
    {
        std::vector<SFolderEntry> entries;
        TSearchRec rec;
        if (FindFirst(folder + mask, faAnyFile, rec) != 0)
            return entries;
        do
            if (rec.Name != "." && rec.Name != "..")
                entries.push_back({rec.Name, rec.Attr});
        while (FindNext(rec) == 0);
        FindClose(rec);
        return entries;
    }

    bool RemoveFile(const AnsiString &fileName) override { return DeleteFile(fileName); }
    bool RemoveFolder(const AnsiString &folder) override { return RemoveDir(folder); }
};
}  // namespace

IFolderAccess &SystemFolderAccess()
{
    static SystemFolders fs;
    return fs;
}

void CollectFolders(const AnsiString &folder, TStrings &list) { CollectFolders(folder, list, SystemFolderAccess()); }

int ListFilesRecursive(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool append)
{
    return ListFilesRecursive(folder, mask, list, append, SystemFolderAccess());
}

int DeleteFolderTree(const AnsiString &folder) { return DeleteFolderTree(folder, SystemFolderAccess()); }
