// Files on disk written by two programs: a second program (the helper wfilewriter) commits or edits
// between this one's opening and its commit or edit, holds the file, is killed holding it, keeps the
// temporary file open as a scanner may, appends to a simple file or is killed while it appends.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/runtime/Cp1251.h"
#include "framework/runtime/SysUtils.h"
#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/Processes.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WFileWriterRecords.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

namespace {

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

AnsiString WriterLine(const AnsiString &args) { return "\"" QMT_HELPER_DIR "\\wfilewriter.exe\" " + args; }

std::vector<Bytes> Records(const char *prefix, int count)
{
    std::vector<Bytes> out;
    for (int i = 0; i < count; ++i)
        out.push_back(B(prefix + std::to_string(i)));
    return out;
}

// Waits (60 s at most) until the condition holds.
template <class Condition>
bool WaitFor(Condition condition)
{
    for (int i = 0; i < 1200; ++i) {
        if (condition())
            return true;
        Sleep(50);
    }
    return false;
}

class TwoPrograms : public ::testing::Test {
protected:
    TempFolder tmp;
    const AnsiString name = tmp / "база данных.dat";

    void SetUp() override
    {
        auto b = CompoundFileBuilder::Created(4);
        b.Commit(1, {B("old one")});
        b.Commit(2, {B("old two")});
        WriteWholeFile(name, Text(b.Build()));
    }
    DWORD RunWriter(const AnsiString &args)
    {
        TStartedProcess p;
        if (!p.Start(WriterLine(args), tmp.Path()))
            return ~0u;
        return p.Wait(60000);
    }
};

}  // namespace

TEST_F(TwoPrograms, ACommitOfTheOtherProgramBetweenOpeningAndCommitStays)
{
    {
        WFile f(name);
        ASSERT_EQ(RunWriter("commit \"" + name + "\" 2 50"), 0u);
        f.BeginWrite(1);
        for (const Bytes &r : Records("mine-", 10))
            f.WriteRecord(0, static_cast<uint32_t>(r.size()), r.data());
        f.EndWrite(1, true);
        EXPECT_EQ(ReadAll(f, 2), Records("child-", 50));
    }
    EXPECT_EQ(ReadAll(name, 1), Records("mine-", 10));
    EXPECT_EQ(ReadAll(name, 2), Records("child-", 50));
    EXPECT_FALSE(FileExists(name + "$$"));
}

TEST_F(TwoPrograms, TheSecondWriterIsRefusedWhileTheFirstHoldsTheFileButNotByAKilledHolder)
{
    {
        WFile f(name);
        f.BeginWrite(1);
        f.WriteRecord(0, 4, "mine");
        EXPECT_EQ(RunWriter("commit \"" + name + "\" 2 5"), 1u) << "the other program is refused";
        WFile other(name);
        EXPECT_NE(CatchZError([&] { other.BeginWrite(2); }).Message().find("сейчас записывает другая программа"),
                  std::string::npos)
            << "and so is another object of this one";
        f.EndWrite(1, true);
    }
    EXPECT_EQ(ReadAll(name, 1), std::vector<Bytes>{B("mine")});
    EXPECT_EQ(ReadAll(name, 2), std::vector<Bytes>{B("old two")});

    TStartedProcess holder;
    ASSERT_TRUE(holder.Start(WriterLine("hold \"" + name + "\" 3"), tmp.Path()));
    ASSERT_TRUE(WaitFor([&] { return FileExists(name + "$$"); }));
    {
        WFile f(name);
        ZError e = CatchZError([&] { f.BeginWrite(2); });
        EXPECT_NE(e.Message().find("сейчас записывает другая программа"), std::string::npos) << e.Message();
        holder.Kill();  // the temporary file stays behind, held by nobody
        ASSERT_TRUE(FileExists(name + "$$"));
        f.BeginWrite(2);
        f.WriteRecord(0, 5, "after");
        f.EndWrite(2, true);
    }
    EXPECT_EQ(ReadAll(name, 1), std::vector<Bytes>{B("mine")});
    EXPECT_EQ(ReadAll(name, 2), std::vector<Bytes>{B("after")});
    EXPECT_EQ(ReadAll(name, 3), std::vector<Bytes>{}) << "the killed writer committed nothing";
    EXPECT_FALSE(FileExists(name + "$$"));
}

