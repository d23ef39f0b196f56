// The utilities that reach the real file system directly.
#include "base/files/AppPaths.h"
#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/SysUtils.h"
#include "storage/utilities/dutilfile.h"

namespace {
bool FolderExists(const AnsiString &path, void *) { return IsDirectory(path); }
}  // namespace

AnsiString FindCfgFolder()
{
    AnsiString programFolder;
    AppFolder(programFolder, nullptr, false);
    return FindCfgFolderFrom(programFolder, FolderExists, nullptr);
}

void CopyFileChecked(const AnsiString &source, const AnsiString &target)
{
    if (!CopyFile(ResolveAliasPath(source), ResolveAliasPath(target), false))
        RaiseWindowsError(source + "=>" + target);
}
