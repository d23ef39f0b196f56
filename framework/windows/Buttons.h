#pragma once
// The speed button: a painted button with a glyph and a caption that never takes the focus (tool
// bars). It clicks when the left button is released over it; Flat shows its frame only under the
// mouse; Down keeps it drawn pressed.
#include <memory>

#include "framework/windows/Controls.h"

class TSpeedButton : public TCustomControl {
public:
    explicit TSpeedButton(TComponent *owner);
    ~TSpeedButton() override;
    // The picture left of the caption; its bottom-left pixel's colour is shown transparent.
    TBitmap *Glyph() const { return glyph_.get(); }
    // Repaints after the glyph was drawn on or loaded.
    void GlyphChanged() { Invalidate(); }
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    bool Down() const { return down_; }
    void SetDown(bool down);

    void WndProc(TMessage &message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void TextChanged() override;
    void EnabledChanged() override;

private:
    std::unique_ptr<TBitmap> glyph_;
    bool flat_ = false, down_ = false;
    bool pressed_ = false, hot_ = false;
};
