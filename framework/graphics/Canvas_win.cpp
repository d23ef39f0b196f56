#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/Exception.h"
#include "framework/graphics/Graphics.h"

TTextMetrics DCTextMetrics(HDC dc)
{
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return TTextMetrics{tm.tmHeight,          tm.tmAscent,       tm.tmDescent,     tm.tmInternalLeading,
                        tm.tmExternalLeading, tm.tmAveCharWidth, tm.tmMaxCharWidth};
}

void DCCharWidths(HDC dc, int (&widths)[256])
{
    // Each CP1251 byte measured as the character it stands for.
    for (int c = 0; c < 256; ++c) {
        char byte = static_cast<char>(c);
        std::wstring w = Cp1251ToWide(std::string_view(&byte, 1));
        SIZE s{0, 0};
        GetTextExtentPoint32W(dc, w.c_str(), 1, &s);
        widths[c] = s.cx;
    }
}

void SelectTextFont(HDC dc, HFONT font, TColor color)
{
    SelectObject(dc, font);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    SetTextColor(dc, ColorToRGB(color));
    SetBkMode(dc, TRANSPARENT);
}

TDCCanvas::~TDCCanvas() { SetHandle(nullptr); }

void TDCCanvas::SetHandle(HDC dc)
{
    if (dc == dc_)
        return;
    if (dc_ && saved_)
        RestoreDC(dc_, saved_);
    dc_ = dc;
    saved_ = dc_ ? SaveDC(dc_) : 0;
}

HDC TDCCanvas::Handle()
{
    if (dc_ && HandleStale())
        FreeHandle();
    if (!dc_)
        CreateHandle();
    return dc_;
}

TDCCanvas::TSelection::~TSelection()
{
    if (pen)
        SelectObject(dc, pen);
    if (brush)
        SelectObject(dc, brush);
    if (font)
        SelectObject(dc, font);
}

