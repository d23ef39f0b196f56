#include "tests/e2e/DemoUser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/UpdaterRun.h"

namespace {

// The desktop the program and its user share, one for each start: the desktop of an earlier start
// goes away by itself some time after its last window, and a new start must not join it. It takes the
// size of the screen: while it lasts, every program of this Wine session sees its size as the screen's.
AnsiString NewDesktopName()
{
    static int starts = 0;
    return "qmtdemo" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(++starts);
}

AnsiString ScreenSize()
{
    return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN));
}

std::vector<AnsiString> Fields(const AnsiString &answer)
{
    std::vector<AnsiString> fields;
    size_t start = 0;
    for (;;) {
        size_t bar = answer.find('|', start);
        fields.push_back(answer.substr(start, bar == AnsiString::npos ? AnsiString::npos : bar - start));
        if (bar == AnsiString::npos)
            return fields;
        start = bar + 1;
    }
}

AnsiString SpecText(const TControlSpec &spec)
{
    AnsiString text = spec.InMain ? "main|" : "";
    if (spec.Kind == "bottom")
        return text + "bottom";
    if (spec.Kind == "any")
        return text + "any|" + spec.Class + "|" + std::to_string(spec.Index);
    return text + spec.Kind + "|" + spec.Class + "|" + spec.Text + "|" + std::to_string(spec.Index);
}

// ---- input through the X server ----
// Under Wine a user's clicks and keys come from the X server the desktop is shown on. Input sent with
// SendInput from another program can wait in the queue of the program it went to until later input
// wakes it, so where xdotool is there (tools/setup installs it) the input goes through the X server.
// It is sent from this program: a program of the host started from a program on another desktop leaves
// that program's desktop unusable.
const wchar_t kXdotool[] = L"Z:\\usr\\bin\\xdotool";
const wchar_t kShell[] = L"Z:\\bin\\sh";

// Runs xdotool with the arguments (a shell's words) and returns what it printed; empty when it could
// not run. A program of the host started from here ends apart from its process handle and takes no
// pipe: it writes into a file of the host's temporary folder and renames it when it is done.
std::string XRun(const std::wstring &args)
{
    static int runs = 0;
    const std::wstring base = L"/tmp/qmtxdo_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++runs);
    std::wstring done = L"Z:" + base + L".out";
    for (wchar_t &c : done)
        if (c == L'/')
            c = L'\\';
    std::wstring line = std::wstring(kShell) + L" -c \"xdotool " + args + L" >" + base + L".tmp 2>&1; mv " + base +
                        L".tmp " + base + L".out\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return {};
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    for (int waited = 0; GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 5) {
        if (waited >= 10000)
            return {};
        Sleep(5);
    }
    std::string output;
    if (FILE *f = _wfopen(done.c_str(), L"rb")) {
        char buffer[256];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            output.append(buffer, n);
        std::fclose(f);
    }
    DeleteFileW(done.c_str());
    return output;
}

// The X key of a key name ("RETURN", "ctrl+RETURN") or of a character; empty when unknown.
std::wstring XKey(std::wstring name)
{
    std::wstring prefix;
    for (const wchar_t *mod : {L"ctrl+", L"shift+", L"alt+"})
        while (name.rfind(mod, 0) == 0 && name.size() > wcslen(mod)) {
            prefix += mod;
            name.erase(0, wcslen(mod));
        }
    static const struct {
        const wchar_t *name, *x;
    } names[] = {{L"RETURN", L"Return"}, {L"ESCAPE", L"Escape"},  {L"SPACE", L"space"}, {L"TAB", L"Tab"},
                 {L"LEFT", L"Left"},     {L"RIGHT", L"Right"},    {L"UP", L"Up"},       {L"DOWN", L"Down"},
                 {L"DELETE", L"Delete"}, {L"BACK", L"BackSpace"}, {L"HOME", L"Home"},   {L"END", L"End"},
                 {L"PRIOR", L"Prior"},   {L"NEXT", L"Next"},      {L"F2", L"F2"},       {L"F4", L"F4"},
                 {L"F10", L"F10"},       {L"F12", L"F12"},        {L"INSERT", L"Insert"}, {L" ", L"space"},
                 {L",", L"comma"},
                 {L".", L"period"},      {L"-", L"minus"},        {L"/", L"slash"}};
    for (const auto &n : names)
        if (name == n.name)
            return prefix + n.x;
    if (name.size() == 1 && name[0] < 128 && std::iswalnum(name[0]))
        return prefix + name;
    return {};
}

}  // namespace

