#pragma once
// Colours and fonts (and, further down, the drawing objects). Pure where it can be: the GDI objects
// behind a font, brush or pen are made on demand in the Windows build only.
#include <cstdint>
#include <functional>

#include "framework/AnsiString.h"
#include "framework/Component.h"
#include "framework/WinHandles.h"

// 0x00BBGGRR, or 0x80000000 + a system colour index resolved through the system when drawn.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5, clWindowFrame = clSystemColor | 6,
                 clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8,
                 clCaptionText = clSystemColor | 9, clActiveBorder = clSystemColor | 10,
                 clInactiveBorder = clSystemColor | 11, clAppWorkSpace = clSystemColor | 12,
                 clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14,
                 clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
                 clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
                 clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
                 cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22,
                 clInfoText = clSystemColor | 23, clInfoBk = clSystemColor | 24;
// "No colour" (nothing is painted) and "the control's default colour".
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

inline bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == clSystemColor; }
// The 0x00BBGGRR value of a colour; system colours are looked up in the running system (in the native
// build, where there is none, in the classic Windows scheme).
uint32_t ColorToRGB(TColor color);

// Font styles, combined as bits.
using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8;

constexpr uint8_t DEFAULT_CHARSET_VALUE = 1, RUSSIAN_CHARSET_VALUE = 204;

// a * b / c rounded to the nearest integer, halves away from zero (the system's MulDiv).
int MulDivRound(int a, int b, int c);

// The screen density fonts are sized for (set from the screen at start-up; 96 until then).
int FontPixelsPerInch();
void SetFontPixelsPerInch(int pixelsPerInch);

class TFont : public TObject {
public:
    TFont();
    ~TFont() override;

    const AnsiString &Name() const { return name_; }
    void SetName(const AnsiString &name);
    // Height in pixels: negative for the character height, as the system takes it.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points: Height = -MulDiv(Size, PixelsPerInch, 72).
    int Size() const;
    void SetSize(int size);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }

    void Assign(const TFont &source);
    bool SameAs(const TFont &other) const;

    // The system font object for these attributes, made on first use and remade after a change.
    HFONT Handle();

    std::function<void(TObject *)> OnChange;

private:
    void Changed();
    void ReleaseHandle();

    AnsiString name_ = "Tahoma";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = RUSSIAN_CHARSET_VALUE;
    int pixelsPerInch_;
    HFONT handle_ = nullptr;
};
