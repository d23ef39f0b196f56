#pragma once
// Colours and fonts (and, further down, the drawing objects). Pure where it can be: the GDI objects
// behind a font, brush or pen are made on demand in the Windows build only.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Component.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/runtime/Types.h"
#include "framework/graphics/WinHandles.h"

// A file that includes <windows.h> before this header would otherwise declare and call the canvas's
// DrawText as DrawTextW, a name no other file knows.
#ifdef DrawText
#undef DrawText
#endif

// 0x00BBGGRR, or 0x80000000 + a system colour index resolved through the system when drawn.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A0;
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1, clActiveCaption = clSystemColor | 2,
                 clInactiveCaption = clSystemColor | 3, clMenu = clSystemColor | 4, clWindow = clSystemColor | 5,
                 clWindowFrame = clSystemColor | 6, clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8,
                 clCaptionText = clSystemColor | 9, clActiveBorder = clSystemColor | 10,
                 clInactiveBorder = clSystemColor | 11, clAppWorkSpace = clSystemColor | 12,
                 clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14, clBtnFace = clSystemColor | 15,
                 clBtnShadow = clSystemColor | 16, clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
                 clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
                 cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22, clInfoText = clSystemColor | 23,
                 clInfoBk = clSystemColor | 24;
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

// What a font, a brush and a pen share: the system object for their attributes, made on first use and
// released by every change, and the notification of a change.
template <typename THandle>
class TGraphicsObject : public TObject {
public:
    ~TGraphicsObject() override { DeleteGdiObject(handle_); }

    std::function<void(TObject *)> OnChange;

protected:
    TGraphicsObject() = default;
    // The system object, made by `make` when there is none yet.
    template <typename Make>
    THandle CachedHandle(Make make)
    {
        if (!handle_)
            handle_ = make();
        return handle_;
    }
    // Sets an attribute: a new value releases the system object and notifies.
    template <typename T>
    void Update(T &attribute, const T &value)
    {
        if (attribute == value)
            return;
        attribute = value;
        Changed();
    }
    void Changed()
    {
        DeleteGdiObject(handle_);
        handle_ = nullptr;
        if (OnChange)
            OnChange(this);
    }

private:
    THandle handle_ = nullptr;
};

class TFont : public TGraphicsObject<HFONT> {
public:
    TFont();

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

private:
    AnsiString name_ = "Tahoma";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = RUSSIAN_CHARSET_VALUE;
    int pixelsPerInch_;
};

// The attributes the system makes a font from (its logical-font record), the face name in code
// page 1251; at most 31 of its characters reach the system.
struct TFontRecord {
    int Height = 0;  // negative: the character height; positive: the cell height
    int Width = 0;
    int Escapement = 0;  // tenths of a degree
    int Orientation = 0;
    int Weight = 0;  // 400 normal, 700 bold
    uint8_t Italic = 0, Underline = 0, StrikeOut = 0, CharSet = 0, OutPrecision = 0, ClipPrecision = 0, Quality = 0,
            PitchAndFamily = 0;
    AnsiString FaceName;
    friend bool operator==(const TFontRecord &, const TFontRecord &) = default;
};

// Windows build only. A system font made from a record (null when the system refuses it; the caller
// deletes it), and the record a font was made from (false for a handle that is no font).
HFONT CreateFontFromRecord(const TFontRecord &record);
bool FontRecordOf(HFONT font, TFontRecord &record);

// ---- brushes and pens ------------------------------------------------------------------------------

