// What the in-cell editors write into a cell's runs, the number editors' key and paste filters, the
// editor menus' captions, items and shortcuts, and the unit's text and number helpers.
#include <gtest/gtest.h>

#include "framework/runtime/Classes.h"
#include "gridtable/editing/CellEditing.h"
#include "tests/gridtable/StandInHost.h"
#include "tests/support/ScopedCfgLanguage.h"

namespace {

S_SGText TextRun(std::uint16_t number, const char *text, std::uint16_t font = 0, bool shown = true)
{
    S_SGText run;
    run.Number = number;
    run.Text = text;
    run.Font = font;
    if (!shown)
        run.Flags = static_cast<std::uint8_t>(run.Flags & ~RunShown);
    return run;
}

// The cell's current runs as whole runs again (a write lays the cell out into pieces).
TRunList Runs(TGridFixture &f, S_XSGCell &cell) { return SnapshotCellTexts(f.table, cell); }

// A table whose cell (0, 0) is of the edit kind, with font 0 in the table.
struct EditFixture : TGridFixture {
    explicit EditFixture(int kind) : TGridFixture(2, 2)
    {
        auto font = CreateGridFont("Arial", 10, clBlack, false, false, false, false, -13);
        font->Id = 0;
        AddGridFont(table, std::move(font), true);
        Cell().EditKind = static_cast<std::uint8_t>(kind);
        // The cell as the editing fetches it, with its place written in.
        GetGridCell(table, 0, 0);
    }
    S_XSGCell &Cell() { return At(0, 0); }
    TRunList &List() { return CurrentCellTextList(table, Cell()); }
};

class DecimalComma : public ::testing::Test {
protected:
    void SetUp() override { saved_ = DecimalSeparator, DecimalSeparator = ','; }
    void TearDown() override { DecimalSeparator = saved_; }

private:
    char saved_ = '.';
};
class FractionEditorApply : public DecimalComma {};
class NumberFilters : public DecimalComma {};

}  // namespace

// ---- number editor -----------------------------------------------------------------------------------

TEST(NumberEditorApply, AnEmptyTextAndATextOfZerosAreStoredAsZero)
{
    EXPECT_EQ(StoredNumberText("", 1), "0");
    EXPECT_EQ(StoredNumberText("", 4), "0");
    EXPECT_EQ(StoredNumberText("000", 2), "0");
    EXPECT_EQ(StoredNumberText("0", 3), "0");
    // Only number cells fold their zeros, and only a text of nothing but zeros.
    EXPECT_EQ(StoredNumberText("000", 4), "000");
    EXPECT_EQ(StoredNumberText("0,00", 1), "0,00");
    EXPECT_EQ(StoredNumberText("007", 1), "007");
    EXPECT_EQ(StoredNumberText("-0", 2), "-0");
}

TEST(NumberEditorApply, AnEmptyListGetsANewRunOne)
{
    EditFixture f(2);
    EXPECT_EQ(ApplyNumberEditorText(f.table, f.Cell(), "000"), "0");
    const TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "0");
    EXPECT_TRUE(runs[0].Shown());
    // Laid out again: the list holds pieces until the next lookup joins them.
    EXPECT_FALSE(f.Cell().Flags & CellCompact);
}

TEST(NumberEditorApply, RunOneIsReplacedOrAddedAndTheOtherRunsStay)
{
    EditFixture f(1);
    f.List() = {TextRun(1, "12"), TextRun(2, " руб.", 0)};
    ApplyNumberEditorText(f.table, f.Cell(), "");
    TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, "0");
    EXPECT_EQ(runs[1].Text, " руб.");

    // No run 1 among others: it is added behind them.
    EditFixture g(1);
    g.List() = {TextRun(2, "x")};
    ApplyNumberEditorText(g.table, g.Cell(), "15,5");
    runs = Runs(g, g.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Number, 1);
    EXPECT_EQ(runs[1].Text, "15,5");
}

