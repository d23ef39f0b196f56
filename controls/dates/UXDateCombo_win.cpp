#include "controls/dates/UXDateCombo.h"

#include <windows.h>

#include <algorithm>

#include "base/input/fun_other.h"
#include "controls/buttons/UZButton.h"
#include "controls/dates/uMonPage.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/VirtualKeys.h"

namespace {
constexpr int Inset = 2;

AnsiString DateText(TDateTime date) { return YmdText(YmdOf(date)); }

// The system's check-box glyph, 16 x 16 when it cannot be read: one of the twelve glyphs (four
// across, three down) of the system's check-box bitmap, the size a check box draws its box at. (The
// menu's check mark can be smaller, and a box window of that size shows its glyph cut.)
int CheckBoxSide()
{
    constexpr WORD CheckBoxesBitmap = 32759;  // OBM_CHECKBOXES, declared by <windows.h> only with OEMRESOURCE
    int side = 0;
    if (HBITMAP boxes = LoadBitmapW(nullptr, MAKEINTRESOURCEW(CheckBoxesBitmap))) {
        BITMAP info{};
        if (GetObjectW(boxes, sizeof info, &info))
            side = std::max(info.bmWidth / 4, info.bmHeight / 3);
        DeleteObject(boxes);
    }
    return side > 0 ? side : 16;
}
}  // namespace

TXDateCombo::TXDateCombo(TComponent *owner) : TCustomControl(owner)
{
    edit_ = new TMaskEdit(this);
    edit_->SetParent(this);
    // The control takes the edit's height before the edit is made to fill it.
    SetBounds(Left(), Top(), 100, edit_->Height());
    edit_->SetAlign(alClient);
    edit_->OnKeyDown = [this](TObject *, uint16_t &key, TShiftState shift) {
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
        if (key == VK_RETURN) {
            key = 0;
            DropDown();
        }
    };
    edit_->OnDblClick = [this](TObject *) {
        bool ret = false;
        if (OnDblClick)
            OnDblClick(this, ret);
        if (ret)
            DropDown();
    };

    button_ = new TZButton(this);
    button_->SetParent(this);
    button_->SetImageNo(eil16x16_DArrow);
    button_->OnClick = [this](TObject *) {
        if (pressClosedDropDown_) {
            pressClosedDropDown_ = false;
            return;
        }
        DropDown();
    };
    // The release ends the press that closed the calendar, whether it clicked the button or not.
    button_->OnMouseUp = [this](TObject *, TMouseButton, TShiftState, int, int) { pressClosedDropDown_ = false; };

    dropForm_ = new TForm(this);
    dropForm_->SetBorderStyle(bsNone);
    dropForm_->SetFormStyle(fsStayOnTop);
    dropForm_->OnClose = [](TObject *, TCloseAction &action) { action = caHide; };
    // Sized and placed as it appears, after the form's own scaling to the screen.
    dropForm_->OnShow = [this](TObject *) {
        if (page_) {
            dropForm_->SetClientWidth(page_->Width());
            dropForm_->SetClientHeight(page_->Height());
            PlaceDropDown();
            page_->SetFocus();
        }
    };
    dropForm_->OnDeactivate = [this](TObject *) { DropDownDeactivated(); };
    dropForm_->OnHide = [this](TObject *) { DropDownHidden(); };
    SetPopupMenu(PopupMenu());
    LayoutControls();
}

TXDateCombo::~TXDateCombo()
{
    // The calendar's form may go after the edit and the button: it reports to neither any more.
    dropForm_->OnDeactivate = nullptr;
    dropForm_->OnHide = nullptr;
    dropForm_->OnShow = nullptr;
}

void TXDateCombo::SetPopupMenu(TPopupMenu *menu)
{
    TCustomControl::SetPopupMenu(menu);
    edit_->SetPopupMenu(menu);
    button_->SetPopupMenu(menu);
    if (checkBox_)
        checkBox_->SetPopupMenu(menu);
}

