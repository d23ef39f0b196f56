// Text runs of the cells: compaction, numbers, marked runs, fraction cells, run fonts, the
// after-change step and change detection.
#include <gtest/gtest.h>

#include "tests/gridtable/StandInHost.h"

namespace {

std::unique_ptr<S_SGFont> Font(const char *name, int size)
{
    return CreateGridFont(name, size, clBlack, false, false, false, false, -size);
}

}  // namespace

TEST(GridRuns, CompactionMergesRunsOfOneFormatOnly)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    TRunList &runs = CurrentCellTextList(f.table, cell);
    runs = {Piece(0, 1, "a"),
            Piece(0, 1, "b"),                                // merged
            Piece(1, 1, "c"),                                // another font
            Piece(1, 1, "d", RunShown | RunKindOne | 0x10),  // another alignment
            Piece(1, 1, "e", RunShown | RunKindOne | 0x10),  // merged into d
            Piece(1, 2, "f", RunShown | RunKindOne | 0x10),  // another number
            Piece(3, 7, "", RunImage | RunShown),
            Piece(3, 7, "", RunImage | RunShown),  // an image absorbs nothing
            Piece(3, 7, "g", RunShown),
            Piece(3, 7, "h", RunShown)};
    S_SGText spare = Piece(3, 7, "i", RunShown);
    spare.Spare[2] = 1;  // the spare bytes count too
    runs.push_back(spare);

    EXPECT_EQ(GetRunCount(f.table, cell), 8);
    EXPECT_TRUE(cell.Flags & CellCompact);
    EXPECT_EQ(runs[0].Text, "ab");
    EXPECT_EQ(runs[2].Text, "de");
    EXPECT_EQ(runs[3].Text, "f");
    EXPECT_TRUE(runs[4].IsImage());
    EXPECT_TRUE(runs[5].IsImage());
    EXPECT_EQ(runs[6].Text, "gh");
    EXPECT_EQ(runs[7].Text, "i");

    // With the compact bit set, lookups leave the list as it is; once a layout clears it, they compact.
    runs.push_back(Piece(3, 7, "j", RunShown));
    runs.push_back(Piece(3, 7, "k", RunShown));
    runs[7].Spare[2] = 0;
    EXPECT_EQ(GetRunCount(f.table, cell), 10);
    cell.Flags &= static_cast<std::uint8_t>(~CellCompact);
    EXPECT_EQ(FindRunIndex(f.table, cell, 7), 4);
    EXPECT_EQ(GetRunCount(f.table, cell), 7);
    EXPECT_EQ(runs[6].Text, "ghijk");
    // The other language's list is compacted as well.
    cell.Runs0 = {Piece(0, 1, "x"), Piece(0, 1, "y")};
    cell.Flags &= static_cast<std::uint8_t>(~CellCompact);
    GetRunAt(f.table, cell, 0);
    EXPECT_EQ(cell.Runs0.size(), 1u);
}

TEST(GridRuns, LookupsAndChangesByNumberAndIndex)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    CurrentCellTextList(f.table, cell) = {Piece(0, 1, "one"), Piece(0, 2, "two"), Piece(0, 3, "three")};
    EXPECT_EQ(GetRunTextByNumber(f.table, cell, 2), "two");
    EXPECT_EQ(GetRunTextByNumber(f.table, cell, 9), "");
    EXPECT_EQ(GetRunTextAt(f.table, cell, 2), "three");
    EXPECT_EQ(GetRunTextAt(f.table, cell, 3), "");
    EXPECT_EQ(GetRunAt(f.table, cell, -1), nullptr);
    EXPECT_EQ(GetCellRun(f.table, cell, 4), nullptr);
    EXPECT_EQ(FindRunIndex(f.table, cell, 4), -1);

    EXPECT_EQ(SetRunTextByNumber(f.table, cell, 2, "TWO")->Text, "TWO");
    EXPECT_EQ(SetRunTextByNumber(f.table, cell, 5, "x"), nullptr);
    EXPECT_EQ(ReplaceRunByNumber(f.table, cell, 3, Piece(4, 30, "thirty"))->Number, 30);
    EXPECT_EQ(ReplaceRunByNumber(f.table, cell, 3, Piece(4, 30, "again")), nullptr);
    const S_SGText *inserted = InsertRunAfter(f.table, cell, 1, "after one");
    EXPECT_EQ(inserted->Flags, RunShown | RunKindOne);
    EXPECT_EQ(GetRunTextAt(f.table, cell, 1), "after one");
    InsertRunAfter(f.table, cell, 77, "at the end");
    EXPECT_EQ(GetRunTextAt(f.table, cell, 4), "at the end");
    EXPECT_TRUE(DeleteRunByNumber(f.table, cell, 30));
    EXPECT_FALSE(DeleteRunByNumber(f.table, cell, 30));
    EXPECT_TRUE(DeleteRunAt(f.table, cell, 0));
    EXPECT_FALSE(DeleteRunAt(f.table, cell, 3));
    EXPECT_EQ(GetCurrentCellText(f.table, cell), "after oneTWOat the end");

    // The other language's list is untouched by all of this.
    EXPECT_TRUE(IsCellTextListEmpty(cell, 1 - f.table.Language));
    EXPECT_FALSE(IsCellTextListEmpty(cell, f.table.Language));
    EXPECT_EQ(FindRunByText(cell, f.table.Language, "TWO")->Number, 2);
    EXPECT_EQ(FindRunByText(cell, 1 - f.table.Language, "TWO"), nullptr);
}