enum TBrushStyle { bsSolid, bsClear };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TBrush : public TGraphicsObject<HBRUSH> {
public:
    TBrush() = default;
    TColor Color() const { return color_; }
    void SetColor(TColor color) { Update(color_, color); }
    // bsClear paints nothing (and text is drawn on a transparent background).
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { Update(style_, style); }
    void Assign(const TBrush &source);
    HBRUSH Handle();

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen : public TGraphicsObject<HPEN> {
public:
    TPen() = default;
    TColor Color() const { return color_; }
    void SetColor(TColor color) { Update(color_, color); }
    int Width() const { return width_; }
    // A negative width counts as 0.
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { Update(style_, style); }
    void Assign(const TPen &source);
    HPEN Handle();

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

// ---- canvas ----------------------------------------------------------------------------------------

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize &, const TSize &) = default;
};

struct TTextMetrics {
    int Height = 0;  // ascent + descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
};

// DrawText flags (the system's values).
constexpr unsigned dtLeft = 0x0, dtCenter = 0x1, dtRight = 0x2, dtVCenter = 0x4, dtBottom = 0x8, dtWordBreak = 0x10,
                   dtSingleLine = 0x20, dtExpandTabs = 0x40, dtNoClip = 0x100, dtExternalLeading = 0x200,
                   dtCalcRect = 0x400, dtNoPrefix = 0x800, dtEndEllipsis = 0x8000;

// Classic drawing of the system's controls (TCanvas::DrawFrameControl, DrawEdge): the system's values,
// under the system's names (<windows.h> macros stand where it came first).
// Kinds of frame control.
#ifndef DFC_CAPTION
constexpr unsigned DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4;
#endif
// Their shapes (by kind) and states.
#ifndef DFCS_BUTTONPUSH
constexpr unsigned DFCS_BUTTONCHECK = 0x0000, DFCS_BUTTONRADIO = 0x0004, DFCS_BUTTON3STATE = 0x0008,
                   DFCS_BUTTONPUSH = 0x0010;
constexpr unsigned DFCS_CAPTIONCLOSE = 0x0000, DFCS_CAPTIONMIN = 0x0001, DFCS_CAPTIONMAX = 0x0002,
                   DFCS_CAPTIONRESTORE = 0x0003, DFCS_CAPTIONHELP = 0x0004;
constexpr unsigned DFCS_SCROLLUP = 0x0000, DFCS_SCROLLDOWN = 0x0001, DFCS_SCROLLLEFT = 0x0002,
                   DFCS_SCROLLRIGHT = 0x0003, DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr unsigned DFCS_INACTIVE = 0x0100, DFCS_PUSHED = 0x0200, DFCS_CHECKED = 0x0400, DFCS_TRANSPARENT = 0x0800,
                   DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;
#endif
// Edges: the outer and inner lines, raised or sunken, and their usual pairs.
#ifndef BDR_RAISEDOUTER
constexpr unsigned BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8;
constexpr unsigned EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9;
#endif
// Which sides an edge is drawn on, and how.
#ifndef BF_RECT
constexpr unsigned BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF, BF_MIDDLE = 0x800,
                   BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;
#endif

class TBitmap;

