#include <gtest/gtest.h>

#include <vector>

#include "update/journal/JournalLine.h"
#include "update/journal/OtherJournals.h"

TEST(OtherJournals, OnlyAVersionsJournalNameCounts)
{
    EXPECT_TRUE(IsJournalFileName("qmt_3.1.1.5.txt"));
    EXPECT_TRUE(IsJournalFileName("QMT_3.TXT"));
    for (const char *name : {"qmt_.txt", "qmt_3..1.txt", "qmt_3.1..txt", "qmt_.3.txt", "qmt_notes.txt",
                             "qmt_3.1.txt.bak", "Протокол_qmt_3.1.1.5.txt", "qmt_3 1.txt"})
        EXPECT_FALSE(IsJournalFileName(name)) << name;
}

TEST(OtherJournals, ASignedJournalItsNewestDateAndEveryTemporaryFolderItNames)
{
    std::vector<AnsiString> lines = {
        JournalCommandLine("31.12.25 23:59:59.999", ejc_Start, "Запуск"),
        JournalCommandLine("31.12.25 23:59:59.999", ejc_TempFolder, "E:\\QMTUPDT.TMP\\RUN00000001\\"),
        JournalCommandLine("01.01.26 00:00:00.001", ejc_End, "Конец"),
        JournalCommandLine("02.01.26 08:00:00.000", ejc_Start, "Запуск"),
        JournalCommandLine("02.01.26 08:00:00.000", ejc_TempFolder, "C:\\P\\QMTUPDTA.TMP\\"),
        JournalCommandLine("02.01.26 08:00:01.000", ejc_TempFolder, "e:\\qmtupdt.tmp\\run00000001"),
        JournalProtocolLine("02.01.26 08:00:02.500", "Копирование файла"),
    };
    EXPECT_TRUE(IsSignedJournal(lines));
    EXPECT_EQ("260102080002500", JournalTimeKey(lines));
    EXPECT_EQ((std::vector<AnsiString>{"e:\\qmtupdt.tmp\\run00000001", "C:\\P\\QMTUPDTA.TMP\\"}),
              JournaledTempFolders(lines));

    // A damaged newest line neither dates the journal nor names a folder.
    lines.push_back(JournalCommandLine("03.01.26 08:00:00.000", ejc_TempFolder, "D:\\X\\"));
    lines.back()[5] = '9';
    EXPECT_EQ("260102080002500", JournalTimeKey(lines));
    EXPECT_EQ(2u, JournaledTempFolders(lines).size());

    // A user's text of a journal's name is no journal.
    EXPECT_FALSE(IsSignedJournal({"> 01.01.26 00:00:00.000*4#Запуск0000000000", "; заметки"}));
    EXPECT_TRUE(JournalTimeKey({"; заметки"}).empty());
}

TEST(OtherJournals, AChangeToTheJournalsSinceTheCheckIsFoundAndTheRunsOwnLinesAreNone)
{
    auto file = [](const AnsiString &path, const std::string &content, bool read = true) {
        TJournalFile f;
        f.Path = path;
        f.Read = read;
        f.Content = content;
        return f;
    };
    const AnsiString own = "C:\\P\\qmt_3.1.1.6.txt";
    const std::vector<TJournalFile> seen = {file("C:\\P\\qmt_3.0.txt", "notes")};

    // The run's own journal made by the run, and lines it wrote there since.
    EXPECT_EQ("", JournalChangedSince(seen, {file(own, "> start"), seen[0]}, own, 0));
    // Another run wrote there before this one opened it.
    EXPECT_EQ(own, JournalChangedSince(seen, {file(own, "> A's start> start"), seen[0]}, own, 9));
    // An ended journal the check left the run appended to, unchanged or changed before the run opened it.
    const std::vector<TJournalFile> ended = {file(own, "> end")};
    EXPECT_EQ("", JournalChangedSince(ended, {file(own, "> end> start")}, own, 5));
    EXPECT_EQ(own, JournalChangedSince(ended, {file(own, "> End> start")}, own, 5));

    // Another file written, made, removed, or held so that it cannot be read.
    EXPECT_EQ("C:\\P\\qmt_3.0.txt", JournalChangedSince(seen, {file("C:\\P\\qmt_3.0.txt", "notes!")}, own, 0));
    EXPECT_EQ("C:\\P\\qmt_3.1.1.5.txt",
              JournalChangedSince(seen, {seen[0], file("C:\\P\\qmt_3.1.1.5.txt", "> start")}, own, 0));
    EXPECT_EQ("C:\\P\\qmt_3.0.txt", JournalChangedSince(seen, {}, own, 0));
    EXPECT_EQ("c:\\p\\QMT_3.0.TXT", JournalChangedSince(seen, {file("c:\\p\\QMT_3.0.TXT", "", false)}, own, 0));
    EXPECT_EQ("", JournalChangedSince(seen, {file("c:\\p\\QMT_3.0.TXT", "notes")}, own, 0));
}
