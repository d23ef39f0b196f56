// The controls whose contents are lists of strings: the memo's lines and the items of list and combo
// boxes.
#include <windows.h>

#include <algorithm>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/StdCtrls.h"

// ---- TMemo ---------------------------------------------------------------------------------------

namespace {
// The memo's text seen as lines (split at CR LF, LF or CR); every change writes the whole text back,
// each line ended by CR LF, so that empty lines at the end survive the next reading.
class TMemoLines : public TStrings {
public:
    explicit TMemoLines(TMemo *memo) : memo_(memo) {}

    int Count() const override { return Read().Count(); }
    AnsiString Strings(int index) const override { return Read().Strings(index); }
    void SetString(int index, const AnsiString &s) override
    {
        Change([&](TStringList &l) { l.SetString(index, s); });
    }
    void *Objects(int) const override { return nullptr; }
    void SetObject(int, void *) override {}
    void Insert(int index, const AnsiString &s) override
    {
        Change([&](TStringList &l) { l.Insert(index, s); });
    }
    void Delete(int index) override
    {
        Change([&](TStringList &l) { l.Delete(index); });
    }
    void Clear() override { memo_->SetText(AnsiString()); }

private:
    TStringList Read() const
    {
        TStringList lines;
        lines.SetText(memo_->Text());
        return lines;
    }
    template <class F>
    void Change(F change)
    {
        TStringList lines = Read();
        change(lines);
        memo_->SetText(lines.Text());
    }
    TMemo *memo_;
};
}  // namespace

TMemo::TMemo(TComponent *owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoLines>(this))
{
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams &params)
{
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<unsigned long>(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!wordWrap_)
        params.Style |= ES_AUTOHSCROLL;
    if (alignment_ == taCenter)
        params.Style |= ES_CENTER;
    else if (alignment_ == taRightJustify)
        params.Style |= ES_RIGHT;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        params.Style |= WS_HSCROLL;
}

void TMemo::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    text_ = Text();
    RecreateWnd();
}

void TMemo::SetScrollBars(TScrollStyle scrollBars)
{
    if (scrollBars == scrollBars_)
        return;
    scrollBars_ = scrollBars;
    text_ = Text();
    RecreateWnd();
}

void TMemo::SetWordWrap(bool wrap)
{
    if (wrap == wordWrap_)
        return;
    wordWrap_ = wrap;
    text_ = Text();
    RecreateWnd();
}

// ---- items of list and combo boxes ------------------------------------------------------------------

class TListControlItems : public TStrings {
public:
    TListControlItems(TWinControl *control, int *itemIndex, bool combo)
        : control_(control), itemIndex_(itemIndex), combo_(combo)
    {}

    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Strings(int index) const override { return items_.at(Check(index)).text; }
    void *Objects(int index) const override { return items_.at(Check(index)).object; }
    void SetObject(int index, void *object) override { items_.at(Check(index)).object = object; }