TEST(NumberEditorApply, WritesTheTableLanguagesListOnly)
{
    EditFixture f(1);
    f.table.Language = 0;
    f.Cell().Runs1 = {TextRun(1, "7")};
    ApplyNumberEditorText(f.table, f.Cell(), "8");
    EXPECT_EQ(f.Cell().Runs1[0].Text, "7");
    ASSERT_EQ(Runs(f, f.Cell()).size(), 1u);
    EXPECT_EQ(Runs(f, f.Cell())[0].Text, "8");
}

// ---- fraction editor ---------------------------------------------------------------------------------

TEST_F(FractionEditorApply, FractionTextsAreRoundedPaddedAndTheNumeratorEndsTheLine)
{
    TFractionTexts t;
    ASSERT_TRUE(MakeFractionTexts("1,5", "", t));
    EXPECT_EQ(t.Numerator, "1,5\n");
    EXPECT_EQ(t.Denominator, " 0 ");
    // The odd blank goes to the left.
    ASSERT_TRUE(MakeFractionTexts("1,25", "7", t));
    EXPECT_EQ(t.Numerator, "1,25\n");
    EXPECT_EQ(t.Denominator, "  7 ");
    ASSERT_TRUE(MakeFractionTexts("3", "125", t));
    EXPECT_EQ(t.Numerator, " 3 \n");
    EXPECT_EQ(t.Denominator, "125");
    // Rounded to 9 decimals, trailing zeros dropped; a leading zero or blanks do not stay.
    ASSERT_TRUE(MakeFractionTexts("1,12345678949", " 007 ", t));
    EXPECT_EQ(t.Numerator, "1,123456789\n");
    ASSERT_TRUE(MakeFractionTexts("0,9999999996", "2,5000000004", t));
    EXPECT_EQ(t.Numerator, " 1 \n");
    EXPECT_EQ(t.Denominator, "2,5");
    ASSERT_TRUE(MakeFractionTexts("", "", t));
    EXPECT_EQ(t.Numerator, "0\n");
    EXPECT_EQ(t.Denominator, "0");
}

TEST_F(FractionEditorApply, AFractionTextThatIsNoNumberIsRefused)
{
    TFractionTexts t{"kept", "kept"};
    for (const char *bad : {",", "-", "1,,2", "abc", "1 2"}) {
        EXPECT_FALSE(MakeFractionTexts(bad, "2", t)) << bad;
        EXPECT_FALSE(MakeFractionTexts("2", bad, t)) << bad;
    }
    EXPECT_EQ(t.Numerator, "kept");

    EditFixture f(5);
    f.List() = {TextRun(1, "1\n"), TextRun(2, "2")};
    const TRunList before = Runs(f, f.Cell());
    EXPECT_FALSE(ApplyFractionEditorTexts(f.table, f.Cell(), ",", "4"));
    EXPECT_TRUE(SameCellTexts(before, Runs(f, f.Cell())));
}

TEST_F(FractionEditorApply, AFractionIntoAnEmptyCellMakesAnUnderlinedNumeratorAndADenominator)
{
    EditFixture f(5);
    ASSERT_TRUE(ApplyFractionEditorTexts(f.table, f.Cell(), "1,5", ""));
    const TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "1,5\n");
    EXPECT_EQ(runs[1].Number, 2);
    EXPECT_EQ(runs[1].Text, " 0 ");
    const S_SGFont *up = FindGridFontById(f.table, runs[0].Font);
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(up->Style & GridFontUnderline);
    EXPECT_EQ(up->Name, "Arial");
    EXPECT_EQ(runs[1].Font, 0);
    EXPECT_GT(f.Cell().TextHeight, 0);
}

TEST_F(FractionEditorApply, AFractionKeepsItsRunsFontsAndPutsAMissingNumeratorFirst)
{
    EditFixture f(5);
    f.List() = {TextRun(1, "3\n", 4), TextRun(2, "4", 5)};
    ASSERT_TRUE(ApplyFractionEditorTexts(f.table, f.Cell(), "1,25", "7"));
    TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, "1,25\n");
    EXPECT_EQ(runs[0].Font, 4);
    EXPECT_EQ(runs[1].Text, "  7 ");
    EXPECT_EQ(runs[1].Font, 5);

    EditFixture g(5);
    g.List() = {TextRun(2, "4", 5)};
    ASSERT_TRUE(ApplyFractionEditorTexts(g.table, g.Cell(), "10", "4"));
    runs = Runs(g, g.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "10\n");
    EXPECT_EQ(runs[1].Text, " 4");
}

