#include <windows.h>

#include <algorithm>

#include "framework/runtime/Cp1251.h"
#include "framework/windows/Forms.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/WinInternal.h"

// ---- TButton -----------------------------------------------------------------------------------

TButton::TButton(TComponent *owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"BUTTON";
    params.Style |= (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE;
}

void TButton::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SetButtonStyle(default_);
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (HandleAllocated())
        SetButtonStyle(value);
}

void TButton::SetButtonStyle(bool isDefault)
{
    SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    if (modalResult_ != mrNone)
        if (TForm *form = GetParentForm())
            form->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::CommandNotify(unsigned code)
{
    if (code == BN_CLICKED)
        Click();
}

// ---- TLabel ------------------------------------------------------------------------------------

TLabel::TLabel(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 65, 13); }

void TLabel::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"STATIC";
    params.Style |= SS_NOPREFIX | SS_NOTIFY;
    if (alignment_ == taCenter)
        params.Style |= SS_CENTER;
    else if (alignment_ == taRightJustify)
        params.Style |= SS_RIGHT;
    else
        params.Style |= wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

void TLabel::SetWordWrap(bool wrap)
{
    if (wrap == wordWrap_)
        return;
    wordWrap_ = wrap;
    RecreateWnd();
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    RecreateWnd();
}

void TLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

HBRUSH TLabel::ControlColor(HDC dc)
{
    if (!transparent_)
        return TWinControl::ControlColor(dc);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void TLabel::BoundsChanged()
{
    TWinControl::BoundsChanged();
    if (wordWrap_)
        AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || adjusting_ || Align() == alClient)
        return;
    adjusting_ = true;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    std::wstring text = Cp1251ToWide(text_);
    RECT r{0, 0, wordWrap_ ? std::max(Width(), 1) : 0, 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
    if (text.empty()) {
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        r.right = wordWrap_ ? r.right : 0;
        r.bottom = tm.tmHeight;
    } else {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int width = wordWrap_ ? Width() : r.right;
    int left = Left();
    if (!wordWrap_ && alignment_ == taRightJustify)
        left = Left() + Width() - width;
    else if (!wordWrap_ && alignment_ == taCenter)
        left = Left() + (Width() - width) / 2;
    SetBounds(left, Top(), width, r.bottom);
    adjusting_ = false;
}

// ---- TCustomEdit, TEdit, TMemo -----------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent *owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"EDIT";
    params.Style |= ES_AUTOHSCROLL;
    if (readOnly_)
        params.Style |= ES_READONLY;
    if (borderStyle_ != bsNone)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageW(Handle(), EM_SETSEL, selStart_, selStart_ + selLength_);
    ApplyMargins();
}

AnsiString TCustomEdit::GetText() const { return WindowText(); }

void TCustomEdit::TextChanged()
{
    TWinControl::TextChanged();
    // The window reports the change itself; without a window the handler runs here.
    if (!HandleAllocated() && OnChange)
        OnChange(this);
}

void TCustomEdit::CommandNotify(unsigned code)
{
    if (code == EN_CHANGE) {
        text_ = WindowText();
        if (OnChange)
            OnChange(this);
    }
}

void TCustomEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

void TCustomEdit::SetMaxLength(int maxLength)
{
    maxLength_ = std::max(0, maxLength);
    if (HandleAllocated())
        SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    RecreateWnd();
}

int TCustomEdit::SelStart() const
{
    if (!HandleAllocated())
        return selStart_;
    DWORD start = 0, end = 0;
    SendMessageW(const_cast<TCustomEdit *>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const
{
    if (!HandleAllocated())
        return selLength_;
    DWORD start = 0, end = 0;
    SendMessageW(const_cast<TCustomEdit *>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int start)
{
    selStart_ = std::clamp(start, 0, static_cast<int>(GetText().size()));
    selLength_ = 0;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, selStart_, selStart_);
}

void TCustomEdit::SetSelLength(int length)
{
    int start = SelStart();
    selStart_ = start;
    selLength_ = std::clamp(length, 0, static_cast<int>(GetText().size()) - start);
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, selStart_, selStart_ + selLength_);
}

AnsiString TCustomEdit::SelText() const
{
    AnsiString text = GetText();
    size_t start = std::min(static_cast<size_t>(SelStart()), text.size());
    return text.substr(start, static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const AnsiString &text)
{
    if (HandleAllocated()) {
        SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Cp1251ToWide(text).c_str()));
        text_ = WindowText();
        return;
    }
    AnsiString all = GetText();
    size_t start = std::min(static_cast<size_t>(selStart_), all.size());
    all.replace(start, static_cast<size_t>(selLength_), text);
    selStart_ = static_cast<int>(start + text.size());
    selLength_ = 0;
    SetText(all);
}

void TCustomEdit::SelectAll()
{
    SetSelStart(0);
    SetSelLength(static_cast<int>(GetText().size()));
}

void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }

void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }

void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }

void TCustomEdit::SetMargins(int left, int right)
{
    leftMargin_ = std::max(0, left);
    rightMargin_ = std::max(0, right);
    ApplyMargins();
}

void TCustomEdit::ApplyMargins()
{
    if (HandleAllocated() && leftMargin_ >= 0)
        SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(leftMargin_, rightMargin_));
}

void TCustomEdit::FontChanged()
{
    // A new font sets the box's margins from the font; ours are put back.
    TWinControl::FontChanged();
    ApplyMargins();
}

TEdit::TEdit(TComponent *owner) : TCustomEdit(owner) {}

// ---- TRadioButton, TCheckBox --------------------------------------------------------------------

namespace {
WPARAM ButtonCheck(TCheckBoxState state)
{
    return state == cbChecked ? BST_CHECKED : state == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
}
}  // namespace

TButtonControl::TButtonControl(TComponent *owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::CreateParams(TCreateParams &params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = L"BUTTON";
    params.Style |= BS_MULTILINE;
}

void TButtonControl::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), BM_SETCHECK, ButtonCheck(state_), 0);
}

bool TButtonControl::ChangeCheckState(TCheckBoxState state)
{
    if (state == state_)
        return false;
    state_ = state;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, ButtonCheck(state), 0);
    return true;
}

TCheckBox::TCheckBox(TComponent *owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams &params)
{
    TButtonControl::CreateParams(params);
    params.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TCheckBox::SetState(TCheckBoxState state)
{
    if (ChangeCheckState(state))
        Click();
}

void TCheckBox::SetAllowGrayed(bool allow)
{
    allowGrayed_ = allow;
    if (!allow && State() == cbGrayed)
        SetState(cbUnchecked);
}

void TCheckBox::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    RecreateWnd();
}

void TCheckBox::CommandNotify(unsigned code)
{
    if (code != BN_CLICKED)
        return;
    // Unchecked -> checked -> grayed (when allowed) -> unchecked.
    const TCheckBoxState state = State();
    TCheckBoxState next = state == cbUnchecked                 ? cbChecked
                          : state == cbChecked && allowGrayed_ ? cbGrayed
                                                               : cbUnchecked;
    SetState(next);
}

TRadioButton::TRadioButton(TComponent *owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams &params)
{
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::SetChecked(bool checked)
{
    if (!ChangeCheckState(checked ? cbChecked : cbUnchecked) || !checked)
        return;
    if (TWinControl *parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto *other = dynamic_cast<TRadioButton *>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    Click();
}

void TRadioButton::CommandNotify(unsigned code)
{
    if (code == BN_CLICKED)
        SetChecked(true);
}
