// The utilities that reach the real file system directly.
#include "base/dPath.h"
#include "base/zmsg.h"
#include "framework/SysUtils.h"
#include "storage/dutilfile.h"

void CopyFileChecked(const AnsiString &source, const AnsiString &target)
{
    if (!CopyFile(ResolveAliasPath(source), ResolveAliasPath(target), false))
        RaiseWindowsError(source + "=>" + target);
}