TControlSpec ByText(const AnsiString &className, const AnsiString &text, int index)
{
    return TControlSpec{"text", className, text, index};
}
TControlSpec Below(const AnsiString &className, const AnsiString &label)
{
    return TControlSpec{"below", className, label};
}
TControlSpec RightOf(const AnsiString &className, const AnsiString &text)
{
    return TControlSpec{"rightof", className, text};
}
TControlSpec Nth(const AnsiString &className, int index) { return TControlSpec{"any", className, "", index}; }
TControlSpec StatusLine() { return TControlSpec{"bottom", "*", "", 0, true}; }

TDemoUser::TDemoUser() : logFile_(folder_ / "events.log") {}

TDemoUser::~TDemoUser()
{
    if (demoHandle_) {
        Close();
        CloseHandle(demoHandle_);
    }
    if (toClicker_) {
        DWORD written = 0;
        WriteFile(toClicker_, "quit\n", 5, &written, nullptr);
        CloseHandle(toClicker_);
    }
    if (clicker_.hProcess) {
        if (WaitForSingleObject(clicker_.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(clicker_.hProcess, 1);
        CloseHandle(clicker_.hProcess);
        CloseHandle(clicker_.hThread);
    }
    if (fromClicker_)
        CloseHandle(fromClicker_);
    if (desktop_.Handle() && desktop_.Wait(10000) == ~0u)
        desktop_.Kill();
}

bool TDemoUser::Start()
{
    // A program left over from an earlier run would be taken for this one.
    for (int waited = 0; FindProcess(L"controls_demo.exe"); waited += 100) {
        if (waited >= 10000) {
            failure_ = "an earlier demonstration still runs";
            return false;
        }
        Sleep(100);
    }
    desktopName_ = NewDesktopName();
    if (!desktop_.Start("explorer.exe /desktop=" + desktopName_ + "," + ScreenSize() +
                            " \"" QMT_HELPER_DIR "\\controls_demo.exe\" \"/log=" + logFile_ + "\"",
                        folder_.Path())) {
        failure_ = "the desktop did not start";
        return false;
    }
    for (int waited = 0; !(demo_ = FindProcess(L"controls_demo.exe")); waited += 100) {
        if (waited >= 60000) {
            failure_ = "the demonstration did not start";
            return false;
        }
        Sleep(100);
    }
    demoHandle_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, demo_);
    if (!StartClicker())
        return false;
    if (Window("", 60000).Width() <= 0) {
        failure_ = "no main window";
        return false;
    }
    FindXDesktop();
    // Shown once its first event is in the log.
    return WaitLog("shown DemoForm", 30000);
}

bool TDemoUser::StartClicker()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &toClicker_, &inherit, 0) || !CreatePipe(&fromClicker_, &childOut, &inherit, 0)) {
        failure_ = "no pipes";
        return false;
    }
    SetHandleInformation(toClicker_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromClicker_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring desktop = Cp1251ToWide(desktopName_);
    startup.lpDesktop = desktop.data();  // windows are found, and input goes, on that desktop only
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = childOut;
    std::wstring line =
        Cp1251ToWide("\"" QMT_HELPER_DIR "\\boxclicker.exe\" -user " + std::to_string(demo_) + " " + desktopName_);
    const bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &clicker_);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!started)
        failure_ = "the box clicker did not start";
    return started;
}

DWORD TDemoUser::Close()
{
    if (!demoHandle_)
        return ~0u;
    DWORD code = 0;
    if (GetExitCodeProcess(demoHandle_, &code) && code == STILL_ACTIVE) {
        // Its windows are seen only from its own desktop.
        Do("close");
        if (WaitForSingleObject(demoHandle_, 15000) != WAIT_OBJECT_0) {
            failure_ = "still open: " + Do("windows");
            TerminateProcess(demoHandle_, 1);
            WaitForSingleObject(demoHandle_, 10000);
            return ~0u;
        }
        GetExitCodeProcess(demoHandle_, &code);
    }
    return code;
}

