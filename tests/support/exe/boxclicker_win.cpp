// Test helper: answers the updater's message boxes the way a user does, from outside its process.
//   boxclicker.exe CAPTION TIMEOUT_MS BUTTON_ID [TEXT_FILE]
//     waits for one box with the caption, saves its text (UTF-16) and presses the button.
//   boxclicker.exe -seq PID TIMEOUT_MS TEXT_FILE CAPTION=BUTTON_ID...
//     answers boxes of process PID (0: any process) in the order given, each within TIMEOUT_MS; the
//     texts of all answered boxes go to TEXT_FILE (UTF-16), each followed by an empty line.
//   boxclicker.exe -auto PID UNTIL_FILE TIMEOUT_MS TEXT_FILE
//     answers every box of process PID until UNTIL_FILE exists and no box came for a second:
//     questions ("Внимание!") with No, every other box with OK.
//   boxclicker.exe -dialog PID CAPTION TIMEOUT_MS STEP...
//     waits for a window of process PID (0: any process) with the caption and works its controls in the
//     order given: "fill:LABEL=TEXT" puts TEXT into the edit field under the label with that caption,
//     "press:CAPTION" clicks the button with that caption.
//   boxclicker.exe -user PID
//     works the windows of process PID as a user does, with real mouse clicks and keys through the
//     system's input queue, one command a line from its standard input, one answer a line on its
//     standard output (see UserCommand below). Started on the desktop of the program it drives.
// BUTTON_ID is the answer's id (1 OK, 6 Yes, 7 No). Exit code 0 when everything was answered, 1 when
// the box (the first box of a sequence, the dialog) did not appear in time, 10+N when step N of a
// sequence did not (or the control of step N of a dialog was not there), 2 for wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "tests/support/Processes.h"
#include "tests/support/WindowPicture.h"

namespace {

HWND WaitForBox(const wchar_t *caption, DWORD process, int timeout)
{
    return WaitForTopWindow(process, kBoxClass, caption, timeout);
}

void SaveText(HWND box, const wchar_t *fileName, const wchar_t *mode, bool separate)
{
    wchar_t text[4096] = L"";
    int n = GetDlgItemTextW(box, 0xFFFF, text, 4096);
    FILE *f = _wfopen(fileName, mode);
    if (!f)
        return;
    std::fwrite(text, sizeof(wchar_t), static_cast<size_t>(n), f);
    if (separate)
        std::fwrite(L"\n\n", sizeof(wchar_t), 2, f);
    std::fclose(f);
}

// Presses the button and waits until the box has gone, so that the next search does not find it again.
void Press(HWND box, int button)
{
    HWND control = GetDlgItem(box, button);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i)
        Sleep(25);
}

int Sequence(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    DWORD process = static_cast<DWORD>(_wtoi(argv[2]));
    int timeout = _wtoi(argv[3]);
    const wchar_t *textFile = argv[4];
    if (FILE *f = _wfopen(textFile, L"wb"))
        std::fclose(f);
    for (int step = 5; step < argc; ++step) {
        std::wstring arg = argv[step];
        size_t eq = arg.rfind(L'=');
        if (eq == std::wstring::npos)
            return 2;
        std::wstring caption = arg.substr(0, eq);
        HWND box = WaitForBox(caption.c_str(), process, timeout);
        if (!box)
            return 10 + (step - 5);
        SaveText(box, textFile, L"ab", true);
        Press(box, _wtoi(arg.c_str() + eq + 1));
    }
    return 0;
}

int Auto(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    DWORD process = static_cast<DWORD>(_wtoi(argv[2]));
    const wchar_t *untilFile = argv[3];
    int timeout = _wtoi(argv[4]);
    const wchar_t *textFile = argv[5];
    for (int waited = 0; waited < timeout; waited += 1000) {
        HWND box = WaitForBox(nullptr, process, 1000);
        if (!box) {
            if (GetFileAttributesW(untilFile) != INVALID_FILE_ATTRIBUTES)
                return 0;
            continue;
        }
        wchar_t title[256] = L"";
        GetWindowTextW(box, title, 256);
        SaveText(box, textFile, L"ab", true);
        Press(box, std::wcscmp(title, L"Внимание!") == 0 ? IDNO : IDOK);
    }
    return 1;
}

