#pragma once
// Panels, timers, images and shapes.
#include <memory>

#include "framework/windows/Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent *owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    bool WantsPaint() const override { return true; }
    void PaintWindow(HDC dc) override;
    void TextChanged() override;
    // The bevel runs along the edges and the caption is placed in the whole panel: a new size
    // repaints all of it, not only the part the system uncovers.
    void Resize() override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    TAlignment alignment_ = taCenter;
};

// Runs OnTimer every Interval milliseconds while Enabled, from the message loop of the thread that
// made it.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent *owner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    std::function<void(TObject *Sender)> OnTimer;

    // Called by the system timer (public for the window system's callback).
    void Fire();

private:
    void Update();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    uintptr_t id_ = 0;
};

// A picture held by an image: its bitmap.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TBitmap *Bitmap() const { return bitmap_.get(); }
    int Width() const { return bitmap_->Width(); }
    int Height() const { return bitmap_->Height(); }

private:
    std::unique_ptr<TBitmap> bitmap_;
};

// Shows a picture, at its own size from the top left or stretched over the whole control.
class TImage : public TCustomControl {
public:
    explicit TImage(TComponent *owner);
    ~TImage() override;
    // The picture; the image shows changes to it once repainted (Canvas repaints by itself).
    TPicture *Picture() const { return picture_.get(); }
    // The picture's canvas (drawing on it repaints the image).
    TCanvas *Canvas();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

protected:
    void Paint() override;

private:
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A figure drawn with a pen and filled with a brush (a line when it is one pixel high).
class TShape : public TCustomControl {
public:
    explicit TShape(TComponent *owner);
    ~TShape() override;
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    TPen *Pen() const { return pen_.get(); }
    TBrush *Brush() const { return brush_.get(); }

protected:
    void Paint() override;

private:
    TShapeType shape_ = stRectangle;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
};