// Drawing surface with a font, a brush and a pen. Texts are code page 1251. The window-system canvases
// (for a device context, a window, a bitmap, measuring) and the recording canvas implement it.
class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;

    TFont *Font() const { return font_.get(); }
    TBrush *Brush() const { return brush_.get(); }
    TPen *Pen() const { return pen_.get(); }
    TPoint PenPos() const { return penPos_; }

    // Serialises drawing from several threads; recursive.
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    bool TryLock() { return mutex_.try_lock(); }

    // The device context, or null for a canvas without one.
    virtual HDC Handle() { return nullptr; }

    virtual void FillRect(const TRect &rect) = 0;
    // Outline with the pen, inside filled with the brush.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void MoveTo(int x, int y) { penPos_ = Point(x, y); }
    virtual void LineTo(int x, int y) = 0;
    virtual void TextOut(int x, int y, const AnsiString &text) = 0;
    // Text at (x, y) clipped to the rectangle, which the brush fills first.
    virtual void TextRect(const TRect &rect, int x, int y, const AnsiString &text) = 0;
    virtual TSize TextExtent(const AnsiString &text) = 0;
    int TextWidth(const AnsiString &text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString &text) { return TextExtent(text).cy; }
    // Draws (or with dtCalcRect measures, widening or heightening `rect`) and returns the text height.
    virtual int DrawText(const AnsiString &text, TRect &rect, unsigned flags) = 0;
    virtual TTextMetrics TextMetrics() = 0;
    // Advance widths of the characters 0-255 of the current font.
    virtual void CharWidths(int (&widths)[256]) = 0;
    // The part of the surface that drawing reaches.
    virtual TRect ClipRect() = 0;
    virtual void CopyRect(const TRect &dest, TCanvas &source, const TRect &sourceRect) = 0;
    virtual void Draw(int x, int y, TBitmap &bitmap) = 0;
    // The colour of a pixel (0x00BBGGRR), clNone outside the surface.
    virtual TColor Pixel(int x, int y) = 0;

    // Classic drawing of the system's controls and frames. A frame control of a kind (DFC_BUTTON,
    // DFC_CAPTION, DFC_SCROLL...) in a state (DFCS_*); with DFCS_ADJUSTRECT `rect` becomes its inside.
    virtual void DrawFrameControl(TRect &rect, unsigned kind, unsigned state) = 0;
    // An edge (EDGE_*, BDR_*) on the sides given (BF_*); with BF_ADJUST `rect` becomes its inside.
    virtual void DrawEdge(TRect &rect, unsigned edge, unsigned sides) = 0;
    // The dotted focus frame (drawn by inverting, so a second call takes it away).
    virtual void DrawFocusRect(const TRect &rect) = 0;
    // Justifies the lines written by TextOut from now on: `breakExtra` pixels are spread over
    // `breakCount` blanks, each blank of a line getting breakExtra / breakCount more and the first
    // breakExtra % breakCount of them one pixel more again; (0, 0) switches it off. TextExtent measures
    // texts as they are, without the extra pixels.
    virtual void SetTextJustification(int breakExtra, int breakCount) = 0;

protected:
    TPoint penPos_;

private:
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    std::recursive_mutex mutex_;
};

// ---- window-system canvases -----------------------------------------------------------------------

// A canvas over a device context. The font, brush and pen are selected into it for each call; the
// context's own state is saved when it is taken and restored when it is let go.
class TDCCanvas : public TCanvas {
public:
    TDCCanvas() = default;
    explicit TDCCanvas(HDC dc) { SetHandle(dc); }
    ~TDCCanvas() override;
    HDC Handle() override;
    // Uses this device context (not owned; null lets the current one go).
    void SetHandle(HDC dc);

    void FillRect(const TRect &rect) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    using TCanvas::Rectangle;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const AnsiString &text) override;
    void TextRect(const TRect &rect, int x, int y, const AnsiString &text) override;
    TSize TextExtent(const AnsiString &text) override;
    int DrawText(const AnsiString &text, TRect &rect, unsigned flags) override;
    TTextMetrics TextMetrics() override;
    void CharWidths(int (&widths)[256]) override;
    TRect ClipRect() override;
    void CopyRect(const TRect &dest, TCanvas &source, const TRect &sourceRect) override;
    void Draw(int x, int y, TBitmap &bitmap) override;
    TColor Pixel(int x, int y) override;
    void DrawFrameControl(TRect &rect, unsigned kind, unsigned state) override;
    void DrawEdge(TRect &rect, unsigned edge, unsigned sides) override;
    void DrawFocusRect(const TRect &rect) override;
    void SetTextJustification(int breakExtra, int breakCount) override;

protected:
    // Called when a context is needed and none is set (window canvases fetch theirs here).
    virtual void CreateHandle() {}
    // The context held belongs to what is no more (a window made anew since): it is let go and fetched
    // afresh at the next use.
    virtual bool HandleStale() const { return false; }
    // Lets the context go; subclasses release what they acquired.
    virtual void FreeHandle() { SetHandle(nullptr); }
    HDC CurrentHandle() const { return dc_; }

