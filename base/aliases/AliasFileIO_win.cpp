#include "base/aliases/AliasFileIO.h"

#include "base/files/AppPaths.h"
#include "base/files/FLBase.h"
#include "framework/runtime/ReplacingFileStream.h"

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
    return SaveFileReplacing(name, bytes.data(), bytes.size(), AliasFileTempName(name)) == 0;
}

AnsiString ProgramFolderOfAliases()
{
    AnsiString folder;
    AppFolder(folder, nullptr, true);
    return folder;
}