    void SetString(int index, const AnsiString &s) override
    {
        items_.at(Check(index)).text = s;
        if (HWND h = Window()) {
            int selected = static_cast<int>(SendMessageW(h, combo_ ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
            SendMessageW(h, combo_ ? CB_DELETESTRING : LB_DELETESTRING, index, 0);
            SendText(h, index, s);
            if (selected == index)
                SendMessageW(h, combo_ ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
        }
    }

    void Insert(int index, const AnsiString &s) override
    {
        if (index < 0 || index > Count())
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        items_.insert(items_.begin() + index, Item{s, nullptr});
        if (*itemIndex_ >= index)
            ++*itemIndex_;
        if (HWND h = Window())
            SendText(h, index, s);
    }

    void Delete(int index) override
    {
        items_.erase(items_.begin() + Check(index));
        if (*itemIndex_ == index)
            *itemIndex_ = -1;
        else if (*itemIndex_ > index)
            --*itemIndex_;
        if (HWND h = Window())
            SendMessageW(h, combo_ ? CB_DELETESTRING : LB_DELETESTRING, index, 0);
    }

    void Clear() override
    {
        items_.clear();
        *itemIndex_ = -1;
        if (HWND h = Window())
            SendMessageW(h, combo_ ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    }

    void Fill(HWND h)
    {
        if (Updating())
            SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        SendMessageW(h, combo_ ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < items_.size(); ++i)
            SendText(h, static_cast<int>(i), items_[i].text);
        SendMessageW(h, combo_ ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(*itemIndex_), 0);
    }

protected:
    // The window stops drawing while an update lasts (a line added to a shown list otherwise repaints the
    // list and its scroll bar at once, and under some systems that costs more than the step the line
    // reports) and is drawn whole, scroll bar and all, once it ends. Unlike hiding the window, this keeps
    // the keyboard focus where it is.
    void SetUpdateState(bool updating) override
    {
        HWND h = Window();
        if (!h)
            return;
        SendMessageW(h, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
        if (!updating)
            RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    }

private:
    struct Item {
        AnsiString text;
        void *object = nullptr;
    };
    size_t Check(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        return static_cast<size_t>(index);
    }
    HWND Window() const { return control_->HandleAllocated() ? control_->Handle() : nullptr; }
    void SendText(HWND h, int index, const AnsiString &s)
    {
        std::wstring w = Cp1251ToWide(s);
        SendMessageW(h, combo_ ? CB_INSERTSTRING : LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(w.c_str()));
    }

    TWinControl *control_;
    int *itemIndex_;
    bool combo_;
    std::vector<Item> items_;
};

// ---- TListBox ------------------------------------------------------------------------------------

TListBox::TListBox(TComponent *owner)
    : TWinControl(owner), items_(std::make_unique<TListControlItems>(this, &itemIndex_, false))
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

TStrings *TListBox::Items() const { return items_.get(); }

void TListBox::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"LISTBOX";
    params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::InitializeWnd()
{
    TWinControl::InitializeWnd();
    items_->Fill(Handle());
}

int TListBox::ItemIndex() const { return itemIndex_; }

void TListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_->Count())
        index = -1;
    itemIndex_ = index;
    if (HandleAllocated())
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TListBox::TopIndex() const
{
    return HandleAllocated()
               ? static_cast<int>(SendMessageW(const_cast<TListBox *>(this)->Handle(), LB_GETTOPINDEX, 0, 0))
               : 0;
}

void TListBox::Clear() { items_->Clear(); }

void TListBox::CommandNotify(unsigned code)
{
    if (code == LBN_SELCHANGE) {
        itemIndex_ = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
        Click();
    } else if (code == LBN_DBLCLK && OnDblClick) {
        OnDblClick(this);
    }
}

// ---- TComboBox -----------------------------------------------------------------------------------

TComboBox::TComboBox(TComponent *owner)
    : TWinControl(owner), items_(std::make_unique<TListControlItems>(this, &itemIndex_, true))
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

bool TComboBox::DroppedDown() const
{
    return HandleAllocated() && SendMessageW(const_cast<TComboBox *>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0);
}

void TComboBox::SetDroppedDown(bool dropped)
{
    if (HandleAllocated() || dropped)
        SendMessageW(Handle(), CB_SHOWDROPDOWN, dropped, 0);
}

TStrings *TComboBox::Items() const { return items_.get(); }

void TComboBox::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"COMBOBOX";
    params.Style |= WS_VSCROLL | (style_ == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
    // The window's height includes the dropped-down list.
    params.Height = Height() + dropDownCount_ * 16;
}

void TComboBox::InitializeWnd()
{
    TWinControl::InitializeWnd();
    items_->Fill(Handle());
    if (style_ == csDropDown && itemIndex_ < 0)
        SetWindowTextW(Handle(), Cp1251ToWide(text_).c_str());
}

void TComboBox::SetStyle(TComboBoxStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    RecreateWnd();
}

int TComboBox::ItemIndex() const { return itemIndex_; }

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_->Count())
        index = -1;
    itemIndex_ = index;
    if (index >= 0)
        text_ = items_->Strings(index);
    if (HandleAllocated())
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

AnsiString TComboBox::GetText() const
{
    if (style_ == csDropDownList)
        return itemIndex_ >= 0 ? items_->Strings(itemIndex_) : AnsiString();
    return WindowText();
}

void TComboBox::CommandNotify(unsigned code)
{
    if (code == CBN_SELCHANGE) {
        itemIndex_ = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (itemIndex_ >= 0)
            text_ = items_->Strings(itemIndex_);
        Click();
        if (OnChange)
            OnChange(this);
    } else if (code == CBN_EDITCHANGE) {
        itemIndex_ = -1;
        text_ = WindowText();
        if (OnChange)
            OnChange(this);
    }
}