struct ControlSearch {
    const wchar_t *className;
    const wchar_t *text;  // nullptr: any text
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControls(HWND control, LPARAM param)
{
    auto *search = reinterpret_cast<ControlSearch *>(param);
    wchar_t className[64], text[512];
    if (!IsWindowVisible(control) || !GetClassNameW(control, className, 64) ||
        _wcsicmp(className, search->className) != 0)
        return TRUE;
    GetWindowTextW(control, text, 512);
    if (!search->text || std::wcscmp(text, search->text) == 0)
        search->found.push_back(control);
    return TRUE;
}

std::vector<HWND> Controls(HWND dialog, const wchar_t *className, const wchar_t *text)
{
    ControlSearch search{className, text, {}};
    EnumChildWindows(dialog, CollectControls, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The edit field a user takes to belong to a label: the nearest one below the label's top, of those
// the one starting nearest to the label's left edge.
HWND FieldUnder(HWND dialog, const wchar_t *label)
{
    std::vector<HWND> labels = Controls(dialog, L"Static", label);
    if (labels.empty())
        return nullptr;
    RECT at;
    GetWindowRect(labels.front(), &at);
    HWND best = nullptr;
    long bestScore = 0;
    for (HWND edit : Controls(dialog, L"Edit", nullptr)) {
        RECT r;
        GetWindowRect(edit, &r);
        if (r.top <= at.top)
            continue;
        long score = (r.top - at.top) * 10000 + std::labs(r.left - at.left);
        if (!best || score < bestScore) {
            best = edit;
            bestScore = score;
        }
    }
    return best;
}

// Works the controls of a dialog in the order given; 0 when all were done, 1 when the dialog did not
// come, 10+N when the control of step N was not found, 2 for wrong arguments.
int Dialog(int argc, wchar_t **argv)
{
    if (argc < 6)
        return 2;
    HWND dialog = WaitForTopWindow(static_cast<DWORD>(_wtoi(argv[2])), nullptr, argv[3], _wtoi(argv[4]));
    if (!dialog)
        return 1;
    for (int step = 5; step < argc; ++step) {
        std::wstring arg = argv[step];
        if (arg.rfind(L"fill:", 0) == 0) {
            size_t eq = arg.find(L'=');
            if (eq == std::wstring::npos)
                return 2;
            HWND field = FieldUnder(dialog, arg.substr(5, eq - 5).c_str());
            if (!field)
                return 10 + (step - 5);
            SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg.c_str() + eq + 1));
        } else if (arg.rfind(L"press:", 0) == 0) {
            std::vector<HWND> buttons = Controls(dialog, L"Button", arg.c_str() + 6);
            if (buttons.empty() || !IsWindowEnabled(buttons.front()))
                return 10 + (step - 5);
            // Posted, as a click is: the dialog may open a box of its own before it returns.
            PostMessageW(GetParent(buttons.front()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons.front()), BN_CLICKED),
                         reinterpret_cast<LPARAM>(buttons.front()));
        } else {
            return 2;
        }
    }
    return 0;
}

// ---- a user at the keyboard and the mouse ------------------------------------------------------------

