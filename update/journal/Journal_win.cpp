// The main window's protocol and journal steps over the protocol list and the journal file.
#include <exception>

#include "framework/runtime/Classes.h"
#include "framework/runtime/Clock.h"
#include "framework/runtime/Kernel.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/FileOps.h"
#include "update/journal/Journal.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

TProtocolTarget TForm1::ProtocolTarget()
{
    return TProtocolTarget{*protocol_, JournalStream, &journalEnd_, JournalSuspended != 0,
                           FormatDateTime(JournalDateFormat, CurrentClock().Now())};
}

bool TForm1::Log(int8_t index, const AnsiString &text, bool newLine)
{
    if (JournalStream && !JournalSuspended)
        JournalUnflushed = 1;
    return WriteProtocol(ProtocolTarget(), index, text, newLine);
}

bool TForm1::CheckStep(bool result, bool newLine)
{
    Log(result ? ept_Ok : ept_Failed, AnsiString(), newLine);
    return result;
}

bool TForm1::LogCmd(int32_t code, const AnsiString &text)
{
    if (JournalStream && !JournalSuspended)
        JournalUnflushed = 1;
    return WriteCommand(ProtocolTarget(), code, text);
}

bool TForm1::FlushJournal()
{
    if (!JournalStream || JournalSuspended || !JournalUnflushed)
        return true;
    if (!FileOpFlush(*JournalStream)) {
        Log(ept_Exception, "Файл отката не записан на диск: " + JournalPath + ". " + SysErrorMessage(GetSysError()),
            true);
        return false;
    }
    JournalUnflushed = 0;
    return true;
}

bool TForm1::JournalExists() { return FileExists(JournalPath); }

bool TForm1::OpenJournal()
{
    const bool opened = Guarded(
        [&] {
            journalMade_ = !FileExists(JournalPath);
            if (journalMade_)
                FileOpCreate(JournalPath, 0);
            JournalStream = new TFileStream(JournalPath, fmOpenReadWrite | fmShareDenyWrite);
            // The stream stays at the end from here on: each line is appended without a seek.
            journalEnd_ = JournalStream->Seek(0, soFromEnd);
            journalStart_ = journalEnd_;
            return true;
        },
        " ");
    if (!opened)
        return false;
    // Without the start command rollback would not know where this run began, and without the folder a
    // journal copied with its installation would pass for the copy's: a journal that cannot take them
    // fails the step instead of letting the run change anything.
    return JournalSuspended || (LogCmd(ejc_Start, JournalStartText) && LogCmd(ejc_ProductFolder, ProductFolder));
}

bool TForm1::WithdrawJournal()
{
    if (!JournalStream)
        return true;
    const bool cut = Guarded([&] {
        FileOpResize(*JournalStream, JournalPath, journalStart_);
        return true;
    });
    delete JournalStream;
    JournalStream = nullptr;
    JournalUnflushed = 0;
    if (!cut) {
        Log(ept_Plain, "Не удалось снять строки этого запуска с файла отката " + JournalPath, true);
        return false;
    }
    return journalStart_ != 0 || !journalMade_ || DeleteFileLogged(JournalPath);
}

bool TForm1::CloseJournal()
{
    if (!JournalStream)
        return false;
    if (!JournalSuspended)
        LogCmd(ejc_End, JournalEndText);
    delete JournalStream;
    JournalStream = nullptr;
    JournalUnflushed = 0;
    return true;
}

bool TForm1::EndRolledBackJournal()
{
    // Rollback runs before this start keeps a journal of its own: the earlier run's journal is opened
    // for these two lines alone, and they are on the disk before anything it names is removed.
    return Guarded(
        [&] {
            TFileStream journal(JournalPath, fmOpenReadWrite | fmShareDenyWrite);
            long long end = journal.Seek(0, soFromEnd);
            const TProtocolTarget target{*protocol_, &journal, &end, false,
                                         FormatDateTime(JournalDateFormat, CurrentClock().Now())};
            return WriteCommand(target, ejc_Variant, RolledBackVariantText) &&
                   WriteCommand(target, ejc_End, JournalEndText) && FileOpFlush(journal);
        },
        " ");
}
