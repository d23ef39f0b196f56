#include "update/journal/Journal.h"

#include <exception>
#include <string>

#include "framework/runtime/Classes.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"

namespace {

// The list item that tells the user a journal line was lost.
void ReportWriteFailure(TProtocolList &list, const std::exception &e)
{
    list.Add(AnsiString(JournalWriteFailedText) + e.what() + " ");
}

bool WriteJournalLine(const TProtocolTarget &target, const AnsiString &line, bool commandLine)
{
    if (!target.Journal)
        return false;
    if (target.Suspended)
        return true;
    try {
        AppendJournalLine(*target.Journal, *target.JournalEnd, line, commandLine);
        return true;
    } catch (const std::exception &e) {
        ReportWriteFailure(target.List, e);
        return false;
    }
}

}  // namespace

void AppendJournalLine(TStream &journal, long long &end, const AnsiString &line, bool commandLine)
{
    AnsiString bytes = line;
    if (end != 0)
        bytes = commandLine ? "\r\n" + line + "\r\n" : "\r\n" + line;
    if (const uint32_t error = PassFileOpGate(TFileOp::JournalWrite, line))
        ThrowFileOpWriteError("journal", error);
    try {
        journal.WriteBuffer(bytes.data(), static_cast<long>(bytes.size()));
        end += static_cast<long long>(bytes.size());
    } catch (...) {
        // A line cut off by a full disk would fail its signature and stop rollback at it: take the
        // part that was written back off, so the journal ends with its last whole line. The stream
        // stands at the end again either way.
        try {
            if (PassFileOpGate(TFileOp::Resize, line) == 0)
                journal.SetSize(end);
            end = journal.Seek(0, soFromEnd);
        } catch (...) {}
        throw;
    }
}

bool WriteProtocol(const TProtocolTarget &target, int index, const AnsiString &text, bool newLine)
{
    AnsiString line = ProtocolLine(index, text);
    if (newLine || target.List.Count() == 0)
        target.List.Add(line);
    else
        target.List.ExtendLast(" " + line);
    return WriteJournalLine(target, JournalProtocolLine(target.Date, line), false);
}

bool WriteCommand(const TProtocolTarget &target, int code, const AnsiString &text)
{
    target.List.Add("LogCmd " + std::to_string(code) + " " + text);
    return WriteJournalLine(target, JournalCommandLine(target.Date, code, text), true);
}