private:
    // The font, brush and pen selected for one call; the objects selected before come back when it
    // ends, so that ours are never held by the context when they change (a selected object cannot be
    // deleted).
    struct TSelection {
        HDC dc;
        void *font = nullptr, *brush = nullptr, *pen = nullptr;
        explicit TSelection(HDC context) : dc(context) {}
        TSelection(TSelection &&other) noexcept : dc(other.dc), font(other.font), brush(other.brush), pen(other.pen)
        {
            other.font = other.brush = other.pen = nullptr;
        }
        TSelection(const TSelection &) = delete;
        TSelection &operator=(const TSelection &) = delete;
        ~TSelection();
        operator HDC() const { return dc; }
    };
    TSelection Prepared(bool text, bool brush, bool pen);
    HDC dc_ = nullptr;
    int saved_ = 0;
    int breakExtra_ = 0, breakCount_ = 0;
};

// Windows build only: text on a device context its owner keeps. SelectTextFont selects a font into
// it (where it stays) and sets it to draw text from the baseline at the left, in a colour, on a
// transparent background; the other two measure the font selected into it (the widths are the
// advance widths of the characters 0-255 of code page 1251).
void SelectTextFont(HDC dc, HFONT font, TColor color);
TTextMetrics DCTextMetrics(HDC dc);
void DCCharWidths(HDC dc, int (&widths)[256]);

class TWinControl;

// The client area of a window; the device context is fetched on first use and released with the canvas.
class TControlCanvas : public TDCCanvas {
public:
    explicit TControlCanvas(TWinControl *control) : control_(control) {}
    ~TControlCanvas() override;
    // Draws into a context the window gave for painting, until this is called with null; the window's
    // own context is fetched again when needed after that.
    void SetPaintContext(HDC dc);

protected:
    void CreateHandle() override;
    void FreeHandle() override;
    bool HandleStale() const override;

private:
    TWinControl *control_;
    HWND window_ = nullptr;
};

// For measuring text only: a memory context compatible with the screen.
class TMeasureCanvas : public TDCCanvas {
public:
    TMeasureCanvas();
    ~TMeasureCanvas() override;
};

// An off-screen 32-bit image with its canvas.
class TBitmap : public TObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizes (contents are lost; the new image is filled with the brush colour white).
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TCanvas *Canvas();
    HBITMAP Handle() const { return bitmap_; }
    // Takes a copy of a bitmap resource of the program (by numeric id); false when there is none.
    bool LoadFromResourceID(int id);

private:
    void Release();
    class TBitmapCanvas;
    int width_ = 0, height_ = 0;
    HBITMAP bitmap_ = nullptr;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// An icon made from an icon image held in memory (the bytes of one image of an icon file: bitmap
// header, colour table, colour bits and mask bits) or from the program's icon resources.
class TIcon : public TObject {
public:
    TIcon() = default;
    ~TIcon() override;
    // False when the bytes do not make an icon.
    bool LoadFromImage(const void *image, size_t size, int width = 0, int height = 0);
    bool LoadFromResourceID(int id, int width = 0, int height = 0);
    // The icon of an index (from 0) among the icons of an executable or library file, large (the
    // system's icon size) or small; false when the file cannot be read or has no icon of that index.
    bool LoadFromExecutable(const AnsiString &fileName, int index, bool large = true);
    bool Empty() const { return handle_ == nullptr; }
    HICON Handle() const { return handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws at (x, y), at its own size when width and height are 0.
    void Draw(TCanvas &canvas, int x, int y, int width = 0, int height = 0) const;

private:
    void Release();
    HICON handle_ = nullptr;
    int width_ = 0, height_ = 0;
};

// The number of icons an executable or library file holds (0 when it cannot be read or holds none).
// Windows build only.
int ExecutableIconCount(const AnsiString &fileName);
