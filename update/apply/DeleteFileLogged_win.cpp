// The logged deletion the engine's steps share: a file is deleted with a protocol line and its result.
#include "framework/runtime/SysUtils.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

bool TForm1::DeleteFileLogged(const AnsiString &name, bool keepReadOnly)
{
    if (FileExists(name)) {
        Log(ept_DeleteFile, name, true);
        return CheckStep(keepReadOnly ? FileOpDelete(name) : FileOpDeleteOwn(name), false);
    }
    if (DirectoryExists(name))
        ClearFolder(name, true);
    return true;
}
