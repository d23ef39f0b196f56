// Stored table screens: loading into the model through the stand-in grid, the fix-ups after loading,
// the storage a load reads, and screens that must leave the table as it was.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "base/messages/TZExcept.h"
#include "framework/windows/GridError.h"
#include "gridtable/screens/GridScreen.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/fun_struct.h"
#include "tests/gridtable/StandInHost.h"
#include "tests/support/GridScreenBuilder.h"
#include "tests/support/MemFiles.h"

namespace {

using testdata::Bytes;
using testdata::GridScreenBuilder;
using testdata::ScreenFont;
using testdata::ScreenRun;

constexpr uint32_t ScreenNo = 3;

ScreenRun StoredRun(uint16_t number, const char *text, uint16_t font = 0)
{
    ScreenRun run;
    run.number = number;
    run.text = text;
    run.font = font;
    return run;
}

ScreenFont Font(const char *name, int32_t size, uint32_t colour = 0)
{
    ScreenFont font;
    font.name = name;
    font.size = font.firstSize = size;
    font.height = -size;
    font.colour = colour;
    return font;
}

class ScreenLoad : public ::testing::Test {
protected:
    ScreenLoad() : table(host) { source.NumFileScreen = ScreenNo; }
    ~ScreenLoad() override { CloseSharedScreenStorage(); }

    void Put(const GridScreenBuilder &screen, bool scattered = false)
    {
        mem.files.Put(RizaFileName, screen.File(ScreenNo, 5, scattered));
        CloseSharedScreenStorage();  // read the new file, not the one a load kept open
    }
    bool Load(const GridScreenBuilder &screen, bool scattered = false)
    {
        Put(screen, scattered);
        return LoadGridScreen(table, source);
    }
    S_XSGCell &At(int r, int c) { return table.Rows.at(r).at(c); }

    // Everything a load may change, as one text.
    std::string State()
    {
        std::ostringstream s;
        s << host.GridRowCount() << "x" << host.GridColCount() << " fixed " << host.fixedRows << "," << host.fixedCols
          << " current " << host.currentRow << "," << host.currentCol << " font " << table.CurrentFontId << " editable "
          << table.HasEditable << "\n";
        for (int w : host.colWidths)
            s << w << " ";
        for (int h : host.rowHeights)
            s << h << " ";
        for (const TXRowDescription &d : table.RowDescriptions.Rows)
            s << "d" << d.Height << " ";
        s << "\n" << ColourTableToText(table.Colours, ';') << "\n";
        for (const auto &font : table.Fonts)
            s << FontToText(*font, ';') << "\n";
        for (const S_XSGRow &row : table.Rows)
            for (const S_XSGCell &cell : row)
                s << CellTextForm(cell) << "\n";
        return s.str();
    }

    ScopedMemFiles mem;
    TStandInHost host{1, 1};
    TXGridModel table;
    TXGridScreenSource source;
};

// The header's count at `offset` (7 rows, 11 columns) set to `count`.
void SetHeaderCount(Bytes &header, size_t offset, uint32_t count)
{
    for (size_t i = 0; i < 4; ++i)
        header.at(offset + i) = static_cast<uint8_t>(count >> (8 * i));
}

// Runs the step and gives the message of the grid's operation exception it raised, or "not refused".
std::string RefusalOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EInvalidGridOperation &e) {
        return e.Message();
    }
    return "not refused";
}

// A screen with a little of everything: a fixed row and column, a span, colours, two fonts, an image
// run and texts in both lists.
GridScreenBuilder RichScreen()
{
    GridScreenBuilder b(3, 4);
    b.fixedRows = 1;
    b.fixedCols = 1;
    b.widths = {30, 64, 70, 80};
    b.heights = {18, 24, 26};
    b.colours.push_back(0x00FF00);
    b.fonts = {Font("Arial", 10), Font("Times New Roman", 12, 0x0000FF)};
    for (int c = 0; c < 4; ++c)
        b.Cell(0, c).flags = 0;  // the fixed row is not editable
    b.Cell(1, 1).runs1 = {StoredRun(1, "Ціна", 1), StoredRun(2, "грн")};
    b.Cell(1, 1).runs0 = {StoredRun(1, "Цена", 1)};
    ScreenRun image = StoredRun(3, "");
    image.flags = 0x03;
    image.font = 17;
    b.Cell(1, 2).runs1 = {image};
    b.Span(1, 2, 2, 3);
    return b;
}

}  // namespace

