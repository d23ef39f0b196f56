// Text forms of cells, runs, fonts and colour tables, and reading damaged forms.
#include <gtest/gtest.h>

#include "tests/gridtable/StandInHost.h"

namespace {

S_XSGCell FullCell()
{
    S_XSGCell cell;
    cell.MergeState = CellMaster;
    cell.Row = 3;
    cell.EndRow = 5;
    cell.Col = -2;  // carried as a signed field
    cell.EndCol = 300;
    cell.TextHeight = 65535;
    cell.BottomLineColour = 0x11;
    cell.RightLineColour = 0x22;
    cell.Colour = 0x33;
    cell.EditKind = 0x89;
    cell.Flags = 0xFF;
    S_SGText run;
    run.Font = 7;
    run.Left = 1;
    run.Top = 2;
    run.Width = 3;
    run.Height = 65535;
    run.Flags = 0xB7;
    run.Mark = 0x01;
    run.Spare[0] = 0x02;
    run.Spare[1] = 0x03;
    run.Spare[2] = 0x04;
    run.Number = 9;
    run.Text = "дробь|с чертой";
    cell.Runs1.push_back(run);
    run.Number = 10;
    run.Text = "";
    cell.Runs1.push_back(run);
    run.Text = "второй язык";
    cell.Runs0.push_back(run);
    return cell;
}

void ExpectSameRuns(const TRunList &a, const TRunList &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(RunToText(a[i]), RunToText(b[i]));
        EXPECT_EQ(a[i].Text, b[i].Text);
    }
}

}  // namespace

TEST(GridTextForms, CellRoundTripWithEveryField)
{
    const S_XSGCell cell = FullCell();
    EXPECT_EQ(CellToText(cell), "1|3|5|-2|300|65535|" + std::to_string(0x89332211u) + "|1|3|3|1|1|1");
    EXPECT_EQ(RunToText(cell.Runs1[0]), "7|1|2|3|65535|183|513|1027|9|дробь|с чертой");
    const AnsiString form = CellTextForm(cell);
    EXPECT_EQ(form, CellToText(cell) + "$2$" + RunToText(cell.Runs1[0]) + "$" + RunToText(cell.Runs1[1]) + "$1$" +
                        RunToText(cell.Runs0[0]) + "$");

    S_XSGCell back;
    back.Runs0.push_back(S_SGText{});  // whatever the cell held is replaced
    CellFromTextForm(form, back);
    EXPECT_EQ(CellToText(back), CellToText(cell));
    EXPECT_EQ(back.Spare, 0);
    ExpectSameRuns(back.Runs1, cell.Runs1);
    ExpectSameRuns(back.Runs0, cell.Runs0);

    // Each flag field is one field; the bits come back one by one.
    S_XSGCell flags;
    flags.Flags = CellFlags12Mask & 0x04;  // bits 1-2 = 2
    flags.Flags |= 2 << CellVAlignShift;
    EXPECT_EQ(CellToText(flags).substr(CellToText(flags).size() - 12), "|0|2|2|0|0|0");
}

