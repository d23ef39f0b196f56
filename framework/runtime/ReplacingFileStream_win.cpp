// The temporary file of a replacing save: held alone, deleted unless committed, renamed through its
// own handle.
#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/ReplacingFileStream.h"

namespace {

// While the mark is set, closing the last handle deletes the file, however the program ends.
bool MarkForDeletion(HANDLE file, bool on)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(on)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Created afresh, shared with nobody, marked for deletion. A temporary file a killed save left is held
// by nobody and is deleted first (so that one with the hidden or system attribute goes too); one that
// another save holds can be neither deleted nor opened.
HANDLE CreateHeld(const std::wstring &name)
{
    DeleteFileW(name.c_str());
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || MarkForDeletion(file, true))
        return file;
    const DWORD error = GetLastError();
    CloseHandle(file);
    DeleteFileW(name.c_str());
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Whether a refused create met the temporary file of a save in progress: the system says the file is
// in use, or (Windows, for a file marked for deletion) denies access to a plain file still listed.
bool HeldByAnotherSave(DWORD error, const std::wstring &name)
{
    if (error == ERROR_SHARING_VIOLATION)
        return true;
    if (error != ERROR_ACCESS_DENIED)
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

HANDLE OpenTemporary(const AnsiString &target, const AnsiString &temporary)
{
    // A name without a file name would put the temporary file inside a folder, under a name of its own.
    if (target.empty() || target.back() == '\\' || target.back() == '/')
        throw EFOpenError("Cannot create file \"" + target + "\". " + SysErrorMessage(ERROR_INVALID_NAME),
                          ERROR_INVALID_NAME);
    const std::wstring name = Cp1251ToWide(temporary);
    HANDLE file = CreateHeld(name);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    const DWORD error = GetLastError();
    if (HeldByAnotherSave(error, name))
        throw EFOpenError("Cannot save file \"" + target +
                              "\": another save of it is in progress (its temporary file \"" + temporary +
                              "\" is in use). " + SysErrorMessage(error),
                          error);
    throw EFOpenError("Cannot create file \"" + target + "\". " + SysErrorMessage(error), error);
}

std::wstring FullPath(const AnsiString &name)
{
    const std::wstring wide = Cp1251ToWide(name);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return full.empty() ? wide : full;
}

bool RenameOver(HANDLE file, const std::wstring &target)
{
    const DWORD nameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto *info = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = nameBytes;
    std::memcpy(info->FileName, target.data(), nameBytes);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
}

}  // namespace

TReplacingFileStream::TReplacingFileStream(const AnsiString &target, const AnsiString &temporary)
    : TFileStream(target, OpenTemporary(target, temporary.empty() ? TemporaryName(target) : temporary)),
      target_(target), fullTarget_(FullPath(target))
{}

void TReplacingFileStream::Commit()
{
    if (committed_)
        return;
    HANDLE file = static_cast<HANDLE>(Handle());
    if (!FlushFileBuffers(file) || !MarkForDeletion(file, false)) {
        lastError_ = GetLastError();
        throw EWriteError("Stream write error" + FailureDetail());
    }
    if (!RenameOver(file, fullTarget_)) {
        const DWORD error = GetLastError();
        MarkForDeletion(file, true);
        throw EFOpenError("Cannot replace file \"" + target_ + "\". " + SysErrorMessage(error), error);
    }
    committed_ = true;
    // The rename itself reaches the disk too before the save counts as done.
    FlushFileBuffers(file);
}

unsigned long SaveFileReplacing(const AnsiString &target, const void *data, std::size_t size,
                                const AnsiString &temporary)
{
    std::optional<TReplacingFileStream> file;
    try {
        file.emplace(target, temporary);
        file->WriteBuffer(data, static_cast<long>(size));
        file->Commit();
        return 0;
    } catch (const EFOpenError &e) {
        return e.OsError();
    } catch (const EStreamError &) {
        return file->LastError() != 0 ? file->LastError() : ERROR_WRITE_FAULT;
    }
}