TEST_F(ScreenLoad, OneCellWithoutFontsReplacesTheDefaults)
{
    GridScreenBuilder b(1, 1);
    testdata::ScreenCell &cell = b.Cell(0, 0);
    cell.textHeight = 7;
    cell.bottomLine = 5;
    cell.rightLine = 6;
    cell.colour = 4;
    cell.editKind = 2;
    cell.flags = 0x01 | 0x10 | 0x04;
    cell.spare = 0x5A;
    cell.runs1 = {StoredRun(4, "один")};
    cell.runs0 = {StoredRun(4, "одна"), StoredRun(5, "x\ny")};
    b.colours = {1, 2, 3, 4, 5};
    ASSERT_TRUE(Load(b));

    ASSERT_EQ(table.Rows.size(), 1u);
    const S_XSGCell &c = At(0, 0);
    EXPECT_EQ(c.TextHeight, 7);
    EXPECT_EQ(c.BottomLineColour, 5);
    EXPECT_EQ(c.RightLineColour, 6);
    EXPECT_EQ(c.Colour, 4);
    EXPECT_EQ(c.EditKind, 2);
    EXPECT_EQ(c.Flags, 0x15);
    EXPECT_EQ(c.Spare, 0x5A);
    ASSERT_EQ(c.Runs1.size(), 1u);
    EXPECT_EQ(c.Runs1[0].Text, "один");
    EXPECT_EQ(c.Runs1[0].Number, 4);
    ASSERT_EQ(c.Runs0.size(), 2u);
    EXPECT_EQ(c.Runs0[1].Text, "x\ny");
    EXPECT_TRUE(table.Fonts.empty()) << "the component's own font goes with the stored ones";
    EXPECT_EQ(table.Colours.Count, 5);
    EXPECT_EQ(table.Colours.Colours[4], 5u);
    EXPECT_EQ(host.editorsCreated, 1);
}

TEST_F(ScreenLoad, RunsKeepTheirFontWhenAStoredFontRepeatsAnEarlierOne)
{
    GridScreenBuilder b(1, 3);
    b.fonts = {Font("Arial", 10), Font("Arial", 10), Font("Courier New", 9)};
    b.Cell(0, 0).runs1 = {StoredRun(1, "a", 0)};
    b.Cell(0, 1).runs1 = {StoredRun(1, "b", 1)};
    b.Cell(0, 2).runs1 = {StoredRun(1, "c", 2)};
    b.Cell(0, 2).runs0 = {StoredRun(1, "c0", 2)};
    ASSERT_TRUE(Load(b));
    ASSERT_EQ(table.Fonts.size(), 2u);
    EXPECT_EQ(table.Fonts[0]->Id, 0);
    EXPECT_EQ(table.Fonts[1]->Id, 1);
    EXPECT_EQ(At(0, 0).Runs1[0].Font, 0);
    EXPECT_EQ(At(0, 1).Runs1[0].Font, 0) << "the repeated font is the first";
    const S_SGFont *third = FindGridFontById(table, At(0, 2).Runs1[0].Font);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->Name, "Courier New");
    EXPECT_EQ(At(0, 2).Runs0[0].Font, 1);
}

TEST_F(ScreenLoad, StoredSizesExcludeTheGridLine)
{
    GridScreenBuilder b(1, 1);
    b.widths = {64};
    b.heights = {24};
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(TotalGridWidth(table), 65);
    EXPECT_EQ(TotalGridHeight(table), 25);
    ASSERT_EQ(table.RowDescriptions.Rows.size(), 1u);
    EXPECT_EQ(table.RowDescriptions.Rows[0].Height, 24u);

    host.lineWidth = 3;
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(TotalGridWidth(table), 67);

    b.widths = {-1};  // a hidden column
    host.lineWidth = 1;
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(TotalGridWidth(table), 0);
}