AnsiString TDemoUser::Do(const AnsiString &command)
{
    // One line a command: a line break inside goes as "\n".
    AnsiString line;
    for (char c : command)
        line += c == '\n' ? AnsiString("\\n") : AnsiString(1, c);
    line += "\n";
    DWORD done = 0;
    if (!toClicker_ || !WriteFile(toClicker_, line.data(), static_cast<DWORD>(line.size()), &done, nullptr))
        return "no|the clicker is gone";
    AnsiString answer;
    char c;
    while (ReadFile(fromClicker_, &c, 1, &done, nullptr) && done == 1 && c != '\n')
        answer += c;
    if (answer.rfind("no", 0) == 0 || answer.empty())
        failure_ = command + ": " + answer;
    // QMT_DEMO_TRACE set: every command and its answer on the standard error.
    if (GetEnvironmentVariableW(L"QMT_DEMO_TRACE", nullptr, 0) > 0)
        std::fprintf(stderr, "%s -> %s\n", Utf8(command).c_str(), Utf8(answer).c_str());
    return answer;
}

TRect TDemoUser::RectOf(const AnsiString &answer)
{
    std::vector<AnsiString> f = Fields(answer);
    if (f.size() < 5 || f[0] != "ok")
        return {};
    return Rect(std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]));
}

TRect TDemoUser::Window(const AnsiString &caption, int timeout)
{
    return RectOf(Do("top|" + std::to_string(timeout) + "|" + caption));
}

TRect TDemoUser::Popup(int timeout) { return RectOf(Do("popup|" + std::to_string(timeout))); }

bool TDemoUser::WaitGone(const AnsiString &caption, int timeout)
{
    return Do("gone|" + std::to_string(timeout) + "|" + caption) == "ok";
}

bool TDemoUser::WaitClosed(int timeout) { return Do("closed|" + std::to_string(timeout)) == "ok"; }

TRect TDemoUser::Find(const TControlSpec &spec) { return RectOf(Do("find|" + SpecText(spec))); }

TRect TDemoUser::Client(const TControlSpec &spec) { return RectOf(Do("client|" + SpecText(spec))); }

TRect TDemoUser::WaitFor(const TControlSpec &spec, int timeout)
{
    for (int waited = 0;; waited += 100) {
        TRect r = Find(spec);
        if (r.Width() > 0 || waited >= timeout)
            return r;
        Sleep(100);
    }
}

AnsiString TDemoUser::Text(const TControlSpec &spec)
{
    const AnsiString answer = Do("text|" + SpecText(spec));
    return answer.rfind("ok|", 0) == 0 ? answer.substr(3) : AnsiString();
}

bool TDemoUser::WaitText(const TControlSpec &spec, const AnsiString &text, int timeout)
{
    AnsiString seen;
    for (int waited = 0;; waited += 100) {
        seen = Text(spec);
        if (seen == text)
            return true;
        if (waited >= timeout) {
            failure_ = "waited for \"" + text + "\", saw \"" + seen + "\"";
            return false;
        }
        Sleep(100);
    }
}

void TDemoUser::FindXDesktop()
{
    if (GetFileAttributesW(kXdotool) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW(kShell) == INVALID_FILE_ATTRIBUTES)
        return;
    // The desktop's X window, "NAME - Wine desktop", put in front of any desktop of an earlier start
    // that has not gone yet.
    for (int waited = 0; waited < 10000; waited += 200) {
        const std::string geometry =
            XRun(L"search --name '^" + Cp1251ToWide(desktopName_) + L"[[:space:]]' windowraise getwindowgeometry");
        const size_t at = geometry.find("Position:");
        if (at != std::string::npos &&
            std::sscanf(geometry.c_str() + at, "Position: %d,%d", &xOffset_, &yOffset_) == 2) {
            useX_ = true;
            return;
        }
        Sleep(200);
    }
}

namespace {
std::wstring At(int x, int y) { return std::to_wstring(x) + L" " + std::to_wstring(y); }
AnsiString Where(int x, int y) { return std::to_string(x) + "|" + std::to_string(y); }
}  // namespace

bool TDemoUser::XClick(int x, int y, const wchar_t *click)
{
    // As a hand does it: the pointer comes to rest over the place, once the window there takes input.
    Do("ready|" + Where(x, y));
    XRun(L"mousemove " + At(x + xOffset_, y + yOffset_) + L" sleep 0.1 " + click);
    Sleep(60);
    return Do("under|" + Where(x, y)).rfind("ok", 0) == 0;
}