// ---- rich, date and list editors ---------------------------------------------------------------------

TEST(RichEditorApply, ATextOfMoreLinesOverAnOldOneCorrectsItsRow)
{
    EditFixture f(4);
    f.List() = {TextRun(1, "short")};
    f.host.measuredHeight = 40;
    f.host.ClearRecords();
    ApplyRichEditorText(f.table, f.Cell(), "short\r\nsecond line");
    EXPECT_EQ(f.host.corrected, std::vector<int>{0});
}

TEST(RichEditorApply, WritesRunOneWhateverRunItWasOpenedOn)
{
    EditFixture f(4);
    f.List() = {TextRun(1, "first"), TextRun(2, "second")};
    // Line breaks come as CR LF or as CR alone; the layout breaks lines at line feeds.
    ApplyRichEditorText(f.table, f.Cell(), "line 1\r\nline 2\rline 3\n\r");
    TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, "line 1\nline 2\nline 3\n\n");
    EXPECT_EQ(runs[1].Text, "second");

    EditFixture g(4);
    ApplyRichEditorText(g.table, g.Cell(), "");
    runs = Runs(g, g.Cell());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[0].Text, "");
}

TEST(DateEditorApply, AnEmptyDateTakesTheControlsDateAndRunsTwoAndThreeGetIt)
{
    EditFixture f(6);
    f.List() = {TextRun(1, "Дата", 0, false), TextRun(2, "01.02.2025", 0, false), TextRun(3, "01.02.2025")};
    EXPECT_EQ(ApplyDateEditorText(f.table, f.Cell(), "", EncodeDate(2026, 12, 7)), "07.12.2026");
    TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Text, "Дата");
    EXPECT_EQ(runs[1].Text, "07.12.2026");
    EXPECT_FALSE(runs[1].Shown());
    EXPECT_EQ(runs[2].Text, "07.12.2026");
    EXPECT_TRUE(runs[2].Shown());

    // A date text is taken as it is; the runs that are missing are added.
    EditFixture g(6);
    g.List() = {TextRun(1, "Дата")};
    EXPECT_EQ(ApplyDateEditorText(g.table, g.Cell(), "31.01.2027", EncodeDate(2026, 12, 7)), "31.01.2027");
    runs = Runs(g, g.Cell());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].Number, 2);
    EXPECT_EQ(runs[2].Number, 3);
    EXPECT_EQ(runs[2].Text, "31.01.2027");
}

TEST(ListEditorApply, OnlyTheChosenItemsRunIsShown)
{
    EditFixture f(8);
    f.List() = {TextRun(1, "Вид", 0, false), TextRun(2, "А"), TextRun(3, "Б", 0, false), TextRun(4, "Б", 0, false)};
    ASSERT_TRUE(ApplyListEditorChoice(f.table, f.Cell(), "Б"));
    TRunList runs = Runs(f, f.Cell());
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_FALSE(runs[0].Shown());
    EXPECT_FALSE(runs[1].Shown());
    EXPECT_TRUE(runs[2].Shown());  // the first with the text
    EXPECT_FALSE(runs[3].Shown());
    EXPECT_EQ(GetCurrentCellText(f.table, f.Cell()), "Б");
}

TEST(ListEditorApply, AChoiceThatIsNoItemChangesNothing)
{
    EditFixture f(8);
    f.List() = {TextRun(1, "Вид", 0, false), TextRun(2, "А"), TextRun(3, "Б", 0, false)};
    const TRunList before = Runs(f, f.Cell());
    // The heading is no item, even with the chosen text.
    EXPECT_FALSE(ApplyListEditorChoice(f.table, f.Cell(), "Вид"));
    EXPECT_FALSE(ApplyListEditorChoice(f.table, f.Cell(), ""));
    EXPECT_TRUE(SameCellTexts(before, Runs(f, f.Cell())));
    EXPECT_EQ(GetCurrentCellText(f.table, f.Cell()), "А");
}

// ---- number filters ----------------------------------------------------------------------------------

