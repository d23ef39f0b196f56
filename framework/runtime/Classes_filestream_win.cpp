// TFileStream over a system file handle, and the file forms of TStrings and TMemoryStream. A whole-file
// save replaces the file in one step, never emptying it first.
#include <windows.h>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/ReplacingFileStream.h"

namespace {
DWORD ShareOf(unsigned short mode)
{
    switch (mode & 0x00F0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:  // compatibility mode: others may read and write
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}
}  // namespace

TFileStream::TFileStream(const AnsiString &fileName, unsigned short mode) : fileName_(fileName)
{
    std::wstring wide = Cp1251ToWide(fileName);
    HANDLE h;
    if ((mode & fmCreate) == fmCreate) {
        h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, ShareOf(mode & 0x00FF), nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            throw EFOpenError("Cannot create file \"" + fileName + "\". " + SysErrorMessage(e), e);
        }
    } else {
        DWORD access = (mode & 3) == fmOpenWrite       ? GENERIC_WRITE
                       : (mode & 3) == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                       : GENERIC_READ;
        h = CreateFileW(wide.c_str(), access, ShareOf(mode), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            throw EFOpenError("Cannot open file \"" + fileName + "\". " + SysErrorMessage(e), e);
        }
    }
    handle_ = h;
}

TFileStream::~TFileStream() { CloseHandle(static_cast<HANDLE>(handle_)); }

long TFileStream::Read(void *buffer, long count)
{
    if (count <= 0)
        return 0;
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &got, nullptr)) {
        lastError_ = GetLastError();
        return 0;
    }
    if (got == 0)
        lastError_ = ERROR_HANDLE_EOF;
    return static_cast<long>(got);
}

long TFileStream::Write(const void *buffer, long count)
{
    if (count <= 0)
        return 0;
    DWORD done = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(count), &done, nullptr)) {
        lastError_ = GetLastError();
        return 0;
    }
    return static_cast<long>(done);
}

long long TFileStream::Seek(long long offset, TSeekOrigin origin)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = origin == soFromBeginning ? FILE_BEGIN : (origin == soFromCurrent ? FILE_CURRENT : FILE_END);
    if (!SetFilePointerEx(static_cast<HANDLE>(handle_), distance, &result, method)) {
        DWORD e = GetLastError();
        throw EStreamError("Seek failed in \"" + fileName_ + "\". " + SysErrorMessage(e));
    }
    return result.QuadPart;
}

long long TFileStream::Size()
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) {
        DWORD e = GetLastError();
        throw EStreamError("Cannot read the size of \"" + fileName_ + "\". " + SysErrorMessage(e));
    }
    return size.QuadPart;
}

void TFileStream::SetSize(long long newSize)
{
    if (newSize < 0)
        throw EStreamError("Stream size below zero");
    long long pos = Position();
    Seek(newSize, soFromBeginning);
    if (!SetEndOfFile(static_cast<HANDLE>(handle_))) {
        DWORD e = GetLastError();
        Seek(pos, soFromBeginning);
        throw EStreamError("Cannot set the size of \"" + fileName_ + "\". " + SysErrorMessage(e));
    }
    Seek(pos < newSize ? pos : newSize, soFromBeginning);
}

AnsiString TFileStream::FailureDetail() const
{
    AnsiString detail = " in \"" + fileName_ + "\"";
    if (lastError_ != 0)
        detail += ". " + SysErrorMessage(lastError_);
    return detail;
}

void TStrings::LoadFromFile(const AnsiString &fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TStrings::SaveToFile(const AnsiString &fileName) const
{
    TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}

void TMemoryStream::LoadFromFile(const AnsiString &fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const AnsiString &fileName)
{
    TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}
