#pragma once
// A painted three-state check box whose caption wraps to the control's width (optionally flowing round
// the box), can be justified, can grow the control to fit and has an optional border; and the small
// text scanner it breaks and justifies its caption with.
//
// The scanner measures through a text-extent function it is given, so line breaking and justification
// work the same on a screen, on a recording canvas and in tests with made-up widths.
#include <functional>
#include <vector>

#include "controls/UZLangBox.h"
#include "framework/runtime/AnsiString.h"
#include "framework/windows/Controls.h"
#include "framework/graphics/Graphics.h"
#include "framework/windows/StdCtrls.h"  // the three check states, shared with the system's check box
#include "framework/runtime/Types.h"

// The size of text[0, length) as drawn.
using TTextExtentFn = std::function<TSize(const char *text, int length)>;

// Breaks a text into lines of a given width. Blanks are the characters with codes up to 32; a line may
// break before a blank, and after a blank, a control character or a hyphen that ends a word.
class TextScanner {
public:
    // length -1: up to the terminating zero.
    TextScanner(const char *text, int length, TTextExtentFn extent);
    // Measured with the canvas's current font.
    TextScanner(const char *text, int length, TCanvas &canvas);

    int Position() const { return pos_; }
    void SetPosition(int pos) { pos_ = pos; }
    int Length() const { return length_; }
    bool AtEnd() const { return pos_ >= length_; }

    // Moves past blanks; true when any were skipped.
    bool SkipBlanks();
    // Moves past one word: at least one character, up to the next place a line may break.
    void SkipWord();
    // Whether a line may break before position `pos` (always at the text's ends); `afterBlank` tells
    // that the break follows a blank.
    bool CanBreakAt(int pos, bool &afterBlank) const;
    // The next line no wider than `width`: [start, end) without its leading and trailing blanks. A word
    // wider than the width still makes a line of its own (drawn clipped), so that every call moves on.
    // Returns the number of blanks inside the line (what justification spreads the free width over), or
    // -1 with nothing left.
    int NextLine(double width, int &start, int &end);
    // Measures text[from, to); the result is kept in Width and Height as well.
    TSize TextExtent(int from, int to);
    double Width() const { return width_; }
    int Height() const { return height_; }

private:
    const char *text_;
    int length_;
    int pos_ = 0;
    TTextExtentFn extent_;
    double width_ = 0;
    int height_ = 0;
};

// Draws a text into `rect` line by line, each inner line with blanks justified to the rectangle's width
// (the last line and lines of one word are left as they are), or with `measureOnly` only measures it.
// When measuring, or when a line (a word too long for the width) is wider than the rectangle, the
// rectangle's right is widened by the excess, its bottom set to top + the text's height, and the result
// is true; otherwise the rectangle is left as it is and the result is false. Blanks inside lines are
// drawn as spaces.
bool DrawJustifiedText(TCanvas &canvas, const char *text, int length, bool measureOnly, TRect &rect);

// The check box's caption: as DrawJustifiedText, except that lines beside `box` (when given: the lines
// whose middle lies within the box's height) start right of it and are narrower by its width, that lines
// are justified only with `justify`, and that the text is written on a transparent background.
// `lineCount` receives the number of lines.
bool WrapAndDrawText(TCanvas &canvas, const char *text, int length, bool measureOnly, bool justify, int &lineCount,
                     const TRect *box, TRect &textRect);

class TXCheckBox : public TWithLangBoxes<TCustomControl> {
public:
    explicit TXCheckBox(TComponent *owner);

    TCheckBoxState State() const { return state_; }
    // A new state is stored, told to OnCheck and shown.
    void SetState(TCheckBoxState state);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    bool GetChecked() const { return Checked(); }
    // Unchecked becomes checked, checked unchecked (through SetState); grayed becomes checked silently
    // (no OnCheck) and is shown at once.
    void Toggle();

    // The control grows to hold its caption (it never shrinks by itself).
    bool Autosize() const { return autosize_; }
    void SetAutosize(bool autosize);
    // The caption flows round the box, using the room below it.
    bool Wrapping() const { return wrapping_; }
    void SetWrapping(bool wrapping);
    bool ShowBorder() const { return showBorder_; }
    void SetShowBorder(bool showBorder);

    // Measures the caption and grows the control by what the text rectangle lacks.
    void LayoutText();
    // Paints the control on a canvas (its own when the window paints).
    void PaintOn(TCanvas &canvas);

    const TRect &BoxRect() const { return boxRect_; }
    const TRect &TextRect() const { return textRect_; }
    const TRect &BorderRect() const { return borderRect_; }

    TNotifyEvent OnCheck;

protected:
    void Paint() override;
    void Resize() override;
    void KeyPress(char &key) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    void TextChanged() override;
    void EnabledChanged() override;

private:
    void LayoutRects();
    // The box as the caption's lines flow round it.
    TRect BesideBox() const;
    void LayoutTextOn(TCanvas &canvas);

    TRect boxRect_;
    TRect textRect_;
    TRect borderRect_;
    bool resizing_ = false;
    bool focused_ = false;
    TCheckBoxState state_ = cbUnchecked;
    bool autosize_ = false;
    bool wrapping_ = false;
    bool showBorder_ = true;
    bool allowGrayed_ = false;
};