TEST_F(NumberFilters, TypedKeysGoThroughTheFilterOfTheKind)
{
    // Kind 1: digits and one decimal comma, "." typed as the comma, no sign.
    EXPECT_EQ(FilterNumberEditorKey(1, '7', "", 0), '7');
    EXPECT_EQ(FilterNumberEditorKey(1, '.', "1", 1), ',');
    EXPECT_EQ(FilterNumberEditorKey(1, ',', "1,5", 3), 0);
    EXPECT_EQ(FilterNumberEditorKey(1, '-', "", 0), 0);
    EXPECT_EQ(FilterNumberEditorKey(1, 'a', "", 0), 0);
    // Kind 2: a sign at the start as well.
    EXPECT_EQ(FilterNumberEditorKey(2, '-', "5", 0), '-');
    EXPECT_EQ(FilterNumberEditorKey(2, '-', "5", 1), 0);
    EXPECT_EQ(FilterNumberEditorKey(2, '.', "-5", 2), ',');
    // Kind 3: digits only.
    EXPECT_EQ(FilterNumberEditorKey(3, '4', "", 0), '4');
    EXPECT_EQ(FilterNumberEditorKey(3, ',', "", 0), 0);
    // Backspace always; copy and cut pass; select all, paste, Enter and Esc act on their keys instead.
    for (int kind : {1, 2, 3}) {
        EXPECT_EQ(FilterNumberEditorKey(kind, 8, "12", 2), 8);
        EXPECT_EQ(FilterNumberEditorKey(kind, 3, "12", 2), 3);
        EXPECT_EQ(FilterNumberEditorKey(kind, 24, "12", 2), 24);
        EXPECT_EQ(FilterNumberEditorKey(kind, 1, "12", 2), 0);
        EXPECT_EQ(FilterNumberEditorKey(kind, 22, "12", 2), 0);
        EXPECT_EQ(FilterNumberEditorKey(kind, '\r', "12", 2), 0);
        EXPECT_EQ(FilterNumberEditorKey(kind, 27, "12", 2), 0);
    }
    // No number editor: every key.
    EXPECT_EQ(FilterNumberEditorKey(4, 'z', "", 0), 'z');
}

TEST_F(NumberFilters, APasteIsFilteredWholeOrNotAtAll)
{
    EXPECT_EQ(FilterNumberText(1, "1.5", "", 0), "1,5");
    EXPECT_EQ(FilterNumberText(1, "2,3", "1,5", 3), "");
    EXPECT_EQ(FilterNumberText(1, "23", "1,5", 3), "23");
    EXPECT_EQ(FilterNumberText(1, " 1\r\n25\r\n ", "", 0), "125");
    EXPECT_EQ(FilterNumberText(1, "\r\n", "", 0), "");
    EXPECT_EQ(FilterNumberText(3, "1,5", "", 0), "");
    EXPECT_EQ(FilterNumberText(3, "0042", "1", 1), "0042");
    EXPECT_EQ(FilterNumberText(1, "12a", "", 0), "");
    // A control character inside is no number, though Backspace passes the key filter.
    EXPECT_EQ(FilterNumberText(1, "1\b2", "", 0), "");
    EXPECT_EQ(FilterNumberText(1, "1\t2", "", 0), "");
    // The sign only where it lands at the start; the caret moves on with each pasted character.
    EXPECT_EQ(FilterNumberText(2, "-5", "", 0), "-5");
    EXPECT_EQ(FilterNumberText(2, "-5", "3", 1), "");
    EXPECT_EQ(FilterNumberText(2, "-5", "3", 0), "-5");
    EXPECT_EQ(FilterNumberText(2, "5-", "", 0), "");
    // A caret outside the text is taken at its end.
    EXPECT_EQ(FilterNumberText(2, "-1", "7", 99), "");
    // Other kinds take the cleaned text.
    EXPECT_EQ(FilterNumberText(4, " a.b\r\nc ", "", 0), "a,bc");
}

// ---- editor menus ------------------------------------------------------------------------------------

namespace {
std::uint8_t messageLanguage = 1;
std::uint8_t ReadMessageLanguage() { return messageLanguage; }
}  // namespace

