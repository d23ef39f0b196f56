#include "update/apply/ProgressPace.h"

#include <algorithm>

#include "framework/windows/ComCtrls.h"
#include "framework/windows/Forms.h"

bool TProgressPace::Due(std::chrono::steady_clock::time_point &last) const
{
    if (!bar_->HandleAllocated())
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(PaceMilliseconds))
        return false;
    last = now;
    return true;
}

void TProgressPace::SetMax(int max)
{
    max_ = std::max(max, 0);
    position_ = 0;
    Moved();
}

void TProgressPace::SetPosition(int position)
{
    position_ = std::clamp(position, 0, max_);
    Moved();
}

void TProgressPace::StepIt() { SetPosition(position_ + 1); }

void TProgressPace::Moved()
{
    if (Due(shown_))
        Show();
}

void TProgressPace::Show()
{
    if (bar_->Max() != max_)
        bar_->SetMax(max_);
    if (bar_->Position() != position_)
        bar_->SetPosition(position_);
}

void TProgressPace::ProcessMessages()
{
    if (!Due(pumped_))
        return;
    if (BeforeMessages)
        BeforeMessages();
    Application->ProcessMessages();
}
