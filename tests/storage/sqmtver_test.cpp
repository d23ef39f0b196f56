#include "storage/sqmtver.h"

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

TEST(ParseVersion, TextsWithAndWithoutALetter)
{
    SQMTVER s;
    EXPECT_EQ(Parse(s, "5У-3.1.1"), (Parsed{5, 2, 3, 1, 1, 0}));
    EXPECT_EQ(s.text, "5У-3.1.1");
    EXPECT_EQ(Parse(s, "5Д-3.1.1"), (Parsed{5, 1, 3, 1, 1, 0}));
    // A clean start: the letter of the text before does not survive.
    EXPECT_EQ(Parse(s, "3.1.1"), (Parsed{3, 0, 3, 1, 1, 0}));
    EXPECT_EQ(Parse(s, "5-3.1.1.7"), (Parsed{5, 0, 3, 1, 1, 7}));
}

TEST(ParseVersion, OneToFourNumbers)
{
    SQMTVER s;
    EXPECT_EQ(Parse(s, "4"), (Parsed{3, 0, 4, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "5-4.2"), (Parsed{5, 0, 4, 2, 0, 0}));
    EXPECT_EQ(Parse(s, "5-4.2.9"), (Parsed{5, 0, 4, 2, 9, 0}));
    EXPECT_EQ(Parse(s, "5-4.2.9.1"), (Parsed{5, 0, 4, 2, 9, 1}));
}

TEST(ParseVersion, MalformedTextsGiveZerosAndStayInsideTheText)
{
    SQMTVER s;
    EXPECT_EQ(Parse(s, ""), (Parsed{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "@"), (Parsed{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "5-"), (Parsed{5, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "5Д-"), (Parsed{5, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "x.y.z"), (Parsed{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Parse(s, "3..7"), (Parsed{3, 0, 3, 0, 7, 0}));
    EXPECT_EQ(Parse(s, "5-300.1.1"), (Parsed{5, 0, 44, 1, 1, 0}));  // the low 8 bits
    EXPECT_EQ(Parse(s, "5-3.1."), (Parsed{5, 0, 3, 1, 0, 0}));
    EXPECT_EQ(Parse(s, "5-3.1.1."), (Parsed{5, 0, 3, 1, 1, 0}));
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

TEST(ProgramVersion, IsFiveThreeOneOneAndCanBeReplaced)
{
    const SQMTVER saved = ProgramVersion;
    EXPECT_EQ(ProgramVersion.product, 5);
    EXPECT_EQ(ProgramVersion.text, "3.1.1");
    SQMTVER s;
    ProgramVersion.d = 9;
    SetProgramVersion(s, "5У-4.2.3.1");
    EXPECT_EQ(ProgramVersion.variant, 2);
    EXPECT_EQ(ProgramVersion.a, 4);
    EXPECT_EQ(ProgramVersion.c, 3);
    EXPECT_EQ(ProgramVersion.d, 9) << "d stays";
    EXPECT_EQ(ProgramVersion.text, "4.2.3");
    EXPECT_EQ(ShortVersionText(s, "5-10.20.30.40"), "10.20.30");
    ProgramVersion = saved;
}
