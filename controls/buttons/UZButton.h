#pragma once
// The system's standard push button and what it draws from: the predefined kinds of button (caption in
// both languages and glyph set at once), the names of the glyphs of the shared 16 x 16 image list, and
// the placement of glyph and caption inside the button, kept apart from the window so that it can be
// checked without one.
#include <cstdint>
#include <memory>

#include "controls/UZLangBox.h"
#include "framework/runtime/AnsiString.h"
#include "framework/windows/Controls.h"
#include "framework/graphics/Graphics.h"
#include "framework/windows/StdCtrls.h"
#include "framework/graphics/Themes.h"
#include "framework/runtime/Types.h"

// The predefined kinds of button.
enum EZBtnPDT : uint8_t {
    EZBtnPDT_None,
    EZBtnPDT_OK,
    EZBtnPDT_Save,
    EZBtnPDT_Cancel,
    EZBtnPDT_NotSave,
    EZBtnPDT_Close,
    EZBtnPDT_Yes,
    EZBtnPDT_No,
    EZBtnPDT_Apply,
    EZBtnPDT_Next,
    EZBtnPDT_Skip,
    EZBtnPDT_Retry,
    EZBtnPDT_Ignore,
    EZBtnPDT_Preview,
    EZBtnPDT_ZoomIn,
    EZBtnPDT_ZoomOut,
    EZBtnPDT_Reset,
    EZBtnPDT_Up,
    EZBtnPDT_Down,
    EZBtnPDT_Left,
    EZBtnPDT_Right,
    EZBtnPDT_File,
    EZBtnPDT_Fresh,
    EZBtnPDT_Undo,
    EZBtnPDT_Tune,
    EZBtnPDT_Back,
    EZBtnPDT_End
};

// The glyphs of the shared 16 x 16 image list, in the list's order; eil16x16_End means no glyph.
enum EImgLs16x16 : uint8_t {
    eil16x16_OK,
    eil16x16_Cancel,
    eil16x16_Next,
    eil16x16_Undo,
    eil16x16_Redo,
    eil16x16_Apply,
    eil16x16_Skip,
    eil16x16_Up,
    eil16x16_Down,
    eil16x16_Left,
    eil16x16_Right,
    eil16x16_Minus,
    eil16x16_Minus2,
    eil16x16_Plus,
    eil16x16_Calend,
    eil16x16_Imp,
    eil16x16_Exp,
    eil16x16_Edit,
    eil16x16_Erase,
    eil16x16_Land,
    eil16x16_Port,
    eil16x16_Open,
    eil16x16_Load,
    eil16x16_Save,
    eil16x16_Save2,
    eil16x16_Save3,
    eil16x16_ZoomOu,
    eil16x16_ZoomIn,
    eil16x16_Look,
    eil16x16_Find,
    eil16x16_Size,
    eil16x16_Paste,
    eil16x16_Copy,
    eil16x16_Prn,
    eil16x16_NoPrn,
    eil16x16_PrnSet,
    eil16x16_NewDoc,
    eil16x16_DelDoc,
    eil16x16_GoInDoc,
    eil16x16_LookDoc,
    eil16x16_LookAll,
    eil16x16_Refresh,
    eil16x16_Recalc,
    eil16x16_Picture,
    eil16x16_Home,
    eil16x16_Calc,
    eil16x16_InWin,
    eil16x16_Reduce,
    eil16x16_Grow,
    eil16x16_RU,
    eil16x16_UA,
    eil16x16_ALeft,
    eil16x16_ACntrV,
    eil16x16_ARight,
    eil16x16_ATop,
    eil16x16_ACntrH,
    eil16x16_ABottom,
    eil16x16_SnglLne,
    eil16x16_MltyLne,
    eil16x16_Font,
    eil16x16_SnowFl,
    eil16x16_Doc1,
    eil16x16_DocMult,
    eil16x16_MnuClps,
    eil16x16_MnuExpd,
    eil16x16_BufView,
    eil16x16_CbUnch,
    eil16x16_CbChkd,
    eil16x16_CbGryd,
    eil16x16_Trash,
    eil16x16_LArrow,
    eil16x16_RArrow,
    eil16x16_UArrow,
    eil16x16_DArrow,
    eil16x16_ClpsAll,
    eil16x16_LookFnd,
    eil16x16_FndNext,
    eil16x16_FndPrev,
    eil16x16_BigLeft,
    eil16x16_BigRght,
    eil16x16_Gear,
    eil16x16_Prev,
    eil16x16_FdClsW,
    eil16x16_FdOpnW,
    eil16x16_FdClsB,
    eil16x16_FdOpnV,
    eil16x16_SaveRTF,
    eil16x16_SaveXLS,
    eil16x16_End
};

// The name of a glyph ("eil16x16_Gear"); "eil16x16_End" for eil16x16_End and beyond.
const char *ImgLs16x16Name(EImgLs16x16 glyph);

// The captions of the predefined kinds, Ukrainian and Russian (EZBtnPDT_None's are empty). The
// controls' start-up fills them and their shutdown empties them.
extern AnsiString ZBtnPDTCaptionUkr[EZBtnPDT_End];
extern AnsiString ZBtnPDTCaptionRus[EZBtnPDT_End];
void FillZBtnPDTCaptions();
void ClearZBtnPDTCaptions();
// The glyph of each predefined kind.
extern const EImgLs16x16 ZBtnPDTGlyph[EZBtnPDT_End];

