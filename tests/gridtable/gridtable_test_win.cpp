// The grid table on a real window: construction, properties, sizes, deleting rows, a stored screen
// loaded when the table has been built, and pictures of it painted.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <functional>
#include <thread>

#include "base/files/AppPaths.h"
#include "controls/UDataModule.h"
#include "framework/windows/Forms.h"
#include "framework/windows/Menus.h"
#include "framework/runtime/SysUtils.h"
#include "gridtable/UXGridTable.h"
#include "storage/compound/fun_struct.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/gridtable/TableOnForm.h"
#include "tests/support/FormHost.h"
#include "tests/support/GridScreenBuilder.h"
#include "tests/support/PointerInput.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowPicture.h"

using namespace gridtest;

namespace {

bool CanvasIsFree(TCanvas &canvas)
{
    bool free = false;
    std::thread([&] {
        free = canvas.TryLock();
        if (free)
            canvas.Unlock();
    }).join();
    return free;
}

testdata::ScreenRun Image(uint16_t index, uint16_t number)
{
    testdata::ScreenRun run;
    run.flags = 0x07;  // image, shown, kind 1
    run.font = index;
    run.width = run.height = 16;
    run.number = number;
    return run;
}

// A price list: a header row, a fixed column of numbers, spans, three fonts, colours and an image.
testdata::GridScreenBuilder PriceList()
{
    testdata::GridScreenBuilder b(8, 4);
    b.fixedRows = 1;
    b.fixedCols = 1;
    b.widths = {34, 170, 120, 120};
    b.heights = {26, 24, 24, 24, 24, 24, 24, 24};
    b.colours.push_back(0xD8F0FF);  // 4: light amber
    b.colours.push_back(0xFFEEDD);  // 5: light blue
    b.colours.push_back(0x2020C0);  // 6: red, a line colour
    b.colours.push_back(0xE0E0E0);  // 7: light grey
    testdata::ScreenFont plain;
    plain.name = "Arial";
    plain.size = 9;
    plain.height = -12;
    testdata::ScreenFont large = plain;
    large.name = "Times New Roman";
    large.size = 14;
    large.height = -19;
    large.style = 0x02;  // bold
    large.colour = 0x800000;
    testdata::ScreenFont note = plain;
    note.style = 0x01;  // italic
    note.colour = 0x0000A0;
    b.fonts = {plain, large, note};

    for (auto &cell : b.cells)
        cell.flags = 0x01 | 0x40;  // editable, runs not laid out yet
    const char *heads[] = {"№", "Найменування", "Кількість", "Сума"};
    for (int c = 0; c < 4; ++c) {
        auto &cell = b.Cell(0, c);
        cell.flags = 0x40 | 0x08;  // centred vertically
        cell.colour = 7;
        Texts(cell, {Run(0, heads[c], 1)});
    }
    for (int r = 1; r < 8; ++r) {
        auto &cell = b.Cell(r, 0);
        cell.flags = 0x40;
        cell.colour = 7;
        Texts(cell, {Run(0, std::to_string(r), 1)});
    }
    const char *goods[] = {"Папір офісний А4", "Олівці", "Скріпки", "Папки", "Конверти", "Степлер", "Гумки"};
    for (int r = 1; r < 8; ++r)
        Texts(b.Cell(r, 1), {Run(0, goods[r - 1], 1)});
    for (int r = 1; r < 8; ++r)
        Texts(b.Cell(r, 2), {Run(0, std::to_string(r * 12) + " шт.", 1)});

    // A 2 x 1 span with a line of two fonts, amber, marked.
    b.Span(1, 3, 2, 3);
    auto &total = b.Cell(1, 3);
    total.colour = 4;
    total.flags = 0x01 | 0x40 | 0x80;
    Texts(total, {Run(0, "Разом: ", 1), Run(1, "1 250,50", 2)});
    // A 2 x 2 span with an image, two fonts and a red bottom line, light blue.
    b.Span(4, 2, 5, 3);
    auto &remark = b.Cell(4, 2);
    remark.colour = 5;
    remark.bottomLine = 6;
    remark.flags = 0x01 | 0x40 | 0x10;  // at the bottom
    Texts(remark, {Image(0, 1), Run(2, " Увага: ", 2), Run(1, "знижка 5%", 3)});
    // A plain cell with its right line opened downwards.
    b.Cell(3, 2).bottomLine = 0;
    b.Cell(3, 2).flags = 0x01 | 0x40;
    Texts(b.Cell(3, 2), {Run(0, "без нижньої лінії", 1)});
    Texts(b.Cell(3, 3), {Run(2, "примітка", 1)});
    return b;
}

}  // namespace

