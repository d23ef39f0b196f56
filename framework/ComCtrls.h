#pragma once
// Common controls: the progress bar.
#include "framework/Controls.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent *owner);
    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    // Kept between Min and Max.
    int Position() const { return position_; }
    void SetPosition(int position);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = step; }
    // Advances by Step, wrapping to Min past Max as the system's bar does.
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams &params) override;
    void InitializeWnd() override;

private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};
