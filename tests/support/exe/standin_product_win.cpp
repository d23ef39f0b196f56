// Test helper standing in for the product: holds the product's named mutex (its own path upper-cased,
// "\" replaced by "_") while it runs, writes its current folder to "started.txt" in that folder, and
// ends when a file "quit" appears beside its executable (or after a minute).
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    wchar_t path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return 1;
    std::wstring name(path, n);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    for (wchar_t &c : name)
        if (c == L'\\')
            c = L'_';
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return 2;

    wchar_t folder[MAX_PATH + 1];
    DWORD m = GetCurrentDirectoryW(MAX_PATH + 1, folder);
    if (m == 0 || m > MAX_PATH)
        return 3;
    FILE *f = _wfopen(L"started.txt", L"wb");
    if (!f)
        return 4;
    std::fwrite(folder, sizeof(wchar_t), m, f);
    std::fclose(f);

    std::wstring quit(path, n);
    quit = quit.substr(0, quit.rfind(L'\\') + 1) + L"quit";
    for (int i = 0; i < 1200 && GetFileAttributesW(quit.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(50);
    CloseHandle(mutex);
    return 0;
}
