#pragma once
// TZText: a painted panel of up to five lines of text, each in Russian and in Ukrainian, each with its
// own font and horizontal alignment, each wrapped to the panel's width and carrying its own inline
// markup. It is the body of the wait window and of the grid's editor form.
//
// Measuring and drawing are plain functions over a canvas, so that they can be checked without a
// window; the control itself (Windows build) feeds them its state.
#include <array>
#include <memory>
#include <string_view>

#include "controls/UZLangBox.h"
#include "framework/runtime/AnsiString.h"
#include "framework/windows/Controls.h"
#include "framework/graphics/Graphics.h"

constexpr int ZTextLineCount = 5;
// Text indexes: 0-4 the lines in the control's language, 5-9 the Russian, 10-14 the Ukrainian texts.
constexpr int ZTextRus = 5, ZTextUkr = 10, ZTextIndexCount = 15;
// The lines are laid out this much narrower than the control, and an aligned control is this much
// higher than its text.
constexpr int ZTextMargin = 4;
// The darker colour of the two-tone frame (red, green and blue 133).
constexpr TColor ZTextFrameGrey = 0x858585;

// One line as it is measured and drawn: its text in the language shown, font and alignment (0 left,
// 1 centre, 2 right). An empty text takes no room.
struct TZTextLine {
    std::string_view Text;
    const TFont *Font = nullptr;
    int Hor = 0;
};
using TZTextLines = std::array<TZTextLine, ZTextLineCount>;

struct TZTextMeasure {
    int Total = 0;                              // the lines' heights added up
    bool LaidOut = false;                       // some line had a text
    std::array<int, ZTextLineCount> Heights{};  // 0 for an empty line
};

// Each non-empty line laid out with its font to width - ZTextMargin: its height is the laid-out
// text's height, or only its tallest line's when the lines are not wrapped (multiLine false).
TZTextMeasure MeasureZText(TCanvas &canvas, const TZTextLines &lines, int width, bool multiLine);

// The first laid-out line of a text shown cut to one line: a line of fewer than 5 characters gets
// " ..." after it; in a longer one the last three characters become "..." and the one before them a
// blank, so that the line keeps its width.
AnsiString CutZTextLine(std::string_view line);

// What the drawing of the control starts from.
struct TZTextPaint {
    TZTextLines Lines;
    int Width = 0, Height = 0;
    TColor Color = clBtnFace;
    bool Border = false;
    bool MultiLine = true;
    // The control takes the height of its text (aligned to the top, the bottom or placed by its owner).
    bool AutoHeight = false;
};

// Draws the control: the two-tone frame (with Border), then each non-empty line in its font on the
// control's colour, one below the other from the top, each aligned by its markup or its Hor; a line
// that does not fit on one line while multiLine is off shows its first line cut (CutZTextLine).
// Returns the height the control must take first, with nothing but the frame drawn, when it takes the
// height of its text and has another; -1 when it was drawn.
int PaintZText(TCanvas &canvas, const TZTextPaint &paint);

// ---- the control (Windows build) -----------------------------------------------------------------

class TZText : public TCustomControl {
public:
    explicit TZText(TComponent *owner);
    ~TZText() override;

    // The text of an index (ZTextRus, ZTextUkr); an index outside 0-14 reads empty and sets nothing.
    using TControl::GetText;
    using TControl::SetText;
    AnsiString GetText(int index) const;
    void SetText(int index, const AnsiString &text);

    // Alignment of line 0-4: 0 left, 1 centre, 2 right. Any other value keeps the alignment and tells
    // the user (message 0) that it is wrong.
    int GetHor(int index) const;
    void SetHor(int index, int value);

    // The font of line 0-4, the control's own; setting one copies it.
    TFont *GetFont(int index) const;
    void SetFont(int index, const TFont &font);

    ELang Lang() const { return lang_; }
    void SetLang(ELang lang);
    bool Border() const { return border_; }
    void SetBorder(bool border);
    bool MultyLine() const { return multyLine_; }
    void SetMultyLine(bool multyLine);
    // A click switches MultyLine.
    bool ClickChgMultyLine() const { return clickChgMultyLine_; }
    void SetClickChgMultyLine(bool change) { clickChgMultyLine_ = change; }

    // Makes the control as high as its text + ZTextMargin and returns the height.
    int PCalcTextH();

    // The five line fonts become Arial scaled to the screen (ScaleFontToArial); always true.
    bool RescaleFonts(int m, int d) override;
    void Click() override;
    void WndProc(TMessage &message) override;

protected:
    void Paint() override;
    void Loaded() override;

private:
    AnsiString *Slot(int index);
    TZTextLines Lines() const;
    // Every change of what is shown repaints, except while the control is being built.
    void Relayout();

    std::array<AnsiString, 2 * ZTextLineCount> texts_;
    std::array<int, ZTextLineCount> hor_{};
    std::array<std::unique_ptr<TFont>, ZTextLineCount> fonts_;
    bool border_ = false;
    bool multyLine_ = true;
    bool clickChgMultyLine_ = false;
    ELang lang_;
};