TEST(GridTable, ConstructedAsOneEmptyCellWithItsOwnLine)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    EXPECT_FALSE(table->DesignMode());
    EXPECT_NE(table->ServePopupMenu(), nullptr);
    EXPECT_EQ(table->ColCount(), 1);
    EXPECT_EQ(table->RowCount(), 1);
    EXPECT_EQ(table->GridLineWidth(), 1);
    EXPECT_EQ(table->TCustomGrid::GridLineWidth(), 0);
    EXPECT_EQ(table->Options() & goRangeSelect, 0u);
    EXPECT_EQ(table->BorderStyle(), ebsNone);
    EXPECT_EQ(table->TCustomGrid::BorderStyle(), bsNone);
    EXPECT_TRUE(table->AutoCorRowH());
    EXPECT_TRUE(table->ReDrawVisCell());
    EXPECT_EQ(table->TabSelectView(), etsvCell);
    EXPECT_EQ(table->GridStretchType(), egstNone);
    EXPECT_FALSE(table->UsePMIfCellNotEdit());
    EXPECT_EQ(table->Model().Colours.Count, 4);
    // No screen: the model is empty while the grid has its one cell.
    EXPECT_TRUE(table->Model().Rows.empty());
    EXPECT_EQ(GetGridCell(table->Model(), 0, 0), nullptr);
    EXPECT_FALSE(IsCellEditable(table->Model(), 0, 0));
    EXPECT_EQ(table->GetGridCellRect(0, 0), Rect(0, 0, table->GetGridColWidth(0), table->GetGridRowHeight(0)));
    // Nor can the one cell of the grid be chosen.
    int asked = 0;
    table->OnSelectCell = [&](TObject *, int, int, bool &) { ++asked; };
    table->SetBounds(0, 0, 200, 100);
    host.form->Show();
    Pump();
    POINT inCell{10, 10};
    SendMessageW(table->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inCell.x, inCell.y));
    SendMessageW(table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(inCell.x, inCell.y));
    EXPECT_EQ(asked, 0);
    // With cells, the same click asks.
    table->SetGridSize(2, 2, 0, 0);
    CreateGridCells(table->Model());
    SendMessageW(table->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inCell.x, inCell.y));
    SendMessageW(table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(inCell.x, inCell.y));
    EXPECT_EQ(asked, 1);
    host.form->Hide();

    table->SetBorderStyle(ebsSingle);
    EXPECT_EQ(table->TCustomGrid::BorderStyle(), bsSingle);
    EXPECT_EQ(table->Model().Rows.size(), 2u);
}

TEST(GridTable, DesignedTableHasNoScrollBarsAndNoEditorMenu)
{
    FormHost host;
    host.form->SetDesigning(true);
    auto *table = host.Add<TXGridTable>();
    EXPECT_TRUE(table->DesignMode());
    EXPECT_EQ(table->ServePopupMenu(), nullptr);
    EXPECT_EQ(table->ScrollBars(), ssNone);
}