TEST_F(ScreenLoad, DateAndFractionCellsAreFixedUp)
{
    GridScreenBuilder b(1, 3);
    b.fonts = {Font("Arial", 10)};
    testdata::ScreenCell &date = b.Cell(0, 0);
    date.editKind = 6;
    date.runs1 = {StoredRun(5, "01.02.2003"), StoredRun(6, "x"), StoredRun(7, "y")};
    date.runs0 = {StoredRun(8, "01.02.2003"), StoredRun(9, "x"), StoredRun(10, "y")};
    b.Cell(0, 1).editKind = 5;
    b.Cell(0, 1).runs0 = {StoredRun(1, "3"), StoredRun(2, "4")};  // none in the table's language
    b.Cell(0, 2).editKind = 5;
    b.Cell(0, 2).runs1 = {StoredRun(1, "1"), StoredRun(2, "2")};
    table.Language = 1;
    ASSERT_TRUE(Load(b));

    for (const TRunList *runs : {&At(0, 0).Runs1, &At(0, 0).Runs0}) {
        ASSERT_EQ(runs->size(), 1u);
        EXPECT_EQ((*runs)[0].Number, 1);
        EXPECT_FALSE((*runs)[0].Shown());
        EXPECT_EQ((*runs)[0].Text, "01.02.2003");
    }
    const TRunList &fraction = At(0, 1).Runs1;
    ASSERT_EQ(fraction.size(), 2u);
    EXPECT_EQ(fraction[0].Number, 1);
    EXPECT_EQ(fraction[1].Number, 2);
    EXPECT_EQ(fraction[0].Text, "");
    EXPECT_EQ(At(0, 1).Runs0.size(), 2u) << "the other language keeps its runs";
    EXPECT_EQ(At(0, 2).Runs1[0].Text, "1") << "a fraction with runs stays as stored";
}

TEST_F(ScreenLoad, TheFirstEditableCellOutsideTheFixedAreaBecomesCurrent)
{
    GridScreenBuilder b(3, 3);
    b.fixedRows = 1;
    b.fixedCols = 1;
    for (auto &cell : b.cells)
        cell.flags = 0;
    b.Cell(0, 2).flags = 1;  // fixed row: does not count
    b.Cell(2, 0).flags = 1;  // fixed column: does not count
    b.Cell(2, 2).flags = 1;
    b.Cell(2, 1).flags = 0x80;
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(host.currentRow, 2);
    EXPECT_EQ(host.currentCol, 2);
    EXPECT_TRUE(table.HasEditable);

    // Loaded again, the table keeps one description per row; the current cell, editable now, stays.
    ASSERT_TRUE(LoadGridScreen(table, source));
    EXPECT_EQ(table.RowDescriptions.Rows.size(), 3u);
    EXPECT_EQ(host.currentRow, 2);
    EXPECT_EQ(host.editorsCreated, 1) << "the editor is made once";

    // A current cell in the fixed area does not count, editable or not.
    b.Cell(0, 0).flags = 1;
    b.Cell(1, 2).flags = 1;
    host.SetGridCurrentCell(0, 0);
    ASSERT_TRUE(Load(b));
    EXPECT_EQ(host.currentRow, 1);
    EXPECT_EQ(host.currentCol, 2);

    b.Cell(1, 2).flags = 0;
    b.Cell(2, 2).flags = 0;
    host.SetGridCurrentCell(1, 1);
    ASSERT_TRUE(Load(b));
    EXPECT_FALSE(table.HasEditable);
    EXPECT_EQ(host.currentRow, 1) << "nothing to move to";
}

TEST_F(ScreenLoad, SpansColoursAndImagesComeThrough)
{
    ASSERT_TRUE(Load(RichScreen()));
    EXPECT_EQ(host.GridRowCount(), 3);
    EXPECT_EQ(host.GridColCount(), 4);
    EXPECT_EQ(host.fixedRows, 1);
    EXPECT_EQ(host.fixedCols, 1);
    EXPECT_EQ(host.colWidths, (std::vector<int>{30, 64, 70, 80}));
    EXPECT_EQ(table.Colours.Count, 5);
    EXPECT_EQ(table.Colours.Colours[4], 0x00FF00u);
    EXPECT_EQ(At(1, 2).MergeState, CellMaster);
    EXPECT_EQ(At(2, 3).MergeState, CellBottomRight);
    EXPECT_EQ(At(2, 2).MergeState, CellCovered);
    EXPECT_EQ(GetGridCell(table, 2, 3, true), &At(1, 2));
    EXPECT_EQ(At(1, 2).Runs1[0].Font, 17) << "an image run keeps its image index";
    EXPECT_TRUE(At(1, 2).Runs1[0].IsImage());
    EXPECT_EQ(At(1, 1).Runs0[0].Text, "Цена");
    EXPECT_EQ(FindGridFontById(table, At(1, 1).Runs1[0].Font)->Name, "Times New Roman");
    EXPECT_EQ(host.currentRow, 1);
    EXPECT_EQ(host.currentCol, 1);
}

