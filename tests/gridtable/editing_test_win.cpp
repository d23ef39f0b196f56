// Editing a cell in place: the double click's sequence of events and rounds, the editor form over the
// cell for each edit kind, and pictures of each editor open. The prompt seam answers for the modal
// editor; a step works on the form as it stands shown, and writes into the cell as an editor would.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/RichEditEx.h"
#include "controls/dates/UXDateCombo.h"
#include "controls/buttons/UZButton.h"
#include "controls/messages/zText.h"
#include "framework/windows/ExtCtrls.h"
#include "framework/windows/StdCtrls.h"
#include "gridtable/editing/uxgridtabeditform.h"
#include "tests/gridtable/TableOnForm.h"
#include "tests/support/FakeClock.h"
#include "tests/support/PageHeap.h"
#include "tests/support/PromptSteps.h"
#include "tests/support/WindowPicture.h"

using namespace gridtest;

namespace {

// A form of goods: a header row and a numbering column fixed; below them one cell of each edit kind.
//   row 1: unsigned, signed, whole number
//   row 2: rich text, fraction, date
//   row 3: list, two buttons, nothing to edit (kind 0)
//   row 4: not editable, rich text, kind 7
//   row 5 (the last, at the table's bottom): rich text, list, date
constexpr int Kinds[6][4] = {{0, 0, 0, 0}, {0, 1, 2, 3}, {0, 4, 5, 6}, {0, 8, 9, 0}, {0, 4, 4, 7}, {0, 4, 8, 6}};

testdata::GridScreenBuilder EveryKind()
{
    testdata::GridScreenBuilder b(6, 4);
    b.fixedRows = 1;
    b.fixedCols = 1;
    b.widths = {30, 130, 130, 130};
    b.heights = {22, 40, 40, 40, 40, 40};  // with the lines, 230 of the client's 232
    b.fonts = ArialFonts();
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) {
            auto &cell = b.Cell(r, c);
            cell.editKind = static_cast<uint8_t>(Kinds[r][c]);
            cell.flags = r > 0 && c > 0 ? 0x41 : 0x40;
        }
    b.Cell(4, 1).flags = 0x40;
    const char *heads[] = {"", "Перший", "Другий", "Третій"};
    for (int c = 0; c < 4; ++c)
        Texts(b.Cell(0, c), {Run(0, heads[c], 1)});
    for (int r = 1; r < 6; ++r)
        Texts(b.Cell(r, 0), {Run(0, std::to_string(r), 1)});
    Texts(b.Cell(1, 1), {Run(0, "12", 1)});
    Texts(b.Cell(1, 2), {Run(0, "-3,5", 1)});
    Texts(b.Cell(1, 3), {Run(0, "7", 1)});
    Texts(b.Cell(2, 1), {Run(0, "Примітка до рядка", 1)});
    Texts(b.Cell(2, 2), {Run(1, "1\n", 1), Run(0, "2", 2)});
    Texts(b.Cell(2, 3), {Hidden(0, "Дата", 1)});
    Texts(b.Cell(3, 1), {Hidden(0, "Оберіть", 1), Hidden(0, "перший", 2), Run(0, "другий", 3), Hidden(0, "третій", 4)});
    Texts(b.Cell(3, 2), {Run(0, "Дія", 1)});
    Texts(b.Cell(3, 3), {Run(0, "без редактора", 1)});
    Texts(b.Cell(4, 1), {Run(0, "не редагується", 1)});
    Texts(b.Cell(4, 2), {Run(0, "текст", 1), Run(0, "другий", 2)});
    Texts(b.Cell(4, 3), {Run(0, "сьомий", 1)});
    Texts(b.Cell(5, 1), {Run(0, "останній", 1)});
    Texts(b.Cell(5, 2), {Hidden(0, "Вибір", 1), Run(0, "так", 2), Hidden(0, "ні", 3)});
    Texts(b.Cell(5, 3), {Hidden(0, "Строк", 1)});
    return b;
}