void TXDateCombo::LayoutControls()
{
    if (layingOut_)
        return;
    layingOut_ = true;
    bool first = !setUp_;
    setUp_ = true;
    if (first) {
        // The field's own font, which the edit shows.
        Font()->SetName("Arial");
        edit_->SetEditMask("!99/99/9999;0; ");
        edit_->OnChange = [this](TObject *) { TextToDate(); };
    }
    // The edit fills the field: the parts are placed by the field's size, which is the new one already
    // when a resize lays them out before the edit's alignment has followed it. The edit's sunken
    // border is measured before the edit has a window of its own.
    const int width = ClientWidth(), height = ClientHeight();
    int border = GetSystemMetrics(SM_CYEDGE);
    int side = std::max(height - 2 * border, 1);
    button_->SetBounds(width - border - Inset - side, (height - side) / 2, side, side);
    button_->BringToFront();
    if (checkBox_) {
        int box = CheckBoxSide();
        checkBox_->SetBounds(Inset + border, (height - box) / 2, box, box);
        checkBox_->BringToFront();
    }
    ApplyMargins();
    if (first) {
        SetSelDate(Date());
        CheckBoxRule(false);
    }
    layingOut_ = false;
}

void TXDateCombo::ApplyMargins()
{
    // The box stands Inset in from the edit's inside: the date's text starts Inset beyond its right edge.
    edit_->SetMargins(checkBox_ ? Inset + checkBox_->Width() + Inset : 0, button_->Width() + Inset);
}

void TXDateCombo::TextToDate()
{
    TDateFieldText t = ParseDateFieldText(edit_->Text());
    invalid_ = !t.Valid;
    if (t.Valid) {
        selDate_ = DateOf(t.Date);
        sSelDate_ = YmdText(t.Date);
        edit_->Font()->SetColor(clWindowText);
    } else {
        edit_->Font()->SetColor(clRed);
    }
    ApplyMargins();
    if (OnChange)
        OnChange(this);
}

void TXDateCombo::ShowText()
{
    if (checkBox_ && !checkBox_->Checked())
        edit_->SetText(AnsiString());
    else
        edit_->SetText(sSelDate_);
}

void TXDateCombo::SetSelDate(TDateTime date)
{
    if (date == selDate_ && !sSelDate_.empty())
        return;
    selDate_ = committed_ = date;
    sSelDate_ = DateText(date);
    LayoutControls();
    ShowText();
}

void TXDateCombo::SetsSelDate(const AnsiString &text)
{
    if (text != sSelDate_ || invalid_) {
        sSelDate_ = text;
        LayoutControls();
        ShowText();
    }
    committed_ = selDate_;
}

AnsiString TXDateCombo::GetsSelDate() const
{
    if ((checkBox_ && !checkBox_->Checked()) || invalid_)
        return AnsiString();
    return sSelDate_;
}

bool TXDateCombo::GetChecked() const { return checkBox_ && checkBox_->Checked(); }

void TXDateCombo::SetChecked(bool checked)
{
    if (checked && !checkBox_)
        SetUseCheckBox(true);
    if (checkBox_ && checkBox_->Checked() != checked) {
        settingCheck_ = true;
        checkBox_->SetChecked(checked);
        settingCheck_ = false;
    }
}

void TXDateCombo::SetUseCheckBox(bool use)
{
    if (use == useCheckBox_)
        return;
    useCheckBox_ = use;
    if (use) {
        checkBox_ = new TCheckBox(this);
        checkBox_->SetParentColor(false);
        checkBox_->SetColor(clWhite);
        checkBox_->SetParent(this);
        checkBox_->SetPopupMenu(PopupMenu());
        checkBox_->OnClick = [this](TObject *) { CheckBoxRule(!settingCheck_); };
    } else {
        checkBox_->Free();
        checkBox_ = nullptr;
    }
    LayoutControls();
    ApplyMargins();
    CheckBoxRule(false);
}

void TXDateCombo::CheckBoxRule(bool byClick)
{
    if (checkBox_ && !checkBox_->Checked()) {
        edit_->SetText(AnsiString());
        edit_->SetEnabled(false);
        button_->SetEnabled(false);
        if (dropForm_->Visible())
            dropForm_->Hide();
    } else {
        edit_->SetEnabled(true);
        button_->SetEnabled(true);
        if (byClick)
            sSelDate_ = DateText(Date());
        edit_->SetText(sSelDate_);
    }
    if (OnChkBxClick)
        OnChkBxClick(this);
}

bool TXDateCombo::CheckText()
{
    if (checkBox_ && !checkBox_->Checked())
        return true;
    TextToDate();
    return !invalid_;
}

bool TXDateCombo::IsDateChanged() const { return selDate_ != committed_; }

std::uint16_t TXDateCombo::GetPackedDate() const { return PackDateField(YmdOf(selDate_)); }

void TXDateCombo::SetPackedDate(std::uint16_t packed)
{
    if (packed == 0) {
        SetSelDate(committed_);
        return;
    }
    TYmd date;
    if (UnpackDateField(packed, date))
        SetSelDate(DateOf(date));
}

