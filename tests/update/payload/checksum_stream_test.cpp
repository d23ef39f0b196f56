#include <gtest/gtest.h>

#include <vector>

#include "framework/runtime/Classes.h"
#include "tests/support/PayloadBuilder.h"
#include "update/payload/Checksum.h"
#include "update/payload/ChecksumFile.h"
#include "update/payload/Seal.h"
#include "update/payload/StreamSource.h"

TEST(ChecksumFileHandle, SumsFromTheStartToTheEndOfAnOpenStream)
{
    const std::vector<uint8_t> bytes = PatternBytes(5000, 3);
    TMemoryStream stream;
    stream.Write(bytes.data(), long(bytes.size()));
    uint32_t sum = 0;
    uint64_t size = 0;
    ASSERT_TRUE(ChecksumFileHandle(stream, 1001, sum, size));
    EXPECT_EQ(AddChecksum(0, bytes.data() + 1001, bytes.size() - 1001), sum);
    EXPECT_EQ(bytes.size() - 1001, size);
    EXPECT_FALSE(ChecksumFileHandle(stream, 5001, sum, size));
}

TEST(StreamSource, SealsAndChecksAStream)
{
    TMemoryStream stream;
    const std::vector<uint8_t> bytes = PatternBytes(3000, 4);
    stream.Write(bytes.data(), long(bytes.size()));
    TStreamSource source(stream);
    ASSERT_TRUE(SealStream(source));
    EXPECT_EQ(3008, stream.Size());
    EXPECT_TRUE(CheckSelf(source));
    uint8_t b = 0;
    EXPECT_FALSE(source.ReadAt(3008, &b, 1));
    StripStreamSeal(source);
    EXPECT_EQ(3000, stream.Size());
}