TEST(GridTable, GridLineWidthIsKeptBetweenOneAndTenAndCellsKeepTheirSizes)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    table->SetGridColWidth(0, 50);
    table->SetGridRowHeight(0, 30);
    const std::pair<int, int> cases[] = {{0, 1}, {-3, 1}, {11, 10}, {10, 10}, {4, 4}};
    for (const auto &[set, stored] : cases) {
        table->SetGridLineWidth(set);
        EXPECT_EQ(table->GridLineWidth(), stored) << set;
        EXPECT_EQ(table->GetGridColWidth(0), 50) << set;
        EXPECT_EQ(table->GetGridRowHeight(0), 30) << set;
        EXPECT_EQ(table->ColWidths(0), 50 + stored) << set;
    }
}

TEST(GridTable, DeleteRowRemovesTheRowOnceFromModelGridAndRowDescriptions)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    TXGridModel &model = table->Model();
    table->SetGridSize(5, 2, 1, 0);
    for (int r = 0; r < 5; ++r)
        table->SetGridRowHeight(r, 20 + r);
    CreateGridCells(model);
    for (int r = 0; r < 5; ++r)
        AddCellRun(model, *GetGridCell(model, r, 1), "row " + IntToStr(r), 1);

    table->DeleteRow(2);
    EXPECT_EQ(table->RowCount(), 4);
    ASSERT_EQ(model.Rows.size(), 4u);
    EXPECT_EQ(model.RowDescriptions.Rows.size(), 4u);
    const int heights[] = {20, 21, 23, 24};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(table->GetGridRowHeight(r), heights[r]) << r;
    EXPECT_EQ(GetCurrentCellText(model, *GetGridCell(model, 2, 1)), "row 3");
    EXPECT_EQ(model.RowDescriptions.Rows[2].Height, 23u);
}

TEST(GridTable, CountsPastWhatTheCellsCanNumberAreRefusedWithTheTableAsItWas)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    TXGridModel &model = table->Model();
    table->SetGridSize(3, 2, 1, 0);
    CreateGridCells(model);
    const auto expectRefused = [&](const char *what, const std::function<void()> &step) {
        try {
            step();
            ADD_FAILURE() << what << ": not refused";
        } catch (const EInvalidGridOperation &e) {
            EXPECT_NE(e.Message().find("32768"), AnsiString::npos) << what << ": " << e.Message();
        }
        EXPECT_EQ(table->RowCount(), 3) << what;
        EXPECT_EQ(table->ColCount(), 2) << what;
        EXPECT_EQ(table->FixedRows(), 1) << what;
        EXPECT_EQ(model.Rows.size(), 3u) << what;
    };
    expectRefused("rows", [&] { table->SetRowCount(MaxGridRows + 1); });
    expectRefused("columns", [&] { table->SetColCount(MaxGridCols + 1); });
    expectRefused("rows with columns", [&] { table->SetGridSize(MaxGridRows + 1, 4, 0, 0); });
    expectRefused("columns with rows", [&] { table->SetGridSize(4, MaxGridCols + 1, 0, 0); });

    // At the limit the grid and its cells are made; a row more is refused, a row less makes room.
    table->SetGridSize(MaxGridRows, 2, 1, 0);
    CreateGridCells(model);
    ASSERT_EQ(model.Rows.size(), static_cast<size_t>(MaxGridRows));
    EXPECT_THROW(AppendGridRow(model), EInvalidGridOperation);
    EXPECT_EQ(table->RowCount(), MaxGridRows);
    table->DeleteRow(MaxGridRows - 1);
    EXPECT_EQ(table->RowCount(), MaxGridRows - 1);
    EXPECT_EQ(AppendGridRow(model), MaxGridRows - 1);
    EXPECT_EQ(table->RowCount(), MaxGridRows);
}

TEST(GridTable, EmptyTablePaintsItsGroundAndLeavesTheCanvasUnlocked)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    table->SetBounds(10, 10, 200, 100);
    int before = 0, after = 0;
    table->OnBeforeDrawCell = [&](TObject *, int, int, const TRect &, TGridDrawState) { ++before; };
    table->OnDrawCell = [&](TObject *, int, int, const TRect &, TGridDrawState) { ++after; };
    host.form->Show();
    table->Repaint();
    Pump();
    EXPECT_EQ(before, 0);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(CanvasIsFree(*table->Canvas()));
    host.form->Hide();
}

