#include "update/apply/FileOps.h"

#include "base/files/FileNames.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/RawFile.h"
#include "framework/runtime/SysUtils.h"

static_assert(KeptFileAttributes == (faReadOnly | faHidden | faSysFile | faArchive));

namespace {

// False with the system error set, as a failing system call leaves it.
bool Refused(uint32_t error)
{
    SetSysError(error);
    return false;
}

}  // namespace

std::unique_ptr<TFileStream> FileOpCreate(const AnsiString &fileName, unsigned short shareMode)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Create, fileName))
        throw EFOpenError("Cannot create file \"" + fileName + "\". " + SysErrorMessage(error), error);
    return std::make_unique<TFileStream>(fileName, fmCreate | shareMode);
}

void FileOpWrite(TStream &stream, const AnsiString &fileName, const void *buffer, long count)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Write, fileName))
        ThrowFileOpWriteError(fileName, error);
    stream.WriteBuffer(buffer, count);
}

void FileOpResize(TStream &stream, const AnsiString &fileName, long long size)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Resize, fileName))
        throw EStreamError("Cannot set the size of \"" + fileName + "\". " + SysErrorMessage(error));
    stream.SetSize(size);
}

bool FileOpDelete(const AnsiString &fileName)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Delete, fileName))
        return Refused(error);
    return DeleteFile(fileName);
}

bool FileOpRename(const AnsiString &oldName, const AnsiString &newName)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Rename, oldName + "<" + newName))
        return Refused(error);
    return RenameFile(oldName, newName);
}

bool FileOpCreateFolder(const AnsiString &folder)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::CreateFolder, folder))
        return Refused(error);
    return ForceDirectories(folder);
}

bool FileOpRemoveFolder(const AnsiString &folder)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::RemoveFolder, folder))
        return Refused(error);
    return RemoveDir(folder);
}

bool FileOpMapWritable(TFileMapping &mapping, const TFileStream &file, uint64_t size, const AnsiString &name)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Map, file.FileName()))
        return Refused(error);
    return mapping.Map(file.Handle(), true, size, name);
}

bool FileOpFlush(TFileStream &file)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Flush, file.FileName()))
        return Refused(error);
    return !FileFlushesOn() || RawFileFlush(file.Handle());
}

bool FileOpClearReadOnly(const AnsiString &fileName)
{
    if (const uint32_t error = PassFileOpGate(TFileOp::Attributes, fileName))
        return Refused(error);
    return ClearReadOnly(fileName);
}

bool FileOpSetAttributes(const AnsiString &fileName, int attributes)
{
    const int now = FileGetAttr(fileName);
    if (now == -1)
        return false;
    const int wanted = attributes & KeptFileAttributes;
    if ((now & KeptFileAttributes) == wanted)
        return true;
    if (const uint32_t error = PassFileOpGate(TFileOp::Attributes, fileName))
        return Refused(error);
    return FileSetAttr(fileName, wanted) == 0;
}

bool FileOpDeleteOwn(const AnsiString &fileName)
{
    const int attributes = FileGetAttr(fileName);
    if (attributes != -1 && (attributes & faReadOnly) != 0 && !FileOpClearReadOnly(fileName))
        return false;
    return FileOpDelete(fileName);
}
