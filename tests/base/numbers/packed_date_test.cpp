#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/numbers/PackedDate.h"
#include "tests/support/FakeClock.h"

namespace {

SYSTEMTIME Time(int hour, int minute, int second)
{
    SYSTEMTIME t{};
    t.wHour = static_cast<std::uint16_t>(hour);
    t.wMinute = static_cast<std::uint16_t>(minute);
    t.wSecond = static_cast<std::uint16_t>(second);
    return t;
}

SYSTEMTIME Date(int day, int month, int year)
{
    SYSTEMTIME t{};
    t.wDay = static_cast<std::uint16_t>(day);
    t.wMonth = static_cast<std::uint16_t>(month);
    t.wYear = static_cast<std::uint16_t>(year);
    return t;
}

// The text in a heap block of exactly its length and NUL, so that a read past the NUL is caught.
struct ExactText {
    explicit ExactText(const char *text) : bytes(text, text + std::strlen(text) + 1) {}
    const char *get() const { return bytes.data(); }
    std::vector<char> bytes;
};

std::string Formatted(std::uint16_t date, bool fourDigits)
{
    char buffer[10];
    int n = FormatDate(date, buffer, '.', fourDigits);
    return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

TEST(PackedTime, PacksDropsTheOddSecondAndUnpacks)
{
    EXPECT_EQ(0xBF7D, PackTime(Time(23, 59, 59)));
    SYSTEMTIME t = Time(1, 1, 1);
    t.wYear = 2024;
    EXPECT_EQ(0, UnpackTime(t, 0xBF7D));
    EXPECT_EQ(23, t.wHour);
    EXPECT_EQ(59, t.wMinute);
    EXPECT_EQ(58, t.wSecond);
    EXPECT_EQ(2024, t.wYear);  // the date fields are left alone
    // A part too wide for its field packs as 0 there instead of running into the next one.
    EXPECT_EQ(PackTime(Time(0, 5, 10)), PackTime(Time(40, 5, 10)));
    EXPECT_EQ(PackTime(Time(7, 0, 10)), PackTime(Time(7, 64, 10)));
}

TEST(PackedTime, ParsesTextsWithAndWithoutSeconds)
{
    int consumed = -1;
    EXPECT_EQ(0xBF7D, ParseTime("23:59:59", &consumed));
    EXPECT_EQ(8, consumed);
    EXPECT_EQ(PackTime(Time(9, 5, 0)), ParseTime("09.05", &consumed));
    EXPECT_EQ(5, consumed);
    EXPECT_EQ(PackTime(Time(7, 30, 0)), ParseTime("7:30", &consumed));
    EXPECT_EQ(4, consumed);
    EXPECT_EQ(PackTime(Time(12, 0, 0)), ParseTime("12", nullptr));
}

TEST(PackedTime, BlanksBeforeAPartAreSkippedAndCounted)
{
    int consumed = -1;
    EXPECT_EQ(PackTime(Time(20, 37, 12)), ParseTime(" 20:37:12", &consumed));
    EXPECT_EQ(9, consumed);
    EXPECT_EQ(PackTime(Time(20, 37, 12)), ParseTime("  20: 37:  12", &consumed));
    EXPECT_EQ(13, consumed);
    EXPECT_EQ(PackTime(Time(7, 5, 0)), ParseTime(" 7. 5", &consumed));
    EXPECT_EQ(5, consumed);
    // At most two digits for the hour, however many blanks come first.
    EXPECT_EQ(PackTime(Time(12, 5, 0)), ParseTime("   123 5", &consumed));
    EXPECT_EQ(8, consumed);
}

TEST(PackedTime, APartWithASignIsNoTime)
{
    for (const char *text : {"-20:37:12", "+20:37:12", " -1:30", "12:+30", "12:30:-5", "12:30: +5"}) {
        int consumed = -1;
        EXPECT_EQ(0, ParseTime(text, &consumed)) << text;
        EXPECT_EQ(0, consumed) << text;
    }
}

TEST(PackedTime, ShortTextsStopAtTheirEnd)
{
    for (const char *text : {"12:30", "12:3", "12:", "12", "1", "", " ", "12: ", "12:30:  "}) {
        ExactText exact(text);
        int consumed = -1;
        ParseTime(exact.get(), &consumed);
        EXPECT_EQ(static_cast<int>(std::strlen(text)), consumed) << text;
    }
}

TEST(PackedTime, OutOfRangePartsAreRefused)
{
    for (const char *text : {"24:00", "12:60", "12:30:60", "-1:30", "12:-5", "12:30:99999999999"}) {
        int consumed = -1;
        EXPECT_EQ(0, ParseTime(text, &consumed)) << text;
        EXPECT_EQ(0, consumed) << text;
    }
    int consumed = -1;
    EXPECT_EQ(0, ParseTime(nullptr, &consumed));
    EXPECT_EQ(0, consumed);
}

TEST(PackedTime, FormatsWithLeadingZerosAndGivesTheLengthWithoutBuffer)
{
    char buffer[9] = {};
    EXPECT_EQ(8, FormatTime(0xBF7D, buffer, ':', true));
    EXPECT_STREQ("23:59:58", buffer);
    std::memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(5, FormatTime(PackTime(Time(7, 5, 0)), buffer, '.', false));
    EXPECT_STREQ("07.05", buffer);
    EXPECT_EQ(8, FormatTime(0xBF7D, nullptr, ':', true));
    EXPECT_EQ(5, FormatTime(0xBF7D, nullptr, ':', false));
}

TEST(PackedDate, PacksTheCenturyWindowAndNothingOutsideIt)
{
    EXPECT_EQ(0xFF9F, PackDate(31, 12, 2127));
    EXPECT_EQ(0x0021, PackDate(1, 1, 2000));
    EXPECT_EQ(PackDate(5, 3, 2021), PackDate(5, 3, 21));
    EXPECT_EQ(PackDate(5, 3, 2098), PackDate(5, 3, 1998));
    EXPECT_EQ(PackDate(5, 3, 2021), PackDateSys(Date(5, 3, 2021)));
    EXPECT_EQ(0, PackDate(1, 1, 2128));
    EXPECT_EQ(0, PackDate(1, 1, 1899));
    EXPECT_EQ(0, PackDate(1, 1, -1));
    EXPECT_EQ(0, PackDateSys(Date(1, 1, 1999)));
    EXPECT_EQ(0, PackDateSys(Date(1, 1, 2128)));
    // A day or month too wide for its field becomes 0 there, which the check reports.
    EXPECT_EQ(PackDate(0, 1, 2024), PackDate(32, 1, 2024));
    EXPECT_EQ(PackDate(5, 0, 2024), PackDate(5, 16, 2024));
    EXPECT_EQ(1, CheckPackedDate(PackDate(32, 1, 2024)));
    EXPECT_EQ(2, CheckPackedDate(PackDate(5, 16, 2024)));

    SYSTEMTIME t{};
    EXPECT_EQ(0, UnpackDate(t, 0xFF9F));
    EXPECT_EQ(31, t.wDay);
    EXPECT_EQ(12, t.wMonth);
    EXPECT_EQ(2127, t.wYear);
}

TEST(PackedDate, CheckKnowsMonthsAndTheGregorianLeapYears)
{
    EXPECT_EQ(0, CheckPackedDate(PackDate(29, 2, 2024)));
    EXPECT_EQ(1, CheckPackedDate(PackDate(29, 2, 2023)));
    EXPECT_EQ(2, CheckPackedDate(PackDate(1, 13, 2023)));
    EXPECT_EQ(2, CheckPackedDate(PackDate(1, 0, 2023)));
    EXPECT_EQ(1, CheckPackedDate(PackDate(0, 1, 2023)));
    EXPECT_EQ(1, CheckPackedDate(PackDate(31, 4, 2023)));
    EXPECT_EQ(0, CheckPackedDate(PackDate(29, 2, 2000)));
    EXPECT_EQ(1, CheckPackedDate(PackDate(29, 2, 2100)));  // divisible by 4, but a century
    EXPECT_EQ(0, CheckPackedDate(PackDate(28, 2, 2100)));
    EXPECT_EQ(0, CheckPackedDate(std::uint32_t{PackDate(31, 12, 2127)}));
    EXPECT_EQ(2, CheckPackedDate(std::uint32_t{0x10000u | PackDate(1, 1, 2024)}));
    int ParseConsumed = 0;
    EXPECT_EQ(1, CheckPackedDate(ParseDate("33.01.2024", &ParseConsumed)));
    EXPECT_EQ(10, ParseConsumed);
}

TEST(PackedDate, FormatsTwoAndFourDigitYears)
{
    EXPECT_EQ("05.03.2021", Formatted(PackDate(5, 3, 2021), true));
    EXPECT_EQ("05.03.21", Formatted(PackDate(5, 3, 2021), false));
    EXPECT_EQ("31.12.2105", Formatted(PackDate(31, 12, 2105), true));
    EXPECT_EQ(10, FormatDate(0x0021, nullptr, '.', true));
    EXPECT_EQ(8, FormatDate(0x0021, nullptr, '.', false));
}

TEST(PackedDate, EveryValidDateReadsBackWhatWasWritten)
{
    int dates = 0;
    for (unsigned packed = 0; packed <= 0xFFFF; ++packed) {
        auto date = static_cast<std::uint16_t>(packed);
        if (CheckPackedDate(date) != 0)
            continue;
        ++dates;
        int consumed = 0;
        std::string four = Formatted(date, true);
        ASSERT_EQ(date, ParseDate(four.c_str(), &consumed)) << four;
        ASSERT_EQ(10, consumed);
        if (date >> 9 < 100) {
            std::string two = Formatted(date, false);
            ASSERT_EQ(date, ParseDate(two.c_str(), &consumed)) << two;
            ASSERT_EQ(8, consumed);
        }
    }
    EXPECT_EQ(46751, dates);  // 2000-01-01 to 2127-12-31
}

TEST(PackedDate, ParsesTheYearForms)
{
    int consumed = -1;
    EXPECT_EQ(PackDate(1, 2, 2024), ParseDate("01.02.24", &consumed));
    EXPECT_EQ(8, consumed);
    EXPECT_EQ(PackDate(1, 2, 2098), ParseDate("1.2.1998", &consumed));
    EXPECT_EQ(8, consumed);
    EXPECT_EQ(PackDate(1, 2, 2024), ParseDate("01/02/2024 12:00", &consumed));
    EXPECT_EQ(10, consumed);
    for (const char *text : {"01.02.1999", "01.02.1500", "01.02.150", "01.02.2128", "01.02.-5", "01.02.99999999999"}) {
        EXPECT_EQ(0, ParseDate(text, &consumed)) << text;
        EXPECT_EQ(0, consumed) << text;
    }
}

TEST(PackedDate, BlanksBeforeAPartAreSkippedAndCounted)
{
    int consumed = -1;
    EXPECT_EQ(PackDate(17, 10, 1990), ParseDate(" 17.10.90", &consumed));
    EXPECT_EQ(9, consumed);
    EXPECT_EQ(PackDate(17, 10, 1990), ParseDate("17. 10. 1990", &consumed));
    EXPECT_EQ(12, consumed);
    EXPECT_EQ(PackDate(7, 3, 2021), ParseDate("   7.3.  21 rest", &consumed));
    EXPECT_EQ(11, consumed);
    EXPECT_EQ(0, CheckPackedDate(ParseDate(" 29.02.2024", &consumed)));
    EXPECT_EQ(11, consumed);
    // Blanks alone are a part with no digits: day 0, which the check refuses.
    EXPECT_EQ(1, CheckPackedDate(ParseDate("  .10.90", &consumed)));
    EXPECT_EQ(8, consumed);
}

TEST(PackedDate, APartWithASignIsNoDate)
{
    for (const char *text :
         {"-17.10.90", "+17.10.90", " -5.10.90", "17.-10.90", "17.+10.90", "17.10.+90", "17.10. -1990"}) {
        int consumed = -1;
        std::uint16_t packed = ParseDate(text, &consumed);
        EXPECT_EQ(0, packed) << text;
        EXPECT_EQ(0, consumed) << text;
        EXPECT_NE(0, CheckPackedDate(packed)) << text;
    }
}

TEST(PackedDate, ShortTextsStopAtTheirEnd)
{
    for (const char *text : {"01.02", "01.0", "01.", "01", "", "01. ", "01.02.  "}) {
        ExactText exact(text);
        int consumed = -1;
        ParseDate(exact.get(), &consumed);
        EXPECT_EQ(static_cast<int>(std::strlen(text)), consumed) << text;
    }
}

TEST(PackedDate, TodayAndNowAreTheLocalTimeOfTheClock)
{
    // Late in the local day: a UTC reading would already be, or still be, another day.
    FakeClock clock(EncodeDate(2026, 3, 1) + EncodeTime(23, 59, 41, 0));
    TClockOverride use(clock);
    EXPECT_EQ(PackDate(1, 3, 2026), PackedDateToday());
    EXPECT_EQ(PackTime(Time(23, 59, 41)), PackedTimeNow());
    clock.Set(EncodeDate(2026, 3, 2) + EncodeTime(0, 0, 10, 0));
    EXPECT_EQ(PackDate(2, 3, 2026), PackedDateToday());
    EXPECT_EQ(PackTime(Time(0, 0, 10)), PackedTimeNow());
}