bool TDemoUser::Click(int x, int y)
{
    if (useX_)
        return XClick(x, y, L"click 1");
    return Do("click|" + Where(x, y)).rfind("ok", 0) == 0;
}

bool TDemoUser::DoubleClick(int x, int y)
{
    if (useX_)
        return XClick(x, y, L"click --repeat 2 --delay 80 1");
    return Do("dclick|" + Where(x, y)).rfind("ok", 0) == 0;
}

bool TDemoUser::Mouse(const char *command, int x, int y)
{
    if (!useX_)
        return Do(AnsiString(command) + "|" + Where(x, y)) == "ok";
    std::wstring button = std::strcmp(command, "down") == 0 ? L" mousedown 1"
                          : std::strcmp(command, "up") == 0 ? L" mouseup 1"
                                                            : L"";
    XRun(L"mousemove " + At(x + xOffset_, y + yOffset_) + L" sleep 0.1" + button);
    Sleep(60);
    return true;
}

bool TDemoUser::Press(int x, int y) { return Mouse("down", x, y); }
bool TDemoUser::MoveTo(int x, int y) { return Mouse("move", x, y); }
bool TDemoUser::Release(int x, int y) { return Mouse("up", x, y); }

bool TDemoUser::Wheel(int x, int y, int notches)
{
    if (!useX_)
        return Do("wheel|" + Where(x, y) + "|" + std::to_string(notches)) == "ok";
    // The X server's wheel is its buttons 4 (up) and 5 (down).
    const std::wstring button = notches > 0 ? L"4" : L"5";
    XRun(L"mousemove " + At(x + xOffset_, y + yOffset_) + L" sleep 0.1 click --repeat " +
         std::to_wstring(std::abs(notches)) + L" --delay 80 " + button);
    Sleep(60);
    return true;
}

bool TDemoUser::ClickOn(const TControlSpec &spec)
{
    TRect r = Find(spec);
    if (r.Width() <= 0)
        return false;
    TPoint c = Centre(r);
    return Click(c.X, c.Y);
}

bool TDemoUser::ClickAt(const TControlSpec &spec, int dx, int dy)
{
    TRect r = Find(spec);
    return r.Width() > 0 && Click(r.Left + dx, r.Top + dy);
}

bool TDemoUser::Keys(const std::vector<AnsiString> &keys)
{
    if (useX_) {
        std::wstring line = L"key --delay 40";
        for (const AnsiString &key : keys) {
            const std::wstring x = XKey(Cp1251ToWide(key));
            if (x.empty()) {
                failure_ = "no key " + key;
                return false;
            }
            line += L" " + x;
        }
        XRun(line);
        Sleep(60);
        return true;
    }
    AnsiString command = "keys";
    for (const AnsiString &key : keys)
        command += "|" + key;
    return Do(command) == "ok";
}

bool TDemoUser::Type(const AnsiString &text)
{
    if (useX_) {
        std::vector<AnsiString> keys;
        for (char c : text)
            keys.push_back(AnsiString(1, c));
        return Keys(keys);
    }
    return Do("type|" + text) == "ok";
}

AnsiString TDemoUser::Pixel(int x, int y)
{
    const AnsiString answer = Do("pixel|" + std::to_string(x) + "|" + std::to_string(y));
    return answer.rfind("ok|", 0) == 0 ? answer.substr(3) : AnsiString();
}

bool TDemoUser::Shot(const AnsiString &name)
{
    Sleep(200);  // what the last step changed is painted
    return Do("shot|" + name) == "ok";
}

AnsiString TDemoUser::Focus()
{
    const AnsiString answer = Do("focus");
    return answer.rfind("ok|", 0) == 0 ? answer.substr(3) : AnsiString();
}

std::vector<AnsiString> TDemoUser::Log() const
{
    std::vector<AnsiString> lines;
    std::string text;
    try {
        text = ReadWholeFile(logFile_);
    } catch (const std::exception &) {
        return lines;
    }
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool TDemoUser::WaitLog(const AnsiString &line, int timeout, size_t from)
{
    for (int waited = 0;; waited += 100) {
        std::vector<AnsiString> lines = Log();
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i] == line)
                return true;
        if (waited >= timeout) {
            failure_ = "no log line \"" + line + "\"";
            return false;
        }
        Sleep(100);
    }
}
