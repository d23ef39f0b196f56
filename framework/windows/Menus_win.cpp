#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/windows/WinInternal.h"

namespace {
// Appends the visible sub-items of an item to a window-system menu.
void BuildMenu(HMENU menu, const TMenuItem *parent)
{
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem *item = parent->Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AnsiString caption = item->Caption();
        if (AnsiString keys = ShortCutToText(item->ShortCut()); !keys.empty())
            caption += "\t" + keys;
        std::wstring text = Cp1251ToWide(caption);
        UINT flags = MF_STRING | (item->Enabled() ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (item->Count() > 0) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, item);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            AppendMenuW(menu, flags, item->Command(), text.c_str());
        }
    }
}

// A window of this thread for the popup menu's messages when no form is at hand.
HWND PopupOwner()
{
    if (TForm *active = Screen->ActiveForm(); active && active->HandleAllocated())
        return active->Handle();
    if (TForm *main = Application->MainForm(); main && main->HandleAllocated())
        return main->Handle();
    return UtilityWindow();
}
}  // namespace

void TPopupMenu::Popup(int x, int y)
{
    popupPoint_ = Point(x, y);
    if (OnPopup)
        OnPopup(this);
    HMENU menu = CreatePopupMenu();
    BuildMenu(menu, Items());
    HWND owner = PopupOwner();
    // The owner must be the foreground window, or the menu does not close when clicked away from.
    SetForegroundWindow(owner);
    UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (TMenuItem *item = command ? TMenuItem::FromCommand(command) : nullptr)
        item->Click();
}

TMainMenu::~TMainMenu()
{
    if (handle_ && !IsMenu(handle_))
        handle_ = nullptr;
    if (handle_)
        DestroyMenu(handle_);
}

HMENU TMainMenu::Handle()
{
    if (!handle_) {
        handle_ = CreateMenu();
        BuildMenu(handle_, Items());
    }
    return handle_;
}

void TMainMenu::Rebuild()
{
    HMENU old = handle_;
    handle_ = nullptr;
    HMENU fresh = Handle();
    // Forms showing the old bar take the new one.
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm *f = Screen->Forms(i);
        if (old && f->HandleAllocated() && GetMenu(f->Handle()) == old) {
            SetMenu(f->Handle(), fresh);
            DrawMenuBar(f->Handle());
        }
    }
    if (old)
        DestroyMenu(old);
}
