// The grid model's font table and colour table.
#include <gtest/gtest.h>

#include <vector>

#include "tests/gridtable/StandInHost.h"

namespace {

std::unique_ptr<S_SGFont> Font(const char *name, int size, int id = -1)
{
    auto font = CreateGridFont(name, size, clBlack, false, false, false, false, -size * 4 / 3);
    font->Id = id;
    return font;
}

std::vector<int> Ids(const TXGridModel &table)
{
    std::vector<int> ids;
    for (const auto &f : table.Fonts)
        ids.push_back(f->Id);
    return ids;
}

}  // namespace

TEST(GridFonts, AddGridFontTakesFirstFreeIdOrItsOwn)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);
    EXPECT_EQ(AddGridFont(table, nullptr), -1);
    EXPECT_EQ(AddGridFont(table, Font("A", 8)), 0);
    EXPECT_EQ(AddGridFont(table, Font("B", 8)), 1);
    EXPECT_EQ(AddGridFont(table, Font("D", 8, 3), true), 3);
    EXPECT_EQ(Ids(table), (std::vector<int>{0, 1, 3}));
    // {0, 1, 3} gives 2, then {0, 1, 2, 3} gives 4.
    EXPECT_EQ(AddGridFont(table, Font("C", 8)), 2);
    EXPECT_EQ(AddGridFont(table, Font("E", 8)), 4);
    EXPECT_EQ(Ids(table), (std::vector<int>{0, 1, 2, 3, 4}));

    // An equal font (only its id differs) gives the existing id; the new one is not entered.
    EXPECT_EQ(AddGridFont(table, Font("C", 8, 9), true), 2);
    EXPECT_EQ(GetGridFontCount(table), 5);
    // A font with another style, colour or size is not equal.
    auto bold = Font("C", 8);
    bold->Style = GridFontBold;
    EXPECT_EQ(AddGridFont(table, std::move(bold)), 5);
}

TEST(GridFonts, OwnIdGoesInOrderAndTakenIdFallsBack)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);
    AddGridFont(table, Font("A", 8));
    AddGridFont(table, Font("B", 8));
    EXPECT_EQ(AddGridFont(table, Font("F", 8, 5), true), 5);
    EXPECT_EQ(Ids(table), (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(GridFontAt(table, 2)->Name, "F");
    // A taken or negative own id is not kept.
    EXPECT_EQ(AddGridFont(table, Font("G", 8, 1), true), 2);
    EXPECT_EQ(AddGridFont(table, Font("H", 8, -4), true), 3);
    // Without asking, a font's own id is ignored.
    EXPECT_EQ(AddGridFont(table, Font("I", 8, 7)), 4);
    EXPECT_EQ(Ids(table), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(FindGridFontById(table, 5)->Name, "F");
    EXPECT_EQ(FindGridFontById(table, 6), nullptr);
    EXPECT_EQ(FindGridFontById(table, -1), nullptr);
    EXPECT_EQ(GridFontAt(table, 6), nullptr);
}

TEST(GridFonts, CurrentFontIsHeldById)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);
    AddGridFont(table, Font("A", 8));
    table.CurrentFontId = 0;
    EXPECT_EQ(CurrentGridFont(table)->Name, "A");
    ClearGridFonts(table);
    EXPECT_EQ(CurrentGridFont(table), nullptr);
    EXPECT_EQ(GetGridFontCount(table), 0);
}

TEST(GridFonts, EqualityCloneAndFrameworkFonts)
{
    auto a = CreateGridFont("Arial", 10, clRed, true, false, true, true, -13);
    EXPECT_EQ(a->Style, GridFontStrikeOut | GridFontItalic | GridFontBold);
    EXPECT_EQ(a->FirstSize, 10);
    a->SetSize(12);
    EXPECT_EQ(a->FirstSize, 10);
    a->Id = 4;
    auto b = CloneGridFont(*a);
    EXPECT_EQ(b->Id, -1);
    EXPECT_TRUE(GridFontsEqual(a.get(), b.get()));
    b->FirstSize = 1;
    EXPECT_TRUE(GridFontsEqual(a.get(), b.get()));
    EXPECT_FALSE(GridFontsEqual(a.get(), nullptr));
    EXPECT_FALSE(GridFontsEqual(nullptr, nullptr));
    b->Name = "Tahoma";
    EXPECT_FALSE(GridFontsEqual(a.get(), b.get()));

    // The framework's style bits are in another order than the table's.
    TFont framework;
    framework.SetName("Courier");
    framework.SetSize(9);
    framework.SetColor(clBlue);
    framework.SetStyle(fsBold | fsUnderline);
    auto entry = GridFontFromTFont(framework);
    EXPECT_EQ(entry->Name, "Courier");
    EXPECT_EQ(entry->Size, 9);
    EXPECT_EQ(entry->Height, framework.Height());
    EXPECT_EQ(entry->Colour, clBlue);
    EXPECT_EQ(entry->Style, GridFontBold | GridFontUnderline);
    TFont back;
    SelectGridFontInto(back, *entry);
    EXPECT_TRUE(back.SameAs(framework));
}

