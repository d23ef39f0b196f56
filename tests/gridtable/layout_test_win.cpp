// Cell text layout on a real canvas under the window system: the pieces' widths are the canvas's own
// text widths in the run's font, and every line fits the cell.
#include <gtest/gtest.h>

#include <map>

#include "gridtable/model/CellLayout.h"
#include "tests/gridtable/StandInHost.h"

TEST(CellLayoutWindows, PieceWidthsAreTheCanvasTextWidths)
{
    TStandInHost host(1, 1);
    TXGridModel table(host);
    AddGridFont(table, CreateGridFont("Tahoma", 10, clBlack, false, false, false, false, 0));
    AddGridFont(table, CreateGridFont("Tahoma", 14, clBlack, false, false, false, true, 0));
    S_SGText plain, bold;
    plain.Number = 1;
    plain.Text = "Съешь же ещё этих мягких французских булок, ";
    bold.Font = 1;
    bold.Number = 2;
    bold.Text = "да выпей чаю - и снова за работу.";
    TRunList runs = {plain, bold};

    TMeasureCanvas canvas;
    const int width = 150;
    TCellLayoutContext context(table, canvas);
    const int height = LayoutCellText(context, runs, width);

    std::map<int, int> lineWidths;  // by top
    AnsiString joined;
    for (const S_SGText &piece : runs) {
        SelectGridFontInto(*canvas.Font(), *FindGridFontById(table, piece.Font));
        EXPECT_EQ(piece.Width, canvas.TextWidth(piece.Text)) << piece.Text;
        lineWidths[piece.Top] += piece.Width;
        joined += piece.Text;
    }
    EXPECT_EQ(joined, plain.Text + bold.Text);
    EXPECT_GE(lineWidths.size(), 3u);
    for (const auto &[top, total] : lineWidths)
        EXPECT_LT(total, width - TCellLayoutContext::RightMargin) << top;
    // Each line is as high as its tallest font.
    SelectGridFontInto(*canvas.Font(), *FindGridFontById(table, 0));
    const int small = canvas.TextHeight("Ж");
    SelectGridFontInto(*canvas.Font(), *FindGridFontById(table, 1));
    const int large = canvas.TextHeight("Ж");
    EXPECT_GE(height, static_cast<int>(lineWidths.size()) * small);
    EXPECT_LE(height, static_cast<int>(lineWidths.size()) * large);
}
