// Named mutexes and file mappings.
#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Kernel.h"

bool TNamedMutex::Create(const AnsiString &name)
{
    Close();
    HANDLE h = CreateMutexW(nullptr, FALSE, Cp1251ToWide(name).c_str());
    error_ = GetLastError();
    if (!h)
        return false;
    alreadyExisted_ = error_ == ERROR_ALREADY_EXISTS;
    if (!alreadyExisted_)
        error_ = 0;
    handle_ = h;
    return true;
}

void TNamedMutex::Close()
{
    if (handle_) {
        // Fails harmlessly when this thread does not own it (the usual case: it is created unowned).
        ReleaseMutex(static_cast<HANDLE>(handle_));
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
    alreadyExisted_ = false;
}

bool TFileMapping::CreateAndView(void *fileHandle, bool writable, std::uint64_t size, const AnsiString &name)
{
    Close();
    std::wstring wideName = Cp1251ToWide(name);
    HANDLE m = CreateFileMappingW(fileHandle ? static_cast<HANDLE>(fileHandle) : INVALID_HANDLE_VALUE, nullptr,
                                  writable ? PAGE_READWRITE : PAGE_READONLY, static_cast<DWORD>(size >> 32),
                                  static_cast<DWORD>(size), name.empty() ? nullptr : wideName.c_str());
    error_ = GetLastError();
    if (!m)
        return false;
    alreadyExisted_ = error_ == ERROR_ALREADY_EXISTS;
    void *v = MapViewOfFile(m, writable ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0);
    if (!v) {
        error_ = GetLastError();
        CloseHandle(m);
        alreadyExisted_ = false;
        viewFailed_ = true;
        return false;
    }
    error_ = 0;
    mapping_ = m;
    view_ = v;
    MEMORY_BASIC_INFORMATION info;
    // The view's true length: the whole file when size was 0.
    if (size == 0 && fileHandle) {
        LARGE_INTEGER fileSize;
        size = GetFileSizeEx(static_cast<HANDLE>(fileHandle), &fileSize) ? static_cast<std::uint64_t>(fileSize.QuadPart)
                                                                         : 0;
    } else if (size == 0 && VirtualQuery(v, &info, sizeof info)) {
        size = info.RegionSize;
    }
    size_ = size;
    return true;
}

bool TFileMapping::Map(void *fileHandle, bool writable, std::uint64_t size, const AnsiString &name)
{
    if (!fileHandle || fileHandle == INVALID_HANDLE_VALUE) {
        Close();
        error_ = ERROR_INVALID_HANDLE;
        return false;
    }
    return CreateAndView(fileHandle, writable, size, name);
}

bool TFileMapping::MapFile(const AnsiString &fileName, const AnsiString &name)
{
    Close();
    HANDLE f = CreateFileW(Cp1251ToWide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        return false;
    }
    bool ok = CreateAndView(f, false, 0, name);
    CloseHandle(f);
    return ok;
}

bool TFileMapping::MapMemory(std::uint64_t size, const AnsiString &name)
{
    if (size == 0) {
        Close();
        error_ = ERROR_INVALID_PARAMETER;
        return false;
    }
    return CreateAndView(nullptr, true, size, name);
}

void TFileMapping::Close()
{
    if (view_)
        UnmapViewOfFile(view_);
    if (mapping_)
        CloseHandle(static_cast<HANDLE>(mapping_));
    view_ = nullptr;
    mapping_ = nullptr;
    size_ = 0;
    alreadyExisted_ = false;
    viewFailed_ = false;
}
