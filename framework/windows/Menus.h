#pragma once
// Menus: items in a tree, popup and main menus, and keyboard shortcuts.
#include <cstdint>
#include <vector>

#include "framework/runtime/Component.h"
#include "framework/windows/Controls.h"
#include "framework/runtime/Types.h"

// A key with its modifiers: the virtual key code + scShift, scCtrl and scAlt bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
// "Ctrl+Shift+F5", "Alt+X", "Del"...; an empty text for no shortcut or an unnamed key.
AnsiString ShortCutToText(TShortCut shortCut);
// The reverse, with the modifier names in any order and letter case; 0 when the text names no key.
TShortCut TextToShortCut(const AnsiString &text);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent *owner);
    // Frees the sub-items too.
    ~TMenuItem() override;

    const AnsiString &Caption() const { return caption_; }
    void SetCaption(const AnsiString &caption) { caption_ = caption; }
    // A caption of "-" makes a separator line.
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut) { shortCut_ = shortCut; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }

    TMenuItem *Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem *Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    int IndexOf(const TMenuItem *item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    void Add(TMenuItem *item) { Insert(Count(), item); }
    void Insert(int index, TMenuItem *item);
    // Takes the item out of this menu without freeing it.
    void Remove(TMenuItem *item);
    // Frees the item at the index / all sub-items.
    void Delete(int index);
    void Clear();
    // The direct sub-item with this caption, or null.
    TMenuItem *Find(const AnsiString &caption) const;

    // The number that identifies the item in a window-system menu.
    unsigned Command() const { return command_; }
    static TMenuItem *FromCommand(unsigned command);

    // Runs OnClick when the item is enabled.
    virtual void Click();

    TNotifyEvent OnClick;

private:
    AnsiString caption_;
    TShortCut shortCut_ = 0;
    bool enabled_ = true, visible_ = true, checked_ = false;
    TMenuItem *parent_ = nullptr;
    std::vector<TMenuItem *> items_;
    unsigned command_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent *owner);
    ~TMenu() override;
    // The root item; the menu's entries are its sub-items.
    TMenuItem *Items() const { return items_; }
    // The visible, enabled item (at any depth, in menu order) with this shortcut, or null.
    TMenuItem *FindItem(TShortCut shortCut) const;
    // Clicks the item of a key press; true when there was one. A menu that must not take keys from its
    // control refuses here.
    virtual bool IsShortCut(uint16_t key, TShiftState shift);

private:
    TMenuItem *items_;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent *owner) : TMenu(owner) {}
    // Runs OnPopup, shows the menu at a screen point and clicks the item chosen (if any) before it
    // returns.
    void Popup(int x, int y);
    // The control the menu was last popped up for.
    TComponent *PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent *component) { popupComponent_ = component; }
    TPoint PopupPoint() const { return popupPoint_; }
    // Shown by a right click or the menu key on its control (on by default); off, only Popup shows it.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }

    TNotifyEvent OnPopup;

private:
    TComponent *popupComponent_ = nullptr;
    bool autoPopup_ = true;
    TPoint popupPoint_;
};

// The menu bar of a form (TForm::SetMenu).
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent *owner) : TMenu(owner) {}
    ~TMainMenu() override;
    // The window-system menu, built from the items (again after Rebuild).
    HMENU Handle();
    void Rebuild();

private:
    HMENU handle_ = nullptr;
};