TEST(GridTable, StoredScreenLoadedWhenBuiltAndPaintedWithSpansFontsAndColours)
{
    StoredScreen stored(PriceList());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    EXPECT_EQ(table.RowCount(), 8);
    EXPECT_EQ(table.ColCount(), 4);
    EXPECT_EQ(table.FixedRows(), 1);
    EXPECT_EQ(table.FixedCols(), 1);
    EXPECT_EQ(table.GetGridColWidth(1), 170);
    EXPECT_EQ(table.ColWidths(1), 171);
    EXPECT_EQ(table.GetGridRowHeight(0), 26);
    EXPECT_EQ(GetGridFontCount(table.Model()), 3);
    EXPECT_TRUE(table.Model().HasEditable);
    EXPECT_EQ(table.Col(), 1);
    EXPECT_EQ(table.Row(), 1);
    // The span's rectangle covers both its rows, without the line.
    const TRect span = table.GetGridCellRect(3, 2);
    EXPECT_EQ(span, table.GetGridCellRect(3, 1));
    EXPECT_EQ(span.Height(), 24 + 1 + 24);

    int drawn = 0;
    table.OnDrawCell = [&](TObject *, int, int, const TRect &, TGridDrawState) { ++drawn; };
    form->Show();
    Pump();
    EXPECT_GT(drawn, 0);
    EXPECT_TRUE(CanvasIsFree(*table.Canvas()));
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "gridtable_stored_screen"));

    // Scrolled so that the first row of the 2 x 2 span lies under the header: only its part below the
    // header is painted, its texts still on one baseline.
    form->SetHeight(146);
    table.SetHeight(130);
    table.SetTopRow(5);
    ASSERT_EQ(table.TopRow(), 5);
    const TRect scrolled = table.GetGridCellRect(2, 5);
    EXPECT_LT(scrolled.Top, static_cast<int>(table.Geometry().FixedHeight()));
    table.Repaint();
    Pump();
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "gridtable_span_under_header"));
    form->Hide();
    form->Free();
}

TEST(GridTable, DesignedTableLoadsEachScreenAtOnceAndPaintsInDesignColours)
{
    // Designing, the screens come from the configuration folder, looked for from the program's folder
    // up: one is put beside this program for the test.
    AnsiString programFolder;
    AppFolder(programFolder, nullptr, false);
    const AnsiString cfg = programFolder + "CFG";
    ASSERT_FALSE(DirectoryExists(cfg)) << "left over from another run";
    ASSERT_TRUE(CreateDir(cfg));
    testdata::GridScreenBuilder list = PriceList();
    testdata::GridScreenBuilder small(3, 2);
    small.fixedRows = 1;
    testdata::CompoundFileBuilder file = testdata::CompoundFileBuilder::Created(4);
    list.WriteInto(file, 2);
    small.WriteInto(file, 3);
    const testdata::Bytes bytes = file.Build();
    WriteWholeFile(cfg + "\\Riza.sfr", std::string(bytes.begin(), bytes.end()));

    {
        FormHost host;
        host.form->SetDesigning(true);
        host.form->SetBorderStyle(bsNone);
        host.form->SetColor(clBtnFace);
        host.form->SetBounds(0, 0, 470, 250);
        auto *table = host.Add<TXGridTable>();
        table->SetBounds(8, 8, 454, 234);
        table->SetNumFileScreen(2);
        EXPECT_EQ(table->RowCount(), 8);
        EXPECT_EQ(table->TopRow(), 1);
        EXPECT_EQ(table->LeftCol(), 1);
        host.form->Show();
        Pump();
        EXPECT_TRUE(SaveScreenshot(host.form->Handle(), "gridtable_designing"));
        host.form->Hide();

        table->SetNumFileScreen(3);
        EXPECT_EQ(table->RowCount(), 3);
        EXPECT_EQ(table->ColCount(), 2);
        EXPECT_EQ(table->Model().Rows.size(), 3u);
    }
    RemoveTree(cfg);  // possible only when the loads closed the file
    EXPECT_FALSE(DirectoryExists(cfg));
}

