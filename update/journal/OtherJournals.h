#pragma once
// The journals an installation's folder may hold besides the run's own: every update writes its journal
// under its own new version, so a run of another version finds the journal of a run that did not
// finish only by looking for journal files of any version. What is told here comes from a file's name
// and lines alone.
#include <string>
#include <vector>

#include "framework/runtime/AnsiString.h"

// Whether a file name is that of an update's journal: "qmt_" + a version (decimal numbers separated by
// single dots) + ".txt", in any letter case.
bool IsJournalFileName(const AnsiString &name);

// Whether a file's lines are those of a journal the engine wrote: at least one command line carries a
// good signature. A file of a journal's name that is not one is someone else's.
bool IsSignedJournal(const std::vector<AnsiString> &lines);

// When the journal's newest well-signed line was written, as a text that sorts in time order
// ("yymmddhhnnsszzz"); empty when no line has a date.
AnsiString JournalTimeKey(const std::vector<AnsiString> &lines);

// Every temporary folder the journal's well-signed command lines name (command 8), newest first, each
// once (letter case and a trailing backslash aside). A journal a later start appended to names the
// folders of its earlier runs too, and nothing else names them.
std::vector<AnsiString> JournaledTempFolders(const std::vector<AnsiString> &lines);

// A file of a journal's name in a product folder, as a start finds it.
struct TJournalFile {
    AnsiString Path;
    bool Read = false;  // false: it could not be read (another program holds it open with no sharing)
    AnsiString Error;   // why not, in the system's words
    std::string Content;
    std::vector<AnsiString> Lines;
    bool Signed = false;  // IsSignedJournal
};

// The first of `now` that is not as `seen` had it, or the first of `seen` that is gone: another program
// wrote, made or removed it meanwhile, or it can no longer be read. The run's own journal counts as it
// was when the run opened it, `ownStart` bytes long: the run's own lines after them are no change.
// Empty when every file is as it was.
AnsiString JournalChangedSince(const std::vector<TJournalFile> &seen, const std::vector<TJournalFile> &now,
                               const AnsiString &ownJournal, size_t ownStart);

// ---- over the real system (Windows build) ----------------------------------------------------

// The journal file's bytes; false when it cannot be read (`error`, when given, then says why).
bool ReadJournalFile(const AnsiString &path, std::string &content, AnsiString *error = nullptr);

// The files a start must look at before it changes anything, in a product folder (with trailing "\"):
// the run's own journal `ownJournal` when it is there, whatever it holds, and every file of a
// journal's name. Those read and signed come first, newest first; the others follow.
std::vector<TJournalFile> JournalFilesIn(const AnsiString &productFolder, const AnsiString &ownJournal);
