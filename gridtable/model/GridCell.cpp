#include "gridtable/model/GridCell.h"

#include <algorithm>
#include <cstring>

bool SameRunFormat(const S_SGText &a, const S_SGText &b)
{
    return a.Font == b.Font && a.Flags == b.Flags && a.Mark == b.Mark &&
           std::memcmp(a.Spare, b.Spare, sizeof a.Spare) == 0 && a.Number == b.Number;
}

void FreeCellTexts(S_XSGCell &cell)
{
    TRunList().swap(cell.Runs1);
    TRunList().swap(cell.Runs0);
}

void ClearCell(S_XSGCell &cell)
{
    FreeCellTexts(cell);
    cell.ClearSpanFields();
    cell.TextHeight = 0;
    cell.BottomLineColour = cell.RightLineColour = cell.Colour = cell.EditKind = 0;
    cell.Flags = 0;
    cell.Spare = 0;
}

void S_SGFont::SetSize(int size)
{
    Size = size;
    if (FirstSize == 0)
        FirstSize = size;
}

void S_SGFont::InitFromTFont(const TFont &font)
{
    Name = font.Name();
    SetSize(font.Size());
    Colour = font.Color();
    Height = font.Height();
    const TFontStyles s = font.Style();
    Style = static_cast<std::uint8_t>(((s & fsItalic) ? GridFontItalic : 0) | ((s & fsBold) ? GridFontBold : 0) |
                                      ((s & fsUnderline) ? GridFontUnderline : 0) |
                                      ((s & fsStrikeOut) ? GridFontStrikeOut : 0));
}

bool GridFontsEqual(const S_SGFont *a, const S_SGFont *b)
{
    if (a == nullptr || b == nullptr)
        return false;
    return a->Colour == b->Colour && a->Height == b->Height && a->Size == b->Size && a->Style == b->Style &&
           a->Name == b->Name;
}

void SelectGridFontInto(TFont &target, const S_SGFont &font)
{
    target.SetColor(font.Colour);
    target.SetHeight(font.Height);
    // A size of 0 says nothing; the height stands then.
    if (font.Size != 0)
        target.SetSize(font.Size);
    target.SetStyle(((font.Style & GridFontItalic) ? fsItalic : 0) | ((font.Style & GridFontBold) ? fsBold : 0) |
                    ((font.Style & GridFontUnderline) ? fsUnderline : 0) |
                    ((font.Style & GridFontStrikeOut) ? fsStrikeOut : 0));
    target.SetName(font.Name);
}

S_SGColorTable::S_SGColorTable() { InitGridColours(*this); }

void S_SGColorTable::Clear()
{
    Count = 0;
    std::fill(std::begin(Colours), std::end(Colours), TColor{0});
}

void InitGridColours(S_SGColorTable &table)
{
    table.Clear();
    table.Colours[0] = clNone;
    table.Colours[1] = clBtnFace;
    table.Colours[2] = clBlack;
    table.Colours[3] = clWindow;
    table.Count = 4;
}
