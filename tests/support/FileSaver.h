#pragma once
// The helper program filesaver (tests/support/exe) started from a test: a save of another program run
// to its end, or one stopped inside the save at its first write, then let on or killed there. What it
// saves is in FileSaverContent.h. Windows build only.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/runtime/AnsiString.h"
#include "tests/support/Processes.h"

// Whether a file's bytes are exactly one save's; when not, the lengths and where they first differ,
// instead of two long texts.
::testing::AssertionResult HoldsExactly(const std::string &bytes, const std::string &save);

class TFileSaver {
public:
    TFileSaver();
    ~TFileSaver();
    TFileSaver(const TFileSaver &) = delete;
    TFileSaver &operator=(const TFileSaver &) = delete;

    // Runs "filesaver ARGS" in `folder` to its end: 0 when its save succeeded, 1 when it was refused
    // or failed, ~0u when it did not end within a minute.
    static DWORD Run(const AnsiString &args, const AnsiString &folder);
    // Starts it so that it stops at its first write; true once it stands there.
    bool StartPaused(const AnsiString &args, const AnsiString &folder);
    // Lets it write on: its exit code, as Run gives it.
    DWORD Finish();
    // Ends it where it stands, as a program killed there (TerminateProcess), and waits for its end.
    void Kill();

private:
    TStartedProcess process_;
    AnsiString pause_;
    HANDLE ready_ = nullptr;
    HANDLE go_ = nullptr;
};