// The editor form a prompt shows.
TFEditForm *EditorOf(const TPrompt &p)
{
    EXPECT_EQ(p.Kind, TPromptKind::ModalForm);
    auto *form = dynamic_cast<TFEditForm *>(p.Form);
    EXPECT_NE(form, nullptr);
    return form;
}

}  // namespace

TEST(CellEditing, NothingOpensOnANonEditableOrFixedCellNorAnythingAtAllWhileRowsAreSelected)
{
    ShownTable t(EveryKind());
    int before = 0, dbl = 0;
    S_XSGCell *told = nullptr;
    t.table->OnBeforeDblClick = [&](TObject *sender, S_XSGCell *cell, SDataForOut &data) {
        ++before;
        told = cell;
        EXPECT_EQ(sender, t.table);
        // Each double click starts from the defaults.
        EXPECT_EQ(data.RunNumber, 1);
        EXPECT_EQ(data.UsePresetText, 0);
        EXPECT_EQ(data.RichExtent, 1);
        EXPECT_EQ(data.NumberFontColour, 0);
        EXPECT_EQ(data.Value, 0u);
        EXPECT_EQ(data.PresetText, "");
        EXPECT_EQ(t.table->EditData(), &data);
        data.RichExtent = 0;
    };
    t.table->OnDblClick = [&](TObject *) { ++dbl; };
    int rounds = 0;
    t.table->OnBeforeCellEdit = [&](TObject *, S_XSGCell *) { ++rounds; };
    PromptSteps steps;

    // A cell no longer editable at the editing position.
    t.DoubleClick(1, 1);
    ASSERT_EQ(steps.seen.size(), 1u);  // it was editable: a round with the scripted answer
    SetCellEditable(t.table->Model(), 1, 1, false);
    t.DoubleClick(1, 1);
    EXPECT_EQ(before, 2);
    EXPECT_EQ(told, GetGridCell(t.table->Model(), 1, 1));
    EXPECT_EQ(dbl, 2);
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(steps.seen.size(), 1u);

    // A fixed cell, even an editable one.
    SetCellEditable(t.table->Model(), 0, 2, true);
    t.table->SetEditingCell(2, 0);
    t.DoubleClick(0, 2);
    EXPECT_EQ(before, 3);
    EXPECT_EQ(told, GetGridCell(t.table->Model(), 0, 2));
    EXPECT_EQ(dbl, 3);
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(steps.seen.size(), 1u);
    EXPECT_EQ(t.table->EditData(), nullptr);

    // Rows selected, or being selected: no event at all.
    t.table->SetTabSelectView(etsvCellStr);
    ASSERT_TRUE(t.table->SelectRow(2, true));
    t.DoubleClick(2, 1);
    t.table->UnselectAllRows();
    t.table->SetShiftSelecting(true);
    t.DoubleClick(2, 1);
    t.table->SetShiftSelecting(false);
    t.table->UnselectAllRows();
    EXPECT_EQ(before, 3);
    EXPECT_EQ(dbl, 3);
    EXPECT_EQ(steps.seen.size(), 1u);
}

TEST(CellEditing, ADoubleClickOnACellThatIsNotEditableEditsNothingAfterAnEditableOneWasChosen)
{
    ShownTable t(EveryKind());
    std::vector<S_XSGCell *> told;
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *cell, SDataForOut &) { told.push_back(cell); };
    PromptSteps steps;
    t.DoubleClick(1, 1);  // editable: the editor opens, the scripted answer closes it
    ASSERT_EQ(steps.seen.size(), 1u);
    // The cell marked not editable, then the fixed numbering cell of the same row.
    t.DoubleClick(4, 1);
    t.DoubleClick(1, 0);
    EXPECT_EQ(steps.seen.size(), 1u);
    EXPECT_EQ(told, (std::vector<S_XSGCell *>{GetGridCell(t.table->Model(), 1, 1), GetGridCell(t.table->Model(), 4, 1),
                                             GetGridCell(t.table->Model(), 1, 0)}));
    EXPECT_EQ(t.table->EditedCell(), nullptr);
}

