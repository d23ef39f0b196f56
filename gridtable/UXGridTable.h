#pragma once
// The grid table: a grid whose cells are painted from the cell model (colours, lines, merged spans,
// laid-out runs in two languages), whose layout comes from a stored screen and whose cells are edited
// in place. It is the cell model's host: the model reaches the grid through it. Windows build only
// (the painting itself is GridPaint.h and builds everywhere).
//
// Sizes given and taken by the table are without the grid line; the grid underneath holds each column
// and row with the table's line added and draws no line of its own.
#include <functional>
#include <memory>

#include "framework/windows/Grids.h"
#include "gridtable/editing/CellEditorControls.h"
#include "gridtable/GridPaint.h"
#include "gridtable/screens/GridScreen.h"
#include "gridtable/GridTableInput.h"
#include "gridtable/model/UXGridTabService.h"

class TBitmap;
class TEdit;
class TRichEdit;
class TFEditForm;
class TForm;
class TMeasureCanvas;
class TZButton;

enum EBorderStyle { ebsNone, ebsSingle };
// etsvCellStr: rows can be marked as a row selection besides the current cell.
enum ETabSelView { etsvCell, etsvCellStr };
// What a resize stretches to the client area.
enum EGridStretchType { egstNone, egstWidth, egstHeight, egstBoth };

// The in-cell editing's own records, defined with the editor form (uxgridtabeditform.h).
struct SDataForOut;
enum EXSGEditValue : int;

using TXCellEvent = std::function<void(TObject *Sender, S_XSGCell *Cell)>;
using TXBeforeDblClickEvent = std::function<void(TObject *Sender, S_XSGCell *Cell, SDataForOut &Data)>;
using TXAfterCellEditEvent =
    std::function<void(TObject *Sender, S_XSGCell *Cell, EXSGEditValue &EditValue, bool Changed)>;

class TXGridTable;

// Rescales every grid table owned by the form to the screen when the base library's scaling is on and
// the screen density differs from the design density: the editor form (its fraction bar kept 1 pixel
// high), the fonts (RescaleGridFontsForDpi at the screen's pixels per inch) with the text editors in
// font 0 again, the column widths and row heights (and the rows' least heights), then the columns
// stretched when the table fills its width, and every cell laid out again.
// Meant once per form: a second call scales again what the first already scaled.
void ScaleGridTablesForDpi(TForm *form);

class TXGridTable : public TCustomGrid, public IXGridHost {
public:
    // A grid of one cell with an empty model until a screen loads; lines 1 wide, no border. Designing
    // (the table or its owner), it shows no scroll bars; at run time it holds the editor-menu object.
    explicit TXGridTable(TComponent *owner);
    // Frees the editor-menu object and the editor form (when made), the cells, rows, fonts and row
    // descriptions. The screens storage shared by the tables stays open.
    ~TXGridTable() override;

    TXGridModel &Model() { return model_; }
    const TXGridModel &Model() const { return model_; }
    bool DesignMode() const { return designing_; }
    TXServePopupMenu *ServePopupMenu() const { return servePopupMenu_.get(); }

    // ---- properties ----------------------------------------------------------------------------------
    // A changed text re-measures its cell and corrects its row's height.
    bool AutoCorRowH() const { return model_.AutoCorRowH; }
    void SetAutoCorRowH(bool on) { model_.AutoCorRowH = on; }
    // A changed cell is repainted at once.
    bool ReDrawVisCell() const { return model_.ReDrawVisCell; }
    void SetReDrawVisCell(bool on) { model_.ReDrawVisCell = on; }
    EBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(EBorderStyle style);
    // 1 to 10 pixels; other values are brought inside. The cells keep their sizes without the line.
    int GridLineWidth() const override { return lineWidth_; }
    void SetGridLineWidth(int width);
    // The stored screen the table shows: loaded when the table has been built (run time), or at once
    // when it changes (designing).
    int NumFileScreen() const { return source_.NumFileScreen; }
    void SetNumFileScreen(int screen);
    ETabSelView TabSelectView() const { return tabSelectView_; }
    void SetTabSelectView(ETabSelView view) { tabSelectView_ = view; }
    EGridStretchType GridStretchType() const { return stretchType_; }
    void SetGridStretchType(EGridStretchType type) { stretchType_ = type; }
    // Off: the popup menu opens only over editable cells.
    bool UsePMIfCellNotEdit() const { return usePMIfCellNotEdit_; }
    void SetUsePMIfCellNotEdit(bool on) { usePMIfCellNotEdit_ = on; }

