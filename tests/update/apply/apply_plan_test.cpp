#include <gtest/gtest.h>

#include <cstring>

#include "update/apply/ApplyPlan.h"
#include "update/journal/JournalLine.h"

TEST(ApplyPlan, FoldersOfAnItem)
{
    EXPECT_EQ("T:\\tmp\\WRK\\DATA\\a.dbb", WorkPath("T:\\tmp\\", "DATA\\a.dbb"));
    EXPECT_EQ("T:\\tmp\\BAK0\\a.txt", BackupPath("T:\\tmp\\", 0, "a.txt"));
    EXPECT_EQ("T:\\tmp\\BAK12\\a.txt", BackupPath("T:\\tmp\\", 12, "a.txt"));
    EXPECT_EQ("QMT5_3115", ProductCopyName("3.1.1.5"));
    EXPECT_EQ("QMT5_3115.LNK", ShortcutFileName("", "3.1.1.5"));
    EXPECT_EQ("ЦМТ 5 _ копия_.LNK", ShortcutFileName("ЦМТ 5 : копия?", "3.1.1.5"));
}

TEST(ApplyPlan, CommandTextsEndInTwentyDigits)
{
    EXPECT_EQ("C:\\P\\a<T:\\BAK0\\a00000000420000000007", BackupCommandText("C:\\P\\a", "T:\\BAK0\\a", 42, 7));
    EXPECT_EQ("z<C:\\P\\new00000000000000000000", CreatedCommandText("C:\\P\\new", 0, 0));
    // A signed command line of it verifies, and so does nothing else.
    AnsiString line = JournalCommandLine("06.12.26 10:00:00.000", 9, CreatedCommandText("C:\\P\\new", 0, 0));
    EXPECT_TRUE(VerifyLine(line));
}

TEST(ApplyPlan, CopiesInTenPiecesAndARest)
{
    EXPECT_EQ(std::vector<uint64_t>{9}, CopyPieces(9));
    EXPECT_EQ(std::vector<uint64_t>{0}, CopyPieces(0));
    std::vector<uint64_t> pieces(10, 2);
    pieces.push_back(5);
    EXPECT_EQ(pieces, CopyPieces(25));
}

TEST(ApplyPlan, ComparesInOnePercentBlocks)
{
    TCompareBlocks b = CompareBlocks(150);
    EXPECT_EQ(1u, b.Block);
    EXPECT_EQ(150u, b.Count);
    EXPECT_EQ(0u, b.Rest);
    b = CompareBlocks(99);
    EXPECT_EQ(99u, b.Block);
    EXPECT_EQ(1u, b.Count);
    b = CompareBlocks(1234);
    EXPECT_EQ(12u, b.Block);
    EXPECT_EQ(102u, b.Count);
    EXPECT_EQ(10u, b.Rest);
    EXPECT_EQ(0u, CompareBlocks(0).Count);
}

namespace {

std::vector<uint8_t> Applied(std::vector<uint8_t> file, const AnsiString &version)
{
    for (const TCfgEdit &edit : ConfigChangeEdits(file, version)) {
        if (file.size() < edit.Offset + edit.Bytes.size())
            file.resize(edit.Offset + edit.Bytes.size());
        std::memcpy(file.data() + edit.Offset, edit.Bytes.data(), edit.Bytes.size());
    }
    return file;
}

uint32_t U32(const std::vector<uint8_t> &b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(ApplyPlan, ConfigurationChangeTouchesOnlyItsFields)
{
    std::vector<uint8_t> file(1375 + 40);
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = uint8_t(i * 7 + 3);
    const std::vector<uint8_t> changed = Applied(file, "3.1.1");
    ASSERT_EQ(file.size(), changed.size());
    EXPECT_EQ(U32(file, 0) | 0x9C600u, U32(changed, 0));
    EXPECT_EQ(0x460421Cu, U32(changed, 147));
    EXPECT_EQ(0x8401004u, U32(changed, 151));
    EXPECT_EQ(26u, U32(changed, 197));
    EXPECT_EQ(0, std::memcmp("3.1.1", changed.data() + 38, 6));
    for (size_t i = 0; i < file.size(); ++i) {
        const bool field = i < 4 || (i >= 38 && i < 44) || (i >= 147 && i < 155) || (i >= 197 && i < 201);
        if (!field) {
            EXPECT_EQ(file[i], changed[i]) << "byte " << i;
        }
    }
}

TEST(ApplyPlan, VersionNeverRunsPastItsField)
{
    const std::vector<uint8_t> changed = Applied(std::vector<uint8_t>(1375, 0xEE), AnsiString(200, '9'));
    EXPECT_EQ(0, changed[115]);     // the field's last byte holds the NUL
    EXPECT_EQ(0xEE, changed[116]);  // the edition byte after it stays
    EXPECT_EQ('9', changed[114]);
}
