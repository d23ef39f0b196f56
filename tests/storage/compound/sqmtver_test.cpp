#include "storage/compound/sqmtver.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    int product, variant, a, b, c, d;
    bool operator==(const Parsed &) const = default;
};

Parsed Parse(SQMTVER &s, const AnsiString &text)
{
    ParseVersion(s, text);
    return {s.product, s.variant, s.a, s.b, s.c, s.d};
}

uint32_t Compare(const AnsiString &text)
{
    SQMTVER s;
    return ParseAndCompareVersion(s, text);
}

}  // namespace

TEST(ParseVersion, LettersOneToFourNumbersAndMalformedTexts)
{
    const struct {
        const char *text;
        Parsed parsed;
    } cases[] = {
        {"5У-3.1.1", {5, 2, 3, 1, 1, 0}},
        {"5Д-3.1.1", {5, 1, 3, 1, 1, 0}},
        {"3.1.1", {3, 0, 3, 1, 1, 0}},  // after a text with a letter: a clean start
        {"4", {3, 0, 4, 0, 0, 0}},
        {"5-4.2", {5, 0, 4, 2, 0, 0}},
        {"5-4.2.9.1", {5, 0, 4, 2, 9, 1}},
        // Malformed texts give zeros and are never read beyond their end.
        {"", {3, 0, 0, 0, 0, 0}},
        {"@", {3, 0, 0, 0, 0, 0}},
        {"5-", {5, 0, 0, 0, 0, 0}},
        {"5Д-", {5, 1, 0, 0, 0, 0}},
        {"x.y.z", {3, 0, 0, 0, 0, 0}},
        {"3..7", {3, 0, 3, 0, 7, 0}},
        {"5-300.1.1", {5, 0, 44, 1, 1, 0}},  // the low 8 bits
        {"5-3.1.", {5, 0, 3, 1, 0, 0}},
        {"5-3.1.1.", {5, 0, 3, 1, 1, 0}},
    };
    SQMTVER s;  // one object for all: nothing of a text survives into the next
    for (const auto &c : cases)
        EXPECT_EQ(Parse(s, c.text), c.parsed) << c.text;
    EXPECT_EQ(s.text, "5-3.1.1.");
}

TEST(CompareVersion, FlagsAgainstTheProgramsStamp)
{
    EXPECT_EQ(Compare("5-3.1.1"), 0x401u);
    EXPECT_EQ(Compare("5-3.1.0"), 0x404u);
    EXPECT_EQ(Compare("5-3.1.2"), 0x420u);
    EXPECT_EQ(Compare("5-3.2.0"), 0x420u);
    EXPECT_EQ(Compare("5-3.0.9"), 0x402u);
    EXPECT_EQ(Compare("5-3.1.1.4"), 0x440u);
    EXPECT_EQ(Compare("5-2.9.9"), 0x02u);
    EXPECT_EQ(Compare("5-4.0.0"), 0x20u);
    EXPECT_EQ(Compare("5-1.9.9"), 0x200u);
    EXPECT_EQ(Compare("6-3.1.1"), 0x20u);
    EXPECT_EQ(Compare("4-3.1.1"), 0x02u);
    EXPECT_EQ(Compare("5У-3.1.1"), 0x10u);
    EXPECT_EQ(Compare("3.1.1"), 0x02u) << "no product number means product 3";
}

TEST(SameVersion, ComparesProductAAndBAndCOnRequest)
{
    SQMTVER s;
    EXPECT_TRUE(SameVersion(s, "5-3.1.0", "5У-3.1.7", false));
    EXPECT_EQ(s.text, "5-3.1.0");
    EXPECT_EQ(s.copies[3], 7);
    EXPECT_FALSE(SameVersion(s, "5-3.1.0", "5У-3.1.7", true));
    EXPECT_FALSE(SameVersion(s, "5-3.1.0", "6-3.1.0", false));
    EXPECT_TRUE(SameVersion(s, "5-3.1.0.1", "5-3.1.0.2", true)) << "d is not compared";
}

TEST(ProgramVersion, CanBeReplacedKeepingItsFourthNumber)
{
    const SQMTVER saved = ProgramVersion;
    SQMTVER s;
    ProgramVersion.d = 9;
    SetProgramVersion(s, "5У-4.2.3.1");
    EXPECT_EQ(ProgramVersion.variant, 2);
    EXPECT_EQ(ProgramVersion.a, 4);
    EXPECT_EQ(ProgramVersion.c, 3);
    EXPECT_EQ(ProgramVersion.d, 9) << "d stays";
    EXPECT_EQ(ProgramVersion.text, "4.2.3");
    SetProgramVersion(ProgramVersion, "5-4.2.4.1");  // also when the program's stamp is the one parsed into
    EXPECT_EQ(ProgramVersion.c, 4);
    EXPECT_EQ(ProgramVersion.d, 9);
    EXPECT_EQ(ShortVersionText(s, "5-10.20.30.40"), "10.20.30");
    ProgramVersion = saved;
}
