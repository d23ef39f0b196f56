#include "framework/Graphics.h"

#include <array>
#include <cstdlib>

#ifdef _WIN32
#include "framework/GdiObjects.h"
#endif

namespace {
int gFontPixelsPerInch = 96;

// The classic scheme, for the native build where no system answers.
constexpr std::array<uint32_t, 25> kClassicSystemColors = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080,
    0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF};
}  // namespace

int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long p = static_cast<long long>(a) * b;
    long long q = (std::llabs(p) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

int FontPixelsPerInch() { return gFontPixelsPerInch; }
void SetFontPixelsPerInch(int pixelsPerInch) { gFontPixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96; }

#ifndef _WIN32
uint32_t ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) {
        unsigned index = color & 0xFF;
        return index < kClassicSystemColors.size() ? kClassicSystemColors[index] : 0;
    }
    return color & 0x00FFFFFF;
}
#endif

TFont::TFont() : pixelsPerInch_(gFontPixelsPerInch) {}

TFont::~TFont() { ReleaseHandle(); }

void TFont::ReleaseHandle()
{
#ifdef _WIN32
    DeleteGdiObject(handle_);
#endif
    handle_ = nullptr;
}

HFONT TFont::Handle()
{
#ifdef _WIN32
    if (!handle_)
        handle_ = CreateFontHandle(*this);
#endif
    return handle_;
}

void TFont::Changed()
{
    ReleaseHandle();
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const AnsiString &name)
{
    if (name.empty() || name == name_)
        return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

int TFont::Size() const { return -MulDivRound(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int size) { SetHeight(-MulDivRound(size, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(uint8_t charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed();
}

bool TFont::SameAs(const TFont &other) const
{
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_;
}

void TFont::Assign(const TFont &source)
{
    if (&source == this || SameAs(source))
        return;
    name_ = source.name_;
    height_ = source.height_;
    style_ = source.style_;
    color_ = source.color_;
    charset_ = source.charset_;
    Changed();
}

TBrush::~TBrush()
{
#ifdef _WIN32
    DeleteGdiObject(handle_);
#endif
}

void TBrush::Changed()
{
#ifdef _WIN32
    DeleteGdiObject(handle_);
#endif
    handle_ = nullptr;
    if (OnChange)
        OnChange(this);
}

void TBrush::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TBrush::Assign(const TBrush &source)
{
    color_ = source.color_;
    style_ = source.style_;
    Changed();
}

HBRUSH TBrush::Handle()
{
#ifdef _WIN32
    if (!handle_)
        handle_ = CreateBrushHandle(*this);
#endif
    return handle_;
}

TPen::~TPen()
{
#ifdef _WIN32
    DeleteGdiObject(handle_);
#endif
}

void TPen::Changed()
{
#ifdef _WIN32
    DeleteGdiObject(handle_);
#endif
    handle_ = nullptr;
    if (OnChange)
        OnChange(this);
}

void TPen::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width == width_)
        return;
    width_ = width < 0 ? 0 : width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TPen::Assign(const TPen &source)
{
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    Changed();
}

HPEN TPen::Handle()
{
#ifdef _WIN32
    if (!handle_)
        handle_ = CreatePenHandle(*this);
#endif
    return handle_;
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>())
{}

TCanvas::~TCanvas() = default;
