#include <windows.h>

#include "framework/runtime/Cp1251.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/Graphics.h"

uint32_t ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

HFONT CreateFontHandle(const TFont &font)
{
    TFontRecord record;
    record.Height = font.Height();
    record.Weight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    record.Italic = (font.Style() & fsItalic) ? 1 : 0;
    record.Underline = (font.Style() & fsUnderline) ? 1 : 0;
    record.StrikeOut = (font.Style() & fsStrikeOut) ? 1 : 0;
    record.CharSet = font.Charset();
    record.FaceName = font.Name();
    return CreateFontFromRecord(record);
}

HFONT CreateFontFromRecord(const TFontRecord &record)
{
    LOGFONTW lf{};
    lf.lfHeight = record.Height;
    lf.lfWidth = record.Width;
    lf.lfEscapement = record.Escapement;
    lf.lfOrientation = record.Orientation;
    lf.lfWeight = record.Weight;
    lf.lfItalic = record.Italic;
    lf.lfUnderline = record.Underline;
    lf.lfStrikeOut = record.StrikeOut;
    lf.lfCharSet = record.CharSet;
    lf.lfOutPrecision = record.OutPrecision;
    lf.lfClipPrecision = record.ClipPrecision;
    lf.lfQuality = record.Quality;
    lf.lfPitchAndFamily = record.PitchAndFamily;
    std::wstring face = Cp1251ToWide(record.FaceName);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

bool FontRecordOf(HFONT font, TFontRecord &record)
{
    LOGFONTW lf{};
    if (font == nullptr || GetObjectW(font, sizeof lf, &lf) == 0)
        return false;
    record.Height = lf.lfHeight;
    record.Width = lf.lfWidth;
    record.Escapement = lf.lfEscapement;
    record.Orientation = lf.lfOrientation;
    record.Weight = lf.lfWeight;
    record.Italic = lf.lfItalic;
    record.Underline = lf.lfUnderline;
    record.StrikeOut = lf.lfStrikeOut;
    record.CharSet = lf.lfCharSet;
    record.OutPrecision = lf.lfOutPrecision;
    record.ClipPrecision = lf.lfClipPrecision;
    record.Quality = lf.lfQuality;
    record.PitchAndFamily = lf.lfPitchAndFamily;
    record.FaceName = WideToCp1251(std::wstring(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)));
    return true;
}

HBRUSH CreateBrushHandle(const TBrush &brush)
{
    if (brush.Style() == bsClear || brush.Color() == clNone)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return CreateSolidBrush(ColorToRGB(brush.Color()));
}

HPEN CreatePenHandle(const TPen &pen)
{
    if (pen.Style() == psClear || pen.Color() == clNone)
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    COLORREF color = ColorToRGB(pen.Color());
    if (pen.Style() == psSolid)
        return CreatePen(PS_SOLID, pen.Width(), color);
    // Broken lines of any width: a cosmetic pen draws them one pixel wide, a geometric one wider.
    static const DWORD dash[] = {6, 2}, dot[] = {1, 1}, dashDot[] = {6, 2, 1, 2}, dashDotDot[] = {6, 2, 1, 2, 1, 2};
    const DWORD *pattern = dot;
    DWORD count = 2;
    switch (pen.Style()) {
    case psDash: pattern = dash; break;
    case psDashDot:
        pattern = dashDot;
        count = 4;
        break;
    case psDashDotDot:
        pattern = dashDotDot;
        count = 6;
        break;
    default: break;
    }
    LOGBRUSH lb{BS_SOLID, color, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, pen.Width() > 0 ? pen.Width() : 1, &lb, count,
                        pattern);
}

void DeleteGdiObject(void *object)
{
    if (object)
        DeleteObject(static_cast<HGDIOBJ>(object));
}