// ---- selection, mouse and keys ---------------------------------------------------------------------

namespace {

// The price list with the first goods name (row 1, column 1), the cell right of it and the fifth
// goods name not editable.
testdata::GridScreenBuilder PriceListWithLockedCells()
{
    testdata::GridScreenBuilder b = PriceList();
    b.Cell(1, 1).flags = 0x40;  // Cell(row, column)
    b.Cell(1, 2).flags = 0x40;
    b.Cell(5, 1).flags = 0x40;
    return b;
}

LPARAM At(TXGridTable &table, int col, int row)
{
    const TRect r = table.CellRect(col, row);
    return MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

uint16_t SendKey(TXGridTable &table, WORD key)
{
    uint16_t seen = 0xFFFF;
    table.OnKeyDown = [&](TObject *, uint16_t &k, TShiftState) { seen = k; };
    SendMessageW(table.Handle(), WM_KEYDOWN, key, 0);
    table.OnKeyDown = nullptr;
    return seen;
}

}  // namespace

TEST(GridTable, EmptyTableSelectsNothingAndIgnoresKeysAndClicks)
{
    FormHost host;
    auto *table = host.Add<TXGridTable>();
    table->SetBounds(0, 0, 200, 100);
    host.form->Show();
    Pump();
    int downs = 0;
    table->OnMouseDown = [&](TObject *, TMouseButton, TShiftState, int, int) { ++downs; };
    for (WORD key : {WORD(VK_DOWN), WORD(VK_RIGHT), WORD(VK_NEXT), WORD('A')})
        EXPECT_EQ(SendKey(*table, key), 0) << key;
    SendMessageW(table->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(table->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(table->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(table->Row(), 0);
    EXPECT_EQ(table->Col(), 0);
    EXPECT_TRUE(CanvasIsFree(*table->Canvas()));
    host.form->Hide();
}

TEST(GridTable, KeysGoToEditableCellsSelectSpansWholeAndLeaveTheCanvasUnlocked)
{
    StoredScreen stored(PriceListWithLockedCells());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    form->Show();
    Pump();
    // (1, 1) is locked: the screen starts on the next editable cell of the first row.
    table.SetCol(3);
    table.SetRow(1);
    ASSERT_EQ(table.Col(), 3);

    // (3, 1) is a span of two rows: left of its first row only the locked (2, 1) and (1, 1), so Left
    // leaves it by its second row; Right comes back onto it.
    EXPECT_EQ(SendKey(table, VK_LEFT), 0);
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(2, 2));
    EXPECT_EQ(SendKey(table, VK_RIGHT), 0);
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(3, 1));
    EXPECT_EQ(SendKey(table, VK_DOWN), 0);  // the 2-row span on column 3 is one cell
    EXPECT_EQ(table.Row(), 3);
    EXPECT_EQ(SendKey(table, VK_DOWN), 0);  // into the 2 x 2 span: its master
    EXPECT_EQ(table.Col(), 2);
    EXPECT_EQ(table.Row(), 4);
    EXPECT_EQ(table.Selection(), (TGridRect{2, 4, 3, 5}));
    EXPECT_TRUE(CanvasIsFree(*table.Canvas()));
    EXPECT_EQ(SendKey(table, VK_LEFT), 0);  // (1, 4)
    EXPECT_EQ(table.Col(), 1);
    EXPECT_EQ(SendKey(table, VK_DOWN), 0);  // over the locked (1, 5)
    EXPECT_EQ(table.Row(), 6);
    EXPECT_EQ(SendKey(table, VK_NEXT), 0);  // past the end: the last row
    EXPECT_EQ(table.Row(), 7);
    EXPECT_EQ(SendKey(table, WORD('A')), WORD('A'));  // other keys are left to the grid
    EXPECT_TRUE(CanvasIsFree(*table.Canvas()));

    // A short table: the top row follows the target down and back up.
    form->SetHeight(130);
    table.SetHeight(114);
    table.SetRow(1);
    table.SetCol(3);
    Pump();
    ASSERT_EQ(table.TopRow(), 1);
    ASSERT_EQ(table.VisibleRowCount(), 2);
    SendKey(table, VK_NEXT);  // to the 2 x 2 span, shown whole
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(2, 4));
    EXPECT_EQ(table.TopRow(), 4);
    // Back up along column 3, which the page came down: over (3, 3) to the span of (3, 1).
    SendKey(table, VK_PRIOR);
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(3, 1));
    EXPECT_EQ(table.TopRow(), 1);
    form->Hide();
    form->Free();
}

