#include "update/apply/FolderContents.h"

#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"

bool FolderIsEmpty(const AnsiString &folder)
{
    return SystemFolderAccess().List(IncludeTrailingBackslash(folder), "*").empty();
}

bool IsFolderLink(const AnsiString &folder)
{
    const int attr = FileGetAttr(ExcludeTrailingBackslash(folder));
    return attr != -1 && (attr & faDirectory) && (attr & faSymLink);
}
