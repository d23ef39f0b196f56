#pragma once
// Panels and timers.
#include "framework/Controls.h"

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
