#pragma once
// Runs the shipped updater as a user does: an installation on disk, the updater with its payload placed
// in it, started as its own process, and its boxes answered by the box clicker from another process.
// Used by the whole-program tests and the update tests that run the shipped program. Windows build only.
#include <windows.h>
#undef DeleteFile  // the framework's DeleteFile(AnsiString) is meant in these tests

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/Processes.h"

// The whole-program scenarios' updaters carry their own file name, "qmtupdt_e2e.exe": the updater keeps
// a second copy out by a mutex named after its file name, and other tests run the shipped "qmtupdt.exe"
// at the same time.
// Every file of an installation (relative name -> bytes), without the protocol files and the scenarios'
// updater.
using FileTree = std::map<AnsiString, std::vector<uint8_t>>;
FileTree ReadInstallation(const AnsiString &folder);
// Writes every file of `tree` under `folder` (with trailing "\"), making the folders it needs.
void WriteInstallation(const AnsiString &folder, const FileTree &tree);
// What differs between two trees, one line per file (missing, unexpected, or the size and the first
// differing offset), in UTF-8 for a failure message; empty when they are equal.
std::string TreeDifference(const FileTree &expected, const FileTree &actual);
// For EXPECT_TRUE: the difference, if any, is the failure's message.
::testing::AssertionResult SameTree(const FileTree &expected, const FileTree &actual);

std::vector<uint8_t> ReadFileBytes(const AnsiString &fileName);
void WriteFileBytes(const AnsiString &fileName, const std::vector<uint8_t> &bytes);

// The shipped updater's image with the payload appended.
std::vector<uint8_t> UpdaterWith(TestPayloadBuilder payload);

// Answers the boxes of `process` in the order given ("CAPTION=BUTTON_ID"); the clicker's exit code
// (0: all answered, 10+N: step N did not come within `stepTimeout` ms). The texts of the boxes go to
// `texts`, in CP1251.
DWORD AnswerBoxes(DWORD process, const std::vector<AnsiString> &steps, AnsiString &texts, int stepTimeout = 60000);

// Works the dialog of `process` with the caption as a user does, in the order given: "fill:LABEL=TEXT"
// types into the field under a label, "press:CAPTION" clicks a button. The clicker's exit code (0: all
// done, 1: no such dialog within `timeout` ms, 10+N: the control of step N was not there).
DWORD WorkDialog(DWORD process, const AnsiString &caption, const std::vector<AnsiString> &steps, int timeout = 60000);

// The caption of the updater's variant dialog, where the user places a copy of the installation.
extern const char *const kVariantDialog;

// The user's desktop folder as the shell reports it, with trailing "\" (under Wine: inside the prefix's
// user profile); "" when there is none.
AnsiString DesktopFolder();

// A shortcut saved on the desktop makes Wine start its menu builder on it, which may wait for the
// program that saved the link to end and must be done with the link before a test deletes it: deleted
// under it, the link lingers until the builder lets go, and the builder holds the test's output open.
// Tests delete links once the updaters have ended and this wait (bounded: another test program's builder
// may be waiting for that program) is over. True once no menu builder runs (at once on Windows).
bool WaitForMenuBuilder(int timeout);
// While it lives, Wine's menu builder does not start on the links saved in the prefix: its DLL override
// in the prefix's registry disables it, as it was before afterwards (Windows reads no such key). For
// tests that remove a link or its target right after the link is made: the builder opens the target
// for its icon at a moment of its own, and a file it holds cannot be removed then.
class TMenuBuilderOff {
public:
    TMenuBuilderOff();
    ~TMenuBuilderOff();
    TMenuBuilderOff(const TMenuBuilderOff &) = delete;
    TMenuBuilderOff &operator=(const TMenuBuilderOff &) = delete;

private:
    std::wstring previous_;
    bool had_ = false;  // the prefix had an override of its own, put back afterwards
    bool set_ = false;
};

// True once a box of `process` is on the screen (within `timeout` ms); it stays unanswered.
bool WaitForBoxOf(DWORD process, int timeout);

// The named mutex the stand-in product holds while it runs from `exePath` (the path upper-cased, "\"
// as "_"); whether some process holds it, and a wait until none does (false after `timeout` ms).
AnsiString StandInMutexName(const AnsiString &exePath);
bool MutexHeld(const AnsiString &name);
bool WaitForMutexGone(const AnsiString &name, int timeout);

bool WaitForFile(const AnsiString &fileName, int timeout);
bool WaitForFolder(const AnsiString &folder, int timeout);

// After the run: the main window closed, the program ended. False when it had to be killed.
bool CloseUpdater(TStartedProcess &updater);

// The lines of the protocol list in the main window of `process`, read from the list itself as the user
// sees it (empty when there is no such window), and the index of its selected line (-1 for none).
std::vector<AnsiString> ShownProtocolLines(DWORD process, int *selected = nullptr);

// The lines of a protocol file, and whether one of them contains `part`.
std::vector<AnsiString> ProtocolLines(const AnsiString &fileName);
bool HasLineWith(const std::vector<AnsiString> &lines, const AnsiString &part);
// The lines as one text, and a CP1251 text, in UTF-8 for failure messages.
std::string Joined(const std::vector<AnsiString> &lines);
std::string Utf8(const AnsiString &text);