TEST(GridRuns, RunNumbers)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    EXPECT_EQ(AddCellRun(f.table, cell, "a", 2)->Number, 2);
    EXPECT_EQ(AddCellRun(f.table, cell, "b", 2)->Number, 1);  // taken: the first free one
    EXPECT_EQ(AddCellRun(f.table, cell, "c", 0)->Number, 3);
    EXPECT_EQ(AddCellRun(f.table, cell, "d", 70000)->Number, 4);  // does not fit the number field
    EXPECT_FALSE(IsRunNumberFree(f.table, cell, 0));
    EXPECT_FALSE(IsRunNumberFree(f.table, cell, 3));
    EXPECT_TRUE(IsRunNumberFree(f.table, cell, 5));

    TRunList &runs = CurrentCellTextList(f.table, cell);
    runs.clear();
    for (int n = 1; n <= MaxRunNumber; ++n)
        runs.push_back(Piece(0, static_cast<std::uint16_t>(n), ""));
    EXPECT_EQ(FindFreeRunNumber(f.table, cell), -1);
    EXPECT_EQ(AddCellRun(f.table, cell, "last", 10)->Number, 0xFFFF);
    EXPECT_EQ(AddCellRun(f.table, cell, "wished", 65001)->Number, 65001);
    runs.erase(runs.begin() + 99);
    EXPECT_EQ(FindFreeRunNumber(f.table, cell), 100);
}

TEST(GridRuns, ShownBitsEmptinessAndMarkedRuns)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    TRunList &runs = CurrentCellTextList(f.table, cell);
    runs = {Piece(0, 1, ""), Piece(0, 2, "")};
    EXPECT_TRUE(IsCellTextEmpty(f.table, cell));
    runs[1].Text = "x";
    EXPECT_FALSE(IsCellTextEmpty(f.table, cell));

    f.host.ClearRecords();
    SetRunShown(f.table, cell, 2, true);  // already shown: nothing repainted
    EXPECT_TRUE(f.host.invalidated.empty());
    SetRunShown(f.table, cell, 2, false);
    EXPECT_FALSE(IsRunShown(f.table, cell, 2));
    EXPECT_EQ(f.host.invalidated.size(), 1u);
    EXPECT_EQ(GetCurrentCellText(f.table, cell), "");

    runs = {Piece(0, 1, "a"), Piece(0, 2, "b"), Piece(0, 3, "c"), Piece(0, 4, "d")};
    runs[1].Mark = 1;
    runs[1].Flags &= static_cast<std::uint8_t>(~RunShown);  // marked but hidden
    runs[2].Mark = 0xFC;                                    // only bits 0-1 mark
    runs[3].Mark = 2;
    S_SGText *found = nullptr;
    EXPECT_EQ(FindNextMarkedRun(f.table, cell, 0, &found), 3);
    EXPECT_EQ(found->Text, "d");
    EXPECT_EQ(FindNextMarkedRun(f.table, cell, 4, &found), -1);
    EXPECT_EQ(found, nullptr);
}

TEST(GridRuns, AfterChangeStepMeasuresOnlyRichAndFractionCells)
{
    for (int kind = 0; kind <= 9; ++kind) {
        for (bool autoCorrect : {false, true}) {
            TGridFixture f(3, 3);
            f.table.AutoCorRowH = autoCorrect;
            S_XSGCell &cell = *GetGridCell(f.table, 1, 2);
            cell.EditKind = static_cast<std::uint8_t>(kind);
            f.host.measuredHeight = 31;
            AddCellRun(f.table, cell, "text", 1);
            const bool measured = autoCorrect && (kind == 4 || kind == 5);
            EXPECT_EQ(f.host.measured.size(), measured ? 1u : 0u) << kind;
            EXPECT_EQ(f.host.corrected, measured ? std::vector<int>{1} : std::vector<int>{}) << kind;
            EXPECT_EQ(cell.TextHeight, measured ? 31 : 0) << kind;
            EXPECT_FALSE(f.host.invalidated.empty()) << kind;
        }
    }
    // A hidden run changes nothing that shows.
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    S_SGText hidden = Piece(0, 1, "x", RunKindOne);
    CellRunChanged(f.table, cell, hidden);
    EXPECT_TRUE(f.host.measured.empty());
}

