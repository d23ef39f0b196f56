#include "framework/runtime/RawFile.h"

#include <windows.h>

#include "framework/runtime/Cp1251.h"

const RawFileHandle InvalidRawFile = INVALID_HANDLE_VALUE;

RawFileHandle RawFileOpen(const AnsiString &name, RawFileAccess access, RawFileCreation creation, bool sequentialScan,
                          RawFileShare share)
{
    DWORD desired = 0;
    switch (access) {
    case RawFileAccess::Read: desired = GENERIC_READ; break;
    case RawFileAccess::Write: desired = GENERIC_WRITE; break;
    case RawFileAccess::ReadWrite: desired = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD disposition = OPEN_EXISTING;
    switch (creation) {
    case RawFileCreation::OpenExisting: disposition = OPEN_EXISTING; break;
    case RawFileCreation::CreateAlways: disposition = CREATE_ALWAYS; break;
    case RawFileCreation::CreateNew: disposition = CREATE_NEW; break;
    }
    DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (share == RawFileShare::ReadOnly)
        sharing = FILE_SHARE_READ;
    else if (share == RawFileShare::None)
        sharing = 0;
    return CreateFileW(Cp1251ToWide(name).c_str(), desired, sharing, nullptr, disposition,
                       sequentialScan ? FILE_FLAG_SEQUENTIAL_SCAN : 0, nullptr);
}

bool RawFileRead(RawFileHandle file, void *buffer, uint32_t n, uint32_t &done)
{
    DWORD got = 0;
    const bool ok = ReadFile(file, buffer, n, &got, nullptr) != 0;
    done = got;
    return ok;
}

bool RawFileWrite(RawFileHandle file, const void *buffer, uint32_t n, uint32_t &done)
{
    DWORD put = 0;
    const bool ok = WriteFile(file, buffer, n, &put, nullptr) != 0;
    done = put;
    return ok;
}

bool RawFileSeek(RawFileHandle file, int64_t distance, int origin, uint64_t &position)
{
    static const DWORD methods[3] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin < 0 || origin > 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    LARGE_INTEGER move, now;
    move.QuadPart = distance;
    if (!SetFilePointerEx(file, move, &now, methods[origin]))
        return false;
    position = static_cast<uint64_t>(now.QuadPart);
    return true;
}

bool RawFileSize(RawFileHandle file, uint64_t &size)
{
    LARGE_INTEGER n;
    if (!GetFileSizeEx(file, &n))
        return false;
    size = static_cast<uint64_t>(n.QuadPart);
    return true;
}

bool RawFileFlush(RawFileHandle file) { return FlushFileBuffers(file) != 0; }

bool RawFileSetEnd(RawFileHandle file) { return SetEndOfFile(file) != 0; }

void RawFileClose(RawFileHandle file)
{
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}
