#pragma once
// Subclassing: a window procedure bound to an object's member, put in place of any window's procedure
// (a framework window, a system control or a window of another library in this process), with the
// procedure it replaced still callable. Windows build only.
#include <functional>
#include <memory>

#include "framework/windows/Controls.h"

// A member (or any callable) that handles a window message and leaves its answer in Result.
using TWndMethod = std::function<void(TMessage &)>;

// The object-instance stub: a window procedure that hands each message to `method`. The stubs come
// from a fixed table of procedures compiled into the program (no code is generated at run time), so
// their number is limited: MakeObjectInstance throws an Exception when every one is taken. The address
// is the system's window procedure type (WNDPROC), typed void * here so that no Windows header is needed.
void *MakeObjectInstance(TWndMethod method);
// Gives a stub back; null does nothing.
void FreeObjectInstance(void *instance);
// How many stubs are free now (for tests of their release).
int FreeObjectInstanceCount();

// Replaces a window's procedure by a method and calls the previous one on request.
//
// A window hooked several times keeps a chain: each hook calls the procedure it replaced. Unhooking
// the last hook puts its previous procedure back. Unhooking a hook that another procedure has since
// been put over cannot take it out of the chain without cutting that other one off: it stops calling
// its method and passes every message on to its previous procedure, and its stub stays reserved until
// the window is destroyed. A window destroyed while hooked unhooks itself once its last message
// (WM_NCDESTROY) has gone through the method.
class TSubClass {
public:
    TSubClass();
    ~TSubClass();  // unhooks
    TSubClass(const TSubClass &) = delete;
    TSubClass &operator=(const TSubClass &) = delete;

    // Installs `method` as the window's procedure; does nothing when already hooked.
    void Hook(HWND window, TWndMethod method);
    // The same for a control's window (made when it has none yet), and again for every window the
    // control makes after it (a control makes its window anew when a style fixed at creation changes,
    // such as a form's border icons), until unhooked or the control is freed.
    void Hook(TWinControl *control, TWndMethod method);
    void Unhook();
    // The procedure the window had before this hook, with the message's window and parameters; its
    // answer goes into message.Result. Without a hook the message is left unanswered (Result 0).
    // False when this hook was freed during the call (the procedure freed the hook's owner, as a form
    // closed with caFree or released frees what it owns): the caller must then touch nothing of it.
    bool CallOldProc(TMessage &message);

    bool Hooked() const { return window_ != nullptr; }
    // The control followed by Hook(control, ...), or null.
    TWinControl *Control() const { return control_; }
    HWND Window() const { return window_; }
    // The replaced procedure (the system's WNDPROC), null when not hooked.
    void *OldProc() const { return oldProc_; }

    // Called by the framework: a control made a new window / is being freed.
    static void ControlWindowCreated(TWinControl *control);
    static void ControlFreed(TWinControl *control);

private:
    void Detach();
    void Follow(TWinControl *control, TWndMethod method);
    void StopFollowing();
    TWinControl *control_ = nullptr;
    TWndMethod followed_;
    HWND window_ = nullptr;
    void *oldProc_ = nullptr;
    void *instance_ = nullptr;
    // Cleared when this hook is freed; a call in progress holds its own reference.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The current window procedure of a window (the system's WNDPROC).
void *WindowProcedure(HWND window);