TEST_F(TwoPrograms, AnEditAfterTheOtherProgramsCommitOrEditWritesBehindIt)
{
    for (const char *other : {"commit", "edit"}) {
        SCOPED_TRACE(other);
        SetUp();
        {
            WFile f(name);
            ASSERT_EQ(RunWriter(AnsiString(other) + " \"" + name + "\" 2 50"), 0u);
            WRec rec;
            rec.Assign("mine-1", 6);
            f.AppendRecord(1, rec);
            rec.Assign("mine-3", 6);
            f.InsertRecordAfter(3, 0, rec);
        }
        std::vector<Bytes> two = Records("child-", 50);
        if (std::string(other) == "edit")
            two.insert(two.begin(), B("old two"));
        EXPECT_EQ(ReadAll(name, 1), (std::vector<Bytes>{B("old one"), B("mine-1")}));
        EXPECT_EQ(ReadAll(name, 2), two);
        EXPECT_EQ(ReadAll(name, 3), std::vector<Bytes>{B("mine-3")});
        EXPECT_FALSE(FileExists(name + "$$"));
    }
}

TEST_F(TwoPrograms, AnEditIsRefusedWhileTheOtherProgramHoldsTheFileAndHoldsItAgainstThatProgram)
{
    const std::string before = ReadWholeFile(name);
    TStartedProcess holder;
    ASSERT_TRUE(holder.Start(WriterLine("hold \"" + name + "\" 3"), tmp.Path()));
    ASSERT_TRUE(WaitFor([&] { return FileExists(name + "$$"); }));
    WRec rec;
    rec.Assign("mine", 4);
    {
        WFile f(name);
        ZError e = CatchZError([&] { f.AppendRecord(1, rec); });
        EXPECT_NE(e.Message().find("сейчас записывает другая программа"), std::string::npos) << e.Message();
        // The record-header edits as well: the other program may be linking a record behind the same one.
        const uint32_t first = f.EntryPosition(1);
        for (const ZError &header :
             {CatchZError([&] { f.SetRecordLink(first, NoLink, 0); }), CatchZError([&] { f.MarkRecord(first, 0x01); })})
            EXPECT_NE(header.Message().find("сейчас записывает другая программа"), std::string::npos)
                << header.Message();
        EXPECT_EQ(ReadWholeFile(name), before);
        holder.Kill();
        f.AppendRecord(1, rec);
        // A chain being built holds the file until it is linked in: the other program can neither
        // commit nor edit meanwhile.
        f.EditRecords(6, 3, rec, 0, 0);
        EXPECT_EQ(RunWriter("commit \"" + name + "\" 2 5"), 1u);
        EXPECT_EQ(RunWriter("edit \"" + name + "\" 2 5"), 1u);
        f.EditRecords(8, 3, rec, f.EntryPosition(3), 0xFFFFFFFFu);
    }
    EXPECT_EQ(RunWriter("edit \"" + name + "\" 2 1"), 0u);
    EXPECT_EQ(ReadAll(name, 1), (std::vector<Bytes>{B("old one"), B("mine")}));
    EXPECT_EQ(ReadAll(name, 2), (std::vector<Bytes>{B("old two"), B("child-0")}));
    EXPECT_EQ(ReadAll(name, 3), (std::vector<Bytes>{B("mine"), B("mine")}));
    EXPECT_TRUE(FileExists(name + "$$")) << "the killed holder's temporary file waits for the next commit: no edit "
                                            "needs it";
}

TEST_F(TwoPrograms, AWriterKilledWhileAppendingLeavesEveryEarlierRecordReadableAndAppendable)
{
    const AnsiString list = tmp / "list.lst";
    WriteWholeFile(list, Text(SimpleFile({B("before-0"), B("before-1")})));
    {
        TStartedProcess appender;
        ASSERT_TRUE(appender.Start(WriterLine("append \"" + list + "\""), tmp.Path()));
        ASSERT_TRUE(WaitFor([&] { return FileSizeOf(list) > 2000000; }));
        appender.Kill();  // somewhere in the middle of an append
    }
    std::vector<Bytes> expected = {B("before-0"), B("before-1")};
    {
        WFile s(list, SimpleMode::Read);
        WRec rec;
        for (uint32_t i = 0; s.ReadRecord(rec); ++i) {
            const Bytes got(rec.Data(), rec.Data() + rec.Length());
            if (i >= 2)
                expected.push_back(B(WFileWriterRecord(i - 2)));
            ASSERT_EQ(got, expected[i]) << "record " << i;
        }
    }
    EXPECT_GT(expected.size(), 100u);
    {
        WFile s(list, SimpleMode::Append);
        s.WriteRecord(0, 5, "after");
        s.Close();
    }
    expected.push_back(B("after"));
    EXPECT_EQ(ReadWholeFile(list), Text(SimpleFile(expected)));
}

