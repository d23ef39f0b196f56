#include "framework/windows/Subclass.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/runtime/Exception.h"
#include "framework/windows/WinInternal.h"

namespace {
constexpr int kInstanceCount = 256;

// A stub's method is held through a shared pointer: a message being handled keeps its own reference,
// so that the method may be replaced or the stub freed from inside the method itself.
struct TInstance {
    bool used = false;
    std::shared_ptr<TWndMethod> method;
};

std::array<TInstance, kInstanceCount> &Instances()
{
    static std::array<TInstance, kInstanceCount> instances;
    return instances;
}

std::mutex &InstancesLock()
{
    static std::mutex lock;
    return lock;
}

LRESULT Dispatch(int index, HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    std::shared_ptr<TWndMethod> method;
    {
        std::lock_guard<std::mutex> guard(InstancesLock());
        method = Instances()[static_cast<size_t>(index)].method;
    }
    if (!method || !*method)
        return DefWindowProcW(hwnd, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
        (*method)(m);
    } catch (const std::exception &e) {
        HandleEventException(e);
    }
    return m.Result;
}

template <int I>
LRESULT CALLBACK InstanceProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    return Dispatch(I, hwnd, msg, w, l);
}

template <int... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeProcs(std::integer_sequence<int, I...>)
{
    return {&InstanceProc<I>...};
}

const std::array<WNDPROC, kInstanceCount> kProcs = MakeProcs(std::make_integer_sequence<int, kInstanceCount>{});

int IndexOf(void *instance)
{
    for (int i = 0; i < kInstanceCount; ++i)
        if (reinterpret_cast<void *>(kProcs[static_cast<size_t>(i)]) == instance)
            return i;
    return -1;
}

// Gives a stub a new method (the stub stays taken).
void Rebind(void *instance, TWndMethod method)
{
    int i = IndexOf(instance);
    if (i < 0)
        return;
    std::lock_guard<std::mutex> guard(InstancesLock());
    Instances()[static_cast<size_t>(i)].method = std::make_shared<TWndMethod>(std::move(method));
}
}  // namespace

void *MakeObjectInstance(TWndMethod method)
{
    std::lock_guard<std::mutex> guard(InstancesLock());
    auto &instances = Instances();
    for (int i = 0; i < kInstanceCount; ++i) {
        TInstance &slot = instances[static_cast<size_t>(i)];
        if (!slot.used) {
            slot.used = true;
            slot.method = std::make_shared<TWndMethod>(std::move(method));
            return reinterpret_cast<void *>(kProcs[static_cast<size_t>(i)]);
        }
    }
    throw Exception("No free window procedure stub is left");
}

void FreeObjectInstance(void *instance)
{
    int i = IndexOf(instance);
    if (i < 0)
        return;
    std::lock_guard<std::mutex> guard(InstancesLock());
    TInstance &slot = Instances()[static_cast<size_t>(i)];
    slot.used = false;
    slot.method.reset();
}

int FreeObjectInstanceCount()
{
    std::lock_guard<std::mutex> guard(InstancesLock());
    int n = 0;
    for (const TInstance &slot : Instances())
        n += slot.used ? 0 : 1;
    return n;
}

namespace {
// The hooks that follow a control from window to window.
std::vector<TSubClass *> &Followers()
{
    static std::vector<TSubClass *> followers;
    return followers;
}
}  // namespace

void *WindowProcedure(HWND window) { return reinterpret_cast<void *>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

TSubClass::TSubClass() = default;

TSubClass::~TSubClass()
{
    *alive_ = false;
    Unhook();
}

void TSubClass::Hook(TWinControl *control, TWndMethod method)
{
    if (window_ || control_ || !control)
        return;
    Hook(control->Handle(), method);
    control_ = control;
    followed_ = std::move(method);
    Followers().push_back(this);
}

void TSubClass::StopFollowing()
{
    if (!control_)
        return;
    auto &followers = Followers();
    followers.erase(std::remove(followers.begin(), followers.end(), this), followers.end());
    control_ = nullptr;
    followed_ = nullptr;
}

void TSubClass::ControlWindowCreated(TWinControl *control)
{
    // A copy: hooking may run code that adds or removes followers.
    std::vector<TSubClass *> followers = Followers();
    for (TSubClass *sub : followers)
        if (sub->control_ == control && !sub->window_)
            sub->Hook(control->Handle(), sub->followed_);
}

void TSubClass::ControlFreed(TWinControl *control)
{
    std::vector<TSubClass *> followers = Followers();
    for (TSubClass *sub : followers)
        if (sub->control_ == control)
            sub->StopFollowing();
}

void TSubClass::Hook(HWND window, TWndMethod method)
{
    if (window_ || !window)
        return;
    void *instance = MakeObjectInstance([this, alive = alive_, method = std::move(method)](TMessage &m) {
        method(m);
        // The window is gone: nothing of it stays hooked (unless the method freed this hook already).
        if (m.Msg == WM_NCDESTROY && *alive)
            Detach();
    });
    SetLastError(0);
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
    if (!old && GetLastError() != 0) {
        FreeObjectInstance(instance);
        throw Exception("Cannot replace the window procedure");
    }
    window_ = window;
    oldProc_ = reinterpret_cast<void *>(old);
    instance_ = instance;
}

void TSubClass::Unhook()
{
    StopFollowing();
    if (!window_)
        return;
    if (IsWindow(window_) && WindowProcedure(window_) != instance_) {
        // Another procedure was put over this one and calls it: keep the stub as a plain forwarder to
        // the previous procedure until the window is destroyed.
        HWND window = window_;
        auto old = reinterpret_cast<WNDPROC>(oldProc_);
        void *instance = instance_;
        Rebind(instance, [window, old, instance](TMessage &m) {
            m.Result = CallWindowProcW(old, window, m.Msg, m.WParam, m.LParam);
            if (m.Msg == WM_NCDESTROY)
                FreeObjectInstance(instance);
        });
        window_ = nullptr;
        oldProc_ = nullptr;
        instance_ = nullptr;
        return;
    }
    Detach();
}

void TSubClass::Detach()
{
    if (!window_)
        return;
    if (IsWindow(window_) && WindowProcedure(window_) == instance_)
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    FreeObjectInstance(instance_);
    window_ = nullptr;
    oldProc_ = nullptr;
    instance_ = nullptr;
}

bool TSubClass::CallOldProc(TMessage &message)
{
    if (!window_ || !oldProc_)
        return true;
    const std::shared_ptr<bool> alive = alive_;
    message.Result =
        CallWindowProcW(reinterpret_cast<WNDPROC>(oldProc_), window_, message.Msg, message.WParam, message.LParam);
    return *alive;
}
