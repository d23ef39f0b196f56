#include "base/aliases/AliasFileIO.h"

#include "base/files/AppPaths.h"
#include "base/files/FLBase.h"
#include "framework/runtime/SysUtils.h"

namespace {

// The file classes throw instead of showing a box: the list reports through its last error.
bool ReadWhole(const AnsiString &name, AliasFileImage &bytes)
{
    TSFile file;
    file.SetThrowsErrors(true);
    if (!file.Open(name, TFLBase::fmRead))
        return false;
    const std::uint64_t size = file.Size();
    if (size > 0xFFFFFFFFu)
        return false;
    bytes.assign(static_cast<std::size_t>(size), 0);
    return size == 0 || file.Read(bytes.data(), static_cast<std::uint32_t>(size)) == size;
}

bool WriteWhole(const AnsiString &name, const AliasFileImage &bytes)
{
    TSFile file;
    file.SetThrowsErrors(true);
    if (!file.OpenReplace(name))
        return false;
    const bool whole =
        bytes.empty() || file.TFLBase::Write(bytes.data(), static_cast<std::uint32_t>(bytes.size())) == bytes.size();
    return whole && file.Flush();
}

}  // namespace

bool ReadAliasFile(const AnsiString &name, AliasFileImage &bytes)
{
    try {
        return ReadWhole(name, bytes);
    } catch (const Exception &) {
        return false;
    }
}

bool WriteAliasFile(const AnsiString &name, const AliasFileImage &bytes)
{
    const AnsiString temp = AliasFileTempName(name);
    bool written = false;
    try {
        written = WriteWhole(temp, bytes);
    } catch (const Exception &) {
        written = false;
    }
    // The complete file takes the old one's place in one step: at no moment is there no file of
    // that name, and a refusal leaves the old one as it was.
    if (written && ReplaceFileWith(name, temp))
        return true;
    DeleteFile(temp);
    return false;
}

AnsiString ProgramFolderOfAliases()
{
    AnsiString folder;
    AppFolder(folder, nullptr, true);
    return folder;
}
