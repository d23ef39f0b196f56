#include "base/AliasFileIO.h"

#include "framework/RawFile.h"
#include "framework/SysUtils.h"

bool ReadAliasFile(const AnsiString &name, AliasFileImage &bytes)
{
    RawFileHandle file = RawFileOpen(name, RawFileAccess::Read, RawFileCreation::OpenExisting, true);
    if (file == InvalidRawFile)
        return false;
    bytes.clear();
    std::uint8_t block[16384];
    bool ok = true;
    for (;;) {
        std::uint32_t got = 0;
        if (!RawFileRead(file, block, sizeof block, got)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), block, block + got);
    }
    RawFileClose(file);
    return ok;
}

namespace {

bool WriteWhole(const AnsiString &name, const AliasFileImage &bytes)
{
    RawFileHandle file = RawFileOpen(name, RawFileAccess::Write, RawFileCreation::CreateAlways, true);
    if (file == InvalidRawFile)
        return false;
    std::uint32_t put = 0;
    const bool ok = bytes.empty() ||
                    (RawFileWrite(file, bytes.data(), static_cast<std::uint32_t>(bytes.size()), put) && put == bytes.size());
    RawFileClose(file);
    return ok;
}

} // namespace

bool WriteAliasFile(const AnsiString &name, const AliasFileImage &bytes)
{
    const AnsiString temp = AliasFileTempName(name);
    if (!WriteWhole(temp, bytes)) {
        DeleteFile(temp);
        return false;
    }
    if (!FileExists(name)) {
        if (RenameFile(temp, name))
            return true;
        DeleteFile(temp);
        return false;
    }
    // The old file steps aside until the new one has its name, and comes back if it cannot.
    const AnsiString old = name + ".old";
    DeleteFile(old);
    if (!RenameFile(name, old)) {
        DeleteFile(temp);
        return false;
    }
    if (!RenameFile(temp, name)) {
        RenameFile(old, name);
        DeleteFile(temp);
        return false;
    }
    DeleteFile(old);
    return true;
}
