#include <windows.h>

#include "framework/Cp1251.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"

uint32_t ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

HFONT CreateFontHandle(const TFont &font)
{
    LOGFONTW lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style() & fsItalic) ? 1 : 0;
    lf.lfUnderline = (font.Style() & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (font.Style() & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = font.Charset();
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wstring face = Cp1251ToWide(font.Name());
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
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
