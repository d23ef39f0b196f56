#include "storage/compound/scramble.h"

#include <gtest/gtest.h>

#include "tests/support/CompoundFileBuilder.h"

using testdata::Bytes;

TEST(XorBuffer16, MatchesTheBytewisePatternForEveryTailAndRestoresWhenAppliedTwice)
{
    // Only the low sixteen bits of the key count: the high ones must change nothing.
    for (std::size_t n = 0; n <= 9; ++n) {
        Bytes original(n);
        for (std::size_t i = 0; i < n; ++i)
            original[i] = static_cast<uint8_t>(i * 37 + 5);
        Bytes ours = original, reference = original;
        XorBuffer16(ours.data(), n, 0xABCDC3A5u);
        testdata::Scramble16(reference.data(), n, 0xC3A5u);
        EXPECT_EQ(ours, reference) << "length " << n;
        XorBuffer16(ours.data(), n, 0xC3A5u);
        EXPECT_EQ(ours, original) << "length " << n;
    }
}

TEST(ScrambleWords, WrapModulo2To32AndShiftRecordPositionsLogically)
{
    EXPECT_EQ(HeaderScrambleWord(0xFFFFFFFFu), 0xFFFFFFFFu * 40617u + 0xFFFFFFFFu);
    EXPECT_EQ(RecordScrambleWord(0x80001000u, 33), 0x40000800u);  // key mod 32, no sign bits
    EXPECT_EQ(RecordScrambleWord(0x1234u, 32), 0x1234u);
}