// A table taller than its view: a press on the last, partly shown row scrolls it into view, and the
// second press of the double click lands on another cell.
TEST(CellEditing, ADoubleClickWhoseFirstPressScrollsTheTableOpensNoEditorOverTheCellNowUnderThePointer)
{
    testdata::GridScreenBuilder b(8, 2);
    b.fixedRows = 1;
    b.fixedCols = 1;
    b.widths = {30, 300};
    b.heights = {22, 40, 40, 40, 40, 70, 70, 70};
    b.fonts = ArialFonts();
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 2; ++c) {
            auto &cell = b.Cell(r, c);
            cell.editKind = r > 0 && c > 0 ? EditKindRich : 0;
            cell.flags = r > 0 && c > 0 ? 0x41 : 0x40;
            Texts(cell, {gridtest::Run(0, std::to_string(r * 10 + c), 1)});
        }
    ShownTable t(b);
    int before = 0, dbl = 0;
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &) { ++before; };
    t.table->OnDblClick = [&](TObject *) { ++dbl; };
    PromptSteps steps;
    const TRect last = t.table->GetGridCellRect(1, 5);
    ASSERT_GT(last.Bottom, t.table->ClientHeight());
    const POINT p{(last.Left + last.Right) / 2, t.table->ClientHeight() - 3};  // its lowest shown pixels
    const int topBefore = t.table->TopRow();
    SendMessageW(t.table->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(t.table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    ASSERT_EQ(t.table->Row(), 5);
    ASSERT_GT(t.table->TopRow(), topBefore);
    const TGridCoord under = t.table->MouseCoord(p.x, p.y);
    ASSERT_NE(under.Y, 5);
    SendMessageW(t.table->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(t.table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    // The second press is a click on the cell it fell on; no cell was double-clicked.
    EXPECT_TRUE(steps.seen.empty());
    EXPECT_EQ(before, 0);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(t.table->Row(), under.Y);
    // A double click there now edits that cell.
    t.DoubleClick(under.Y, 1);
    EXPECT_EQ(steps.seen.size(), 1u);
    EXPECT_EQ(before, 1);
}

TEST(CellEditing, RoundsFollowTheEditValueAndTheChangedFlagComparesWithTheTextBeforeTheFirst)
{
    ShownTable t(EveryKind());
    std::vector<std::string> log;
    std::vector<bool> changes;
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &) { log.push_back("before dblclick"); };
    t.table->OnBeforeCellEdit = [&](TObject *, S_XSGCell *cell) {
        log.push_back("before edit");
        EXPECT_EQ(cell, t.table->EditingRow() == 1 ? GetGridCell(t.table->Model(), 1, 1)
                                                   : GetGridCell(t.table->Model(), 4, 3));
    };
    std::vector<EXSGEditValue> answers = {exsgEditAgainAfterBefore, exsgStop};
    t.table->OnAfterCellEdit = [&](TObject *, S_XSGCell *, EXSGEditValue &value, bool changed) {
        log.push_back("after edit");
        EXPECT_EQ(value, exsgStop);
        changes.push_back(changed);
        EXPECT_EQ(t.table->CellDataChanged(), changed);
        value = answers.front();
        answers.erase(answers.begin());
    };
    t.table->OnDblClick = [&](TObject *) { log.push_back("dblclick"); };
    PromptSteps steps;
    // Round one writes a new number, round two the old one back.
    for (const char *text : {"99", "12"})
        steps.Then([&, text](const TPrompt &p) {
            log.push_back("editor");
            TFEditForm *editor = EditorOf(p);
            EXPECT_EQ(editor->EditMode, EditKindUnsigned);
            EXPECT_TRUE(editor->pNumEdit->Visible());
            S_XSGCell *cell = t.table->EditedCell();
            EXPECT_EQ(cell, GetGridCell(t.table->Model(), 1, 1));
            SetRunTextByNumber(t.table->Model(), *cell, 1, text);
            return TPromptAnswer{1, {}};
        });
    t.DoubleClick(1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"before dblclick", "before edit", "editor", "after edit", "before edit",
                                             "editor", "after edit", "dblclick"}));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    EXPECT_EQ(t.table->EditedCell(), nullptr);

    // 1 edits again without telling OnBeforeCellEdit.
    log.clear();
    changes.clear();
    answers = {exsgEditAgain, exsgEditAgain, exsgStop};
    for (int i = 0; i < 3; ++i)
        steps.Then([&](const TPrompt &) {
            log.push_back("editor");
            return TPromptAnswer{1, {}};
        });
    t.DoubleClick(1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"before dblclick", "before edit", "editor", "after edit", "editor",
                                             "after edit", "editor", "after edit", "dblclick"}));
    EXPECT_EQ(changes, (std::vector<bool>{false, false, false}));
    // Kinds 0 and 7 show nothing, yet the rounds run.
    log.clear();
    answers = {exsgStop};
    t.DoubleClick(4, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"before dblclick", "before edit", "after edit", "dblclick"}));
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, RoundsEndWhenAHandlerTakesTheCellAway)
{
    ShownTable t(EveryKind());
    int afters = 0;
    t.table->OnAfterCellEdit = [&](TObject *, S_XSGCell *, EXSGEditValue &value, bool) {
        ++afters;
        value = exsgEditAgain;
    };
    PromptSteps steps;
    // While the editor is open the application empties the table: no cell is fetched from it again.
    steps.Then([&](const TPrompt &) {
        FreeGridCells(t.table->Model());
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(5, 1);
    EXPECT_EQ(afters, 0);
    EXPECT_EQ(steps.seen.size(), 1u);
    EXPECT_EQ(t.table->EditedCell(), nullptr);
}

TEST(CellEditing, ATableFreedWhileItsEditorRunsEndsTheEditorAndNothingReadsTheFreedTable)
{
    // A handler of the application frees the table's form while the editor runs its modal loop (here
    // a release handled in that loop): the table ends its editor, which goes once the loop is over,
    // and the way back from the double click reads nothing of the freed table. On pages of their own,
    // such a read faults.
    TPageHeapScope pages;
    StoredScreen stored(EveryKind());
    TTableForm *form = ShownTable::MakeForm(stored, 7, 1);
    form->Show();
    Pump();
    TXGridTable *table = form->Table;
    int afters = 0;
    table->OnAfterCellEdit = [&](TObject *, S_XSGCell *, EXSGEditValue &, bool) { ++afters; };
    const TRect r = table->GetGridCellRect(1, 1);
    const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    const HWND h = table->Handle();
    TForm *editor = table->CellEditorForm();
    const auto listed = [](TForm *f) {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i) == f)
                return true;
        return false;
    };
    form->Release();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(0, afters);
    EXPECT_FALSE(listed(form));
    EXPECT_TRUE(listed(editor));  // until its loop has ended
    Application->ProcessMessages();
    EXPECT_FALSE(listed(editor));
}