TEST(GridTextForms, DamagedCellFormsReadSafely)
{
    S_XSGCell cell;
    // Wide flag fields are masked to their bits; other words too wide keep their low bits, but a span's
    // row or column beyond 16 bits names no cell and reads as 0 (its low bits would name another); a
    // field that is not a number reads as 0.
    CellFromTextForm("2|x|70000|-1|4|70003|258|3|7|7|3|2|9", cell);
    EXPECT_EQ(cell.MergeState, 2);
    EXPECT_EQ(cell.Row, 0);
    EXPECT_EQ(cell.EndRow, 0);
    EXPECT_EQ(cell.Col, -1);
    EXPECT_EQ(cell.TextHeight, static_cast<std::uint16_t>(70003));
    EXPECT_EQ(cell.BottomLineColour, 2);
    EXPECT_EQ(cell.RightLineColour, 1);
    EXPECT_EQ(cell.Flags, 0x01 | 0x06 | 0x18 | 0x20 | 0x00 | 0x80);
    EXPECT_TRUE(cell.Runs1.empty());
    // The ends of the coordinate field are coordinates; one past either end is none.
    CellFromTextForm("1|32767|-32768|32768|-32769", cell);
    EXPECT_EQ(cell.Row, 32767);
    EXPECT_EQ(cell.EndRow, -32768);
    EXPECT_EQ(cell.Col, 0);
    EXPECT_EQ(cell.EndCol, 0);

    // A form cut short, a count larger than the runs present, a count that is not a number.
    // Numbers at and past the ends of 64 bits.
    CellFromTextForm("-9223372036854775808|18446744073709551615|99999999999999999999|-1", cell);
    EXPECT_EQ(cell.MergeState, 0);
    EXPECT_EQ(cell.Row, -1);
    EXPECT_EQ(cell.EndRow, 0);
    EXPECT_EQ(cell.Col, -1);
    CellFromTextForm("1|2$", cell);
    EXPECT_EQ(cell.MergeState, 1);
    EXPECT_EQ(cell.Row, 2);
    EXPECT_EQ(cell.EndRow, 0);
    CellFromTextForm("0$99$1|2|3|4|5|6|7|8|9|text$", cell);
    ASSERT_EQ(cell.Runs1.size(), 1u);
    EXPECT_EQ(cell.Runs1[0].Text, "text");
    EXPECT_TRUE(cell.Runs0.empty());
    CellFromTextForm("0$-5$1$1|2|3|4|5|6|7|8|9|t$", cell);
    EXPECT_TRUE(cell.Runs1.empty());
    ASSERT_EQ(cell.Runs0.size(), 1u);
    EXPECT_EQ(cell.Runs0[0].Text, "t");
    CellFromTextForm("", cell);
    EXPECT_EQ(cell.MergeState, 0);
    EXPECT_EQ(cell.Flags, 0);
    CellFromTextForm("0$1$12|3", cell);
    ASSERT_EQ(cell.Runs1.size(), 1u);
    EXPECT_EQ(cell.Runs1[0].Font, 12);
    EXPECT_EQ(cell.Runs1[0].Left, 3);
    EXPECT_EQ(cell.Runs1[0].Text, "");
    // A "$" inside a run text does not come back: the form has no escaping.
    S_XSGCell dollar;
    dollar.Runs1.push_back(S_SGText{});
    dollar.Runs1[0].Text = "10 $";
    CellFromTextForm(CellTextForm(dollar), cell);
    EXPECT_EQ(cell.Runs1.at(0).Text, "10 ");
}

TEST(GridTextForms, Fonts)
{
    auto font = CreateGridFont("Times New Roman", 12, 0x80000008, false, true, false, true, -16);
    font->Id = 3;
    const AnsiString text = FontToText(*font, ';');
    EXPECT_EQ(text, "3;2147483656;-16;12;6;Times New Roman");
    S_SGFont back;
    FontFromText(text, ';', back);
    EXPECT_TRUE(GridFontsEqual(&back, font.get()));
    EXPECT_EQ(back.Id, 3);
    EXPECT_EQ(back.FirstSize, 12);

    // Reading stops after six fields, or at the end; fields not given stay; a bad number reads as 0.
    S_SGFont partial;
    partial.Name = "Kept";
    FontFromText("5|x|-9", '|', partial);
    EXPECT_EQ(partial.Id, 5);
    EXPECT_EQ(partial.Colour, 0u);
    EXPECT_EQ(partial.Height, -9);
    EXPECT_EQ(partial.Name, "Kept");
    FontFromText("1|2|3|4|5|Name|more|fields", '|', partial);
    EXPECT_EQ(partial.Name, "Name");
    EXPECT_EQ(partial.Style, 5);
    EXPECT_EQ(partial.FirstSize, 4);
}

TEST(GridTextForms, ColourTables)
{
    S_SGColorTable table;
    EXPECT_EQ(ColourTableToText(table, ','), "4,536870911,2147483663,0,2147483653");
    S_SGColorTable back;
    back.Clear();
    ColourTableFromText(ColourTableToText(table, ','), ',', back);
    EXPECT_EQ(back.Count, 4);
    EXPECT_EQ(back.Colours[1], clBtnFace);

    // Never more than 256 colours, and never more than the text holds.
    AnsiString many = "300";
    for (int i = 0; i < 300; ++i)
        many += "," + std::to_string(i + 1);
    ColourTableFromText(many, ',', back);
    EXPECT_EQ(back.Count, 256);
    EXPECT_EQ(back.Colours[255], 256u);
    ColourTableFromText("9,1,2", ',', back);
    EXPECT_EQ(back.Count, 2);
    EXPECT_EQ(back.Colours[2], 0u);
    ColourTableFromText("-3,1", ',', back);
    EXPECT_EQ(back.Count, 0);
    ColourTableFromText("", ',', back);
    EXPECT_EQ(back.Count, 0);
}