TEST_F(TwoPrograms, ATemporaryFileTheOtherProgramKeepsOpenStopsNoEditAndACommitSaysSo)
{
    TStartedProcess scanner;
    ASSERT_TRUE(scanner.Start(WriterLine("keep \"" + name + "$$\""), tmp.Path()));
    ASSERT_TRUE(WaitFor([&] { return FileExists(name + "$$"); }));
    WRec rec;
    {
        WFile f(name);
        rec.Assign("appended", 8);
        f.AppendRecord(1, rec);
        rec.Assign("inserted", 8);
        f.InsertRecordAfter(2, 0, rec);
        rec.Assign("one", 3);
        f.EditRecords(5, 1, rec, 0, f.EntryPosition(1));
        f.MarkRecord(f.EntryPosition(2), 0);
        const std::string before = ReadWholeFile(name);
        const ZError e = CatchZError([&] { f.BeginWrite(3); });
        EXPECT_NE(e.Message().find("временный файл " + name + "$$ занят другой программой"), std::string::npos)
            << e.Message();
        EXPECT_EQ(ReadWholeFile(name), before);
        scanner.Kill();
        f.BeginWrite(3);
        f.WriteRecord(0, 3, "new");
        f.EndWrite(3, true);
    }
    EXPECT_EQ(ReadAll(name, 1), (std::vector<Bytes>{B("one"), B("appended")}));
    EXPECT_EQ(ReadAll(name, 2), (std::vector<Bytes>{B("inserted"), B("old two")}));
    EXPECT_EQ(ReadAll(name, 3), std::vector<Bytes>{B("new")});
    EXPECT_FALSE(FileExists(name + "$$"));
}

TEST_F(TwoPrograms, TheFileIsHeldHoweverItsNameIsSpelt)
{
    AnsiString upper = name;
    for (char &c : upper)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c == '\\' ? '/' : c;
    std::vector<AnsiString> spellings = {upper};
    wchar_t shortName[MAX_PATH];
    if (GetShortPathNameW(Cp1251ToWide(name).c_str(), shortName, MAX_PATH) != 0)
        spellings.push_back(WideToCp1251(shortName));
    WFile f(name);
    f.BeginWrite(1);
    f.WriteRecord(0, 4, "mine");
    const std::string before = ReadWholeFile(name);
    WRec rec;
    rec.Assign("other", 5);
    for (const AnsiString &spelt : spellings) {
        SCOPED_TRACE(spelt);
        WFile other(spelt);
        EXPECT_NE(CatchZError([&] { other.BeginWrite(2); }).Message().find("сейчас записывает другая программа"),
                  std::string::npos);
        EXPECT_NE(CatchZError([&] { other.AppendRecord(2, rec); }).Message().find("сейчас записывает другая программа"),
                  std::string::npos);
    }
    EXPECT_EQ(ReadWholeFile(name), before);
    f.EndWrite(1, true);
    EXPECT_EQ(ReadAll(name, 1), std::vector<Bytes>{B("mine")});
}

TEST_F(TwoPrograms, AReadOnlyTemporaryFileLeftBehindIsReplaced)
{
    WriteWholeFile(name + "$$", "left behind");
    ASSERT_EQ(FileSetAttr(name + "$$", faReadOnly), 0);
    {
        WFile f(name);
        f.BeginWrite(3);
        f.WriteRecord(0, 5, "fresh");
        f.EndWrite(3, true);
    }
    EXPECT_EQ(ReadAll(name, 3), std::vector<Bytes>{B("fresh")});
    EXPECT_FALSE(FileExists(name + "$$"));
}

TEST_F(TwoPrograms, ASecondAppenderIsRefusedAtOpeningInEitherProgramAndReadersAreNot)
{
    const AnsiString list = tmp / "list.lst";
    WriteWholeFile(list, Text(SimpleFile({B("before")})));
    {
        TStartedProcess appender;
        ASSERT_TRUE(appender.Start(WriterLine("append \"" + list + "\""), tmp.Path()));
        ASSERT_TRUE(WaitFor([&] { return FileSizeOf(list) > 100000; }));
        const ZError e = CatchZError([&] { WFile mine(list, SimpleMode::Append); });
        EXPECT_EQ(e.Message(), "Файл " + list + " сейчас записывает другая программа; повторите запись позже");
        WFile reader(list, SimpleMode::Read);
        WRec rec;
        ASSERT_TRUE(reader.ReadRecord(rec));
        EXPECT_EQ(Bytes(rec.Data(), rec.Data() + rec.Length()), B("before"));
        appender.Kill();
    }
    std::vector<Bytes> expected;
    {
        WFile reader(list, SimpleMode::Read);
        WRec rec;
        while (reader.ReadRecord(rec))
            expected.emplace_back(rec.Data(), rec.Data() + rec.Length());
    }
    {
        WFile mine(list, SimpleMode::Append);
        EXPECT_EQ(RunWriter("append \"" + list + "\""), 1u) << "the other program is refused at opening";
        mine.WriteRecord(0, 4, "mine");
        mine.Close();
    }
    expected.push_back(B("mine"));
    EXPECT_EQ(ReadWholeFile(list), Text(SimpleFile(expected)));
}