TDCCanvas::TSelection TDCCanvas::Prepared(bool text, bool brush, bool pen)
{
    HDC dc = Handle();
    if (!dc)
        throw Exception("Canvas does not allow drawing");
    TSelection selection{dc};
    if (text) {
        selection.font = SelectObject(dc, Font()->Handle());
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    if (brush || text) {
        selection.brush = SelectObject(dc, Brush()->Handle());
        bool clear = Brush()->Style() == bsClear || Brush()->Color() == clNone;
        SetBkMode(dc, clear ? TRANSPARENT : OPAQUE);
        if (!clear)
            SetBkColor(dc, ColorToRGB(Brush()->Color()));
    }
    if (pen)
        selection.pen = SelectObject(dc, Pen()->Handle());
    return selection;
}

void TDCCanvas::FillRect(const TRect &rect)
{
    TSelection dc = Prepared(false, true, false);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::FillRect(dc, &r, Brush()->Handle());
}

void TDCCanvas::Rectangle(int left, int top, int right, int bottom)
{
    ::Rectangle(Prepared(false, true, true), left, top, right, bottom);
}

void TDCCanvas::MoveTo(int x, int y)
{
    TCanvas::MoveTo(x, y);
    MoveToEx(Handle(), x, y, nullptr);
}

void TDCCanvas::LineTo(int x, int y)
{
    TSelection dc = Prepared(false, false, true);
    MoveToEx(dc, penPos_.X, penPos_.Y, nullptr);
    ::LineTo(dc, x, y);
    penPos_ = Point(x, y);
}

void TDCCanvas::TextOut(int x, int y, const AnsiString &text)
{
    std::wstring w = Cp1251ToWide(text);
    TSelection dc = Prepared(true, false, false);
    const int count = static_cast<int>(w.size());
    if (breakCount_ <= 0 || w.find(L' ') == std::wstring::npos || count == 0) {
        ExtTextOutW(dc, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(count), nullptr);
        penPos_ = Point(x + TextWidth(text), y);
        return;
    }
    // Justified: the advance of each character, blanks widened. (Done here rather than by the system,
    // which takes the font's break character for the blank, and some fonts report another one.)
    std::vector<int> ends(static_cast<size_t>(count)), advances(static_cast<size_t>(count));
    SIZE size{0, 0};
    GetTextExtentExPointW(dc, w.c_str(), count, 0, nullptr, ends.data(), &size);
    int each = breakExtra_ / breakCount_, more = breakExtra_ % breakCount_, total = 0;
    for (int i = 0; i < count; ++i) {
        int advance = ends[static_cast<size_t>(i)] - (i ? ends[static_cast<size_t>(i) - 1] : 0);
        if (w[static_cast<size_t>(i)] == L' ') {
            advance += each;
            if (more != 0) {
                advance += more > 0 ? 1 : -1;
                more += more > 0 ? -1 : 1;
            }
        }
        advances[static_cast<size_t>(i)] = advance;
        total += advance;
    }
    ExtTextOutW(dc, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(count), advances.data());
    penPos_ = Point(x + total, y);
}

void TDCCanvas::TextRect(const TRect &rect, int x, int y, const AnsiString &text)
{
    std::wstring w = Cp1251ToWide(text);
    TSelection dc = Prepared(true, false, false);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    UINT options = ETO_CLIPPED;
    if (Brush()->Style() != bsClear && Brush()->Color() != clNone)
        options |= ETO_OPAQUE;
    ExtTextOutW(dc, x, y, options, &r, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

TSize TDCCanvas::TextExtent(const AnsiString &text)
{
    std::wstring w = Cp1251ToWide(text);
    SIZE s{0, 0};
    GetTextExtentPoint32W(Prepared(true, false, false), w.c_str(), static_cast<int>(w.size()), &s);
    return TSize{s.cx, s.cy};
}

int TDCCanvas::DrawText(const AnsiString &text, TRect &rect, unsigned flags)
{
    std::wstring w = Cp1251ToWide(text);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    int height = ::DrawTextW(Prepared(true, false, false), w.c_str(), static_cast<int>(w.size()), &r, flags);
    if (flags & dtCalcRect)
        rect = Rect(r.left, r.top, r.right, r.bottom);
    return height;
}

TTextMetrics TDCCanvas::TextMetrics() { return DCTextMetrics(Prepared(true, false, false)); }

void TDCCanvas::CharWidths(int (&widths)[256]) { DCCharWidths(Prepared(true, false, false), widths); }

TRect TDCCanvas::ClipRect()
{
    RECT r{0, 0, 0, 0};
    GetClipBox(Handle(), &r);
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TDCCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &sourceRect)
{
    HDC from = source.Handle();
    if (!from)
        throw Exception("The source canvas has no device context");
    TSelection dc = Prepared(false, true, false);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), from, sourceRect.Left, sourceRect.Top,
               sourceRect.Width(), sourceRect.Height(), SRCCOPY);
}

void TDCCanvas::Draw(int x, int y, TBitmap &bitmap)
{
    if (bitmap.Empty())
        return;
    CopyRect(Bounds(x, y, bitmap.Width(), bitmap.Height()), *bitmap.Canvas(),
             Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

TColor TDCCanvas::Pixel(int x, int y)
{
    COLORREF c = GetPixel(Handle(), x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

// ---- TMeasureCanvas ------------------------------------------------------------------------------------

TMeasureCanvas::TMeasureCanvas() { SetHandle(CreateCompatibleDC(nullptr)); }

TMeasureCanvas::~TMeasureCanvas()
{
    HDC dc = CurrentHandle();
    SetHandle(nullptr);
    DeleteDC(dc);
}

// ---- classic drawing ---------------------------------------------------------------------------------

void TDCCanvas::DrawFrameControl(TRect &rect, unsigned kind, unsigned state)
{
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::DrawFrameControl(Prepared(false, true, false), &r, kind, state);
    rect = Rect(r.left, r.top, r.right, r.bottom);
}

void TDCCanvas::DrawEdge(TRect &rect, unsigned edge, unsigned sides)
{
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::DrawEdge(Prepared(false, true, false), &r, edge, sides);
    rect = Rect(r.left, r.top, r.right, r.bottom);
}

void TDCCanvas::DrawFocusRect(const TRect &rect)
{
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    // Drawn by inverting a dotted pattern: no font, brush or pen of the canvas takes part.
    ::DrawFocusRect(Prepared(false, false, false), &r);
}

void TDCCanvas::SetTextJustification(int breakExtra, int breakCount)
{
    breakExtra_ = breakCount > 0 ? breakExtra : 0;
    breakCount_ = breakExtra ? std::max(breakCount, 0) : 0;
}
