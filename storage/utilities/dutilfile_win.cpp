// The utilities that reach the real file system directly.
#include "base/aliases/dPath.h"
#include "base/files/AppPaths.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/RawFile.h"
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

namespace {

// Whether the copy holds as many bytes as its source, written through to the disk. A read-only
// copy (the source's attributes travel with it) is made writable for the flush and given them back.
bool WholeOnDisk(const AnsiString &source, const AnsiString &copy)
{
    const int attributes = FileGetAttr(copy);
    if (attributes < 0 || ((attributes & faReadOnly) && FileSetAttr(copy, attributes & ~faReadOnly) != 0))
        return false;
    RawFileHandle file = RawFileOpen(copy, RawFileAccess::Write, RawFileCreation::OpenExisting, false);
    uint64_t size = 0;
    const bool whole = file != InvalidRawFile && RawFileSize(file, size) &&
                       static_cast<long long>(size) == FileSizeOf(source) && RawFileFlush(file);
    RawFileClose(file);
    return (attributes & faReadOnly) ? FileSetAttr(copy, attributes) == 0 && whole : whole;
}

}  // namespace

void CopyFileChecked(const AnsiString &source, const AnsiString &target)
{
    const AnsiString from = ResolveAliasPath(source);
    const AnsiString to = ResolveAliasPath(target);
    const AnsiString what = source + "=>" + target;
    // The copy is made beside the target and takes its place once whole and on the disk, so a copy
    // that fails (a full disk) leaves the old target as it was.
    const AnsiString copy = to + "$";
    if (SameFile(from, copy))
        throw ZError("Файл " + from + " не скопирован в " + to + ": копия пишется в сам этот файл", 0);
    try {
        if (!CopyFile(from, copy, false))
            RaiseWindowsError(what);
        if (!WholeOnDisk(from, copy))
            throw ZError(what, 5);
        if (!ReplaceFileWith(to, copy))
            RaiseWindowsError(what);
    } catch (...) {
        DeleteFile(copy);
        throw;
    }
}