TEST(GridRuns, FractionCells)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    AddGridFont(f.table, Font("Zero", 8));
    AddGridFont(f.table, Font("One", 10));
    AddCellRun(f.table, cell, "old", 1);

    // An id the table does not have: font 0, the numerator underlined.
    RebuildFractionCell(f.table, cell, 7);
    EXPECT_EQ(cell.EditKind, 5);
    TRunList &runs = CurrentCellTextList(f.table, cell);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Number, 1);
    EXPECT_EQ(runs[1].Number, 2);
    EXPECT_EQ(runs[0].Text, "");
    EXPECT_EQ(runs[1].Font, 0);
    const S_SGFont *numerator = FindGridFontById(f.table, runs[0].Font);
    ASSERT_NE(numerator, nullptr);
    EXPECT_EQ(numerator->Name, "Zero");
    EXPECT_EQ(numerator->Style, GridFontUnderline);
    RebuildFractionCell(f.table, cell, 1);
    EXPECT_EQ(runs[1].Font, 1);
    EXPECT_EQ(FindGridFontById(f.table, runs[0].Font)->Name, "One");

    // Trimmed, the narrower padded with the odd blank on the left, the numerator ending the line.
    runs[0].Text = "  12,5 \n";
    runs[1].Text = "3";
    PrepareFractionTexts(f.table, cell);
    EXPECT_EQ(runs[0].Text, "12,5\n");
    EXPECT_EQ(runs[1].Text, "  3 ");
    PrepareFractionTexts(f.table, cell);  // once more changes nothing
    EXPECT_EQ(runs[0].Text, "12,5\n");
    EXPECT_EQ(runs[1].Text, "  3 ");
    runs[0].Text = "7";
    runs[1].Text = "100";
    PrepareFractionTexts(f.table, cell);
    EXPECT_EQ(runs[0].Text, " 7 \n");

    // A fraction cell whose denominator changes before it was ever measured gets its texts prepared.
    runs[0].Text = "1";
    runs[1].Text = "";
    cell.TextHeight = 0;
    f.host.measuredHeight = 20;
    f.host.ClearRecords();
    SetRunTextByNumber(f.table, cell, 2, "16");
    EXPECT_EQ(runs[0].Text, " 1\n");
    EXPECT_EQ(f.host.measured.size(), 1u);
}

TEST(GridRuns, RunFonts)
{
    TGridFixture f(2, 2);
    AddGridFont(f.table, Font("Zero", 8));
    S_XSGCell *master = MergeGridCells(f.table, 0, 1, 1, 0);
    AddCellRun(f.table, *master, "x", 3);
    EXPECT_EQ(GetRunFont(f.table, 1, 1, 3)->Name, "Zero");  // through the span's master
    EXPECT_EQ(GetRunFont(f.table, 1, 1, 4), nullptr);
    EXPECT_EQ(GetRunFontColour(f.table, 0, 0, 4), clNone);

    f.host.ClearRecords();
    const int red = SetRunFontColour(f.table, 0, 0, 3, clRed);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(GetRunFontColour(f.table, 0, 0, 3), clRed);
    EXPECT_FALSE(f.host.invalidated.empty());
    f.host.ClearRecords();
    EXPECT_EQ(SetRunFontColour(f.table, 0, 0, 3, clRed), red);  // the same font again: no repaint
    EXPECT_TRUE(f.host.invalidated.empty());
    EXPECT_EQ(GetGridFontCount(f.table), 2);

    EXPECT_EQ(SetRunFont(f.table, 0, 0, 3, Font("Big", 20)), 2);
    EXPECT_EQ(GetRunFont(f.table, 0, 0, 3)->Name, "Big");
    EXPECT_EQ(SetRunFont(f.table, 0, 0, 9, Font("Lost", 20)), -1);
    EXPECT_EQ(GetGridFontCount(f.table), 3);
}

TEST(GridRuns, SnapshotsSeeTextAndShownChanges)
{
    TGridFixture f(1, 1);
    S_XSGCell &cell = f.At(0, 0);
    TRunList &runs = CurrentCellTextList(f.table, cell);
    runs = {Piece(0, 1, "ab"), Piece(0, 2, "cd")};
    const TRunList snapshot = SnapshotCellTexts(f.table, cell);
    EXPECT_TRUE(SameCellTexts(snapshot, runs));

    // Laid out into pieces, the same texts are no change.
    TRunList pieces = {Piece(0, 1, "a"), Piece(0, 1, "b"), Piece(0, 2, "cd")};
    pieces[1].Top = 14;
    EXPECT_TRUE(SameCellTexts(snapshot, pieces));

    runs[1].Text = "cD";
    EXPECT_FALSE(SameCellTexts(snapshot, runs));
    runs[1].Text = "cd";
    runs[0].Flags &= static_cast<std::uint8_t>(~RunShown);
    EXPECT_FALSE(SameCellTexts(snapshot, runs));
    runs[0].Flags |= RunShown;
    runs.push_back(Piece(0, 3, ""));
    EXPECT_FALSE(SameCellTexts(snapshot, runs));
}
