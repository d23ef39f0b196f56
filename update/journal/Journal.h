#pragma once
// The protocol and the rollback journal working together: a protocol line goes to the list the user
// watches and, while a journal is open and not suspended, as a dated and signed line to the journal;
// a command line records a change that rollback can undo. Each journal line reaches the file with one
// write of an unbuffered stream, so a killed updater leaves every line it wrote.
#include "framework/runtime/AnsiString.h"

class TStream;

// The protocol list the user watches: keeps lines, extends the last one and shows the newest.
class TProtocolList {
public:
    virtual ~TProtocolList() = default;
    virtual int Count() const = 0;
    // Adds a line as the new last line and shows it.
    virtual void Add(const AnsiString &line) = 0;
    // Appends text to the last line and shows it.
    virtual void ExtendLast(const AnsiString &text) = 0;
    // A list that shows its lines at a pace of its own shows every line it holds now.
    virtual void ShowWaiting() {}
};

// Where protocol and command lines go for one call.
struct TProtocolTarget {
    TProtocolList &List;
    TStream *Journal;       // null when no journal is open
    long long *JournalEnd;  // the journal's length, where its stream stands between lines
    bool Suspended;         // while set, the journal is left alone and writing reports success
    AnsiString Date;        // the line's local time, formatted with JournalDateFormat
};

// Writes one signed line at the journal's end `end`, where the stream stands, with a single write and
// no seek: CR LF before it unless the file is empty, and for a command line CR LF after it too; `end`
// moves past it. Throws what the stream throws, after taking any part of the line that was written
// back off the file (`end` then gives the journal's length again).
void AppendJournalLine(TStream &journal, long long &end, const AnsiString &line, bool commandLine);

// A protocol line (table text `index`, a blank, `text`): with `newLine` clear and lines in the list it
// extends the list's last line; in the journal it is always a line of its own. False when no journal
// is open or the journal line could not be written (the list then says so).
bool WriteProtocol(const TProtocolTarget &target, int index, const AnsiString &text, bool newLine);

// A command line; the list shows "LogCmd " + code + " " + text. False when no journal is open or the
// line could not be written. A caller about to make a change (IsChangeCommand) must not make it when
// this fails, since rollback could not undo it.
bool WriteCommand(const TProtocolTarget &target, int code, const AnsiString &text);
