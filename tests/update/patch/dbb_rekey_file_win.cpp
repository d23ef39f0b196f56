// Re-keying of database files on disk: the result, the progress on the window's bar, and damaged or
// missing sources that fail with a reason and leave no half-written output.
#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/SysUtils.h"
#include "storage/compound/dbkeys.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/RecordingLog.h"
#include "tests/support/TempFolder.h"
#include "update/patch/DbbRekeyFile.h"
#include "update/run/uMain.h"

namespace {

using testdata::Bytes;
using testdata::CompoundFileBuilder;

std::string Text(const Bytes &b) { return std::string(b.begin(), b.end()); }

CompoundFileBuilder Database()
{
    CompoundFileBuilder b = CompoundFileBuilder::Created(4);
    b.Commit(1, {Bytes{0x11}, Bytes(20000, 0x5C)});
    b.SetFlags(b.Record(Bytes(30, 0x22)), testdata::kDeleted);
    b.Commit(3, {testdata::B("запись")});
    return b;
}

class RekeyFiles : public ::testing::Test {
protected:
    TempFolder dir;
    AnsiString source = dir / "база3", destination = dir / "plain~";
    RecordingLog log;
};

TEST_F(RekeyFiles, WritesTheFileWithTheNewKey)
{
    const CompoundFileBuilder db = Database();
    WriteWholeFile(source, Text(db.Build(DbbKeys[2])));
    WriteWholeFile(destination, "an older file of that name");
    ASSERT_TRUE(RekeyDbbFiles(log, source, destination, DbbKeys[2], 0, nullptr));
    EXPECT_EQ(Text(db.Build(0)), ReadWholeFile(destination));
    ASSERT_TRUE(RekeyDbbFiles(log, destination, source, 0, DbbKeys[5], nullptr));
    EXPECT_EQ(Text(db.Build(DbbKeys[5])), ReadWholeFile(source));
    EXPECT_TRUE(log.Lines.empty());
}

TEST_F(RekeyFiles, DamagedOrMissingSourcesFailWithAReasonAndNoOutput)
{
    CompoundFileBuilder tooLong = CompoundFileBuilder::Created(2);
    tooLong.Record(Bytes(20001, 1));
    WriteWholeFile(source, Text(tooLong.Build(DbbKeys[2])));
    EXPECT_FALSE(RekeyDbbFiles(log, source, destination, DbbKeys[2], 0, nullptr));
    EXPECT_FALSE(FileExists(destination));
    ASSERT_EQ(1u, log.Lines.size());
    EXPECT_EQ(0u, log.Lines[0].find("#26 Неверный файл базы: длина записи больше 20000")) << log.Lines[0];

    log.Lines.clear();
    EXPECT_FALSE(RekeyDbbFiles(log, dir / "нет", destination, 0, DbbKeys[0], nullptr));
    EXPECT_FALSE(FileExists(destination));
    ASSERT_EQ(1u, log.Lines.size());
    EXPECT_NE(AnsiString::npos, log.Lines[0].find("нет")) << log.Lines[0];
}

TEST_F(RekeyFiles, ALockedDestinationFailsAndIsLeftAlone)
{
    WriteWholeFile(source, Text(Database().Build(0)));
    WriteWholeFile(destination, "someone else's");
    {
        TFileStream held(destination, fmOpenRead | fmShareExclusive);
        EXPECT_FALSE(RekeyDbbFiles(log, source, destination, 0, DbbKeys[1], nullptr));
    }
    EXPECT_EQ("someone else's", ReadWholeFile(destination));
    ASSERT_EQ(1u, log.Lines.size());
    EXPECT_EQ(0u, log.Lines[0].find("#26 ")) << log.Lines[0];
}

TEST_F(RekeyFiles, TrailingBytesAreLoggedAndTheWindowsBarFollows)
{
    const CompoundFileBuilder db = Database();
    WriteWholeFile(source, Text(db.Build(DbbKeys[0])) + "xyz");
    TForm1 form(nullptr);
    ASSERT_TRUE(form.RekeyDbbFile(source, destination, DbbKeys[0], 0));
    EXPECT_EQ(Text(db.Build(0)), ReadWholeFile(destination));
    EXPECT_EQ(100, form.PrBar->Max());
    EXPECT_GT(form.PrBar->Position(), 0);  // a step per record at most: few records, few steps
    ASSERT_EQ(1, form.LsBx_Prot->Items()->Count());
    EXPECT_NE(AnsiString::npos, form.LsBx_Prot->Items()->Strings(0).find("3 байт вне записей"));
}

}  // namespace
