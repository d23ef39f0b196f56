#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/runtime/Classes.h"
#include "tests/support/ProtocolLines.h"
#include "update/journal/Journal.h"
#include "update/journal/JournalLine.h"

namespace {

// A journal on a disk that fills up after `room` bytes: the write stores what fits, then fails.
class TFullDiskStream : public TMemoryStream {
public:
    explicit TFullDiskStream(long long room) : room_(room) {}
    long Write(const void *buffer, long count) override
    {
        long fits = static_cast<long>(std::min<long long>(count, room_ - Size()));
        if (fits <= 0)
            return 0;
        return TMemoryStream::Write(buffer, fits);
    }

private:
    long long room_;
};

AnsiString Content(TStream &s)
{
    AnsiString bytes(static_cast<size_t>(s.Size()), '\0');
    s.Seek(0, soFromBeginning);
    if (!bytes.empty())
        s.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
    return bytes;
}

const AnsiString Date = "06.12.26 22:51:10.007";

}  // namespace

TEST(Journal, ByteLayoutOfANewJournal)
{
    TProtocolLines list;
    TMemoryStream journal;
    long long end = 0;
    TProtocolTarget target{list, &journal, &end, false, Date};

    ASSERT_TRUE(WriteCommand(target, ejc_Start, JournalStartText));
    AnsiString start = JournalCommandLine(Date, 4, "Запуск");
    EXPECT_EQ(start, Content(journal));  // the first line has no CR LF at all

    ASSERT_TRUE(WriteProtocol(target, ept_Plain, "Шаг", true));
    AnsiString step = JournalProtocolLine(Date, " Шаг");
    EXPECT_EQ(start + "\r\n" + step, Content(journal));

    ASSERT_TRUE(WriteCommand(target, ejc_TempFolder, "C:\\QMT\\QMTUPDTA.TMP\\"));
    AnsiString temp = JournalCommandLine(Date, 8, "C:\\QMT\\QMTUPDTA.TMP\\");
    ASSERT_TRUE(WriteProtocol(target, ept_Ok, "", false));
    AnsiString ok = JournalProtocolLine(Date, "...ОК ");
    EXPECT_EQ(start + "\r\n" + step + "\r\n" + temp + "\r\n" + "\r\n" + ok, Content(journal));

    std::vector<AnsiString> lines = SplitJournalLines(Content(journal));
    ASSERT_EQ(4u, lines.size());
    for (const AnsiString &line : lines)
        EXPECT_TRUE(VerifyLine(line)) << line;
    EXPECT_EQ("> " + Date + "*8#C:\\QMT\\QMTUPDTA.TMP\\", lines[2].substr(0, lines[2].size() - 10));

    ASSERT_EQ(3u, list.Lines.size());
    EXPECT_EQ("LogCmd 4 Запуск", list.Lines[0]);
    EXPECT_EQ(" Шаг", list.Lines[1]);
    EXPECT_EQ("LogCmd 8 C:\\QMT\\QMTUPDTA.TMP\\ ...ОК ", list.Lines[2]);
}

// A journal that counts the seeks made on it.
class TSeekCountingStream : public TMemoryStream {
public:
    long long Seek(long long offset, TSeekOrigin origin) override
    {
        ++seeks;
        return TMemoryStream::Seek(offset, origin);
    }
    int seeks = 0;
};

TEST(Journal, LinesAreAppendedWhereTheStreamStandsWithoutASeek)
{
    TProtocolLines list;
    TSeekCountingStream journal;
    long long end = 0;
    TProtocolTarget target{list, &journal, &end, false, Date};
    ASSERT_TRUE(WriteCommand(target, ejc_Start, JournalStartText));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(WriteProtocol(target, ept_Plain, "Шаг " + std::to_string(i), true));
    ASSERT_TRUE(WriteCommand(target, ejc_End, JournalEndText));
    EXPECT_EQ(0, journal.seeks);
    EXPECT_EQ(journal.Size(), end);
    const std::vector<AnsiString> lines = SplitJournalLines(Content(journal));
    ASSERT_EQ(22u, lines.size());
    for (const AnsiString &line : lines)
        EXPECT_TRUE(VerifyLine(line)) << line;
}

TEST(Journal, StepResultExtendsTheTitleInTheListOnly)
{
    TProtocolLines list;
    TMemoryStream journal;
    long long end = 0;
    TProtocolTarget target{list, &journal, &end, false, Date};
    WriteProtocol(target, ept_Plain, "Создание списка обновлений", true);
    WriteProtocol(target, ept_Ok, "", false);
    ASSERT_EQ(1u, list.Lines.size());
    EXPECT_EQ(" Создание списка обновлений ...ОК ", list.Lines[0]);
    EXPECT_EQ(2u, SplitJournalLines(Content(journal)).size());

    // With nothing in the list yet, a continuation starts a line of its own.
    TProtocolLines empty;
    TProtocolTarget first{empty, nullptr, &end, false, Date};
    WriteProtocol(first, ept_Failed, "", false);
    ASSERT_EQ(1u, empty.Lines.size());
    EXPECT_EQ("...Были ошибки ", empty.Lines[0]);
}

TEST(Journal, NoJournalOrSuspended)
{
    TProtocolLines list;
    long long end = 0;
    TProtocolTarget none{list, nullptr, &end, false, Date};
    EXPECT_FALSE(WriteProtocol(none, ept_Plain, "a", true));
    EXPECT_FALSE(WriteCommand(none, ejc_Created, "z<a"));
    EXPECT_EQ(2u, list.Lines.size());  // the list still shows them

    TMemoryStream journal;
    TProtocolTarget suspended{list, &journal, &end, true, Date};
    EXPECT_TRUE(WriteProtocol(suspended, ept_Restore, "b", true));
    EXPECT_TRUE(WriteCommand(suspended, ejc_Backup, "c"));
    EXPECT_EQ(0, journal.Size());
    EXPECT_EQ(4u, list.Lines.size());
}

TEST(Journal, FailedWriteReportsAndLeavesOnlyWholeLines)
{
    TProtocolLines list;
    AnsiString start = JournalCommandLine(Date, 4, "Запуск");
    TFullDiskStream journal(static_cast<long long>(start.size()) + 20);
    long long end = 0;
    TProtocolTarget target{list, &journal, &end, false, Date};
    ASSERT_TRUE(WriteCommand(target, ejc_Start, JournalStartText));

    // A change command that does not fit: the step that asked for it gets false.
    EXPECT_FALSE(WriteCommand(target, ejc_Backup, "C:\\P\\a.dbf<C:\\T\\a.dbf00000000010000000002"));
    EXPECT_EQ(start, Content(journal));  // the part that fitted was taken back off
    ASSERT_EQ(3u, list.Lines.size());
    EXPECT_EQ(0u, list.Lines[1].find("LogCmd 6 "));
    EXPECT_EQ(0u, list.Lines[2].find("!!!Невозможно сохранить протокол!!! "));
    EXPECT_EQ(' ', list.Lines[2].back());
    EXPECT_FALSE(WriteProtocol(target, ept_Copy, "a.dbf", true));
    ASSERT_EQ(5u, list.Lines.size());
    EXPECT_EQ("Копирование файла a.dbf", list.Lines[3]);
    EXPECT_EQ(0u, list.Lines[4].find("!!!Невозможно сохранить протокол!!! "));
    EXPECT_EQ(start, Content(journal));
}
