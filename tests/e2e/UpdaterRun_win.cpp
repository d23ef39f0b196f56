#include "tests/e2e/UpdaterRun.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <filesystem>

#include "framework/Classes.h"
#include "framework/Cp1251.h"
#include "framework/SysUtils.h"

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

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

struct BoxSearch {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<BoxSearch *>(param);
    wchar_t className[64];
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) || !GetClassNameW(window, className, 64) ||
        wcscmp(className, L"#32770") != 0)
        return TRUE;
    search->found = true;
    return FALSE;
}

// Under Wine on a screen without a window manager (the tests' virtual screen) every hidden window that
// Wine leaves to the window manager waits two seconds for an answer that never comes: each answered box
// and the closing of the main window would cost that. The scenarios' updaters, and only they (by their
// file name), get windows Wine manages itself. Windows itself has no such setting to make.
class WineSettingsForScenarios : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            return;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\qmtupdt_e2e.exe\\X11 Driver", 0, nullptr,
                            0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE *>(L"N"), 2 * sizeof(wchar_t));
        RegCloseKey(key);
    }
};

const ::testing::Environment *const wineSettings = ::testing::AddGlobalTestEnvironment(new WineSettingsForScenarios);

}  // namespace

FileTree ReadTree(const AnsiString &folder)
{
    FileTree tree;
    ReadTreeInto(folder, AnsiString(), tree);
    return tree;
}

void WriteTree(const AnsiString &folder, const FileTree &tree)
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
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    if (!bytes.empty())
        file.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    return bytes;
}

void WriteFileBytes(const AnsiString &fileName, const std::vector<uint8_t> &bytes)
{
    TFileStream file(fileName, fmCreate);
    if (!bytes.empty())
        file.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
}

std::vector<uint8_t> UpdaterWith(TestPayloadBuilder payload)
{
    payload.Image = ReadFileBytes(QMT_UPDATER_EXE);
    return payload.Build().Bytes;
}

TStartedProcess::~TStartedProcess()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool TStartedProcess::Start(const AnsiString &commandLine, const AnsiString &folder)
{
    std::wstring line = Cp1251ToWide(commandLine), dir = Cp1251ToWide(folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup, &info_);
}

DWORD TStartedProcess::Wait(DWORD milliseconds)
{
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
        return ~0u;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void TStartedProcess::Kill()
{
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
}

DWORD AnswerBoxes(DWORD process, const std::vector<AnsiString> &steps, AnsiString &texts, int stepTimeout)
{
    AnsiString textFile = IncludeTrailingBackslash(std::filesystem::temp_directory_path().string()) + "qmt_e2e_boxes_" +
                          std::to_string(GetCurrentProcessId()) + ".txt";
    AnsiString line = "\"" QMT_HELPER_DIR "\\boxclicker.exe\" -seq " + std::to_string(process) + " " +
                      std::to_string(stepTimeout) + " \"" + textFile + "\"";
    for (const AnsiString &step : steps)
        line += " \"" + step + "\"";
    TStartedProcess clicker;
    if (!clicker.Start(line, QMT_HELPER_DIR))
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
        bool running = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && !running;
                 more = Process32NextW(snapshot, &entry))
                running = _wcsicmp(entry.szExeFile, L"winemenubuilder.exe") == 0;
            CloseHandle(snapshot);
        }
        if (!running)
            return true;
        Sleep(100);
    }
    return false;
}

DWORD WorkDialog(DWORD process, const AnsiString &caption, const std::vector<AnsiString> &steps, int timeout)
{
    AnsiString line = "\"" QMT_HELPER_DIR "\\boxclicker.exe\" -dialog " + std::to_string(process) + " \"" + caption +
                      "\" " + std::to_string(timeout);
    for (const AnsiString &step : steps)
        line += " \"" + step + "\"";
    TStartedProcess clicker;
    if (!clicker.Start(line, QMT_HELPER_DIR))
        return ~0u;
    return clicker.Wait(DWORD(timeout) + 10000);
}

bool WaitForBoxOf(DWORD process, int timeout)
{
    for (int waited = 0; waited <= timeout; waited += 50) {
        BoxSearch search{process, false};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return true;
        Sleep(50);
    }
    return false;
}

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
    for (int waited = 0; waited <= timeout; waited += 50) {
        if (!MutexHeld(name))
            return true;
        Sleep(50);
    }
    return false;
}

bool WaitForFile(const AnsiString &fileName, int timeout)
{
    for (int waited = 0; waited <= timeout; waited += 50) {
        if (FileExists(fileName))
            return true;
        Sleep(50);
    }
    return false;
}

bool WaitForFolder(const AnsiString &folder, int timeout)
{
    for (int waited = 0; waited <= timeout; waited += 50) {
        if (DirectoryExists(folder))
            return true;
        Sleep(50);
    }
    return false;
}

bool CloseUpdater(TStartedProcess &updater)
{
    EnumWindows(CloseWindowsOf, static_cast<LPARAM>(updater.Id()));
    if (updater.Wait(30000) != ~0u)
        return true;
    updater.Kill();
    return false;
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
