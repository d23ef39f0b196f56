#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/files/MMBase.h"
#include "base/messages/TZExcept.h"
#include "tests/base/files/FileBoxes.h"
#include "tests/support/TempFolder.h"

namespace {
std::uint32_t Map(TMM_Base &m, const AnsiString &name) { return m.Open(name.c_str(), 0); }
}  // namespace

TEST(TMM_Base, AMappedFileReadsBack)
{
    TempFolder tmp;
    const AnsiString name = tmp / "текст.sfr";
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7);
    WriteWholeFile(name, bytes);
    TMM_Base m;
    ASSERT_EQ(Map(m, name), 0u);
    EXPECT_TRUE(m.IsMapped());
    EXPECT_EQ(m.Name(), name);
    ASSERT_EQ(m.Size(), bytes.size());
    EXPECT_FALSE(m.Empty());
    EXPECT_EQ(std::memcmp(m.View(), bytes.data(), bytes.size()), 0);
    // Others may still read and write the mapped file.
    WriteWholeFile(tmp / "other.txt", "x");
    EXPECT_EQ(ReadWholeFile(name), bytes);
    m.Close();
    EXPECT_FALSE(m.IsMapped());
    EXPECT_EQ(m.View(), nullptr);
    EXPECT_TRUE(m.Empty());
}

TEST(TMM_Base, ANameLongerThanAPathIsRefusedNotCut)
{
    TempFolder tmp;
    // The first 259 characters of the long name name a file that exists: it must not be mapped.
    const AnsiString name259 = tmp.Path() + AnsiString(259 - tmp.Path().size(), 'm');
    WriteWholeFile(name259, "wrong file");
    const AnsiString longName = name259 + "-and-more";
    TMM_Base m;
    m.SetFlags(TMM_Base::mmThrow | TMM_Base::mmCaller);
    try {
        Map(m, longName);
        ADD_FAILURE() << "no TZExcept was thrown";
    } catch (const TZExcept &e) {
        EXPECT_EQ(e.Code(), 0xE4000033u);
    }
    EXPECT_FALSE(m.IsMapped());
    EXPECT_EQ(m.View(), nullptr);
    ASSERT_EQ(Map(m, name259), 0u);
    EXPECT_EQ(m.Size(), 10u);
    m.Close();
    EXPECT_EQ(m.Flags(), TMM_Base::mmThrow | TMM_Base::mmCaller);  // the owner's flags stay
}

TEST(TMM_Base, FailuresAreThrownOrShown)
{
    TempFolder tmp;
    const AnsiString missing = tmp / "нет.sfr";
    const AnsiString empty = tmp / "пусто.sfr";
    WriteWholeFile(empty, "");
    TMM_Base m;
    {
        FileBoxes boxes;
        EXPECT_EQ(m.Open("", 0), 51u);
        EXPECT_EQ(Map(m, missing), 52u);
        EXPECT_TRUE(m.HasError());
        // An empty file cannot be mapped: the system's error.
        const std::uint32_t code = Map(m, empty);
        EXPECT_NE(code, 0u);
        EXPECT_LT(code, 0xE4000000u);
        EXPECT_EQ(m.View(), nullptr);
        ASSERT_EQ(boxes.Seen().size(), 3u);
        EXPECT_EQ(boxes.Seen()[0].Text, "Не задано имя файла ");
        EXPECT_EQ(boxes.Seen()[1].Text, "Не найден файл " + missing);
        EXPECT_NE(boxes.Seen()[2].Text.find(empty), AnsiString::npos);
    }
    m.SetThrowsErrors(true);
    FileBoxes none;
    try {
        Map(m, missing);
        ADD_FAILURE() << "no TZExcept was thrown";
    } catch (const TZExcept &e) {
        EXPECT_EQ(e.Code(), 0xE4000034u);
        EXPECT_EQ(e.Text(), missing);
    }
    try {
        Map(m, empty);
        ADD_FAILURE() << "no TZExcept was thrown";
    } catch (const TZExcept &e) {
        EXPECT_EQ(e.Code(), 0u);
        EXPECT_NE(e.SecondCode(), 0u);
        EXPECT_EQ(m.ErrorCode(), e.SecondCode());
    }
    EXPECT_TRUE(none.Seen().empty());
}
