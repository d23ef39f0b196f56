// The in-cell editor form.
#include "gridtable/editing/uxgridtabeditform.h"

#include <algorithm>

#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/messages/zText.h"
#include "framework/runtime/Clock.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/StdCtrls.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/model/CellLayout.h"
#include "gridtable/UXGridTable.h"

namespace {

// The controls on the form itself are hidden until their mode shows them; those inside a panel come
// out with it.
template <class T>
T *MakeControl(TComponent *owner, TWinControl *parent, const char *name)
{
    T *control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetColor(clSkyBlue);
    control->SetVisible(parent != owner);
    return control;
}

// A panel that fills the form and draws no bevel, so that its controls meet the cell's edges.
TPanel *MakePanel(TFEditForm *form, const char *name)
{
    TPanel *panel = MakeControl<TPanel>(form, form, name);
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(alClient);
    return panel;
}

}  // namespace

TFEditForm::TFEditForm(TComponent *owner) : TForm(owner)
{
    SetName("FEditForm");
    SetBorderStyle(bsNone);
    SetScaled(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
    OnShow = [this](TObject *sender) { FormShow(sender); };
    OnClose = [this](TObject *sender, TCloseAction &action) { FormClose(sender, action); };

    pRE = MakeControl<TRichEditEx>(this, this, "pRE");
    pRE->SetAlign(alClient);
    pRE->SetBorderStyle(bsNone);
    pNumEdit = MakeControl<TEdit>(this, this, "pNumEdit");
    pNumEdit->SetAlign(alClient);
    pNumEdit->SetBorderStyle(bsNone);

    pFractionPanel = MakePanel(this, "pFractionPanel");
    pEditUp = MakeControl<TEdit>(this, pFractionPanel, "pEditUp");
    pEditUp->SetBorderStyle(bsNone);
    pEditDown = MakeControl<TEdit>(this, pFractionPanel, "pEditDown");
    pEditDown->SetBorderStyle(bsNone);
    pShape = MakeControl<TShape>(this, pFractionPanel, "pShape");
    pShape->SetHeight(1);
    pShape->Brush()->SetColor(clBlack);
    pShape->Pen()->SetColor(clBlack);

    pCB_Dt_Panel = MakePanel(this, "pCB_Dt_Panel");
    pData = MakeControl<TXDateCombo>(this, pCB_Dt_Panel, "pData");
    pCB_Dt_Head = MakeControl<TZText>(this, pCB_Dt_Panel, "pCB_Dt_Head");
    pBtnSave = MakeControl<TZButton>(this, pCB_Dt_Panel, "pBtnSave");
    pBtnSave->SetImageNo(eil16x16_OK);
    pBtnSave->SetTag(1);
    pBtnCancel = MakeControl<TZButton>(this, pCB_Dt_Panel, "pBtnCancel");
    pBtnCancel->SetImageNo(eil16x16_Cancel);
    pBtnCancel->SetTag(2);
    pCBList = MakeControl<TComboBox>(this, pCB_Dt_Panel, "pCBList");
    pCBList->SetStyle(csDropDownList);

    pBtnPanel = MakePanel(this, "pBtnPanel");
    BP_Text = MakeControl<TZText>(this, pBtnPanel, "BP_Text");
    // The buttons take the panel from its top: the heading has no room and stays out of sight.
    BP_Text->SetVisible(false);
    BP_Btn1 = MakeControl<TZButton>(this, pBtnPanel, "BP_Btn1");
    BP_Btn2 = MakeControl<TZButton>(this, pBtnPanel, "BP_Btn2");
}

TWinControl *TFEditForm::ModeControl() const
{
    switch (EditMode) {
    case EditKindUnsigned:
    case EditKindSigned:
    case EditKindWhole: return pNumEdit;
    case EditKindRich: return pRE;
    case EditKindFraction: return pFractionPanel;
    case EditKindDate:
    case EditKindList: return pCB_Dt_Panel;
    case EditKindButtons: return pBtnPanel;
    default: return nullptr;
    }
}

TWinControl *TFEditForm::ModeFocusControl() const
{
    switch (EditMode) {
    case EditKindFraction: return pEditUp;
    case EditKindDate: return pData;
    case EditKindList: return pCBList;
    case EditKindButtons: return BP_Btn1;
    default: return ModeControl();
    }
}

void TFEditForm::ShowModeControl(bool show)
{
    TWinControl *control = ModeControl();
    if (control == nullptr)
        return;
    // The date and the list share their panel.
    if (show && control == pCB_Dt_Panel) {
        pData->SetVisible(EditMode == EditKindDate);
        pCBList->SetVisible(EditMode == EditKindList);
    }
    control->SetVisible(show);
}

void TFEditForm::FormShow(TObject *)
{
    ShowModeControl(true);
    TWinControl *focus = ModeFocusControl();
    if (focus != nullptr && Visible() && focus->CanFocus())
        focus->SetFocus();
}

void TFEditForm::FormClose(TObject *, TCloseAction &) { ShowModeControl(false); }

int TFEditForm::ShowEditor()
{
    ShowModeControl(true);
    const int result = ShowModal();
    TCloseAction action = caHide;
    FormClose(this, action);
    return result;
}

// ---- preparing the editors ---------------------------------------------------------------------

namespace {
void SetControlBounds(TControl *control, const TRect &r) { control->SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
}  // namespace

void TFEditForm::PrepareNumberEditor(const TRect &cell, const AnsiString &text, TColor colour, int format)
{
    SetControlBounds(this, cell);
    NumberFormat = format;
    pNumEdit->Font()->SetColor(colour);
    pNumEdit->SetText(text);
    pNumEdit->SelectAll();
}

void TFEditForm::PrepareRichEditor(const TRect &bounds, const AnsiString &text)
{
    SetControlBounds(this, bounds);
    pRE->SetText(text);
    pRE->SetSelStart(static_cast<int>(pRE->GetText().size()));
    pRE->SetSelLength(0);
}

void TFEditForm::PrepareFractionEditor(const TRect &cell, int textHeight, const AnsiString &up, const AnsiString &down)
{
    SetControlBounds(this, cell);
    const TFractionLayout layout = FractionEditorLayout(cell.Width(), cell.Height(), textHeight);
    SetControlBounds(pEditUp, layout.Up);
    SetControlBounds(pShape, layout.Bar);
    SetControlBounds(pEditDown, layout.Down);
    pEditUp->SetText(Trim(up));
    pEditDown->SetText(Trim(down));
}

void TFEditForm::PlacePicker(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading,
                             TWinControl *field)
{
    pCB_Dt_Head->SetText(0, heading);
    pCB_Dt_Head->SetFont(0, *pNumEdit->Font());
    pCB_Dt_Head->SetWidth(std::max(cell.Width() - 2 * EditorMargin, 0));
    const int headHeight = pCB_Dt_Head->PCalcTextH();
    const TPickerLayout layout =
        PickerEditorLayout(cell, clientTop, clientBottom, headHeight, field->Height(), pBtnSave->Height());
    SetControlBounds(this, layout.Form);
    SetControlBounds(pCB_Dt_Head, layout.Head);
    SetControlBounds(field, layout.Field);
    SetControlBounds(pBtnSave, layout.Save);
    SetControlBounds(pBtnCancel, layout.Cancel);
}

void TFEditForm::PrepareDateEditor(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading,
                                   const AnsiString &date)
{
    PlacePicker(cell, clientTop, clientBottom, heading, pData);
    pData->SetsSelDate(date);
}

void TFEditForm::PrepareListEditor(const TRect &cell, int clientTop, int clientBottom, const AnsiString &heading,
                                   const TListCellItems &items)
{
    PlacePicker(cell, clientTop, clientBottom, heading, pCBList);
    pCBList->Items()->Clear();
    for (const AnsiString &item : items.Items)
        pCBList->Items()->Add(item);
    pCBList->SetItemIndex(items.Selected);
}

void TFEditForm::PrepareButtonEditor(const TRect &cell, int clientTop, int clientBottom)
{
    const TButtonsLayout layout = ButtonEditorLayout(cell, clientTop, clientBottom, BP_Btn1->Height());
    SetControlBounds(this, layout.Form);
    SetControlBounds(BP_Btn1, layout.First);
    SetControlBounds(BP_Btn2, layout.Second);
}

// ---- the table's side ----------------------------------------------------------------------------

namespace {

// The editors write in the table's font 0, or in the component's own font when the table has none.
void TakeEditorFont(TXGridTable &table, TFont &target)
{
    if (const S_SGFont *font = FindGridFontById(table.Model(), 0))
        SelectGridFontInto(target, *font);
    else
        target.Assign(table.GridFont());
}

}  // namespace

void TXGridTable::CreateCellEditor()
{
    if (designing_ || EditForm != nullptr)
        return;
    EditForm = new TFEditForm(this);
    GiveEditorsFont0();
    EditForm->BP_Btn1->SetTag(0);
    EditForm->BP_Btn2->SetTag(1);
    AttachCellEditorHandlers();
}

void TXGridTable::GiveEditorsFont0()
{
    if (EditForm == nullptr)
        return;
    for (TWinControl *editor :
         {static_cast<TWinControl *>(EditForm->pRE), static_cast<TWinControl *>(EditForm->pNumEdit),
          static_cast<TWinControl *>(EditForm->pEditUp), static_cast<TWinControl *>(EditForm->pEditDown)})
        TakeEditorFont(*this, *editor->Font());
}

TZButton *TXGridTable::GetCellEditorButton(int number) const
{
    if (EditForm == nullptr)
        return nullptr;
    return number == 0 ? EditForm->BP_Btn1 : number == 1 ? EditForm->BP_Btn2 : nullptr;
}

int TXGridTable::EditorTextHeight()
{
    TCanvas *canvas = GridCanvas();
    TFont before;
    before.Assign(*canvas->Font());
    TakeEditorFont(*this, *canvas->Font());
    const int height = canvas->TextHeight("0123456789,");
    canvas->Font()->Assign(before);
    return height;
}

TRect TXGridTable::ShowCellForEditing(const S_XSGCell &cell)
{
    const int row = cell.Row, col = cell.Col;
    const int endRow = cell.InSpan() ? cell.EndRow : row, endCol = cell.InSpan() ? cell.EndCol : col;
    // The span's end first, then its start, so that a span larger than the view shows from its start.
    TGridCoord topLeft = Geometry().TopLeftShowing(endCol, endRow);
    MoveTopLeft(topLeft.X, topLeft.Y);
    topLeft = Geometry().TopLeftShowing(col, row);
    MoveTopLeft(topLeft.X, topLeft.Y);
    return ClipEditorToClient(GetGridCellRect(col, row), ClientWidth(), ClientHeight());
}

namespace {
TRect ToScreen(const TControl &control, const TRect &r)
{
    const TPoint topLeft = control.ClientToScreen(Point(r.Left, r.Top));
    return Bounds(topLeft.X, topLeft.Y, r.Width(), r.Height());
}
}  // namespace

void TXGridTable::PrepareRichEditor(S_XSGCell &cell, const SDataForOut &data, TRect bounds)
{
    const int extent = data.RichExtent;
    const int first = cell.Row, last = cell.InSpan() ? cell.EndRow : cell.Row;
    const auto height = [this](int row) { return RowHeights(row); };
    int second = RichEditorSecondRow(extent, first, last, RowCount(), FixedRows(), ClientHeight(), height);
    TRect secondRow{-1, -1, -1, -1};
    if (second >= 0) {
        // A next row below the view: the table scrolls down by one, while the cell stays in view.
        if (Geometry().CellBounds(cell.Col, second).Bottom > ClientHeight() && TopRow() < first) {
            MoveTopLeft(LeftCol(), TopRow() + 1);
            bounds = ClipEditorToClient(GetGridCellRect(cell.Col, cell.Row), ClientWidth(), ClientHeight());
        }
        const TRect r = Geometry().CellBounds(cell.Col, second);
        secondRow = Rect(r.Left, r.Top, r.Right, std::min(r.Bottom - lineWidth_, ClientHeight()));
    }
    bounds = RichEditorBounds(extent, bounds, ClientHeight(), secondRow.Top, secondRow.Bottom);
    EditForm->PrepareRichEditor(ToScreen(*this, bounds), GetRunTextByNumber(model_, cell, data.RunNumber));
}

bool TXGridTable::PrepareCellEditor(S_XSGCell &cell, const SDataForOut &data)
{
    const TRect client = ShowCellForEditing(cell);
    const TRect screen = ToScreen(*this, client);
    const int clientTop = ClientToScreen(Point(0, 0)).Y;
    const int clientBottom = clientTop + ClientHeight();
    EditForm->EditMode = cell.EditKind;
    switch (cell.EditKind) {
    case EditKindUnsigned:
    case EditKindSigned:
    case EditKindWhole:
        EditForm->PrepareNumberEditor(screen,
                                      data.UsePresetText != 0 ? data.PresetText : GetRunTextByNumber(model_, cell, 1),
                                      data.NumberFontColour, NumberEditorFormat(cell.EditKind));
        return true;
    case EditKindRich: PrepareRichEditor(cell, data, client); return true;
    case EditKindFraction:
        EditForm->PrepareFractionEditor(screen, EditorTextHeight(), GetRunTextByNumber(model_, cell, 1),
                                        GetRunTextByNumber(model_, cell, 2));
        return true;
    case EditKindDate:
        if (PrepareDateCellRuns(model_, cell, DateToStr(CurrentClock().Now()))) {
            LayoutGridCell(model_, cell, -1, cell.Col);
            InvalidateModelCell(model_, cell);
        }
        EditForm->PrepareDateEditor(screen, clientTop, clientBottom, GetRunTextByNumber(model_, cell, 1),
                                    GetRunTextByNumber(model_, cell, 2));
        return true;
    case EditKindList:
        EditForm->PrepareListEditor(screen, clientTop, clientBottom, GetRunTextByNumber(model_, cell, 1),
                                    ListCellItems(model_, cell));
        return true;
    case EditKindButtons: EditForm->PrepareButtonEditor(screen, clientTop, clientBottom); return true;
    default: return false;
    }
}

void TXGridTable::EditCellRounds(SDataForOut &data)
{
    S_XSGCell *cell = GetGridCell(model_, EditRow, EditCol, true);
    if (cell->EditKind == EditKindFraction) {
        const int height = 2 * EditorTextHeight();
        if (GetGridRowHeight(EditRow) < height)
            SetGridRowHeight(EditRow, height);
    }
    cellChanged_ = false;
    const TRunList snapshot = SnapshotCellTexts(model_, *cell);
    int value = exsgEditAgainAfterBefore;
    while (value != exsgStop) {
        // The application's handlers may change the table: the cell is fetched afresh each time, and
        // the rounds end when it is gone.
        if (value == exsgEditAgainAfterBefore && OnBeforeCellEdit) {
            OnBeforeCellEdit(this, cell);
            cell = GetGridCell(model_, EditRow, EditCol, true);
            if (cell == nullptr)
                return;
        }
        editedCell_ = cell;
        if (PrepareCellEditor(*cell, data)) {
            const std::shared_ptr<const bool> alive = Alive();
            EditForm->ShowEditor();
            // Freed meanwhile by a handler of the application: the editor ended with it.
            if (!*alive || Destroying())
                return;
            // The handler that closed the editor could not focus the table while the modal form
            // disabled it; the keyboard comes back here now.
            if (CanFocus())
                SetFocus();
        }
        // The cell's row was deleted while the editor was open: the rounds end with it.
        const bool rowGone = editedCell_ == nullptr;
        editedCell_ = nullptr;
        if (rowGone)
            return;
        cell = GetGridCell(model_, EditRow, EditCol, true);
        if (cell == nullptr)
            return;
        cellChanged_ = !SameCellTexts(snapshot, CurrentCellTextList(model_, *cell));
        EXSGEditValue next = exsgStop;
        if (OnAfterCellEdit) {
            OnAfterCellEdit(this, cell, next, cellChanged_);
            cell = GetGridCell(model_, EditRow, EditCol, true);
            if (cell == nullptr)
                return;
        }
        value = next;
    }
}

void TXGridTable::DblClick()
{
    if (shiftSelecting_ || model_.RowDescriptions.SelectedCount > 0)
        return;
    // The editor opens over the table and takes the double click's last release.
    StopSelecting();
    SDataForOut data;
    editData_ = &data;
    try {
        // A press on a cell that is not editable leaves the editing position where it was: only the
        // cell double-clicked is edited, and only when it is that position.
        const TGridCoord at = doubleClickedCell_;
        if (S_XSGCell *cell = GetGridCell(model_, at.Y, at.X, true)) {
            if (OnBeforeDblClick)
                OnBeforeDblClick(this, cell, data);
            if (EditForm != nullptr && at.X == EditCol && at.Y == EditRow && IsCellEditable(model_, EditRow, EditCol) &&
                EditRow >= FixedRows() && EditCol >= FixedCols()) {
                const std::shared_ptr<const bool> alive = Alive();
                EditCellRounds(data);
                if (!*alive)
                    return;
            }
        }
    } catch (...) {
        editData_ = nullptr;
        editedCell_ = nullptr;
        throw;
    }
    editData_ = nullptr;
    TCustomGrid::DblClick();
}
