#include "update/FileOps.h"

#include "framework/Classes.h"
#include "framework/Kernel.h"
#include "framework/SysUtils.h"

std::unique_ptr<TFileStream> FileOpCreate(const AnsiString &fileName, unsigned short shareMode)
{
    PassFileOpGate(TFileOp::Create, fileName);
    return std::make_unique<TFileStream>(fileName, fmCreate | shareMode);
}

void FileOpWrite(TStream &stream, const AnsiString &fileName, const void *buffer, long count)
{
    PassFileOpGate(TFileOp::Write, fileName);
    stream.WriteBuffer(buffer, count);
}

void FileOpResize(TStream &stream, const AnsiString &fileName, long long size)
{
    PassFileOpGate(TFileOp::Resize, fileName);
    stream.SetSize(size);
}

bool FileOpDelete(const AnsiString &fileName)
{
    PassFileOpGate(TFileOp::Delete, fileName);
    return DeleteFile(fileName);
}

bool FileOpRename(const AnsiString &oldName, const AnsiString &newName)
{
    PassFileOpGate(TFileOp::Rename, oldName + "<" + newName);
    return RenameFile(oldName, newName);
}

bool FileOpCreateFolder(const AnsiString &folder)
{
    PassFileOpGate(TFileOp::CreateFolder, folder);
    return ForceDirectories(folder);
}

bool FileOpRemoveFolder(const AnsiString &folder)
{
    PassFileOpGate(TFileOp::RemoveFolder, folder);
    return RemoveDir(folder);
}

bool FileOpMapWritable(TFileMapping &mapping, const TFileStream &file, uint64_t size, const AnsiString &name)
{
    PassFileOpGate(TFileOp::Map, file.FileName());
    return mapping.Map(file.Handle(), true, size, name);
}
