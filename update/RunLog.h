#pragma once
// What a step of the run needs from the main window: protocol lines, the step's result, the window
// caption and the user-facing error box. The main window implements it; the engine's steps are written
// against it so that they run (and are tested) without a window.
#include <cstdint>

#include "framework/AnsiString.h"

class TRunLog {
public:
    virtual ~TRunLog() = default;
    // A protocol line: the text of protocol-table entry `index`, a blank and `text`; with `newLine`
    // clear it extends the previous line.
    virtual bool Log(int8_t index, const AnsiString &text, bool newLine) = 0;
    // Appends "...ОК" (result true) or "...Были ошибки" and hands the result back.
    virtual bool CheckStep(bool result, bool newLine) = 0;
    virtual void SetRunCaption(const AnsiString &caption) = 0;
    // Shows the engine's message `id` (a string-table error) with one argument.
    virtual void ShowRunError(int id, const AnsiString &argument) = 0;
};
