// The in-cell editors' handlers on the grid table's side: applying an editor's text into the edited
// cell, cancelling, the buttons, the double clicks and the editor menus, attached to the editor form's
// controls when the form is made.
#include "gridtable/UXGridTable.h"

#include <algorithm>

#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/Mask.h"
#include "framework/windows/StdCtrls.h"
#include "framework/windows/VirtualKeys.h"
#include "gridtable/editing/CellEditing.h"
#include "gridtable/editing/CellEditorControls.h"
#include "gridtable/editing/uxgridtabeditform.h"

namespace {

constexpr const char *SingleLineEditorItems = "2|3|0|4|5|6|7|0|8";
constexpr const char *RichEditorItems = "1|3|0|4|5|6|7|0|8";

// The fraction's two parts take unsigned decimals.
constexpr int FractionPartKind = 1;

bool IsEnter(uint16_t key) { return key == VK_RETURN; }
bool IsEsc(uint16_t key) { return key == VK_ESCAPE; }

// The part's text is selected and focused, so that the user sees what was refused.
void PointAt(TEdit *edit)
{
    if (edit->CanFocus())
        edit->SetFocus();
    edit->SelectAll();
}

}  // namespace

void TXGridTable::AttachCellEditorHandlers()
{
    TFEditForm *form = EditForm;
    TXServePopupMenu &serve = *servePopupMenu_;
    const auto keyDown = [this](void (TXGridTable::*handler)(TObject *, uint16_t &, TShiftState)) {
        return [this, handler](TObject *sender, uint16_t &key, TShiftState shift) {
            (this->*handler)(sender, key, shift);
        };
    };
    const auto dblClick = [this](TObject *sender) { EditorDblClick(sender); };

    form->pRE->OnKeyDown = keyDown(&TXGridTable::RichEditorKeyDown);
    form->pRE->OnDblClick = dblClick;
    AttachEditorMenuTag2(serve, *form->pRE, RichEditorItems);

    form->pNumEdit->OnKeyDown = keyDown(&TXGridTable::EditorKeyDown);
    form->pNumEdit->OnKeyPress = [this](TObject *, char &key) {
        NumberEditorKeyPress(*EditForm->pNumEdit, editedCell_ ? editedCell_->EditKind : 0, key);
    };
    form->pNumEdit->OnDblClick = dblClick;
    AttachEditorMenu(serve, *form->pNumEdit, SingleLineEditorItems);

    for (TEdit *part : {form->pEditUp, form->pEditDown}) {
        part->OnKeyDown = keyDown(&TXGridTable::FractionEditorKeyDown);
        part->OnKeyPress = [part](TObject *, char &key) { NumberEditorKeyPress(*part, FractionPartKind, key); };
        part->OnDblClick = dblClick;
    }
    form->pEditDown->SetPopupMenu(AttachEditorMenu(serve, *form->pEditUp, SingleLineEditorItems));

    form->pCBList->OnKeyDown = keyDown(&TXGridTable::PickerKeyDown);
    form->pData->OnKeyDown = keyDown(&TXGridTable::PickerKeyDown);
    form->pBtnSave->OnClick = [this](TObject *sender) { SaveButtonClick(sender); };
    form->pBtnCancel->OnClick = [this](TObject *) { CloseCellEditor(); };
    for (TZButton *button : {form->pBtnSave, form->pBtnCancel, form->BP_Btn1, form->BP_Btn2})
        button->OnKeyDown = keyDown(&TXGridTable::PanelButtonKeyDown);
    form->BP_Btn1->OnClick = [this](TObject *sender) { CellButtonClick(sender); };
    form->BP_Btn2->OnClick = [this](TObject *sender) { CellButtonClick(sender); };
}

void TXGridTable::CloseCellEditor()
{
    if (EditForm == nullptr)
        return;
    EditForm->SetModalResult(mrOk);
    if (CanFocus())
        SetFocus();
}