TEST(CellEditing, ARowDeletedUnderTheOpenEditorEndsItAndNothingIsWrittenIntoTheFreedCell)
{
    // While the editor is open the application deletes the edited cell's row, and Enter comes after:
    // the cell went with its row's memory. On pages of their own, a write into it faults.
    TPageHeapScope pages;
    ShownTable t(EveryKind());
    int afters = 0;
    t.table->OnAfterCellEdit = [&](TObject *, S_XSGCell *, EXSGEditValue &, bool) { ++afters; };
    PromptSteps steps;
    steps.Then([&](const TPrompt &p) {
        TFEditForm *editor = EditorOf(p);
        t.table->DeleteRow(1);
        EXPECT_EQ(nullptr, t.table->EditedCell());
        editor->pNumEdit->SetText("5");
        uint16_t key = VK_RETURN;
        editor->pNumEdit->OnKeyDown(editor->pNumEdit, key, 0);
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(1, 1);
    EXPECT_EQ(afters, 0);
    EXPECT_EQ(t.table->RowCount(), 5);
    EXPECT_EQ(GetRunTextByNumber(t.table->Model(), *GetGridCell(t.table->Model(), 1, 1), 1), "Примітка до рядка");

    // A row above the edited one moves the editing position up with the cell.
    steps.Then([&](const TPrompt &) {
        t.table->DeleteRow(1);
        EXPECT_EQ(t.table->EditingRow(), 1);
        EXPECT_EQ(t.table->EditedCell(), GetGridCell(t.table->Model(), 1, 1));
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(2, 1);
    EXPECT_EQ(afters, 1);
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, FractionRaisesItsRowToTwiceTheTextHeightOfTheDigits)
{
    testdata::GridScreenBuilder b = EveryKind();
    b.heights[2] = 12;
    ShownTable t(b);
    TCanvas *canvas = t.table->Canvas();
    canvas->Font()->Assign(*t.table->CellEditorForm()->pEditUp->Font());
    const int h = canvas->TextHeight("0123456789,");
    PromptSteps steps;
    steps.Then([&](const TPrompt &p) {
        TFEditForm *editor = EditorOf(p);
        EXPECT_EQ(editor->EditMode, EditKindFraction);
        EXPECT_EQ(editor->BoundsRect(), t.ScreenRect(2, 2));
        const int middle = editor->ClientHeight() / 2;
        EXPECT_EQ(editor->pEditUp->BoundsRect(), Bounds(0, middle - h, editor->ClientWidth(), h));
        EXPECT_EQ(editor->pShape->BoundsRect(), Bounds(0, middle, editor->ClientWidth(), 1));
        EXPECT_EQ(editor->pEditDown->BoundsRect(), Rect(0, middle + 1, editor->ClientWidth(), editor->ClientHeight()));
        EXPECT_EQ(editor->pEditUp->GetText(), "1");
        EXPECT_EQ(editor->pEditDown->GetText(), "2");
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(2, 2);
    EXPECT_EQ(t.table->GetGridRowHeight(2), 2 * h);
    // A row already high enough keeps its height.
    t.table->SetGridRowHeight(2, 2 * h + 7);
    steps.Answer(1);
    t.DoubleClick(2, 2);
    EXPECT_EQ(t.table->GetGridRowHeight(2), 2 * h + 7);
}

TEST(CellEditing, NumberEditorsStartWithRunOneOrThePresetTextInTheirColourAndFormat)
{
    ShownTable t(EveryKind());
    PromptSteps steps;
    const int formats[] = {0, 2, 3, 1};
    for (int col = 1; col <= 3; ++col)
        steps.Then([&, col](const TPrompt &p) {
            TFEditForm *editor = EditorOf(p);
            EXPECT_EQ(editor->EditMode, col);
            EXPECT_EQ(editor->NumberFormat, formats[col]);
            EXPECT_EQ(editor->BoundsRect(), t.ScreenRect(1, col));
            EXPECT_EQ(editor->pNumEdit->GetText(), GetRunTextByNumber(t.table->Model(), *t.table->EditedCell(), 1));
            EXPECT_EQ(editor->pNumEdit->Font()->Color(), 0);
            return TPromptAnswer{1, {}};
        });
    for (int col = 1; col <= 3; ++col)
        t.DoubleClick(1, col);
    t.table->OnBeforeDblClick = [](TObject *, S_XSGCell *, SDataForOut &data) {
        data.UsePresetText = 1;
        data.PresetText = "0,25";
        data.NumberFontColour = clRed;
    };
    steps.Then([&](const TPrompt &p) {
        TFEditForm *editor = EditorOf(p);
        EXPECT_EQ(editor->pNumEdit->GetText(), "0,25");
        EXPECT_EQ(editor->pNumEdit->Font()->Color(), clRed);
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(1, 2);
    EXPECT_EQ(steps.seen.size(), 4u);
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, RichEditorOverTheCellToTheBottomOrOverTwoRows)
{
    ShownTable t(EveryKind());
    TRect expected;
    AnsiString text;
    PromptSteps steps;
    auto check = [&](const TPrompt &p) {
        TFEditForm *editor = EditorOf(p);
        EXPECT_EQ(editor->EditMode, EditKindRich);
        EXPECT_TRUE(editor->pRE->Visible());
        EXPECT_EQ(editor->BoundsRect(), expected);
        EXPECT_EQ(editor->pRE->GetText(), text);
        EXPECT_EQ(editor->pRE->SelStart(), static_cast<int>(editor->pRE->GetText().size()));
        return TPromptAnswer{1, {}};
    };
    uint8_t extent = 1, run = 1;
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &data) {
        data.RichExtent = extent;
        data.RunNumber = run;
    };

    // Extent 1: the cell.
    expected = t.ScreenRect(2, 1);
    text = "Примітка до рядка";
    steps.Then(check);
    t.DoubleClick(2, 1);
    // Extent 0: from the cell's top to the table's bottom.
    extent = 0;
    expected = t.ScreenRect(2, 1);
    expected.Bottom = t.ClientBottomOnScreen();
    steps.Then(check);
    t.DoubleClick(2, 1);
    // Another extent: the cell's row and the next; run 2 as the text.
    extent = 2;
    run = 2;
    expected = t.ScreenRect(4, 2);
    expected.Bottom = t.ScreenRect(5, 2).Bottom;
    text = "другий";
    steps.Then(check);
    t.DoubleClick(4, 2);
    // In the last row, the row before it; a run that is not there starts empty.
    run = 9;
    expected = t.ScreenRect(5, 1);
    expected.Top = t.ScreenRect(4, 1).Top;
    text = "";
    steps.Then(check);
    t.DoubleClick(5, 1);
    EXPECT_EQ(steps.unanswered, 0);
    EXPECT_EQ(steps.seen.size(), 4u);
}

TEST(CellEditing, RichEditorOverTwoRowsScrollsOneRowWhenTheSecondIsBelowTheView)
{
    testdata::GridScreenBuilder b = EveryKind();
    b.heights = {22, 60, 60, 60, 60, 60};  // row 4 cut by the client area's bottom at 232, row 5 below it
    b.Cell(3, 1).editKind = 4;
    ShownTable t(b);
    ASSERT_EQ(t.table->TopRow(), 1);
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &data) { data.RichExtent = 3; };
    PromptSteps steps;
    TRect seen;
    steps.Then([&](const TPrompt &p) {
        seen = EditorOf(p)->BoundsRect();
        return TPromptAnswer{1, {}};
    });
    // Row 3's next row, 4, ends below the client area: one row down.
    t.DoubleClick(3, 1);
    EXPECT_EQ(t.table->TopRow(), 2);
    TRect expected = t.ScreenRect(3, 1);
    expected.Bottom = t.ScreenRect(4, 1).Bottom;
    EXPECT_EQ(seen, expected);
    // Row 2's next row is shown whole: no scrolling.
    t.table->SetTopRow(1);
    steps.Answer(1);
    t.DoubleClick(2, 1);
    EXPECT_EQ(t.table->TopRow(), 1);
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, RichEditorInAOneRowTableKeepsTheCell)
{
    testdata::GridScreenBuilder b(1, 2);
    b.heights = {40};
    b.widths = {150, 150};
    Texts(b.Cell(0, 1), {gridtest::Run(0, "один рядок", 1)});
    ShownTable t(b);
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &data) { data.RichExtent = 2; };
    PromptSteps steps;
    steps.Then([&](const TPrompt &p) {
        EXPECT_EQ(EditorOf(p)->BoundsRect(), t.ScreenRect(0, 1));
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(0, 1);
    EXPECT_EQ(steps.seen.size(), 1u);
}

TEST(CellEditing, DateAndListEditorsTakeTheirHeightAndMoveUpAtTheTablesBottom)
{
    ShownTable t(EveryKind());
    FakeClock clock(EncodeDate(2026, 12, 7) + EncodeTime(11, 0, 0, 0));
    TClockOverride useClock(clock);
    PromptSteps steps;
    auto picker = [&](int row, int col, bool up) {
        steps.Then([&, row, col, up](const TPrompt &p) {
            TFEditForm *editor = EditorOf(p);
            const TRect cell = t.ScreenRect(row, col);
            const TRect form = editor->BoundsRect();
            EXPECT_EQ(form.Left, cell.Left);
            EXPECT_EQ(form.Width(), cell.Width());
            if (up)
                EXPECT_EQ(form.Bottom, cell.Bottom);
            else
                EXPECT_EQ(form.Top, cell.Top);
            EXPECT_GT(form.Height(), cell.Height());
            // The heading, the field, the two buttons one below the other, inside the form.
            TWinControl *field = editor->EditMode == EditKindDate ? static_cast<TWinControl *>(editor->pData)
                                                                  : static_cast<TWinControl *>(editor->pCBList);
            EXPECT_TRUE(field->Visible());
            EXPECT_EQ(editor->pCB_Dt_Head->Top(), 2);
            EXPECT_EQ(field->Top(), editor->pCB_Dt_Head->Top() + editor->pCB_Dt_Head->Height() + 2);
            EXPECT_EQ(editor->pBtnSave->Top(), field->Top() + field->Height() + 2);
            EXPECT_EQ(editor->pBtnSave->Left(), 2);
            EXPECT_EQ(editor->pBtnCancel->Left() + editor->pBtnCancel->Width(), form.Width() - 2);
            EXPECT_EQ(editor->pBtnSave->Top() + editor->pBtnSave->Height() + 2, form.Height());
            return TPromptAnswer{1, {}};
        });
    };
    picker(2, 3, false);
    t.DoubleClick(2, 3);
    // The date cell now holds its heading, today hidden and today shown; the date field shows today.
    S_XSGCell *date = GetGridCell(t.table->Model(), 2, 3);
    EXPECT_EQ(GetRunTextByNumber(t.table->Model(), *date, 1), "Дата");
    EXPECT_EQ(GetRunTextByNumber(t.table->Model(), *date, 2), "07.12.2026");
    EXPECT_EQ(GetRunTextByNumber(t.table->Model(), *date, 3), "07.12.2026");
    EXPECT_EQ(GetCurrentCellText(t.table->Model(), *date), "07.12.2026");
    EXPECT_EQ(t.table->CellEditorForm()->pData->GetsSelDate(), "07.12.2026");
    EXPECT_EQ(t.table->CellEditorForm()->pCB_Dt_Head->GetText(0), "Дата");

    picker(3, 1, false);
    t.DoubleClick(3, 1);
    TComboBox *list = t.table->CellEditorForm()->pCBList;
    ASSERT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Strings(0), "перший");
    EXPECT_EQ(list->ItemIndex(), 1);

    picker(5, 3, true);
    t.DoubleClick(5, 3);
    picker(5, 2, true);
    t.DoubleClick(5, 2);
    EXPECT_EQ(t.table->CellEditorForm()->pCBList->ItemIndex(), 0);
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, ButtonEditorStacksItsTwoButtons)
{
    ShownTable t(EveryKind());
    PromptSteps steps;
    steps.Then([&](const TPrompt &p) {
        TFEditForm *editor = EditorOf(p);
        const TRect cell = t.ScreenRect(3, 2);
        EXPECT_EQ(editor->BoundsRect().Top, cell.Top);
        EXPECT_EQ(editor->BP_Btn1->BoundsRect(), Bounds(2, 2, cell.Width() - 4, editor->BP_Btn1->Height()));
        EXPECT_EQ(editor->BP_Btn2->Top(), editor->BP_Btn1->Top() + editor->BP_Btn1->Height() + 4);
        EXPECT_EQ(editor->BP_Btn2->Width(), cell.Width() - 4);
        EXPECT_EQ(editor->ClientHeight(), editor->BP_Btn2->Top() + editor->BP_Btn2->Height() + 2);
        return TPromptAnswer{1, {}};
    });
    t.DoubleClick(3, 2);
    EXPECT_EQ(steps.seen.size(), 1u);
}

TEST(CellEditing, DoubleClickOnATableWhoseScreenIsMissing)
{
    ShownTable t(EveryKind(), 3);  // the file holds no screen 3
    ASSERT_TRUE(t.table->Model().Rows.empty());
    int before = 0, dbl = 0;
    t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &) { ++before; };
    t.table->OnDblClick = [&](TObject *) { ++dbl; };
    PromptSteps steps;
    SendMessageW(t.table->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(before, 0);
    EXPECT_EQ(dbl, 1);
    EXPECT_TRUE(steps.seen.empty());
}

TEST(CellEditing, PictureOfEachEditorOpenOverItsCell)
{
    ShownTable t(EveryKind());
    FakeClock clock(EncodeDate(2026, 12, 7) + EncodeTime(11, 0, 0, 0));
    TClockOverride useClock(clock);
    t.table->GetCellEditorButton(0)->SetCaption("Додати");
    t.table->GetCellEditorButton(1)->SetCaption("Видалити");
    PromptSteps steps;
    struct Shot {
        int row, col;
        const char *name;
        uint8_t extent;
    };
    const Shot shots[] = {{1, 1, "cell_editor_number", 1},        {2, 1, "cell_editor_rich", 1},
                          {4, 2, "cell_editor_rich_two_rows", 2}, {2, 2, "cell_editor_fraction", 1},
                          {2, 3, "cell_editor_date", 1},          {3, 1, "cell_editor_list", 1},
                          {5, 2, "cell_editor_list_moved_up", 1}, {3, 2, "cell_editor_buttons", 1}};
    for (const Shot &shot : shots) {
        t.table->OnBeforeDblClick = [&](TObject *, S_XSGCell *, SDataForOut &data) { data.RichExtent = shot.extent; };
        steps.Then([&](const TPrompt &p) {
            TFEditForm *editor = EditorOf(p);
            editor->Show();
            Pump();
            t.form->Repaint();
            editor->Repaint();
            Pump();
            // The table's form with the editor over it, as they stand on the screen.
            EXPECT_TRUE(SaveScreenshot(t.form->Handle(), shot.name));
            editor->Hide();
            return TPromptAnswer{1, {}};
        });
        t.DoubleClick(shot.row, shot.col);
    }
    EXPECT_EQ(steps.unanswered, 0);
}

TEST(CellEditing, TheRealModalEditorShowsOverTheCellWithTheFocusOnItsEditorThroughTheWindowSystem)
{
    ShownTable t(EveryKind());
    // No script: the editor form is shown modally on the screen. A timer looks at it and closes it.
    TPromptHandler previous = SetPromptHandler(nullptr);
    TFEditForm *editor = t.table->CellEditorForm();
    struct Case {
        int row, col;
        TWinControl *focus;
    };
    const Case cases[] = {{1, 1, editor->pNumEdit}, {2, 1, editor->pRE},     {2, 2, editor->pEditUp},
                          {2, 3, editor->pData},    {3, 1, editor->pCBList}, {3, 2, editor->BP_Btn1}};
    for (const Case &c : cases) {
        bool looked = false;
        TTimer timer(nullptr);
        timer.SetInterval(50);
        timer.OnTimer = [&](TObject *) {
            timer.SetEnabled(false);
            looked = true;
            EXPECT_TRUE(editor->Modal());
            EXPECT_TRUE(IsWindowVisible(editor->Handle()));
            EXPECT_EQ(editor->Left(), t.ScreenRect(c.row, c.col).Left);
            TWinControl *focused = Screen->ActiveControl();
            // The date field's focus lies in its edit.
            EXPECT_TRUE(focused == c.focus || (focused != nullptr && focused->Parent() == c.focus))
                << c.row << "," << c.col << " " << (focused ? focused->Name() : AnsiString("none"));
            editor->SetModalResult(1);
        };
        t.DoubleClick(c.row, c.col);
        EXPECT_TRUE(looked) << c.row << "," << c.col;
        EXPECT_FALSE(editor->Visible());
        EXPECT_FALSE(editor->ModeControl() != nullptr && editor->ModeControl()->Visible());
    }
    SetPromptHandler(previous);
}
