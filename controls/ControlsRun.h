#pragma once
// Start-up and shutdown of the controls library. A static library's own static initialisers may be
// left out by the linker, so nothing of it starts by itself: every program that links the controls calls
// StartControls before it makes the first control and StopControls after the last one is freed (or keeps
// a TControlsRun for that time). Calls nest; only the outermost pair does the work.
void StartControls();
void StopControls();
// Whether StartControls has run and StopControls has not ended it.
bool ControlsStarted();

// StartControls for as long as it lives.
struct TControlsRun {
    TControlsRun() { StartControls(); }
    ~TControlsRun() { StopControls(); }
    TControlsRun(const TControlsRun &) = delete;
    TControlsRun &operator=(const TControlsRun &) = delete;
};
