// Test helper: a second program saving a file through the libraries' whole-file saves.
//   filesaver alias FILE PREFIX COUNT [PAUSE]    saves the alias list FileSaverAlias(PREFIX, 0..COUNT-1) as text
//   filesaver strings FILE PREFIX COUNT [PAUSE]  saves FileSaverText(PREFIX, COUNT) with TStrings::SaveToFile
//   filesaver memory FILE PREFIX COUNT [PAUSE]   saves the same bytes with TMemoryStream::SaveToFile
//   filesaver jpeg PICTURE TEXT [PAUSE]          writes the picture's segment list with TZJPEG::DumpToText
// With PAUSE the program stops at its first write to a file, inside the save: it sets the event
// "PAUSE.ready" and writes on once "PAUSE.go" is set (a test that kills it there has stopped a save
// before its write). Ends with 0 when the save reported success, 1 when it reported failure (the
// error on the standard error), 2 for arguments it does not know.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "base/aliases/AliasList.h"
#include "base/files/ZJPEG.h"
#include "framework/runtime/Cp1251.h"
#include "tests/support/FileSaverContent.h"

// The slot of the program's import table through which its own code calls WriteFile.
extern "C" BOOL(WINAPI *__imp_WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

namespace {

decltype(__imp_WriteFile) realWriteFile = nullptr;
std::wstring pauseName;

BOOL WINAPI PausedWriteFile(HANDLE file, LPCVOID buffer, DWORD n, LPDWORD done, LPOVERLAPPED overlapped)
{
    if (!pauseName.empty()) {
        HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, (pauseName + L".ready").c_str());
        HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, (pauseName + L".go").c_str());
        pauseName.clear();
        if (ready != nullptr)
            SetEvent(ready);
        if (go != nullptr)
            WaitForSingleObject(go, INFINITE);
    }
    return realWriteFile(file, buffer, n, done, overlapped);
}

void PauseAtFirstWrite(const std::wstring &name)
{
    pauseName = name;
    DWORD old = 0;
    VirtualProtect(&__imp_WriteFile, sizeof __imp_WriteFile, PAGE_READWRITE, &old);
    realWriteFile = __imp_WriteFile;
    __imp_WriteFile = PausedWriteFile;
    VirtualProtect(&__imp_WriteFile, sizeof __imp_WriteFile, old, &old);
}

int SaveAliases(const AnsiString &name, const AnsiString &prefix, int count)
{
    const AnsiString text = FileSaverAliasText(prefix.c_str(), count);
    TLBsAls list;
    list.LoadTextImage(std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()));
    if (list.SaveText(name.c_str()) == 1)
        return 0;
    std::fprintf(stderr, "alias list not saved, last error %d\n", list.LastError());
    return 1;
}

int SaveText(TextSave how, const AnsiString &name, const AnsiString &prefix, int count)
{
    try {
        SaveTextThrough(how, name, FileSaverText(prefix.c_str(), count));
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 4)
        return 2;
    const std::wstring what = argv[1];
    const bool isJpeg = what == L"jpeg";
    const int pauseArgument = isJpeg ? 4 : 5;
    if (argc > pauseArgument)
        PauseAtFirstWrite(argv[pauseArgument]);
    const AnsiString name = WideToCp1251(argv[2]);
    if (isJpeg) {
        TZJPEG jpeg;
        return jpeg.DumpToText(name, WideToCp1251(argv[3])) == 0 ? 0 : 1;
    }
    if (argc < 5)
        return 2;
    const AnsiString prefix = WideToCp1251(argv[3]);
    const int count = std::wcstol(argv[4], nullptr, 10);
    if (what == L"alias")
        return SaveAliases(name, prefix, count);
    if (what == L"strings" || what == L"memory")
        return SaveText(what == L"strings" ? TextSave::Strings : TextSave::Memory, name, prefix, count);
    return 2;
}
