#pragma once
// A user of the demonstration program: starts it inside a Wine desktop of its own (where windows have
// their frame and caption), with a log file of its events, and works it from outside: the box clicker,
// started on the same desktop, finds its windows through the window system; the clicks and keys are
// real input, through the X server with xdotool where there is one, else through the system's input
// queue. Nothing here calls into the program. Windows build only.
#include <windows.h>

#include <vector>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Types.h"
#include "tests/support/Processes.h"
#include "tests/support/TempFolder.h"

// How a control is found in a window: its kind ("text", "below", "rightof", "any", "bottom"), its
// window class ("Button", "Edit", "QmtWindow", "*" for any) and its text (or a label's text), and which
// one of several.
struct TControlSpec {
    AnsiString Kind = "text";
    AnsiString Class = "*";
    AnsiString Text;
    int Index = 0;
    bool InMain = false;  // in the main window whatever window is the current one
};
TControlSpec ByText(const AnsiString &className, const AnsiString &text, int index = 0);
TControlSpec Below(const AnsiString &className, const AnsiString &label);
TControlSpec RightOf(const AnsiString &className, const AnsiString &text);
TControlSpec Nth(const AnsiString &className, int index);
// The main window's status line.
TControlSpec StatusLine();

class TDemoUser {
public:
    TDemoUser();
    // Closes the program's windows as a user does (killing what does not end) and stops the clicker.
    ~TDemoUser();
    TDemoUser(const TDemoUser &) = delete;
    TDemoUser &operator=(const TDemoUser &) = delete;

    // Starts the program and the clicker; true once the main window is up.
    bool Start();
    // Closes the main window and waits for the program's end; its exit code (~0u when it had to be
    // killed).
    DWORD Close();
    const AnsiString &Failure() const { return failure_; }

    // One command of the clicker and its answer ("ok|..." or "no|...").
    AnsiString Do(const AnsiString &command);

    // Waits for a top-level window of the program with the caption (empty: the main window) and makes it
    // the one controls are looked for in; its rectangle, empty when it did not come.
    TRect Window(const AnsiString &caption, int timeout = 20000);
    // The same for the front-most window other than the main one (a drop-down, a wait window).
    TRect Popup(int timeout = 20000);
    bool WaitGone(const AnsiString &caption, int timeout = 20000);
    // Waits until the current window has gone (a box answered).
    bool WaitClosed(int timeout = 20000);
    // A control of the current window; empty when there is none.
    TRect Find(const TControlSpec &spec);
    // Waits until the control is there.
    TRect WaitFor(const TControlSpec &spec, int timeout = 20000);
    bool Has(const TControlSpec &spec) { return Find(spec).Width() > 0; }
    // Its client area on the screen.
    TRect Client(const TControlSpec &spec);
    AnsiString Text(const TControlSpec &spec);
    // Waits until the control shows the text; false (with the last text seen in Failure) otherwise.
    bool WaitText(const TControlSpec &spec, const AnsiString &text, int timeout = 20000);

    // The mouse at a point of the screen, and on a control (at its centre, or at a point of it).
    bool Click(int x, int y);
    bool DoubleClick(int x, int y);
    bool ClickOn(const TControlSpec &spec);
    bool ClickAt(const TControlSpec &spec, int dx, int dy);
    bool Press(int x, int y);
    bool MoveTo(int x, int y);
    bool Release(int x, int y);
    // The pointer at a point and the wheel turned by the notches: more than 0 away from the user (up),
    // less toward (down).
    bool Wheel(int x, int y, int notches);
    // Keys one after another ("RETURN", "ctrl+RETURN", "a"), and a text typed.
    bool Keys(const std::vector<AnsiString> &keys);
    bool Type(const AnsiString &text);

    // The colour at a point of the screen, "RRGGBB".
    AnsiString Pixel(int x, int y);
    // The screen saved as NAME.bmp among the test run's screenshots.
    bool Shot(const AnsiString &name);
    // The class and text of the window that has the keyboard, "CLASS|TEXT".
    AnsiString Focus();

    // The status line's text, and a wait for it.
    AnsiString Status() { return Text(StatusLine()); }
    bool WaitStatus(const AnsiString &line, int timeout = 20000) { return WaitText(StatusLine(), line, timeout); }
    // The program's event log, a line each, and a wait for a line in it (after the first `from` lines).
    std::vector<AnsiString> Log() const;
    bool WaitLog(const AnsiString &line, int timeout = 20000, size_t from = 0);

private:
    bool StartClicker();
    // Where the desktop is on the X screen, when the input goes through it.
    void FindXDesktop();
    bool XClick(int x, int y, const wchar_t *click);
    bool Mouse(const char *command, int x, int y);
    TRect RectOf(const AnsiString &answer);

    TempFolder folder_;
    AnsiString logFile_;
    AnsiString desktopName_;
    TStartedProcess desktop_;
    DWORD demo_ = 0;
    HANDLE demoHandle_ = nullptr;
    PROCESS_INFORMATION clicker_{};
    HANDLE toClicker_ = nullptr, fromClicker_ = nullptr;
    bool useX_ = false;
    int xOffset_ = 0, yOffset_ = 0;
    AnsiString failure_;
};

// The center of a rectangle.
inline TPoint Centre(const TRect &r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