TEST(GridTable, ClickOnNonEditableCellSelectsNothingAndThePopupOpensOnlyOverEditableCells)
{
    StoredScreen stored(PriceListWithLockedCells());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    TPopupMenu *menu = new TPopupMenu(form);
    table.SetPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject *) { ++popups; };
    form->Show();
    Pump();
    table.SetCol(3);
    table.SetRow(1);
    int downs = 0, ups = 0, asked = 0;
    table.OnMouseDown = [&](TObject *, TMouseButton, TShiftState, int, int) { ++downs; };
    table.OnMouseUp = [&](TObject *, TMouseButton, TShiftState, int, int) { ++ups; };
    table.OnSelectCell = [&](TObject *, int, int, bool &) { ++asked; };

    for (auto [col, row] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{2, 0}, std::pair{0, 3}}) {
        SendMessageW(table.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(table, col, row));
        SendMessageW(table.Handle(), WM_LBUTTONUP, 0, At(table, col, row));
        EXPECT_EQ(table.Col(), 3) << col << ',' << row;
        EXPECT_EQ(table.Row(), 1) << col << ',' << row;
        // The right button: the menu is held back while the press lasts.
        SendMessageW(table.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(table, col, row));
        EXPECT_FALSE(menu->AutoPopup());
        SendMessageW(table.Handle(), WM_RBUTTONUP, 0, At(table, col, row));
        EXPECT_TRUE(menu->AutoPopup());
    }
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(ups, 8);  // told after the grid's own handling

    // An editable cell: selected by either button, the menu left free.
    SendMessageW(table.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(table, 2, 3));
    SendMessageW(table.Handle(), WM_LBUTTONUP, 0, At(table, 2, 3));
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(2, 3));
    SendMessageW(table.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(table, 1, 6));
    EXPECT_TRUE(menu->AutoPopup());
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(1, 6));
    EXPECT_EQ(downs, 2);
    // A click inside a span selects it whole, from its master.
    SendMessageW(table.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(table, 3, 5));
    SendMessageW(table.Handle(), WM_LBUTTONUP, 0, At(table, 3, 5));
    EXPECT_EQ(table.Selection(), (TGridRect{2, 4, 3, 5}));

    // With UsePMIfCellNotEdit the menu is never held back.
    table.SetUsePMIfCellNotEdit(true);
    SendMessageW(table.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(table, 2, 1));
    EXPECT_TRUE(menu->AutoPopup());
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(2, 4));
    form->Hide();
    form->Free();
}

