#include "update/apply/FolderContents.h"

#include "framework/runtime/SysUtils.h"
#include "storage/files/ourio.h"

bool FolderIsEmpty(const AnsiString &folder)
{
    return SystemFolderAccess().List(IncludeTrailingBackslash(folder), "*").empty();
}
