#include "tests/support/UpdaterRun.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

bool Skipped(const AnsiString &name)
{
    return name.rfind("Протокол", 0) == 0 || AnsiCompareText(name, "qmtupdt_e2e.exe") == 0;
}

void ReadTreeInto(const AnsiString &folder, const AnsiString &prefix, FileTree &tree)
{
    TSearchRec rec;
    if (FindFirst(folder + "*", faAnyFile, rec) != 0)
        return;
    do {
        if (rec.Name == "." || rec.Name == "..")
            continue;
        if (rec.Attr & faDirectory)
            ReadTreeInto(folder + rec.Name + "\\", prefix + rec.Name + "\\", tree);
        else if (!Skipped(rec.Name))
            tree[prefix + rec.Name] = ReadFileBytes(folder + rec.Name);
    } while (FindNext(rec) == 0);
    FindClose(rec);
}

// Looks every 50 ms whether `done`, for up to `timeout` ms.
bool WaitUntil(const std::function<bool()> &done, int timeout)
{
    for (int waited = 0; waited <= timeout; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

FileTree ReadInstallation(const AnsiString &folder)
{
    FileTree tree;
    ReadTreeInto(folder, AnsiString(), tree);
    return tree;
}

void WriteInstallation(const AnsiString &folder, const FileTree &tree)
{
    for (const auto &[name, bytes] : tree) {
        ForceDirectories(ExtractFilePath(folder + name));
        WriteFileBytes(folder + name, bytes);
    }
}

std::string TreeDifference(const FileTree &expected, const FileTree &actual)
{
    std::string out;
    for (const auto &[name, bytes] : expected) {
        auto found = actual.find(name);
        if (found == actual.end()) {
            out += "missing: " + Utf8(name) + "\n";
            continue;
        }
        const std::vector<uint8_t> &got = found->second;
        if (got == bytes)
            continue;
        size_t at = 0;
        while (at < bytes.size() && at < got.size() && bytes[at] == got[at])
            ++at;
        out += "differs: " + Utf8(name) + " (" + std::to_string(got.size()) + " bytes, expected " +
               std::to_string(bytes.size()) + "; first difference at offset " + std::to_string(at) + ")\n";
    }
    for (const auto &[name, bytes] : actual)
        if (!expected.count(name))
            out += "unexpected: " + Utf8(name) + " (" + std::to_string(bytes.size()) + " bytes)\n";
    return out;
}

::testing::AssertionResult SameTree(const FileTree &expected, const FileTree &actual)
{
    std::string difference = TreeDifference(expected, actual);
    if (difference.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the installation differs:\n" << difference;
}

std::vector<uint8_t> ReadFileBytes(const AnsiString &fileName)
{
    std::string bytes = ReadWholeFile(fileName);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void WriteFileBytes(const AnsiString &fileName, const std::vector<uint8_t> &bytes)
{
    WriteWholeFile(fileName, std::string(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> UpdaterWith(TestPayloadBuilder payload)
{
    payload.Image = ReadFileBytes(QMT_UPDATER_EXE);
    return payload.Build().Bytes;
}

namespace {
// Starts the box clicker with its command line. Under a loaded Wine a process now and then fails to
// start: it is tried a few times, and a clicker that cannot be started is told on the test's error
// output with the system's error.
bool StartClicker(TStartedProcess &clicker, const AnsiString &line)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (clicker.Start(line, QMT_HELPER_DIR))
            return true;
        std::fprintf(stderr, "the box clicker did not start (system error %lu)\n", GetLastError());
        Sleep(200);
    }
    return false;
}
}  // namespace

DWORD AnswerBoxes(DWORD process, const std::vector<AnsiString> &steps, AnsiString &texts, int stepTimeout)
{
    AnsiString textFile = IncludeTrailingBackslash(std::filesystem::temp_directory_path().string()) + "qmt_e2e_boxes_" +
                          std::to_string(GetCurrentProcessId()) + ".txt";
    AnsiString line = "\"" QMT_HELPER_DIR "\\boxclicker.exe\" -seq " + std::to_string(process) + " " +
                      std::to_string(stepTimeout) + " \"" + textFile + "\"";
    for (const AnsiString &step : steps)
        line += " \"" + step + "\"";
    TStartedProcess clicker;
    if (!StartClicker(clicker, line))
        return ~0u;
    DWORD code = clicker.Wait(static_cast<DWORD>(stepTimeout) * static_cast<DWORD>(steps.size() + 1));
    texts.clear();
    if (FileExists(textFile)) {
        std::vector<uint8_t> bytes = ReadFileBytes(textFile);
        texts = WideToCp1251(std::wstring(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / 2));
        DeleteFile(textFile);
    }
    return code;
}

const char *const kVariantDialog = "Выбор, как производить обновление";

AnsiString DesktopFolder()
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
        return AnsiString();
    return IncludeTrailingBackslash(WideToCp1251(path));
}

bool WaitForMenuBuilder(int timeout)
{
    for (int waited = 0; waited <= timeout; waited += 100) {
        if (!FindProcess(L"winemenubuilder.exe"))
            return true;
        Sleep(100);
    }
    return false;
}

namespace {
const wchar_t kDllOverrides[] = L"Software\\Wine\\DllOverrides";
const wchar_t kMenuBuilder[] = L"winemenubuilder.exe";
}  // namespace

TMenuBuilderOff::TMenuBuilderOff()
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return;  // Windows, which has no menu builder
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kDllOverrides, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    wchar_t value[256] = L"";
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);
    had_ =
        RegQueryValueExW(key, kMenuBuilder, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) == ERROR_SUCCESS &&
        type == REG_SZ;
    if (had_)
        previous_ = value;
    set_ = RegSetValueExW(key, kMenuBuilder, 0, REG_SZ, reinterpret_cast<const BYTE *>(L""), sizeof(wchar_t)) ==
           ERROR_SUCCESS;  // an empty override: disabled
    RegCloseKey(key);
}

TMenuBuilderOff::~TMenuBuilderOff()
{
    HKEY key = nullptr;
    if (!set_ || RegOpenKeyExW(HKEY_CURRENT_USER, kDllOverrides, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (had_)
        RegSetValueExW(key, kMenuBuilder, 0, REG_SZ, reinterpret_cast<const BYTE *>(previous_.c_str()),
                       DWORD((previous_.size() + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, kMenuBuilder);
    RegCloseKey(key);
}

DWORD WorkDialog(DWORD process, const AnsiString &caption, const std::vector<AnsiString> &steps, int timeout)
{
    AnsiString line = "\"" QMT_HELPER_DIR "\\boxclicker.exe\" -dialog " + std::to_string(process) + " \"" + caption +
                      "\" " + std::to_string(timeout);
    for (const AnsiString &step : steps)
        line += " \"" + step + "\"";
    TStartedProcess clicker;
    if (!StartClicker(clicker, line))
        return ~0u;
    return clicker.Wait(DWORD(timeout) + 10000);
}

bool WaitForBoxOf(DWORD process, int timeout) { return WaitForTopWindow(process, kBoxClass, nullptr, timeout); }

AnsiString StandInMutexName(const AnsiString &exePath)
{
    std::wstring name = Cp1251ToWide(exePath);
    CharUpperBuffW(name.data(), DWORD(name.size()));
    for (wchar_t &c : name)
        if (c == L'\\')
            c = L'_';
    return WideToCp1251(name);
}

bool MutexHeld(const AnsiString &name)
{
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Cp1251ToWide(name).c_str());
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

bool WaitForMutexGone(const AnsiString &name, int timeout)
{
    return WaitUntil([&] { return !MutexHeld(name); }, timeout);
}

bool WaitForFile(const AnsiString &fileName, int timeout)
{
    return WaitUntil([&] { return FileExists(fileName); }, timeout);
}

bool WaitForFolder(const AnsiString &folder, int timeout)
{
    return WaitUntil([&] { return DirectoryExists(folder); }, timeout);
}

bool CloseUpdater(TStartedProcess &updater)
{
    CloseWindowsOf(updater.Id());
    if (updater.Wait(30000) != ~0u)
        return true;
    updater.Kill();
    return false;
}

std::vector<AnsiString> ShownProtocolLines(DWORD process, int *selected)
{
    if (selected)
        *selected = -1;
    HWND main = MainWindowOf(process);
    HWND list = main ? FindWindowExW(main, nullptr, L"ListBox", nullptr) : nullptr;
    std::vector<AnsiString> lines;
    if (!list)
        return lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(size_t(std::max<LRESULT>(SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0), 0)) + 1, L'\0');
        text.resize(size_t(std::max<LRESULT>(SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(text.data())), 0)));
        lines.push_back(WideToCp1251(text));
    }
    if (selected)
        *selected = int(SendMessageW(list, LB_GETCURSEL, 0, 0));
    return lines;
}

std::vector<AnsiString> ProtocolLines(const AnsiString &fileName)
{
    TStringList list;
    list.LoadFromFile(fileName);
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return lines;
}

bool HasLineWith(const std::vector<AnsiString> &lines, const AnsiString &part)
{
    for (const AnsiString &l : lines)
        if (l.find(part) != AnsiString::npos)
            return true;
    return false;
}

std::string Joined(const std::vector<AnsiString> &lines)
{
    std::string text;
    for (const AnsiString &l : lines)
        text += Utf8(l) + "\n";
    return text;
}

std::string Utf8(const AnsiString &text)
{
    std::wstring wide = Cp1251ToWide(text);
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}
