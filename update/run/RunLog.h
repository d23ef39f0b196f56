#pragma once
// What a step of the run needs from the main window: protocol lines, the step's result, the window
// caption and the user-facing error box. The main window implements it; the engine's steps are written
// against it so that they run (and are tested) without a window.
#include <cstdint>
#include <exception>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/journal/JournalLine.h"

class TRunLog {
public:
    virtual ~TRunLog() = default;
    // A protocol line: the text of protocol-table entry `index`, a blank and `text`; with `newLine`
    // clear it extends the previous line.
    virtual bool Log(int8_t index, const AnsiString &text, bool newLine) = 0;
    // Appends "...ОК" (result true) or "...Были ошибки" and hands the result back.
    virtual bool CheckStep(bool result, bool newLine) = 0;
    virtual void SetRunCaption(const AnsiString &caption) = 0;
    // Shows the engine's message `id` (a string-table error) with its arguments in its places; with
    // none the box names the message's number instead.
    virtual void ShowRunError(int id, const std::vector<AnsiString> &arguments) = 0;

    // The pair a failed step ends with: the protocol's "error number" line naming message `id`, then
    // the message itself.
    void LogAndShowError(int id, const std::vector<AnsiString> &arguments = {})
    {
        Log(ept_ErrorNo, std::to_string(id), true);
        ShowRunError(id, arguments);
    }

    // Runs a step and hands back its result. An exception it throws does not leave the step: its text
    // (and `after`) becomes the protocol's exception line, and the step fails.
    template <typename Step>
    bool Guarded(Step &&step, const AnsiString &after = AnsiString())
    {
        try {
            return step();
        } catch (const std::exception &e) {
            Log(ept_Exception, AnsiString(e.what()) + after, true);
            return false;
        }
    }
};