// Where the glyph stands beside the caption.
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The state of the push button a button is drawn as: disabled wins, then pressed; a focused, default or
// hot button looks hot when the mouse is over it and defaulted otherwise.
TThemedState ZBtnLook(bool disabled, bool pressed, bool focused, bool isDefault, bool hot);

// The text-drawing flags of a caption: its alignment, one line or word-wrapped, never clipped, and "&"
// shown as it is.
unsigned ZBtnTextFlags(TAlignment alignH, bool multiline);

// The settings the placement of glyph and caption depends on.
struct TZBtnPlaceIn {
    TRect Area;  // the layout rectangle: the inside of the frame
    bool HasGlyph = false;
    bool HasCaption = false;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;  // -1: the caption is centred
    int Spacing = 4;
    TAlignment AlignH = taCenter;
    bool Multiline = false;
    bool Pressed = false;
};

struct TZBtnPlacement {
    TRect Caption;  // empty without a caption
    TPoint Glyph;   // the glyph's top left corner
};

// The width the caption is measured to: the area less the glyph's strip on a side (never negative).
int ZBtnCaptionWidth(const TZBtnPlaceIn &in);
// Caption and glyph for a caption of the measured size. The caption moves by (2, 2), or (3, 3) while
// pressed, and the glyph stands beside it with Spacing between them (the glyph alone is centred); a
// pressed button draws its glyph one pixel lower.
TZBtnPlacement ZBtnPlace(const TZBtnPlaceIn &in, TSize text);

// What a button's drawing starts from: its client rectangle, caption, state and settings.
struct TZBtnPaint {
    TRect Client;
    AnsiString Caption;
    bool Disabled = false;
    bool Pressed = false;
    bool Focused = false;
    bool Default = false;
    bool Hot = false;
    bool Designing = false;  // drawn classic even with visual styles on
    TColor FontColor = clBtnText;
    EImgLs16x16 ImageNo = eil16x16_End;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    TAlignment AlignH = taCenter;
    bool Multiline = false;
};

// Draws a button on a canvas that holds its font and brush: the frame (the visual styles' push button
// in its state when they are on, else the system's classic push-button frame), the caption in the
// font's colour (grey when disabled) on a transparent ground, the glyph through drawGlyph (x, y,
// enabled) and, in the classic drawing, the focus frame 4 px inside for the default or focused button.
// Returns the placement it used.
using TZBtnGlyphDrawer = void (*)(TCanvas &canvas, int x, int y, EImgLs16x16 glyph, bool enabled);
TZBtnPlacement PaintZButton(TCanvas &canvas, const TZBtnPaint &paint, TZBtnGlyphDrawer drawGlyph);

// The standard push button: drawn by itself, with a glyph of the shared image list beside its caption,
// hot tracking, one-line or word-wrapped captions aligned as asked, two-language caption and hint,
// and the predefined kinds (DefText) that set both captions and the glyph at once.
class TZButton : public TWithLangBoxes<TButton> {
public:
    explicit TZButton(TComponent *owner);
    ~TZButton() override;

    // A predefined kind other than None sets the Ukrainian caption, then the Russian one, then the
    // glyph; a value beyond the kinds is None, which keeps caption and glyph.
    EZBtnPDT DefText() const { return defText_; }
    void SetDefText(int kind);
    // The glyph; set only while DefText is None. A value outside the list is eil16x16_End (no glyph).
    EImgLs16x16 ImageNo() const { return imageNo_; }
    void SetImageNo(int glyph);
    // A value beyond the four layouts is blGlyphBottom.
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(int layout);
    // The caption's distance from the edge of its alignment; -1 centres it. Below -1 is refused.
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    // Between glyph and caption; a negative value is 0.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    TAlignment AlignH() const { return alignH_; }
    void SetAlignH(TAlignment alignment);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline);

    // The default flag the button draws with (set as the form's default or focused button), and
    // whether the mouse is over it.
    bool IsDefault() const { return isDefault_; }
    bool Hot() const { return hot_; }
    // The text-drawing flags of the last drawing.
    unsigned TextFlags() const { return textFlags_; }

    void WndProc(TMessage &message) override;

protected:
    void CreateParams(TCreateParams &params) override;
    void SetButtonStyle(bool isDefault) override;
    void EnabledChanged() override;
    // While designing the button paints itself, with the classic frame.
    bool WantsPaint() const override { return Designing(); }
    void PaintWindow(HDC dc) override;

private:
    void DrawItem(const TDrawItemStruct &item, bool designing);
    template <class T>
    void Change(T &field, T value);

    EImgLs16x16 imageNo_ = eil16x16_End;
    std::unique_ptr<TDCCanvas> canvas_;
    unsigned textFlags_ = 0;
    TAlignment alignH_ = taCenter;
    bool multiline_ = false;
    EZBtnPDT defText_ = EZBtnPDT_None;
    bool isDefault_ = false;
    bool pressed_ = false;
    bool hot_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};
