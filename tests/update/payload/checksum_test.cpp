#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/support/PayloadBuilder.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Checksum.h"

namespace {

// The checksum as stated: 1 KB blocks of 256 words, then single words, then single bytes.
uint32_t ReferenceSum(const std::vector<uint8_t> &b, size_t start, size_t length)
{
    uint32_t sum = 0;
    size_t p = start;
    auto word = [&](size_t at) {
        return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
    };
    for (size_t block = 0; block < length / 1024; ++block)
        for (int w = 0; w < 256; ++w, p += 4)
            sum += word(p);
    for (size_t w = 0; w < (length % 1024) / 4; ++w, p += 4)
        sum += word(p);
    for (size_t i = 0; i < length % 4; ++i)
        sum += b[p++];
    return sum;
}

// Claims more bytes than it holds, as a file cut short under the reader would.
class ShrunkSource : public TMemorySource {
public:
    using TMemorySource::TMemorySource;
    uint64_t Size() override { return TMemorySource::Size() + 5; }
};

}  // namespace

TEST(Checksum, MatchesTheBlockWordByteDefinitionAtEveryEdgeLength)
{
    const std::vector<uint8_t> data = PatternBytes(200000, 7);
    TMemorySource source(data);
    for (size_t start : {size_t(0), size_t(1), size_t(3), size_t(4097)}) {
        for (size_t length : {0, 3, 4, 1023, 1024, 1027, 65536, 65539, 131075}) {
            uint32_t sum = 1;
            ASSERT_TRUE(ChecksumStreamPart(source, start, length, sum));
            EXPECT_EQ(ReferenceSum(data, start, length), sum) << "start " << start << " length " << length;
        }
    }
}

TEST(Checksum, SmallRangesHaveKnownSums)
{
    const std::vector<uint8_t> data = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF};
    TMemorySource source(data);
    uint32_t sum = 0;
    ASSERT_TRUE(ChecksumStreamPart(source, 0, 4, sum));
    EXPECT_EQ(0x04030201u, sum);
    ASSERT_TRUE(ChecksumStreamPart(source, 4, 3, sum));  // three single bytes
    EXPECT_EQ(3u * 0xFF, sum);
    ASSERT_TRUE(ChecksumStream(source, sum, 0, 0));  // a word and three bytes
    EXPECT_EQ(0x04030201u + 3 * 0xFF, sum);
    ASSERT_TRUE(ChecksumStream(source, sum, 7, 0));  // empty range
    EXPECT_EQ(0u, sum);
}

TEST(Checksum, WordsWrapModulo2To32)
{
    const std::vector<uint8_t> data = {0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00};
    TMemorySource source(data);
    uint32_t sum = 0;
    ASSERT_TRUE(ChecksumStream(source, sum, 0, 0));
    EXPECT_EQ(1u, sum);
}

TEST(Checksum, RangesOutsideTheDataOrShortReadsFail)
{
    const std::vector<uint8_t> data(100, 1);
    TMemorySource source(data);
    uint32_t sum = 0;
    EXPECT_FALSE(ChecksumStreamPart(source, 90, 11, sum));
    EXPECT_FALSE(ChecksumStreamPart(source, 101, 0, sum));
    EXPECT_FALSE(ChecksumStream(source, sum, 60, 41));
    ShrunkSource shrunk(data);
    EXPECT_FALSE(ChecksumStream(shrunk, sum, 0, 0));
}

TEST(Checksum, PiecesOfAWordMultipleAddUpToTheWhole)
{
    const std::vector<uint8_t> data = PatternBytes(5003, 3);
    uint32_t sum = AddChecksum(0, data.data(), 4096);
    sum = AddChecksum(sum, data.data() + 4096, data.size() - 4096);
    EXPECT_EQ(ReferenceSum(data, 0, data.size()), sum);
}

TEST(Checksum, FormatsTenZeroPaddedDigits)
{
    EXPECT_EQ("0000000000", FormatChecksum(0));
    EXPECT_EQ("0000012345", FormatChecksum(12345));
    EXPECT_EQ("4294967295", FormatChecksum(0xFFFFFFFF));
}
