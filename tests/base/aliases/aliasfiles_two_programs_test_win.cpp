// An alias file saved by two programs: a save that meets another program's save is refused and told
// so, and the file holds one whole list, that of a save told it succeeded; a program stopped inside
// its save leaves the file as it was and no temporary file.
#include <gtest/gtest.h>

#include "base/aliases/AliasFileIO.h"
#include "base/aliases/AliasList.h"
#include "framework/runtime/SysUtils.h"
#include "tests/support/FileSaver.h"
#include "tests/support/FileSaverContent.h"
#include "tests/support/TempFolder.h"

namespace {

class AliasFileTwoPrograms : public ::testing::Test {
protected:
    TempFolder tmp;
    const AnsiString name = tmp / "alias.txt";
    const AnsiString old = FileSaverAliasText("OLD", 500);
    TLBsAls mine;

    void SetUp() override
    {
        WriteWholeFile(name, old);
        ASSERT_EQ(1, mine.LoadText(name.c_str()));
        for (int i = 0; i < 3000; ++i)
            mine.AddLink(FileSaverAlias("MINE", i).c_str(), 0, true);
    }
    // The other program saves a shorter list: written over a longer one in place, it would leave that
    // one's tail behind it.
    AnsiString SaveArgs() const { return "alias \"" + name + "\" OTHER 100"; }
    // What this program's save writes.
    AnsiString Mine() const { return old + FileSaverAliasText("MINE", 3000); }
};

}  // namespace

TEST_F(AliasFileTwoPrograms, ASaveThatMeetsAnotherIsRefusedAndTheFileHoldsTheOneToldItSucceeded)
{
    TFileSaver other;
    ASSERT_TRUE(other.StartPaused(SaveArgs(), tmp.Path()));
    EXPECT_EQ(0, mine.SaveText(name.c_str()));
    EXPECT_EQ(AliasErrOpen, mine.LastError());
    mine.SetFlag(AlsLineForm, true);
    EXPECT_EQ(0, mine.SaveBinary(name.c_str()));
    mine.SetFlag(AlsLineForm, false);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), old));

    EXPECT_EQ(other.Finish(), 0u);
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), FileSaverAliasText("OTHER", 100)));
    EXPECT_FALSE(FileExists(AliasFileTempName(name)));
    // Once the other program is done, this one saves.
    ASSERT_EQ(1, mine.SaveText(name.c_str()));
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), Mine()));
}

TEST_F(AliasFileTwoPrograms, AProgramStoppedBeforeItsWriteLeavesTheFileAndNoTemporaryFile)
{
    {
        TFileSaver other;
        ASSERT_TRUE(other.StartPaused(SaveArgs(), tmp.Path()));
        other.Kill();
    }
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), old));
    EXPECT_FALSE(FileExists(AliasFileTempName(name)));
    ASSERT_EQ(1, mine.SaveText(name.c_str()));
    EXPECT_TRUE(HoldsExactly(ReadWholeFile(name), Mine()));
}