    // ---- sizes ---------------------------------------------------------------------------------------
    // The grid's counts, as the grid sets them; more rows or columns than the cell model can number
    // (MaxGridRows, MaxGridCols) are refused with EInvalidGridOperation and the table stays as it was.
    void SetRowCount(int count);
    void SetColCount(int count);
    int GetGridColWidth(int col) const;
    int GetGridRowHeight(int row) const;
    void SetGridColWidth(int col, int width) override;
    void SetGridRowHeight(int row, int height) override;
    // The cell's rectangle, or its span's, without the line; a span whose first cells are scrolled
    // away keeps its true place (reaching under the fixed cells or beyond the client's edge).
    TRect GetGridCellRect(int col, int row);
    // Repaints the cell's (span's) rectangle where it is shown.
    void InvalidateGridCell(int row, int col) override;

    // ---- row selection (with etsvCellStr; otherwise nothing is marked) ------------------------------
    // Marks a row that is already selected or holds an editable cell outside the fixed columns, or
    // clears its mark; returns whether it is selected.
    bool SelectRow(int row, bool on);
    void SelectAllRows();
    void UnselectAllRows();
    // -1: the editing row.
    bool IsRowSelected(int row) const;
    int SelectedRowCount() const { return model_.RowDescriptions.SelectedCount; }
    // On: rows from the editing row to wherever the current cell moves follow it. Off: what was
    // selected that way stays selected.
    void SetShiftSelecting(bool on);
    bool ShiftSelecting() const { return shiftSelecting_; }

    // The row leaves the model, the grid and the row descriptions (a span master hands its span on;
    // the last row below the fixed ones is emptied instead).
    void DeleteRow(int row) override;

    // ---- in-cell editing -----------------------------------------------------------------------------
    // The editor form (null until a screen has been loaded at run time, and always while designing).
    TFEditForm *CellEditorForm() const { return EditForm; }
    // BP_Btn1 (0) or BP_Btn2 (1) of the button editor, for the application's captions; null for other
    // numbers or without an editor form.
    TZButton *GetCellEditorButton(int number) const;
    // The four text editors (rich, number, numerator, denominator) take the table's font 0, or the
    // component's own font when the table has none.
    void GiveEditorsFont0();
    // The cell being edited while an editor is open (a span's master), else null.
    S_XSGCell *EditedCell() const { return editedCell_; }
    // The edit data of the double click under way, else null.
    SDataForOut *EditData() const { return editData_; }
    // Whether the last editing round left the cell's texts other than they were before the first.
    bool CellDataChanged() const { return cellChanged_; }
    // The editing position: the last editable cell chosen by the mouse or by selection.
    int EditingCol() const { return EditCol; }
    int EditingRow() const { return EditRow; }
    void SetEditingCell(int col, int row) { EditCol = col, EditRow = row; }

    // ---- events --------------------------------------------------------------------------------------
    // The mouse, key, wheel, resize and focus events are the control's own (OnMouseDown, OnKeyUp...).
    TXCellEvent OnBeforeCellEdit;
    TXAfterCellEditEvent OnAfterCellEdit;
    TXBeforeDblClickEvent OnBeforeDblClick;
    TXCellEvent OnBtnClickInCell;
    TDrawCellEvent OnBeforeDrawCell;
    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

    // ---- the model's host ----------------------------------------------------------------------------
    int GridRowCount() const override { return RowCount(); }
    int GridColCount() const override { return ColCount(); }
    int GridFixedRows() const override { return FixedRows(); }
    int GridFixedCols() const override { return FixedCols(); }
    int GridColWidth(int col) const override { return GetGridColWidth(col); }
    int GridRowHeight(int row) const override { return GetGridRowHeight(row); }
    int GridClientWidth() const override { return ClientWidth(); }
    int GridClientHeight() const override { return ClientHeight(); }
    int GridCurrentCol() const override { return Col(); }
    int GridCurrentRow() const override { return Row(); }
    void SetGridCurrentCell(int row, int col) override;
    void SetGridSize(int rows, int cols, int fixedRows, int fixedCols) override;
    void SetGridTopLeft(int topRow, int leftCol) override { MoveTopLeft(leftCol, topRow); }
    const TFont &GridFont() const override { return *Font(); }
    void CreateCellEditor() override;
    void GridRowInserted(int row) override { TCustomGrid::InsertRow(row); }
    // The grid's own deletion, never this table's DeleteRow again. The row of a cell being edited
    // ends its editor, which then writes nowhere; a row above it moves the editing position up.
    void GridRowDeleted(int row) override;
    TRect GridVisibleCells() const override;
    void MeasureGridCell(S_XSGCell &cell) override;
    void CorrectRowHeight(int row) override;
    void ShowGridMessage(const AnsiString &text) override;
    TCanvas *GridCanvas() override;

protected:
    void Loaded() override;
    void Paint() override;
    void DrawCell(int col, int row, const TRect &rect, TGridDrawState state) override;
    // A cell outside the model (no screen loaded yet) is never selected, nor while a press on a
    // non-editable cell is handled; OnSelectCell has the last word. An editable cell becomes the
    // editing position.
    bool SelectCell(int col, int row) override;
    // Only editable cells answer the mouse; without UsePMIfCellNotEdit the popup menu opens over
    // them alone.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void TimedScroll(TGridScrollDirection direction) override;
    // The wheel steps as Down and Up do.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    // The navigation keys reach editable cells only; with none, every key is swallowed.
    void KeyDown(uint16_t &key, TShiftState shift) override;
    // Stretches columns and rows as GridStretchType says and lays the cells out again.
    void Resize() override;
    // Edits the double-clicked cell in the editor of its kind, round after round as OnAfterCellEdit
    // asks, when it is the editing position (an editable cell outside the fixed ones); OnBeforeDblClick
    // is told of any cell double-clicked. Nothing at all while rows are selected or being selected, or
    // when the two presses fell on different cells (the first scrolled the table under the pointer).
    void DblClick() override;

