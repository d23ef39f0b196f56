#pragma once
// The progress bar as the engine moves it. On the screen each move repaints the bar, and under some
// systems a repaint costs more than the copy of a small file, so a copy of thousands of files spent most
// of its time drawing steps nobody could see. While the bar is shown, moves reach it at most every
// PaceMilliseconds (the latest state then), and pending window messages are processed at the same pace,
// so the window stays responsive and current without a repaint per step. A bar that has no window yet
// takes every move at once.
#include <chrono>
#include <functional>

class TProgressBar;

class TProgressPace {
public:
    static constexpr int PaceMilliseconds = 100;

    explicit TProgressPace(TProgressBar *bar) : bar_(bar) {}
    // A new range of 0 .. max, the position at 0.
    void SetMax(int max);
    void SetPosition(int position);
    // One step on, never past the maximum.
    void StepIt();
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Shows the latest state on the bar now.
    void Show();
    // Processes pending window messages, at most once a pace.
    void ProcessMessages();
    // Called before the messages are processed (the protocol shows its waiting lines).
    std::function<void()> BeforeMessages;

private:
    bool Due(std::chrono::steady_clock::time_point &last) const;
    void Moved();

    TProgressBar *bar_;
    int max_ = 100;
    int position_ = 0;
    std::chrono::steady_clock::time_point shown_{}, pumped_{};
};
