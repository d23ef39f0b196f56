#include "base/files/FileNames.h"

#include "base/files/AppPaths.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"

namespace {

bool IsDotEntry(const AnsiString &name) { return name == "." || name == ".."; }

// Calls `take` for every entry of the search; the system lists them all, the caller chooses.
template <typename Take>
void EachEntry(const AnsiString &pattern, Take take)
{
    TSearchRec rec;
    if (FindFirst(pattern, faAnyFile, rec) != 0)
        return;
    do {
        if (!IsDotEntry(rec.Name))
            take(rec);
    } while (FindNext(rec) == 0);
    FindClose(rec);
}

}  // namespace

bool FolderExists(const AnsiString &path) { return IsDirectory(path); }

bool IsExistingFile(const AnsiString &path) { return IsFile(path); }

AnsiString CurrentFolderStr()
{
    char folder[MaxPathText + 1];
    const int n = CurrentFolderUpper(folder);
    return AnsiString(folder, static_cast<std::size_t>(n));
}

int ListSubfolders(const AnsiString &folder, const AnsiString &mask, TStrings &list)
{
    list.Clear();
    int count = 0;
    EachEntry(folder + mask, [&](const TSearchRec &rec) {
        if ((rec.Attr & faDirectory) == 0)
            return;
        list.Add(rec.Name);
        ++count;
    });
    return count;
}

int ListFiles(const AnsiString &folder, const AnsiString &mask, TStrings &list, bool clearFirst)
{
    if (clearFirst)
        list.Clear();
    int count = 0;
    EachEntry(folder + mask, [&](const TSearchRec &rec) {
        if ((rec.Attr & (faDirectory | faVolumeID)) != 0)
            return;
        // The framework's case rules keep a Ukrainian letter Cyrillic, so the name still opens.
        list.Add(AnsiUpperCase(rec.Name));
        ++count;
    });
    return count;
}

bool ClearReadOnly(const AnsiString &name)
{
    const int attr = FileGetAttr(name);
    if (attr != -1 && (attr & faReadOnly) == 0)
        return true;
    return FileSetAttr(name, faArchive) == 0;
}

bool ClearReadOnly(const char *name) { return ClearReadOnly(AnsiString(name != nullptr ? name : "")); }