void TXDateCombo::PlaceDropDown()
{
    TPoint topLeft = ClientToScreen(TPoint{0, 0});
    TRect field = Bounds(topLeft.X, topLeft.Y, Width(), Height());
    TRect at =
        ::PlaceDropDown(field, dropForm_->Width(), dropForm_->Height(), Screen->WorkArea(), dropForm_->BoundsRect());
    dropForm_->SetBounds(at.Left, at.Top, at.Width(), at.Height());
}

void TXDateCombo::ShowDropDown()
{
    selStart_ = edit_->SelStart();
    selLength_ = edit_->SelLength();
    page_->SetDate(selDate_);
    // Shown without a modal loop of its own: the page closes the form when a date is chosen, and the
    // form closes when the focus goes to another window.
    dropForm_->Show();
    dropForm_->BringToFront();
    page_->SetFocus();
}

void TXDateCombo::DropDownDeactivated()
{
    if (!dropForm_->Visible())
        return;
    // A press on the arrow button is what took the focus away: the press closes the calendar, and the
    // click it ends must not open it again.
    POINT at;
    GetCursorPos(&at);
    const bool pressed = (GetKeyState(VK_LBUTTON) | GetKeyState(VK_RBUTTON)) & 0x8000;
    pressClosedDropDown_ = pressed && WindowFromPoint(at) == button_->Handle();
    closingByDeactivation_ = true;
    dropForm_->Hide();
    closingByDeactivation_ = false;
}

void TXDateCombo::DropDownHidden()
{
    // Closed by a choice or Esc, the calendar gives the focus back to the edit as it found it; closed
    // because the user went elsewhere, it leaves the focus there.
    if (closingByDeactivation_ || !edit_->CanFocus())
        return;
    edit_->SetFocus();
    edit_->SetSelStart(selStart_);
    edit_->SetSelLength(selLength_);
}

void TXDateCombo::DropDown()
{
    if (!page_) {
        page_ = new TXMonthPage(dropForm_, true);
        page_->SetParent(dropForm_);
        page_->OnSelectDate = [this](TObject *, TDateTime date, const AnsiString &dmy, bool &hide) {
            PageSelectDate(date, dmy, hide);
        };
        // Scaled with the page on it; the form takes the page's size as it is shown.
        if (FormScaling)
            ScaleFormToScreen(dropForm_);
        ShowDropDown();
        return;
    }
    if (dropForm_->Visible()) {
        // A visible form hides on a second drop-down unless something covers it.
        HWND over = GetWindow(dropForm_->Handle(), GW_HWNDPREV);
        bool covered = false;
        for (; over; over = GetWindow(over, GW_HWNDPREV)) {
            RECT r, mine, both;
            GetWindowRect(over, &r);
            GetWindowRect(dropForm_->Handle(), &mine);
            if (IsWindowVisible(over) && IntersectRect(&both, &r, &mine)) {
                covered = true;
                break;
            }
        }
        if (!covered) {
            dropForm_->Hide();
            return;
        }
        dropForm_->BringToFront();
        page_->SetDate(selDate_);
        page_->SetFocus();
        return;
    }
    ShowDropDown();
}

void TXDateCombo::PageSelectDate(TDateTime, const AnsiString &dmy, bool &hide)
{
    hide = false;
    edit_->SetText(dmy);
    if (dropForm_->Visible())
        page_->SetFocus();
}

void TXDateCombo::SetFocus() { edit_->SetFocus(); }

bool TXDateCombo::RescaleFonts(int, int)
{
    // One control to the form's rescaling: the font it shows in the edit is rescaled, not the parts.
    if (ParentFont())
        RescaleControlFont(*edit_);
    else
        RescaleControlFont(*this);
    LayoutControls();
    return true;
}

void TXDateCombo::ScaleBy(int m, int d)
{
    // The field's font and the edit's are scaled each by itself: the edit does not take the field's
    // scaled font on top of its own.
    scaling_ = true;
    TCustomControl::ScaleBy(m, d);
    scaling_ = false;
    LayoutControls();
}

void TXDateCombo::Resize()
{
    TCustomControl::Resize();
    if (setUp_)
        LayoutControls();
}

void TXDateCombo::FontChanged()
{
    TCustomControl::FontChanged();
    if (!setUp_)
        return;
    if (!ParentFont() && !scaling_) {
        // The colour stays the one that tells a date from a text that names none.
        edit_->Font()->Assign(*Font());
        edit_->Font()->SetColor(invalid_ ? clRed : clWindowText);
    }
    LayoutControls();
}