TEST_F(ScreenLoad, DeletedRecordsAndLinksAreFollowed)
{
    ASSERT_TRUE(Load(RichScreen()));
    TStandInHost other(1, 1);
    TXGridModel second(other);
    TXGridScreenSource again;
    again.NumFileScreen = ScreenNo;
    Put(RichScreen(), true);
    ASSERT_TRUE(LoadGridScreen(second, again));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(CellTextForm(second.Rows[r][c]), CellTextForm(At(r, c)));
    EXPECT_EQ(other.colWidths, host.colWidths);
    EXPECT_EQ(second.Fonts.size(), table.Fonts.size());
    EXPECT_EQ(ColourTableToText(second.Colours, ';'), ColourTableToText(table.Colours, ';'));
}

TEST_F(ScreenLoad, ADamagedOrMissingScreenLeavesTheTableAsItWas)
{
    ASSERT_TRUE(Load(RichScreen()));
    const std::string before = State();

    struct Case {
        const char *what;
        std::function<Bytes()> file;
    };
    auto with = [](const std::function<void(GridScreenBuilder &)> &change) {
        return [change] {
            GridScreenBuilder b = RichScreen();
            change(b);
            return b.File(ScreenNo, 5);
        };
    };
    // Records as given, as the chain of the screen's logical file.
    auto records = [](const std::function<void(std::vector<Bytes> &)> &change) {
        return [change] {
            std::vector<Bytes> r = RichScreen().Records();
            change(r);
            auto file = testdata::CompoundFileBuilder::Created(5);
            file.Commit(ScreenNo, r);
            return file.Build();
        };
    };
    const Case cases[] = {
        {"wrong magic", records([](auto &r) { r[0][1] = '5'; })},
        {"empty logical file", [] { return testdata::CompoundFileBuilder::Created(5).Build(); }},
        {"no such logical file", [] { return RichScreen().File(0, 1); }},
        {"no storage file", [] { return Bytes(); }},
        {"257 colours", with([](auto &b) { b.colours.assign(257, 1); })},
        {"colour count past its record", records([](auto &r) { r[1].resize(r[1].size() - 1); })},
        {"negative colour count", records([](auto &r) { r[1] = {0xFF, 0xFF, 0xFF, 0xFF}; })},
        {"a font name past its record", records([](auto &r) { r[2].pop_back(); })},
        {"a font record cut short", records([](auto &r) { r[2].resize(20); })},
        {"a run text past its record", records([](auto &r) { r[2 + 2 + 5].pop_back(); })},
        {"a run count past its record", records([](auto &r) { r.back()[17] = 0x7F; })},
        {"a cell cut short", records([](auto &r) { r.back().resize(16); })},
        {"a header of 34 bytes", records([](auto &r) { r[0].resize(34); })},
        {"a header without its last height", records([](auto &r) { r[0].resize(r[0].size() - 1); })},
        {"too few cells", records([](auto &r) { r.pop_back(); })},
        {"more fonts than records", with([](auto &b) { b.fontCountOverride = 40; })},
        {"negative font count", records([](auto &r) { r[0][31] = r[0][32] = r[0][33] = r[0][34] = 0xFE; })},
        {"R = 0", with([](auto &b) {
             b.rows = 0;
             b.heights.clear();
             b.cells.clear();
         })},
        {"C = -1", records([](auto &r) { r[0][11] = r[0][12] = r[0][13] = r[0][14] = 0xFF; })},
        {"a width beyond 32767", with([](auto &b) { b.widths[2] = 32768; })},
        {"a height below -1", with([](auto &b) { b.heights[0] = -2; })},
        {"fixed rows = rows", with([](auto &b) { b.fixedRows = 3; })},
        {"negative fixed columns", with([](auto &b) { b.fixedCols = -1; })},
        {"merge state 4", with([](auto &b) { b.Cell(1, 1).merge = 4; })},
        {"a span member outside the table", with([](auto &b) { b.Cell(2, 3).endCol = 4; })},
        {"a span member pointing at a plain cell", with([](auto &b) {
             b.Cell(2, 1).merge = 2;
             b.Cell(2, 1).row = 1;
             b.Cell(2, 1).endRow = 2;
             b.Cell(2, 1).col = 1;
             b.Cell(2, 1).endCol = 1;
         })},
        {"a member outside its own span", with([](auto &b) {
             b.Cell(2, 2).row = 1;
             b.Cell(2, 2).endRow = 1;
         })},
        {"a member whose span differs from its master's", with([](auto &b) { b.Cell(1, 3).endRow = 1; })},
        {"a second master inside a span", with([](auto &b) { b.Cell(2, 3).merge = 1; })},
        {"a damaged chain", [] {
             auto file = testdata::CompoundFileBuilder::Created(5);
             const std::vector<Bytes> r = RichScreen().Records();
             const uint32_t first = file.Record(r[0]);
             file.Record(r[1]);
             file.SetLink(first, 0x00FFFFFF);
             file.EndRecord();
             file.SetEntry(ScreenNo, first, file.Here() - first);
             return file.Build();
         }},
    };
    for (const Case &c : cases) {
        const Bytes file = c.file();
        if (file.empty())
            mem.files.Delete(RizaFileName);
        else
            mem.files.Put(RizaFileName, file);
        CloseSharedScreenStorage();
        EXPECT_FALSE(LoadGridScreen(table, source)) << c.what;
        EXPECT_EQ(State(), before) << c.what;
        EXPECT_TRUE(host.messages.empty()) << c.what << ": no message at run time";
    }
    EXPECT_EQ(host.editorsCreated, 1);
}

