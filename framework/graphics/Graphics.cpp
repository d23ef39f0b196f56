#include "framework/graphics/Graphics.h"

#include <cstdlib>

#include "framework/graphics/GdiObjects.h"

namespace {
int gFontPixelsPerInch = 96;
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

TFont::TFont() : pixelsPerInch_(gFontPixelsPerInch) {}

HFONT TFont::Handle()
{
    return CachedHandle([this] { return CreateFontHandle(*this); });
}

void TFont::SetName(const AnsiString &name)
{
    if (!name.empty())
        Update(name_, name);
}

void TFont::SetHeight(int height) { Update(height_, height); }

int TFont::Size() const { return -MulDivRound(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int size) { SetHeight(-MulDivRound(size, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles style) { Update(style_, style); }

void TFont::SetColor(TColor color) { Update(color_, color); }

void TFont::SetCharset(uint8_t charset) { Update(charset_, charset); }

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

void TBrush::Assign(const TBrush &source)
{
    color_ = source.color_;
    style_ = source.style_;
    Changed();
}

HBRUSH TBrush::Handle()
{
    return CachedHandle([this] { return CreateBrushHandle(*this); });
}

void TPen::SetWidth(int width)
{
    if (width == width_)
        return;
    width_ = width < 0 ? 0 : width;
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
    return CachedHandle([this] { return CreatePenHandle(*this); });
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>())
{}

TCanvas::~TCanvas() = default;