// A caption as the control shows it: a single "&" marks a letter and is not drawn, "&&" shows one.
std::wstring Shown(const std::wstring &text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[2048] = L"";
    // Asked of the window itself: a control's text may be its own (a framework control keeps it).
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

RECT RectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

struct ChildSearch {
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND child, LPARAM param)
{
    if (IsWindowVisible(child))
        reinterpret_cast<ChildSearch *>(param)->found.push_back(child);
    return TRUE;
}

// Every visible window inside `top` of the class ("*" any), in reading order: by top, then by left.
std::vector<HWND> ChildrenOf(HWND top, const std::wstring &className)
{
    ChildSearch search;
    EnumChildWindows(top, CollectVisible, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> result;
    for (HWND child : search.found)
        if (className == L"*" || _wcsicmp(ClassOf(child).c_str(), className.c_str()) == 0)
            result.push_back(child);
    std::stable_sort(result.begin(), result.end(), [](HWND a, HWND b) {
        RECT ra = RectOf(a), rb = RectOf(b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return result;
}

HWND WithText(HWND top, const std::wstring &text)
{
    for (HWND child : ChildrenOf(top, L"*"))
        if (Shown(TextOf(child)) == text || TextOf(child) == text)
            return child;
    return nullptr;
}

// A control the way a user finds it in a window:
//   text   CLASS TEXT [N]  the N-th control of the class showing the text;
//   below  CLASS TEXT      the control of the class nearest below the window showing the text (a label),
//                          of those the one starting nearest to its left edge;
//   rightof CLASS TEXT     the control of the class nearest right of the window showing the text, beside it
//                          (its middle further right, standing at the same height);
//   any    CLASS N         the N-th control of the class in reading order;
//   bottom                 the status line: the control along the window's bottom edge across its width.
HWND FindControl(HWND top, const std::vector<std::wstring> &args)
{
    if (!top || args.empty())
        return nullptr;
    const std::wstring &kind = args[0];
    auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };
    if (kind == L"bottom") {
        RECT client;
        GetClientRect(top, &client);
        POINT corner{client.right, client.bottom};
        ClientToScreen(top, &corner);
        HWND best = nullptr;
        for (HWND child : ChildrenOf(top, L"*")) {
            RECT r = RectOf(child);
            if (r.bottom == corner.y && r.right == corner.x &&
                (!best || r.right - r.left > RectOf(best).right - RectOf(best).left))
                best = child;
        }
        return best;
    }
    const std::wstring className = arg(1);
    if (kind == L"any") {
        std::vector<HWND> all = ChildrenOf(top, className);
        size_t n = static_cast<size_t>(_wtoi(arg(2).c_str()));
        return n < all.size() ? all[n] : nullptr;
    }
    const std::wstring text = arg(2);
    if (kind == L"text") {
        size_t n = static_cast<size_t>(_wtoi(arg(3).c_str()));
        for (HWND child : ChildrenOf(top, className))
            if (Shown(TextOf(child)) == text || TextOf(child) == text)
                if (n-- == 0)
                    return child;
        return nullptr;
    }
    HWND label = WithText(top, text);
    if (!label)
        return nullptr;
    const RECT at = RectOf(label);
    HWND best = nullptr;
    long bestScore = 0;
    for (HWND child : ChildrenOf(top, className)) {
        if (child == label)
            continue;
        RECT r = RectOf(child);
        long score;
        if (kind == L"below") {
            if (r.top < at.bottom)
                continue;
            score = (r.top - at.top) * 10000 + std::labs(r.left - at.left);
        } else if (kind == L"rightof") {
            // Beside it (a button may stand inside the right end of a field): its middle further right.
            if (r.left + r.right <= at.left + at.right || r.bottom <= at.top || r.top >= at.bottom)
                continue;
            score = r.left - at.left;
        } else {
            return nullptr;
        }
        if (!best || score < bestScore) {
            best = child;
            bestScore = score;
        }
    }
    return best;
}

// Lets what the input caused reach the window before the next step.
void Settle() { Sleep(60); }

void MouseButton(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void MoveTo(int x, int y)
{
    SetCursorPos(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void Key(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_DELETE || vk == VK_HOME ||
        vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_INSERT)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}

void Stroke(WORD vk, bool shift, bool ctrl, bool alt)
{
    if (ctrl)
        Key(VK_CONTROL, false);
    if (alt)
        Key(VK_MENU, false);
    if (shift)
        Key(VK_SHIFT, false);
    Key(vk, false);
    Key(vk, true);
    if (shift)
        Key(VK_SHIFT, true);
    if (alt)
        Key(VK_MENU, true);
    if (ctrl)
        Key(VK_CONTROL, true);
    Sleep(20);
}

// A key by name ("RETURN", "F2"...) or by the character it types; 0 when unknown.
WORD VirtualKey(const std::wstring &name, bool &shift)
{
    static const struct {
        const wchar_t *name;
        WORD vk;
    } names[] = {{L"RETURN", VK_RETURN}, {L"ESCAPE", VK_ESCAPE}, {L"SPACE", VK_SPACE}, {L"TAB", VK_TAB},
                 {L"LEFT", VK_LEFT},     {L"RIGHT", VK_RIGHT},   {L"UP", VK_UP},       {L"DOWN", VK_DOWN},
                 {L"DELETE", VK_DELETE}, {L"BACK", VK_BACK},     {L"HOME", VK_HOME},   {L"END", VK_END},
                 {L"PRIOR", VK_PRIOR},   {L"NEXT", VK_NEXT},     {L"F2", VK_F2},       {L"F4", VK_F4},
                 {L"F10", VK_F10},       {L"F12", VK_F12},       {L"INSERT", VK_INSERT}};
    for (const auto &n : names)
        if (name == n.name)
            return n.vk;
    if (name.size() == 1) {
        SHORT scan = VkKeyScanW(name[0]);
        if (scan != -1) {
            shift = shift || (scan & 0x100);
            return static_cast<WORD>(scan & 0xFF);
        }
    }
    return 0;
}

// "ctrl+shift+RETURN", "SPACE", "a": false when the key is unknown.
bool PressKey(std::wstring spec)
{
    bool shift = false, ctrl = false, alt = false;
    for (;;) {
        if (spec.rfind(L"ctrl+", 0) == 0 && spec.size() > 5) {
            ctrl = true;
            spec.erase(0, 5);
        } else if (spec.rfind(L"shift+", 0) == 0 && spec.size() > 6) {
            shift = true;
            spec.erase(0, 6);
        } else if (spec.rfind(L"alt+", 0) == 0 && spec.size() > 4) {
            alt = true;
            spec.erase(0, 4);
        } else {
            break;
        }
    }
    WORD vk = VirtualKey(spec, shift);
    if (!vk)
        return false;
    Stroke(vk, shift, ctrl, alt);
    return true;
}

// Types a text: each character by its key where the keyboard has one, else as the character itself.
void TypeText(const std::wstring &text)
{
    for (wchar_t c : text) {
        bool shift = false;
        WORD vk = VirtualKey(std::wstring(1, c), shift);
        if (vk) {
            Stroke(vk, shift, false, false);
            continue;
        }
        INPUT input[2]{};
        for (int i = 0; i < 2; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wScan = c;
            input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, input, sizeof(INPUT));
        Sleep(20);
    }
}

std::vector<std::wstring> Split(const std::wstring &line)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = line.find(L'|', start);
        parts.push_back(line.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos)
            return parts;
        start = bar + 1;
    }
}

std::wstring Number(long n) { return std::to_wstring(n); }

std::wstring RectAnswer(HWND window)
{
    RECT r = RectOf(window);
    return L"ok|" + Number(r.left) + L"|" + Number(r.top) + L"|" + Number(r.right) + L"|" + Number(r.bottom);
}

// The top-level window of the process with the caption (empty: its main window), within `timeout` ms.
HWND WaitForWindowOf(DWORD process, const std::wstring &caption, int timeout)
{
    for (int waited = 0;; waited += 50) {
        HWND window = caption.empty() ? MainWindowOf(process) : FindTopWindow(process, nullptr, caption.c_str());
        if (window || waited >= timeout)
            return window;
        Sleep(50);
    }
}

struct TopSearch {
    DWORD process;
    HWND except;
    HWND found;
};

BOOL CALLBACK FirstOtherTop(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<TopSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) || window == search->except)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The rectangles of a window and of everything in it.
std::vector<RECT> Layout(HWND top)
{
    std::vector<RECT> rects{RectOf(top)};
    for (HWND child : ChildrenOf(top, L"*"))
        rects.push_back(RectOf(child));
    return rects;
}

bool SameLayout(const std::vector<RECT> &a, const std::vector<RECT> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!EqualRect(&a[i], &b[i]))
            return false;
    return true;
}

// A window that has just appeared may still lay itself out (a dialog moves its buttons when shown) and
// takes no input while it is disabled: a user waits until it stands still and answers. Waits (up to
// `timeout` ms) until the window is enabled and its layout has not changed for 200 ms.
void WaitUntilSteady(HWND top, int timeout)
{
    std::vector<RECT> before = Layout(top);
    int still = 0;
    for (int waited = 0; waited < timeout && IsWindow(top); waited += 50) {
        Sleep(50);
        std::vector<RECT> now = Layout(top);
        still = SameLayout(before, now) && IsWindowEnabled(top) ? still + 50 : 0;
        if (still >= 200)
            return;
        before = std::move(now);
    }
}

// The top-level window under a point, and a wait until it takes input.
HWND TopAt(int x, int y)
{
    HWND at = WindowFromPoint(POINT{x, y});
    return at ? GetAncestor(at, GA_ROOT) : nullptr;
}

void WaitUntilEnabled(int x, int y, int timeout)
{
    for (int waited = 0; waited < timeout; waited += 50) {
        HWND top = TopAt(x, y);
        if (!top || IsWindowEnabled(top))
            return;
        Sleep(50);
    }
}

// The window under a point as the answer of a click: "ok|CLASS|TEXT".
std::wstring ClickAnswer(int x, int y)
{
    HWND at = WindowFromPoint(POINT{x, y});
    return at ? L"ok|" + ClassOf(at) + L"|" + TextOf(at) : L"ok||";
}

// Runs one command on the windows of `process`; `current` is the top-level window the commands of
// controls look in. The answer starts with "ok" or with "no" and the reason.
//   top|TIMEOUT|CAPTION       waits for a top-level window with the caption (empty: the main window),
//                             enabled and standing still, and makes it the current one; answers its
//                             rectangle
//   popup|TIMEOUT             the same for the front-most top-level window other than the main window
//   gone|TIMEOUT|CAPTION      waits until no top-level window has the caption
//   closed|TIMEOUT            waits until the current window has gone
//   find|KIND|...             a control of the current window (see FindControl); answers its rectangle;
//   find|main|KIND|...        the same in the main window
//   text|KIND|...             the same; answers its text
//   client|KIND|...           the same; answers its client area on the screen
//   click|X|Y, dclick|X|Y, rclick|X|Y, down|X|Y, up|X|Y, move|X|Y
//                             the mouse at a point of the screen (a click waits until the window
//                             there takes input, and answers the class and text of what it clicked)
//   wheel|X|Y|NOTCHES         the pointer at a point of the screen, the wheel turned by the notches
//                             (more than 0 away from the user, less toward)
//   ready|X|Y                 waits until the window at a point of the screen takes input
//   under|X|Y                 the class and text of the window at a point of the screen
//   keys|KEY|KEY...           keys pressed one after another ("ctrl+RETURN", "SPACE", "a")
//   type|TEXT                 a text typed
//   pixel|X|Y                 the colour at a point of the screen, RRGGBB
//   shot|NAME                 the screen saved as NAME.bmp in the screenshots folder
//   focus                     the class and text of the window that has the keyboard
//   windows                   the captions of the process's top-level windows
//   close                     the main window asked to close, as its close button does
std::wstring UserCommand(DWORD process, HWND &current, const std::wstring &line)
{
    std::vector<std::wstring> a = Split(line);
    const std::wstring &c = a[0];
    auto arg = [&](size_t i) { return i < a.size() ? a[i] : std::wstring(); };
    auto x = _wtoi(arg(1).c_str()), y = _wtoi(arg(2).c_str());
    if (c == L"top") {
        HWND window = WaitForWindowOf(process, arg(2), _wtoi(arg(1).c_str()));
        if (!window)
            return L"no|no window " + arg(2);
        current = window;
        WaitUntilSteady(window, 3000);
        return RectAnswer(window);
    }
    if (c == L"popup") {
        const int timeout = _wtoi(arg(1).c_str());
        for (int waited = 0;; waited += 50) {
            TopSearch search{process, MainWindowOf(process), nullptr};
            EnumWindows(FirstOtherTop, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                current = search.found;
                WaitUntilSteady(current, 3000);
                return RectAnswer(search.found);
            }
            if (waited >= timeout)
                return L"no|no other window";
            Sleep(50);
        }
    }
    if (c == L"gone") {
        const int timeout = _wtoi(arg(1).c_str());
        for (int waited = 0; FindTopWindow(process, nullptr, arg(2).c_str()); waited += 50) {
            if (waited >= timeout)
                return L"no|still there";
            Sleep(50);
        }
        return L"ok";
    }
    if (c == L"closed") {
        const int timeout = _wtoi(arg(1).c_str());
        for (int waited = 0; current && IsWindow(current) && IsWindowVisible(current); waited += 50) {
            if (waited >= timeout)
                return L"no|still open";
            Sleep(50);
        }
        current = nullptr;
        return L"ok";
    }
    if (c == L"find" || c == L"text" || c == L"client") {
        // "main" first: in the main window, whichever window is the current one.
        const bool inMain = arg(1) == L"main";
        HWND control = FindControl(inMain ? MainWindowOf(process) : current,
                                   std::vector<std::wstring>(a.begin() + (inMain ? 2 : 1), a.end()));
        if (!control)
            return L"no|no such control";
        if (c == L"client") {
            RECT r;
            GetClientRect(control, &r);
            MapWindowPoints(control, nullptr, reinterpret_cast<POINT *>(&r), 2);
            return L"ok|" + Number(r.left) + L"|" + Number(r.top) + L"|" + Number(r.right) + L"|" + Number(r.bottom);
        }
        return c == L"find" ? RectAnswer(control) : L"ok|" + TextOf(control);
    }
    if (c == L"click" || c == L"dclick" || c == L"rclick") {
        WaitUntilEnabled(x, y, 3000);
        // As a hand does it: the pointer comes to rest over the place, then the button goes down and
        // up. (Pressed at the instant the pointer arrives, the press may reach a window that has not
        // yet seen the pointer come in, and a button there ignores it.)
        MoveTo(x, y);
        Sleep(150);
        const DWORD down = c == L"rclick" ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        const DWORD up = c == L"rclick" ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        for (int i = 0; i < (c == L"dclick" ? 2 : 1); ++i) {
            MouseButton(down);
            Sleep(40);
            MouseButton(up);
            Sleep(40);
        }
        Settle();
        return ClickAnswer(x, y);
    }
    if (c == L"wheel") {
        MoveTo(x, y);
        Sleep(100);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_WHEEL;
        input.mi.mouseData = static_cast<DWORD>(_wtoi(arg(3).c_str()) * WHEEL_DELTA);
        SendInput(1, &input, sizeof input);
        Settle();
        return L"ok";
    }
    if (c == L"ready") {
        WaitUntilEnabled(x, y, 3000);
        return L"ok";
    }
    if (c == L"under")
        return ClickAnswer(x, y);
    if (c == L"down" || c == L"up" || c == L"move") {
        MoveTo(x, y);
        Sleep(100);
        if (c != L"move")
            MouseButton(c == L"down" ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
        Settle();
        return L"ok";
    }
    if (c == L"keys") {
        for (size_t i = 1; i < a.size(); ++i)
            if (!PressKey(a[i]))
                return L"no|unknown key " + a[i];
        Settle();
        return L"ok";
    }
    if (c == L"type") {
        TypeText(arg(1));
        Settle();
        return L"ok";
    }
    if (c == L"pixel") {
        HDC screen = GetDC(nullptr);
        COLORREF colour = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        wchar_t text[16];
        swprintf(text, 16, L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        return std::wstring(L"ok|") + text;
    }
    if (c == L"shot")
        return SaveScreenScreenshot(WideToCp1251(arg(1))) ? L"ok"
                                                          : L"no|not saved, error " + std::to_wstring(GetLastError());
    if (c == L"front") {
        HWND front = GetForegroundWindow();
        return front ? L"ok|" + ClassOf(front) + L"|" + TextOf(front) : L"no|none in front";
    }
    if (c == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(0, &info) || !info.hwndFocus)
            return L"no|no focus";
        return L"ok|" + ClassOf(info.hwndFocus) + L"|" + TextOf(info.hwndFocus);
    }
    if (c == L"close") {
        HWND main = MainWindowOf(process);
        if (!main)
            return L"no|no main window";
        PostMessageW(main, WM_CLOSE, 0, 0);
        return L"ok";
    }
    if (c == L"windows") {
        std::wstring answer = L"ok";
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process && IsWindowVisible(w))
                answer += L"|" + TextOf(w);
        }
        return answer;
    }
    return L"no|unknown command " + c;
}

bool ReadLine(HANDLE input, std::string &line)
{
    line.clear();
    char c;
    DWORD read = 0;
    while (ReadFile(input, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n')
            return true;
        if (c != '\r')
            line += c;
    }
    return !line.empty();
}

// The commands come and the answers go in code page 1251, a line each; "\n" in a command stands for a
// line break.
int User(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    const DWORD process = static_cast<DWORD>(_wtoi(argv[2]));
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE), output = GetStdHandle(STD_OUTPUT_HANDLE);
    HWND current = nullptr;
    std::string line;
    while (ReadLine(input, line)) {
        if (line == "quit")
            return 0;
        std::wstring command = Cp1251ToWide(line);
        for (size_t at; (at = command.find(L"\\n")) != std::wstring::npos;)
            command.replace(at, 2, L"\n");
        std::wstring answer = line.empty() ? L"no|empty command" : UserCommand(process, current, command);
        const std::string bytes = WideToCp1251(answer) + "\n";
        DWORD written = 0;
        if (!WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return 1;
    }
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return 2;
    if (std::wcscmp(argv[1], L"-user") == 0)
        return User(argc, argv);
    if (argc < 4)
        return 2;
    if (std::wcscmp(argv[1], L"-seq") == 0)
        return Sequence(argc, argv);
    if (std::wcscmp(argv[1], L"-auto") == 0)
        return Auto(argc, argv);
    if (std::wcscmp(argv[1], L"-dialog") == 0)
        return Dialog(argc, argv);
    HWND box = WaitForBox(argv[1], 0, _wtoi(argv[2]));
    if (!box)
        return 1;
    if (argc > 4)
        SaveText(box, argv[4], L"wb", false);
    Press(box, _wtoi(argv[3]));
    return 0;
}