    // The editing position: the last editable cell chosen by the mouse or by selection.
    int EditCol = 0, EditRow = 0;
    // The in-cell editor form, made once a screen has been loaded at run time; freed with the table.
    TFEditForm *EditForm = nullptr;

private:
    TCanvas *OffscreenCanvas(int width, int height);
    // Takes the navigation key to its target and makes that the current cell; the key becomes 0.
    void NavigateByKey(uint16_t &key);
    // The current cell moves (asking SelectCell); a span is then selected whole.
    void MoveToCell(int col, int row);
    void SelectSpanOf(int col, int row);
    // The editing rounds over the cell at the editing position (editable, outside the fixed cells).
    void EditCellRounds(SDataForOut &data);
    // Scrolls the cell's span into view; its rectangle in client coordinates, cut at the client's right
    // and bottom.
    TRect ShowCellForEditing(const S_XSGCell &cell);
    // Places and fills the editor of the cell's kind; false for the kinds that open nothing.
    bool PrepareCellEditor(S_XSGCell &cell, const SDataForOut &data);
    void PrepareRichEditor(S_XSGCell &cell, const SDataForOut &data, TRect bounds);
    // The height of "0123456789," in the editors' font.
    int EditorTextHeight();

    // ---- the editors' handlers, attached to the editor form's controls when it is made; each that
    // applies or cancels ends in CloseCellEditor.
    void AttachCellEditorHandlers();
    // The number editor: Ctrl+V and Shift+Insert paste filtered text; Enter (while it is shown) writes
    // its text into run 1; Esc writes nothing.
    void EditorKeyDown(TObject *Sender, uint16_t &key, TShiftState shift);
    // The fraction's parts: the same paste; Enter writes both (a part that is no number keeps the
    // editor open over it); Esc writes nothing.
    void FractionEditorKeyDown(TObject *Sender, uint16_t &key, TShiftState shift);
    // The rich editor: Ctrl+Enter writes its text into run 1; Esc writes nothing; Enter breaks the line.
    void RichEditorKeyDown(TObject *Sender, uint16_t &key, TShiftState shift);
    // A double click in an editor: Enter in the fraction when its panel is shown, else in the number
    // editor.
    void EditorDblClick(TObject *Sender);
    // The date and the list: Enter as the accept button, Esc as the cancel button.
    void PickerKeyDown(TObject *Sender, uint16_t &key, TShiftState shift);
    // The accept button: the chosen item shown, or the date written (a text that names no date keeps
    // the editor open).
    void SaveButtonClick(TObject *Sender);
    // Esc on the panels' buttons closes the editor.
    void PanelButtonKeyDown(TObject *Sender, uint16_t &key, TShiftState shift);
    // BP_Btn1 and BP_Btn2: OnBtnClickInCell with the clicked button and the cell, then the editor closes.
    void CellButtonClick(TObject *Sender);
    // The editor's modal result 1 and the focus back on the table.
    void CloseCellEditor();

    bool designing_ = false;
    std::unique_ptr<TXServePopupMenu> servePopupMenu_;
    TXGridModel model_;
    TXGridScreenSource source_;
    int lineWidth_ = 1;
    EBorderStyle borderStyle_ = ebsNone;
    ETabSelView tabSelectView_ = etsvCell;
    EGridStretchType stretchType_ = egstNone;
    bool usePMIfCellNotEdit_ = false;
    bool timedScroll_ = false;
    bool mouseDown_ = false;  // a press is being handled; cleared once one on an editable cell was
    // The cell under the left button's last press, as the table lay then, and the cell of the last
    // double click: its second press fell on the cell of the first ((-1, -1) when not).
    TGridCoord pressedCell_{-1, -1};
    TGridCoord doubleClickedCell_{-1, -1};
    bool shiftSelecting_ = false;
    // The column and row the last key step came along, for leaving the span it went to the same way.
    TGridLane lane_;
    std::unique_ptr<TBitmap> offscreen_;
    std::unique_ptr<TMeasureCanvas> measureCanvas_;
    S_XSGCell *editedCell_ = nullptr;
    SDataForOut *editData_ = nullptr;
    bool cellChanged_ = false;
};