TEST(GridFonts, RescaledForTheScreensDensityAndPixelsPerInch)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);
    for (int size : {10, 9, 8})
        AddGridFont(table, Font("Arial", size));
    auto sizes = [&] {
        std::vector<std::pair<int, int>> out;
        for (const auto &f : table.Fonts)
            out.emplace_back(f->Size, f->Height);
        return out;
    };
    // 1000 / 800 at 120 pixels per inch: 10 -> 12 -> 12 x 12 / 15 = 9.6 -> 10; 9 -> 11 (the division
    // cuts) -> 8.8 -> 9; 8 -> 10 -> 8. Heights at 120 pixels per inch, positive.
    RescaleGridFontsForDpi(table, 1000, 800, 120);
    EXPECT_EQ(sizes(), (std::vector<std::pair<int, int>>{{10, 17}, {9, 15}, {8, 13}}));
    // The size it was made with stays.
    EXPECT_EQ(table.Fonts[0]->FirstSize, 10);
    // At 96 pixels per inch only the density counts: 10 -> 12.
    RescaleGridFontsForDpi(table, 1000, 800, 96);
    EXPECT_EQ(table.Fonts[0]->Size, 12);
    EXPECT_EQ(table.Fonts[0]->Height, 16);
    // Values that cannot be divided by change nothing.
    const auto before = sizes();
    RescaleGridFontsForDpi(table, 1000, 0, 96);
    RescaleGridFontsForDpi(table, 0, 800, 96);
    RescaleGridFontsForDpi(table, 1000, 800, 0);
    EXPECT_EQ(sizes(), before);
}

TEST(GridColours, AddFindAndTheFullTable)
{
    TGridFixture f(2, 2);
    EXPECT_EQ(f.table.Colours.Count, 4);
    EXPECT_EQ(GridColourAt(f.table, 1), clBtnFace);
    EXPECT_EQ(AddGridColour(f.table, clBlack), 2);
    EXPECT_EQ(FindGridColour(f.table, clRed, false), -1);
    EXPECT_EQ(f.table.Colours.Count, 4);
    EXPECT_EQ(FindGridColour(f.table, clRed, true), 4);
    EXPECT_EQ(AddGridColour(f.table, clRed), 4);
    EXPECT_EQ(f.table.Colours.Count, 5);
    for (TColor c = 0x100; f.table.Colours.Count < 256; ++c)
        ASSERT_GE(AddGridColour(f.table, c), 0);
    EXPECT_TRUE(f.host.messages.empty());

    // The 257th colour: refused with the message once, and the cell keeps its colour.
    f.At(1, 1).Flags |= CellMarked;
    EXPECT_EQ(SetCellColour(f.table, 1, 1, 0xABCDEF, true), 3);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0], "В таблице не может быть более 256 разных цветов!");
    EXPECT_EQ(f.At(1, 1).Colour, 3);
    EXPECT_TRUE(f.At(1, 1).Flags & CellMarked);
    EXPECT_EQ(f.table.Colours.Count, 256);
    // A colour already there is still found.
    EXPECT_EQ(AddGridColour(f.table, clRed), 4);
    EXPECT_EQ(GridColourAt(f.table, 256), clNone);
    EXPECT_EQ(GridColourAt(f.table, -1), clNone);

    f.table.Colours.Clear();
    EXPECT_EQ(f.table.Colours.Count, 0);
    EXPECT_EQ(f.table.Colours.Colours[3], 0u);
    InitGridColours(f.table.Colours);
    EXPECT_EQ(f.table.Colours.Count, 4);
    EXPECT_EQ(f.table.Colours.Colours[0], clNone);
    EXPECT_EQ(f.table.Colours.Colours[3], clWindow);
}

TEST(GridColours, CellColourByIndexOrColour)
{
    TGridFixture f(2, 2);
    f.host.ClearRecords();
    // By colour: entered into the table; the mark bit is cleared and the cell repainted.
    EXPECT_EQ(SetCellColour(f.table, 0, 1, clYellow, true), 3);
    EXPECT_EQ(f.At(0, 1).Colour, 4);
    EXPECT_FALSE(f.At(0, 1).Flags & CellMarked);
    EXPECT_EQ(f.host.invalidated.size(), 1u);
    EXPECT_EQ(GetCellColour(f.table, 0, 1, false), 4u);
    EXPECT_EQ(GetCellColour(f.table, 0, 1, true), clYellow);
    // By index: taken only below the count.
    EXPECT_EQ(SetCellColour(f.table, 0, 1, 2, false), 4);
    EXPECT_EQ(f.At(0, 1).Colour, 2);
    EXPECT_EQ(SetCellColour(f.table, 0, 1, 5, false), 2);
    EXPECT_EQ(f.At(0, 1).Colour, 2);
    // The same index again on an unmarked cell changes nothing and repaints nothing.
    f.host.ClearRecords();
    SetCellColour(f.table, 0, 1, 2, false);
    EXPECT_TRUE(f.host.invalidated.empty());
    MarkCellColourChanged(f.table, 0, 1);
    EXPECT_TRUE(f.At(0, 1).Flags & CellMarked);
    EXPECT_EQ(f.host.invalidated.size(), 1u);
    // A span member's colour is its master's.
    MergeGridCells(f.table, 0, 1, 0, 0);
    SetCellColour(f.table, 1, 0, clYellow, true);
    EXPECT_EQ(f.At(0, 0).Colour, 4);
    EXPECT_EQ(f.At(1, 0).Colour, 0);
}