void TXGridTable::EditorKeyDown(TObject *, uint16_t &key, TShiftState shift)
{
    TEdit *edit = EditForm->pNumEdit;
    const int kind = editedCell_ ? editedCell_->EditKind : 0;
    if (NumberEditorPasteKey(*edit, kind, key, shift))
        return;
    if (IsEnter(key) && edit->Visible()) {
        key = 0;
        if (editedCell_ != nullptr)
            ApplyNumberEditorText(model_, *editedCell_, edit->GetText());
        CloseCellEditor();
    } else if (IsEsc(key)) {
        key = 0;
        CloseCellEditor();
    }
}

void TXGridTable::FractionEditorKeyDown(TObject *Sender, uint16_t &key, TShiftState shift)
{
    TEdit *up = EditForm->pEditUp, *down = EditForm->pEditDown;
    TEdit *part = Sender == down ? down : up;
    if (NumberEditorPasteKey(*part, FractionPartKind, key, shift))
        return;
    if (IsEnter(key) && EditForm->EditMode == EditKindFraction) {
        key = 0;
        // A part that is no number ("," alone passes the key filter) is not written: the editor stays
        // open over it.
        TFractionTexts texts;
        const bool written = editedCell_ != nullptr
                                 ? ApplyFractionEditorTexts(model_, *editedCell_, up->GetText(), down->GetText())
                                 : MakeFractionTexts(up->GetText(), down->GetText(), texts);
        if (!written) {
            PointAt(MakeFractionTexts(up->GetText(), AnsiString(), texts) ? down : up);
            return;
        }
        CloseCellEditor();
    } else if (IsEsc(key)) {
        key = 0;
        CloseCellEditor();
    }
}

void TXGridTable::RichEditorKeyDown(TObject *, uint16_t &key, TShiftState shift)
{
    if (IsEnter(key) && (shift & ssCtrl)) {
        key = 0;
        if (editedCell_ != nullptr)
            ApplyRichEditorText(model_, *editedCell_, EditForm->pRE->GetText());
        CloseCellEditor();
    } else if (IsEsc(key)) {
        key = 0;
        CloseCellEditor();
    }
}

void TXGridTable::EditorDblClick(TObject *)
{
    uint16_t key = VK_RETURN;
    if (EditForm->pFractionPanel->Visible())
        FractionEditorKeyDown(EditForm->pEditUp, key, 0);
    else
        EditorKeyDown(EditForm->pNumEdit, key, 0);
}

void TXGridTable::PickerKeyDown(TObject *Sender, uint16_t &key, TShiftState)
{
    if (IsEnter(key)) {
        key = 0;
        SaveButtonClick(Sender);
    } else if (IsEsc(key)) {
        key = 0;
        CloseCellEditor();
    }
}

void TXGridTable::SaveButtonClick(TObject *)
{
    if (editedCell_ != nullptr) {
        if (EditForm->EditMode == EditKindList) {
            ApplyListEditorChoice(model_, *editedCell_, EditForm->pCBList->GetText());
        } else if (EditForm->EditMode == EditKindDate) {
            // A blank field takes the control's own date; a text that names no date is not written
            // over the date the control still holds: the editor stays open on it.
            TXDateCombo *date = EditForm->pData;
            const AnsiString typed = date->Edit()->Text();
            const bool blank = std::none_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
            if (!blank && !date->CheckText()) {
                if (date->CanFocus())
                    date->SetFocus();
                return;
            }
            ApplyDateEditorText(model_, *editedCell_, blank ? AnsiString() : date->GetsSelDate(), date->SelDate());
        }
    }
    CloseCellEditor();
}

void TXGridTable::PanelButtonKeyDown(TObject *, uint16_t &key, TShiftState)
{
    if (IsEsc(key)) {
        key = 0;
        CloseCellEditor();
    }
}

void TXGridTable::CellButtonClick(TObject *Sender)
{
    if (OnBtnClickInCell && editedCell_ != nullptr)
        OnBtnClickInCell(Sender, editedCell_);
    CloseCellEditor();
}
