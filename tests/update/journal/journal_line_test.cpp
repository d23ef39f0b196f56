#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "update/journal/JournalLine.h"

namespace {

// The signature formula written out independently: 64-bit arithmetic reduced by hand.
uint32_t ReferenceHash(const std::string &bytes)
{
    uint64_t h = 0;
    for (unsigned char b : bytes) {
        uint64_t t = (h + b) % 4294967296ull;
        uint64_t rotated = ((t * 8192) % 4294967296ull) + (t / 524288);
        h = (t + 4294967296ull - rotated) % 4294967296ull;
    }
    return static_cast<uint32_t>(h);
}

std::string Digits10(uint64_t v)
{
    std::string s = std::to_string(v);
    return std::string(10 - s.size(), '0') + s;
}

}  // namespace

TEST(LineHash, EmptyTextAndFixedTexts)
{
    EXPECT_EQ(0u, LineHash("", 0));
    // One byte b: t = b, h = b - (b << 13).
    EXPECT_EQ(static_cast<uint32_t>(65u - (65u << 13)), LineHash("A", 1));
    for (std::string text : {std::string("A"), std::string("> 01.02.26 10:11:12.345*4#Запуск"),
                             std::string("\xFF\xFF\xFF\xFF\x80"), std::string(1000, 'я')})
        EXPECT_EQ(ReferenceHash(text), LineHash(text.data(), text.size())) << text;
}

TEST(SignLine, AppendsTenDigitsThatVerify)
{
    AnsiString empty;
    SignLine(empty);
    EXPECT_EQ("0000000000", empty);
    EXPECT_TRUE(VerifyLine(empty));

    AnsiString line = "; 01.02.26 10:11:12.345...ОК ";
    AnsiString signed_ = line;
    SignLine(signed_);
    EXPECT_EQ(line + Digits10(ReferenceHash(line)), signed_);
    EXPECT_TRUE(VerifyLine(signed_));
    ASSERT_TRUE(StripSignature(signed_));
    EXPECT_EQ(line, signed_);
}

TEST(VerifyLine, RefusesDamagedLines)
{
    AnsiString good = JournalCommandLine("01.02.26 10:11:12.345", 6, "C:\\P\\a.dbf<C:\\T\\a.dbf00000000120000000034");
    ASSERT_TRUE(VerifyLine(good));
    for (size_t i = 0; i < good.size(); ++i) {
        AnsiString bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x01);
        EXPECT_FALSE(VerifyLine(bad)) << "byte " << i;
    }
    AnsiString nonDigit = good;
    nonDigit[nonDigit.size() - 3] = 'x';
    EXPECT_FALSE(VerifyLine(nonDigit));
    AnsiString signedTail = good;
    signedTail[signedTail.size() - 10] = '+';
    EXPECT_FALSE(VerifyLine(signedTail));
    AnsiString spaceTail = good;
    spaceTail[spaceTail.size() - 10] = ' ';
    EXPECT_FALSE(VerifyLine(spaceTail));
    EXPECT_FALSE(VerifyLine(good.substr(0, good.size() - 1)));  // cut off in the middle
    EXPECT_FALSE(VerifyLine("123456789"));
    EXPECT_FALSE(VerifyLine(""));

    AnsiString shortLine = "123456789";
    EXPECT_FALSE(StripSignature(shortLine));
    EXPECT_EQ("123456789", shortLine);
}

TEST(VerifyLine, TailAboveFourGigaComparesLowBits)
{
    AnsiString body = "> 01.02.26 10:11:12.345*5#Конец";
    uint64_t high = ReferenceHash(body) + 4294967296ull;
    ASSERT_EQ(10u, std::to_string(high).size());
    EXPECT_TRUE(VerifyLine(body + Digits10(high)));
}

TEST(JournalLineFormats, ProtocolAndCommandLines)
{
    EXPECT_EQ("Ошибка № 5005", ProtocolLine(ept_ErrorNo, "5005"));
    EXPECT_EQ("", AnsiString(ProtocolText(27)));  // past the table
    EXPECT_EQ("", AnsiString(ProtocolText(-1)));

    AnsiString p = JournalProtocolLine("01.02.26 10:11:12.345", ProtocolLine(ept_Copy, "a.txt"));
    EXPECT_EQ("; 01.02.26 10:11:12.345Копирование файла a.txt", p.substr(0, p.size() - 10));
    EXPECT_TRUE(VerifyLine(p));

    AnsiString c = JournalCommandLine("01.02.26 10:11:12.345", ejc_Start, JournalStartText);
    EXPECT_EQ("> 01.02.26 10:11:12.345*4#Запуск", c.substr(0, c.size() - 10));
    EXPECT_TRUE(VerifyLine(c));
    EXPECT_TRUE(IsCommandLine(c));
    EXPECT_FALSE(IsCommandLine(p));
}

TEST(JournalLineFormats, CommandLineParsesBack)
{
    AnsiString line =
        JournalCommandLine("01.02.26 10:11:12.345", ejc_Created, "z<C:\\P\\#1*.txt0000000001000000000002");
    ASSERT_TRUE(StripSignature(line));
    int code = 0;
    AnsiString text;
    ASSERT_TRUE(ParseCommandLine(line, code, text));
    EXPECT_EQ(9, code);
    EXPECT_EQ("z<C:\\P\\#1*.txt0000000001000000000002", text);

    EXPECT_FALSE(ParseCommandLine("> 01.02.26 10:11:12.345 4#x", code, text));  // no "*"
    EXPECT_FALSE(ParseCommandLine("> 01.02.26 10:11:12.345*4 x", code, text));  // no "#"
    EXPECT_FALSE(ParseCommandLine("> 01.02.26 10:11:12.345*#x", code, text));   // no number
    EXPECT_FALSE(ParseCommandLine("> 01.02.26 10:11:12.345*4a#x", code, text));
    EXPECT_FALSE(ParseCommandLine("> 01.02.26 10:11:12.345*99999999999#x", code, text));
}

TEST(JournalLineFormats, ChangeCommands)
{
    for (int code : {1, 2, 6, 8, 9})
        EXPECT_TRUE(IsChangeCommand(code)) << code;
    for (int code : {0, 3, 4, 5, 7, 10, -1})
        EXPECT_FALSE(IsChangeCommand(code)) << code;
}

TEST(SplitJournalLines, IgnoresEmptyLines)
{
    auto lines = SplitJournalLines("a\r\n\r\nb\r\n\r\n; c\r\n");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("a", lines[0]);
    EXPECT_EQ("b", lines[1]);
    EXPECT_EQ("; c", lines[2]);
    EXPECT_TRUE(SplitJournalLines("").empty());
    EXPECT_TRUE(SplitJournalLines("\r\n\r\n").empty());
    auto tail = SplitJournalLines("x\r\ny");
    ASSERT_EQ(2u, tail.size());
    EXPECT_EQ("y", tail[1]);
}
