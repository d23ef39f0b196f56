#pragma once
// The demonstration's record of what it received: every event as one line "EVENT CONTROL VALUES" in a
// log file (its control characters escaped) (written through at once, so that a reader from outside sees it while the program runs) and
// on the main form's status line.
#include <functional>

#include "framework/runtime/AnsiString.h"

class TDemoLog {
public:
    // An empty file name keeps no file.
    explicit TDemoLog(const AnsiString &fileName);
    ~TDemoLog();
    TDemoLog(const TDemoLog &) = delete;
    TDemoLog &operator=(const TDemoLog &) = delete;

    void Event(const AnsiString &event, const AnsiString &control, const AnsiString &values = AnsiString());
    const AnsiString &FileName() const { return fileName_; }
    // Where each line is shown as well (the status line).
    std::function<void(const AnsiString &line)> OnLine;

private:
    AnsiString fileName_;
    void *file_ = nullptr;
};
