#pragma once
// TZSelBox: a one-line selection box, a text with a drop-down button at its right drawn like a combo
// box, that fires OnSelect when pressed by the mouse or a key. Its text is also its hint, which it
// keeps in two languages.
#include <memory>

#include "controls/UZLangBox.h"
#include "framework/windows/Controls.h"
#include "framework/graphics/Themes.h"

// The elements a selection box is drawn with in a state: the button and the frame round the text.
struct TSelBoxLook {
    TThemedState Button;
    TThemedFrameState Frame;
};
// Disabled first (frame and button disabled), then pressed (the button pressed in a focused frame), hot
// (both hot), focused (a focused frame) and normal.
TSelBoxLook SelBoxLook(bool enabled, bool pressed, bool hot, bool focused);
// The keys that press the box: Enter, Space, Page Down, Select, Execute and the keypad's 2.
bool IsSelBoxKey(uint16_t key);

class TZSelBox : public TCustomControl {
public:
    explicit TZSelBox(TComponent *owner);

    TLangChangeEvent OnLangChange;
    TZLangBox *HintL() const { return hintL_.get(); }
    TNotifyEvent OnSelect;

    // The frame, button and text areas from the size and the drawing mode (themed or classic).
    void LayoutAreas();
    // Paints the box on a canvas (its own when the window paints).
    void PaintOn(TCanvas &canvas);

    const TRect &FrameRect() const { return frameRect_; }
    const TRect &ButtonRect() const { return buttonRect_; }
    const TRect &TextArea() const { return textRect_; }
    bool Pressed() const { return pressed_; }
    bool Hot() const { return hot_; }
    bool Themed() const { return themed_; }

    // The handlers the box puts in its own OnMouseDown, OnMouseUp, OnKeyDown and OnKeyUp; an
    // application's handler put there instead replaces them.
    void InnerMouseDown(TObject *sender, TMouseButton button, TShiftState shift, int x, int y);
    void InnerMouseUp(TObject *sender, TMouseButton button, TShiftState shift, int x, int y);
    void InnerKeyDown(TObject *sender, uint16_t &key, TShiftState shift);
    void InnerKeyUp(TObject *sender, uint16_t &key, TShiftState shift);

    void WndProc(TMessage &message) override;

protected:
    void Paint() override;
    void Resize() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void TextChanged() override;

private:
    void Release(bool select);
    void SetHot(bool hot);

    std::unique_ptr<TZLangBox> hintL_;
    bool pressed_ = false, focused_ = false, hot_ = false, themed_ = false;
    bool constructing_ = true;
    TRect textRect_, buttonRect_, frameRect_;
};
