#include "update/apply/FolderContents.h"

#include "framework/runtime/SysUtils.h"

std::vector<AnsiString> FolderEntryNames(const AnsiString &folder, size_t limit)
{
    std::vector<AnsiString> names;
    TSearchRec rec;
    if (limit == 0 || FindFirst(IncludeTrailingBackslash(folder) + "*", faAnyFile, rec) != 0)
        return names;
    do
        if (rec.Name != "." && rec.Name != "..")
            names.push_back(rec.Name);
    while (names.size() < limit && FindNext(rec) == 0);
    FindClose(rec);
    return names;
}

bool FolderIsEmpty(const AnsiString &folder) { return FolderEntryNames(folder, 1).empty(); }
