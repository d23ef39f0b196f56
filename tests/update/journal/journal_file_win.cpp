#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/KillAtFileOp.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

namespace {

class JournalFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / "qmt_journal_test";
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        form_.JournalPath = folder_.string() + "\\qmt_3.1.1.txt";
        form_.ProductFolder = folder_.string() + "\\";
    }
    void TearDown() override
    {
        form_.CloseJournal();
        std::filesystem::remove_all(folder_);
    }

    // The file as another process sees it while the journal is open.
    AnsiString OnDisk()
    {
        TFileStream reader(form_.JournalPath, fmOpenRead | fmShareDenyNone);
        AnsiString bytes(static_cast<size_t>(reader.Size()), '\0');
        if (!bytes.empty())
            reader.ReadBuffer(bytes.data(), static_cast<long>(bytes.size()));
        return bytes;
    }

    // The protocol list box's lines.
    std::vector<AnsiString> Lines()
    {
        std::vector<AnsiString> lines;
        for (int i = 0; i < form_.LsBx_Prot->Items()->Count(); ++i)
            lines.push_back(form_.LsBx_Prot->Items()->Strings(i));
        return lines;
    }

    std::filesystem::path folder_;
    TForm1 form_{nullptr};
};

}  // namespace

TEST_F(JournalFile, OpenWriteCloseAndEveryLineOnDiskAtOnce)
{
    EXPECT_FALSE(form_.JournalExists());
    ASSERT_TRUE(form_.OpenJournal());
    EXPECT_TRUE(form_.JournalExists());
    const AnsiString opened = OnDisk();
    const std::vector<AnsiString> opening = SplitJournalLines(opened);
    ASSERT_EQ(2u, opening.size());
    const AnsiString first = opening[0];
    ASSERT_TRUE(VerifyLine(first));
    EXPECT_EQ(0u, opened.find(first + "\r\n> "));  // the start command first, without CR LF before it
    EXPECT_EQ(0u, first.find("> "));
    EXPECT_NE(AnsiString::npos, first.find("*4#Запуск"));
    // Then the product folder the run works on.
    ASSERT_TRUE(VerifyLine(opening[1]));
    EXPECT_NE(AnsiString::npos, opening[1].find("*3#" + form_.ProductFolder));

    ASSERT_TRUE(form_.Log(ept_Plain, "Создание списка обновлений", true));
    ASSERT_TRUE(form_.CheckStep(true, false));
    ASSERT_TRUE(form_.LogCmd(ejc_Created, "z<PA00000000000000000000"));
    AnsiString open = OnDisk();  // written straight through: nothing waits in the process
    EXPECT_EQ(0u, open.find(opened + "\r\n; "));
    EXPECT_EQ("\r\n", open.substr(open.size() - 2));
    EXPECT_EQ(" Создание списка обновлений ...ОК ", Lines()[2]);
    EXPECT_EQ(Lines().size() - 1, static_cast<size_t>(form_.LsBx_Prot->ItemIndex()));  // the newest line is shown

    ASSERT_TRUE(form_.CloseJournal());
    EXPECT_TRUE(form_.JournalExists());
    EXPECT_FALSE(form_.CloseJournal());
    std::vector<AnsiString> lines = SplitJournalLines(OnDisk());
    ASSERT_EQ(6u, lines.size());
    for (const AnsiString &line : lines)
        EXPECT_TRUE(VerifyLine(line)) << line;
    AnsiString end = lines[5];
    ASSERT_TRUE(StripSignature(end));
    int code = 0;
    AnsiString text;
    ASSERT_TRUE(ParseCommandLine(end, code, text));
    EXPECT_EQ(ejc_End, code);
    EXPECT_EQ("Конец", text);
}

TEST_F(JournalFile, ReopenedJournalKeepsEarlierLines)
{
    ASSERT_TRUE(form_.OpenJournal());
    ASSERT_TRUE(form_.CloseJournal());
    ASSERT_TRUE(form_.OpenJournal());
    std::vector<AnsiString> lines = SplitJournalLines(OnDisk());
    ASSERT_EQ(5u, lines.size());
    EXPECT_NE(AnsiString::npos, lines[3].find("*4#"));
}

TEST_F(JournalFile, OthersMayReadButNotWrite)
{
    ASSERT_TRUE(form_.OpenJournal());
    EXPECT_THROW(TFileStream(form_.JournalPath, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
    EXPECT_NO_THROW(TFileStream(form_.JournalPath, fmOpenRead | fmShareDenyNone));
}

TEST_F(JournalFile, SuspendedJournalIsOpenedButLeftAlone)
{
    form_.JournalSuspended = 1;
    ASSERT_TRUE(form_.OpenJournal());
    EXPECT_TRUE(form_.Log(ept_Plain, "a", true));
    EXPECT_TRUE(form_.LogCmd(ejc_Backup, "b"));
    ASSERT_TRUE(form_.CloseJournal());
    EXPECT_EQ("", OnDisk());
}

TEST_F(JournalFile, JournalThatCannotBeMadeFailsTheStep)
{
    form_.JournalPath = folder_.string() + "\\missing\\qmt_3.1.1.txt";
    EXPECT_FALSE(form_.OpenJournal());
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(0u, Lines().back().find("Произошла аварийная ситуация "));
    EXPECT_FALSE(form_.LogCmd(ejc_TempFolder, "C:\\T\\"));  // no journal: the change must not be made
}

TEST_F(JournalFile, KilledBeforeALineTheJournalEndsWithItsLastWholeLine)
{
    ASSERT_TRUE(form_.OpenJournal());
    ASSERT_TRUE(form_.LogCmd(6, "a<b00000000010000000002"));
    const AnsiString before = OnDisk();
    {
        KillAtFileOp kill(1);
        try {
            form_.Log(0, "next", true);
            ADD_FAILURE() << "the line was written";
        } catch (const TEngineKilled &killed) {
            EXPECT_EQ(TFileOp::JournalWrite, killed.Kind);
        }
    }
    EXPECT_EQ(before, OnDisk());
}
