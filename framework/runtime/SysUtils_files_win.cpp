// File and folder functions over the system's UTF-16 (W) calls.
#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"

namespace {
std::wstring W(const AnsiString &s) { return Cp1251ToWide(s); }

DWORD Attributes(const AnsiString &name) { return GetFileAttributesW(W(name).c_str()); }

constexpr int kFilterable = faHidden | faSysFile | faVolumeID | faDirectory;

// Moves the search on to the next entry that passes the filter; 0 or a system error code.
int Match(TSearchRec &rec, WIN32_FIND_DATAW &data)
{
    HANDLE h = static_cast<HANDLE>(rec.FindHandle);
    while (static_cast<int>(data.dwFileAttributes) & rec.ExcludeAttr)
        if (!FindNextFileW(h, &data))
            return static_cast<int>(GetLastError());
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &dosDate, &dosTime))
        rec.Time = static_cast<int>((static_cast<unsigned>(dosDate) << 16) | dosTime);
    else
        rec.Time = 0;
    rec.Size = static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    rec.Attr = static_cast<int>(data.dwFileAttributes);
    rec.Name = WideToCp1251(data.cFileName);
    return 0;
}
}  // namespace

bool FileExists(const AnsiString &fileName)
{
    DWORD a = Attributes(fileName);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString &directory)
{
    DWORD a = Attributes(directory);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const AnsiString &dir) { return CreateDirectoryW(W(dir).c_str(), nullptr) != 0; }

bool ForceDirectories(const AnsiString &dir)
{
    AnsiString d = ExcludeTrailingBackslash(dir);
    if (d.empty())
        return false;
    if (DirectoryExists(d))
        return true;
    AnsiString parent = ExtractFileDir(d);
    // Stop at a drive or share root, or when the path has no parent left.
    if (!parent.empty() && parent != d && !ForceDirectories(parent))
        return false;
    return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const AnsiString &dir) { return RemoveDirectoryW(W(dir).c_str()) != 0; }

bool DeleteFile(const AnsiString &fileName) { return DeleteFileW(W(fileName).c_str()) != 0; }

bool RenameFile(const AnsiString &oldName, const AnsiString &newName)
{
    return MoveFileExW(W(oldName).c_str(), W(newName).c_str(), MOVEFILE_COPY_ALLOWED) != 0;
}

bool ReplaceFileWith(const AnsiString &target, const AnsiString &replacement)
{
    return MoveFileExW(W(replacement).c_str(), W(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           0;
}

bool CopyFile(const AnsiString &from, const AnsiString &to, bool failIfExists)
{
    return CopyFileW(W(from).c_str(), W(to).c_str(), failIfExists ? TRUE : FALSE) != 0;
}

namespace {

// What the system knows a file by, read through a handle that asks for no access and so disturbs
// no other opener.
bool FileIdentity(const AnsiString &name, BY_HANDLE_FILE_INFORMATION &info)
{
    HANDLE file = CreateFileW(W(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

}  // namespace

bool SameFile(const AnsiString &a, const AnsiString &b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!FileIdentity(a, first) || !FileIdentity(b, second))
        return false;
    // The volume and the file's number name it; size and time guard against two volumes that report
    // the same serial number with numbers of their own.
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow && first.nFileSizeHigh == second.nFileSizeHigh &&
           first.nFileSizeLow == second.nFileSizeLow &&
           CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) == 0;
}

int FileGetAttr(const AnsiString &fileName)
{
    DWORD a = Attributes(fileName);
    return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(a);
}

int FileSetAttr(const AnsiString &fileName, int attr)
{
    if (SetFileAttributesW(W(fileName).c_str(), static_cast<DWORD>(attr)))
        return 0;
    return static_cast<int>(GetLastError());
}

long long FileSizeOf(const AnsiString &fileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(W(fileName).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

AnsiString GetCurrentDir()
{
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring buf(n, L'\0');
    DWORD got = GetCurrentDirectoryW(n, buf.data());
    buf.resize(got < n ? got : 0);
    return WideToCp1251(buf);
}

bool SetCurrentDir(const AnsiString &dir) { return SetCurrentDirectoryW(W(dir).c_str()) != 0; }

unsigned long GetLastOSError() { return GetLastError(); }

int FindFirst(const AnsiString &path, int attr, TSearchRec &rec)
{
    rec.ExcludeAttr = ~attr & kFilterable;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(W(path).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) {
        rec.FindHandle = nullptr;
        return static_cast<int>(GetLastError());
    }
    rec.FindHandle = h;
    int r = Match(rec, data);
    if (r != 0)
        FindClose(rec);
    return r;
}

int FindNext(TSearchRec &rec)
{
    if (!rec.FindHandle)
        return ERROR_NO_MORE_FILES;
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(static_cast<HANDLE>(rec.FindHandle), &data))
        return static_cast<int>(GetLastError());
    return Match(rec, data);
}

void FindClose(TSearchRec &rec)
{
    if (rec.FindHandle) {
        ::FindClose(static_cast<HANDLE>(rec.FindHandle));
        rec.FindHandle = nullptr;
    }
}
