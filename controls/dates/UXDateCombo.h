#pragma once
// TXDateCombo: a date field. A masked edit that takes "dd.mm.yyyy", a small arrow button that drops a
// month page down below or above it, and an optional check box that switches the date off. A text
// that names no date shows in red and leaves the date as it was.
#include <cstdint>
#include <functional>

#include "controls/dates/DateFieldRules.h"
#include "framework/windows/Controls.h"

class TCheckBox;
class TForm;
class TPopupMenu;
class TMaskEdit;
class TXMonthPage;
class TZButton;

// bRet comes in false; a handler that sets it lets the double click drop the calendar down.
using TDateDblClickEvent = std::function<void(TObject *Sender, bool &bRet)>;

class TXDateCombo : public TCustomControl {
public:
    explicit TXDateCombo(TComponent *owner);
    ~TXDateCombo() override;

    TDateTime SelDate() const { return selDate_; }
    void SetSelDate(TDateTime date);
    // "dd.mm.yyyy"; reads "" while the check box is unchecked or the text names no date.
    AnsiString GetsSelDate() const;
    void SetsSelDate(const AnsiString &text);
    // False without a check box; setting it true makes one.
    bool GetChecked() const;
    void SetChecked(bool checked);
    bool UseCheckBox() const { return useCheckBox_; }
    void SetUseCheckBox(bool use);

    // Reads the edit's text again; true when it names a date (always with the check box unchecked).
    bool CheckText();
    // The date differs from the one last set from outside.
    bool IsDateChanged() const;
    // The date in 16 bits (day, month << 5, year field << 9); 0 for a year outside 1990..2089, whose
    // word would read back as another date.
    std::uint16_t GetPackedDate() const;
    // 0 goes back to the date last set from outside; a word that names no date is ignored.
    void SetPackedDate(std::uint16_t packed);

    // Shows the calendar (made the first time) at the date, or hides it when it is up and uncovered.
    void DropDown();

    void SetFocus() override;
    bool RescaleFonts(int m, int d) override;
    void ScaleBy(int m, int d) override;
    // The edit, the button and the check box share the field's popup menu.
    void SetPopupMenu(TPopupMenu *menu) override;

    TMaskEdit *Edit() const { return edit_; }
    TZButton *Button() const { return button_; }
    TCheckBox *CheckBox() const { return checkBox_; }
    TForm *DropDownForm() const { return dropForm_; }
    TXMonthPage *MonthPage() const { return page_; }
    bool InvalidText() const { return invalid_; }

    TNotifyEvent OnChkBxClick;
    TNotifyEvent OnChange;
    TDateDblClickEvent OnDblClick;

protected:
    void Resize() override;
    void FontChanged() override;

private:
    void LayoutControls();
    void ApplyMargins();
    void TextToDate();
    void ShowText();
    void CheckBoxRule(bool byClick);
    void PlaceDropDown();
    void ShowDropDown();
    void DropDownDeactivated();
    void DropDownHidden();
    void PageSelectDate(TDateTime date, const AnsiString &dmy, bool &hide);

    TXMonthPage *page_ = nullptr;
    TForm *dropForm_ = nullptr;
    TMaskEdit *edit_ = nullptr;
    TCheckBox *checkBox_ = nullptr;
    TZButton *button_ = nullptr;
    bool setUp_ = false;
    TDateTime selDate_ = 0;
    AnsiString sSelDate_;
    bool invalid_ = false;
    bool useCheckBox_ = false;
    TDateTime committed_ = 0;
    bool settingCheck_ = false;
    bool layingOut_ = false;
    bool scaling_ = false;
    // The edit's selection when the calendar dropped down, given back when it closes.
    int selStart_ = 0, selLength_ = 0;
    bool closingByDeactivation_ = false;
    bool pressClosedDropDown_ = false;
};