TEST(GridTable, RowSelectionFollowsShiftSelectingOnlyWhenTheTableSelectsRows)
{
    StoredScreen stored(PriceListWithLockedCells());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    form->Show();
    Pump();
    table.SetCol(1);
    table.SetRow(2);
    EXPECT_FALSE(table.SelectRow(2, true));  // etsvCell: rows are not selected
    table.SetShiftSelecting(true);
    EXPECT_FALSE(table.ShiftSelecting());

    table.SetTabSelectView(etsvCellStr);
    table.SetShiftSelecting(true);
    EXPECT_TRUE(table.IsRowSelected(-1));
    EXPECT_TRUE(table.IsRowSelected(2));
    SendKey(table, VK_DOWN);
    SendKey(table, VK_DOWN);
    EXPECT_EQ(table.Row(), 4);
    for (int r = 2; r <= 4; ++r)
        EXPECT_TRUE(table.IsRowSelected(r)) << r;
    EXPECT_EQ(table.SelectedRowCount(), 3);
    SendKey(table, VK_UP);
    EXPECT_FALSE(table.IsRowSelected(4));
    EXPECT_TRUE(table.IsRowSelected(-1));
    table.SetShiftSelecting(false);
    SendKey(table, VK_DOWN);
    EXPECT_FALSE(table.IsRowSelected(4));
    EXPECT_EQ(table.SelectedRowCount(), 2);
    table.Repaint();
    Pump();
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "gridtable_row_selection"));
    table.UnselectAllRows();
    EXPECT_EQ(table.SelectedRowCount(), 0);
    table.SelectAllRows();
    EXPECT_EQ(table.SelectedRowCount(), 7);
    form->Hide();
    form->Free();
}

namespace {

void Input(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT MouseInput(DWORD flags, DWORD data = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    return in;
}

void PressKey(WORD key) { Input({KeyInput(key, false), KeyInput(key, true)}); }

void PointAt(TXGridTable &table, int col, int row)
{
    const LPARAM at = At(table, col, row);
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ClientToScreen(table.Handle(), &p);
    MovePointerTo(Point(p.x, p.y));
}

}  // namespace

TEST(GridTable, KeysWheelAndClicksThroughTheWindowSystem)
{
    StoredScreen stored(PriceListWithLockedCells());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    form->Show();
    SetForegroundWindow(form->Handle());
    table.SetFocus();
    Pump();
    table.SetCol(3);
    table.SetRow(1);
    // The current cell once the input that should move it there has been taken.
    auto cellOnceAt = [&](int col, int row) {
        PumpUntil([&] { return table.Col() == col && table.Row() == row; });
        return std::pair(table.Col(), table.Row());
    };

    PressKey(VK_DOWN);
    EXPECT_EQ(cellOnceAt(3, 3), std::pair(3, 3));
    PressKey(VK_DOWN);
    EXPECT_EQ(cellOnceAt(2, 4), std::pair(2, 4));
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "gridtable_keys_span_selected"));
    PressKey(VK_LEFT);
    EXPECT_EQ(cellOnceAt(1, 4), std::pair(1, 4));

    // The wheel over the table steps as Down and Up (over the locked (1, 5)).
    PointAt(table, 2, 2);
    Input({MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA))});
    EXPECT_EQ(cellOnceAt(1, 6), std::pair(1, 6));
    Input({MouseInput(MOUSEEVENTF_WHEEL, WHEEL_DELTA)});
    EXPECT_EQ(cellOnceAt(1, 4), std::pair(1, 4));

    // A click on a locked cell changes nothing; on an editable one it selects it.
    PointAt(table, 1, 5);
    Input({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(std::pair(table.Col(), table.Row()), std::pair(1, 4));
    PointAt(table, 2, 6);
    Input({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
    EXPECT_EQ(cellOnceAt(2, 6), std::pair(2, 6));
    EXPECT_TRUE(CanvasIsFree(*table.Canvas()));
    EXPECT_TRUE(SaveScreenshot(form->Handle(), "gridtable_clicked_cell_selected"));
    form->Hide();
    form->Free();
}

TEST(GridTable, ResizeStretchesColumnsAndRowsToTheClientArea)
{
    StoredScreen stored(PriceList());
    TTableForm *form = new TTableForm(nullptr);
    TXGridTable &table = *form->Table;
    table.SetGridStretchType(egstBoth);
    form->Show();
    Pump();
    table.SetBounds(8, 8, 600, 300);
    Pump();
    int width = 0, height = 0;
    for (int c = 0; c < table.ColCount(); ++c)
        width += table.ColWidths(c);
    for (int r = 0; r < table.RowCount(); ++r)
        height += table.RowHeights(r);
    EXPECT_EQ(width, table.ClientWidth());
    EXPECT_EQ(height, table.ClientHeight());
    form->Hide();
    form->Free();
}