TEST_F(ScreenLoad, AScreenOfMoreRowsOrColumnsThanATableCanHoldIsRefusedByName)
{
    ASSERT_TRUE(Load(RichScreen()));
    const std::string before = State();
    struct Case {
        const char *what;
        size_t offset;
        uint32_t count;
        const char *kind;
    };
    // Such a header cannot hold its sizes in a record: it is refused for its counts, not as damaged.
    const Case cases[] = {{"32769 rows", 7, MaxGridRows + 1, "строк"},
                          {"40000 rows", 7, 40000, "строк"},
                          {"32769 columns", 11, MaxGridCols + 1, "столбц"}};
    for (const Case &c : cases) {
        std::vector<Bytes> records = RichScreen().Records();
        SetHeaderCount(records[0], c.offset, c.count);
        auto file = testdata::CompoundFileBuilder::Created(5);
        file.Commit(ScreenNo, records);
        mem.files.Put(RizaFileName, file.Build());
        CloseSharedScreenStorage();

        const std::string message = RefusalOf([&] { LoadGridScreen(table, source); });
        EXPECT_NE(message.find("32768"), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find(c.kind), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(State(), before) << c.what;
        EXPECT_EQ(source.Storage, nullptr) << c.what << ": the storage is let go as after any load";
        EXPECT_TRUE(host.messages.empty()) << c.what;
    }
    EXPECT_EQ(host.editorsCreated, 1);
    // The same table loads a screen it can hold afterwards.
    EXPECT_TRUE(Load(RichScreen()));
}

TEST_F(ScreenLoad, AMissingFirstScreenStillMakesTheEditor)
{
    mem.files.Put(RizaFileName, testdata::CompoundFileBuilder::Created(5).Build());
    EXPECT_FALSE(LoadGridScreen(table, source));
    EXPECT_EQ(host.editorsCreated, 1);
    EXPECT_TRUE(table.Rows.empty());
}

TEST_F(ScreenLoad, TheSharedStorageIsOpenedOnceAndKept)
{
    ASSERT_EQ(RizaFile, nullptr);
    Put(RichScreen());
    ASSERT_TRUE(LoadGridScreen(table, source));
    WFile *shared = RizaFile;
    ASSERT_NE(shared, nullptr) << "kept open for the process";
    EXPECT_EQ(source.Storage, nullptr);

    // A second table reads the same file; one with its own file gives it up for the shared one.
    mem.files.Put("own.sfr", testdata::SimpleFile({testdata::B("x")}));
    TStandInHost other(1, 1);
    TXGridModel second(other);
    TXGridScreenSource own;
    own.NumFileScreen = ScreenNo;
    OpenScreenFile(own, "own.sfr");
    ASSERT_NE(own.Own, nullptr);
    ASSERT_TRUE(LoadGridScreen(second, own));
    EXPECT_EQ(own.Own, nullptr);
    EXPECT_EQ(RizaFile, shared);

    CloseSharedScreenStorage();
    EXPECT_EQ(RizaFile, nullptr);
}

TEST_F(ScreenLoad, AnOpenSharedStorageIsReadAndLeftToItsOwner)
{
    mem.files.Put(RizaFileName, RichScreen().File(ScreenNo, 5));
    {
        WFile opened(RizaFileName, true);
        RizaFile = &opened;
        EXPECT_TRUE(LoadGridScreen(table, source));
        EXPECT_EQ(RizaFile, &opened);
        RizaFile = nullptr;
    }
}

TEST_F(ScreenLoad, DesignModeOpensAndClosesTheFileEachTime)
{
    source.Designing = true;
    AnsiString name;
    try {
        name = DesignScreenFileName();
    } catch (const TZExcept &) {
        GTEST_SKIP() << "no configuration folder above this program (the on-disk test makes one)";
    }
    mem.files.Put(name, RichScreen().File(ScreenNo, 5));
    host.measuredHeight = 11;
    ASSERT_TRUE(LoadGridScreen(table, source));
    EXPECT_EQ(RizaFile, nullptr) << "closed again, and the shared pointer as it was";
    EXPECT_EQ(source.Own, nullptr);
    EXPECT_EQ(host.topLeft, std::make_pair(1, 1));
    EXPECT_EQ(host.measured.size(), 12u) << "every cell laid out";
    EXPECT_EQ(At(1, 1).TextHeight, 11);
    EXPECT_EQ(host.editorsCreated, 0);
    EXPECT_TRUE(host.messages.empty());

    source.NumFileScreen = 4;
    const std::string before = State();
    EXPECT_FALSE(LoadGridScreen(table, source));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Экрана с номером 4 не существует для данной таблицы");
    EXPECT_EQ(State(), before);
    EXPECT_EQ(RizaFile, nullptr);

    // A screen of more rows than a table can hold is refused by name, and the file closed all the same.
    std::vector<Bytes> records = RichScreen().Records();
    SetHeaderCount(records[0], 7, MaxGridRows + 1);
    auto tooTall = testdata::CompoundFileBuilder::Created(5);
    tooTall.Commit(4, records);
    mem.files.Put(name, tooTall.Build());
    host.ClearRecords();
    EXPECT_NE(RefusalOf([&] { LoadGridScreen(table, source); }).find("32768"), std::string::npos);
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(RizaFile, nullptr);
    EXPECT_EQ(source.Own, nullptr);
}

TEST(ScreenParts, HeaderChecks)
{
    GridScreenBuilder b(2, 3);
    STabDescription header;
    Bytes bytes = b.HeaderRecord();
    ASSERT_EQ(bytes.size(), 35u + 4 * 5);
    ASSERT_TRUE(ReadScreenHeader(bytes, header));
    EXPECT_EQ(header.RowCount, 2);
    EXPECT_EQ(header.ColCount, 3);
    EXPECT_EQ(header.Stored[2], 0xA1) << "the bytes nobody reads are kept";
    EXPECT_EQ(header.ColWidths, (std::vector<int32_t>{64, 64, 64}));
    EXPECT_TRUE(IsScreenHeader(bytes));
    EXPECT_FALSE(IsScreenHeader(Bytes{'M'}));

    // The largest counts that fit a record.
    GridScreenBuilder wide(1, 4990);
    EXPECT_EQ(wide.HeaderRecord().size(), 35u + 4 * 4991);
    EXPECT_TRUE(ReadScreenHeader(wide.HeaderRecord(), header));
    // Counts past what a table can hold are refused by name, whether or not the sizes are there.
    Bytes huge = b.HeaderRecord();
    SetHeaderCount(huge, 7, 0x00FFFFFF);
    EXPECT_NE(RefusalOf([&] { ReadScreenHeader(huge, header); }).find("32768"), std::string::npos);
    EXPECT_EQ(header.ColCount, 4990) << "a refused header leaves the last one";
    GridScreenBuilder tallest(MaxGridRows, 1), widest(1, MaxGridCols);
    EXPECT_TRUE(ReadScreenHeader(tallest.HeaderRecord(), header));
    EXPECT_EQ(header.RowCount, MaxGridRows);
    EXPECT_TRUE(ReadScreenHeader(widest.HeaderRecord(), header));
    EXPECT_EQ(header.ColCount, MaxGridCols);
    GridScreenBuilder tooTall(MaxGridRows + 1, 1), tooWide(1, MaxGridCols + 1);
    EXPECT_NE(RefusalOf([&] { ReadScreenHeader(tooTall.HeaderRecord(), header); }).find("строк"), std::string::npos);
    EXPECT_NE(RefusalOf([&] { ReadScreenHeader(tooWide.HeaderRecord(), header); }).find("столбц"), std::string::npos);
    EXPECT_EQ(header.ColCount, MaxGridCols);
}
