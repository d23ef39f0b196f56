#include "storage/scramble.h"

#include <gtest/gtest.h>

#include "storage/dbkeys.h"
#include "tests/support/CompoundFileBuilder.h"

using testdata::Bytes;

TEST(XorBuffer16, UsesOnlyTheLowSixteenBitsOfTheKey)
{
    Bytes a(7, 0), b(7, 0);
    XorBuffer16(a.data(), a.size(), 0xABCD1234u);
    XorBuffer16(b.data(), b.size(), 0x1234u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, (Bytes{0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0x34}));
}

TEST(XorBuffer16, MatchesTheBytewisePatternForEveryTailAndRestoresWhenAppliedTwice)
{
    for (std::size_t n = 0; n <= 9; ++n) {
        Bytes original(n);
        for (std::size_t i = 0; i < n; ++i)
            original[i] = static_cast<uint8_t>(i * 37 + 5);
        Bytes ours = original, reference = original;
        XorBuffer16(ours.data(), n, 0x00C3A5u);
        testdata::Scramble16(reference.data(), n, 0x00C3A5u);
        EXPECT_EQ(ours, reference) << "length " << n;
        XorBuffer16(ours.data(), n, 0x00C3A5u);
        EXPECT_EQ(ours, original) << "length " << n;
    }
}

TEST(ScrambleWords, FollowTheKeyAndThePosition)
{
    EXPECT_EQ(HeaderScrambleWord(2), 40617u * 2 + 2);
    EXPECT_EQ(DirectoryScrambleWord(2), 52934u * 2 + 2);
    EXPECT_EQ(HeaderScrambleWord(0xFFFFFFFFu), 0xFFFFFFFFu * 40617u + 0xFFFFFFFFu);  // modulo 2^32
    EXPECT_EQ(RecordScrambleWord(0x80001000u, 33), 0x40000800u);  // key mod 32, logical shift
    EXPECT_EQ(RecordScrambleWord(0x1234u, 32), 0x1234u);
}

TEST(DbbKeys, AreSixDistinctScramblingKeys)
{
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(DbbKeys[i] & 0xFFFF, 0u);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(DbbKeys[i], DbbKeys[j]);
    }
}