TEST(EditorMenus, CaptionsComeInTheMessageLanguage)
{
    ScopedCfgLanguageReaders readers(nullptr, ReadMessageLanguage);
    messageLanguage = 1;
    EXPECT_EQ(EditorMenuCaptionRow(), 0);
    messageLanguage = 2;
    EXPECT_EQ(EditorMenuCaptionRow(), 0);
    messageLanguage = 0;
    EXPECT_EQ(EditorMenuCaptionRow(), 1);
    messageLanguage = 1;

    const std::vector<AnsiString> russian = {"-",          "Применить", "Применить", "Отмена",      "Вырезать",
                                             "Копировать", "Вставить",  "Удалить",   "Выделить все"};
    const std::vector<AnsiString> ukrainian = {"-",         "Застосувати", "Застосувати", "Відмінити",   "Вирізати",
                                               "Копіювати", "Вставити",    "Видалити",    "Виділити все"};
    for (int tag = 0; tag < EditorMenuCommandCount; ++tag) {
        EXPECT_EQ(EditorMenuCaption(0, tag), russian[static_cast<size_t>(tag)]);
        EXPECT_EQ(EditorMenuCaption(1, tag), ukrainian[static_cast<size_t>(tag)]);
    }
    EXPECT_EQ(EditorMenuCaption(2, 1), "");
    EXPECT_EQ(EditorMenuCaption(0, 9), "");
    EXPECT_EQ(EditorMenuCaption(-1, 0), "");
}

TEST(EditorMenus, TheCaptionTableLivesFromStartUpToShutdown)
{
    ClearEditorMenuCaptions();
    EXPECT_EQ(EditorMenuCaption(0, 1), "");
    MakeEditorMenuCaptions();  // as the library's start-up made it
    EXPECT_EQ(EditorMenuCaption(0, 1), "Применить");
}

TEST(EditorMenus, ItemListsGiveTheirCommandsInOrder)
{
    EXPECT_EQ(EditorMenuItemTags("2|3|0|4|5|6|7|0|8"), (std::vector<int>{2, 3, 0, 4, 5, 6, 7, 0, 8}));
    EXPECT_EQ(EditorMenuItemTags("1|3|0|4|5|6|7|0|8"), (std::vector<int>{1, 3, 0, 4, 5, 6, 7, 0, 8}));
    EXPECT_EQ(EditorMenuItemTags(""), std::vector<int>{});
    // Pieces that are no command number make no item.
    EXPECT_EQ(EditorMenuItemTags("2||x|9|-1| 3 |"), (std::vector<int>{2, 3}));
}

TEST(EditorMenus, EachCommandShowsItsShortcut)
{
    const char *expected[] = {"", "Ctrl+Enter", "Enter", "Esc", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Del", "Ctrl+A"};
    for (int tag = 0; tag < EditorMenuCommandCount; ++tag)
        EXPECT_EQ(ShortCutToText(EditorMenuShortCut(tag)), expected[tag]) << tag;
    EXPECT_EQ(EditorMenuShortCut(9), 0);
}

// ---- helpers -----------------------------------------------------------------------------------------

TEST(GridTextHelpers, NumbersCompareOnceRounded)
{
    EXPECT_EQ(CompareRoundedNumbers(2, 1.004, 1.0), 0);
    EXPECT_EQ(CompareRoundedNumbers(2, 1.005, 1.0), 1);
    EXPECT_EQ(CompareRoundedNumbers(2, 1.0, 1.005), -1);
    EXPECT_EQ(CompareRoundedNumbers(0, -1.4, -1.6), 1);
    EXPECT_EQ(CompareRoundedNumbers(0, -0.4, 0.4), 0);
}

TEST(GridTextHelpers, SplittingReplacesTheListWithThePiecesInOrder)
{
    TStringList list;
    list.Add("old");
    SplitTextToList(list, "a|b||c", "|");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], "a");
    EXPECT_EQ(list[2], "");
    EXPECT_EQ(list[3], "c");
    SplitTextToList(list, "a, b, c", ", ");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "b");
    SplitTextToList(list, "x|", "|");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[1], "");
    SplitTextToList(list, "", "|");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "");
    SplitTextToList(list, "a|b", "");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "a|b");
}
