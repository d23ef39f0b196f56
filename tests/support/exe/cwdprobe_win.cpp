// Test helper: writes its current folder and its command line's argument, one per line, to the
// file named by the first argument, then ends.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return 1;
    if (argc < 2)
        return 2;
    wchar_t folder[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH)
        return 3;
    FILE *f = _wfopen(argv[1], L"wb");
    if (!f)
        return 4;
    // UTF-16 lines so the test reads them back exactly.
    std::fwrite(folder, sizeof(wchar_t), n, f);
    std::fwrite(L"\n", sizeof(wchar_t), 1, f);
    if (argc > 2)
        std::fwrite(argv[2], sizeof(wchar_t), wcslen(argv[2]), f);
    std::fclose(f);
    return 0;
}
