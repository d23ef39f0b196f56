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

// ---- over the real system (Windows build) ----------------------------------------------------

// The journal file's bytes; false when it cannot be read.
bool ReadJournalFile(const AnsiString &path, std::string &content);

// The journals in a product folder (with trailing "\") that a start must look at before it changes
// anything, newest first: its own journal `ownJournal` when it is there, and every signed journal of
// another version's update.
std::vector<AnsiString> JournalsInProductFolder(const AnsiString &productFolder, const AnsiString &ownJournal);
