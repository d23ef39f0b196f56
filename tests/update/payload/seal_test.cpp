#include <gtest/gtest.h>

#include <vector>

#include "tests/support/PayloadBuilder.h"
#include "update/payload/ByteSource.h"
#include "update/payload/Seal.h"

namespace {

// Remembers where it was read.
class WatchedSource : public TMemorySource {
public:
    using TMemorySource::TMemorySource;
    bool ReadAt(uint64_t position, void *buffer, size_t count) override
    {
        Reads.push_back(position);
        return TMemorySource::ReadAt(position, buffer, count);
    }
    std::vector<uint64_t> Reads;
};

}  // namespace

TEST(Seal, AppendsSizeAndSumPlusSize)
{
    TMemoryStore store(std::vector<uint8_t>{1, 0, 0, 0, 2});
    ASSERT_TRUE(SealStream(store));
    // Sum of [0, 5): word 1 and byte 2 = 3; size 13; checksum 3 + 13.
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 2, 13, 0, 0, 0, 16, 0, 0, 0}), store.Bytes());
    EXPECT_TRUE(CheckSelf(store));
    StripStreamSeal(store);
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 2}), store.Bytes());
}

TEST(Seal, AnyChangedByteBreaksIt)
{
    TMemoryStore store(PatternBytes(301, 5));
    ASSERT_TRUE(SealStream(store));
    const std::vector<uint8_t> sealed = store.Bytes();
    ASSERT_TRUE(CheckSelf(store));
    for (size_t i = 0; i < sealed.size(); ++i) {
        std::vector<uint8_t> damaged = sealed;
        damaged[i] ^= 0x10;
        TMemorySource source(damaged);
        EXPECT_FALSE(CheckSelf(source)) << "byte " << i;
    }
}

TEST(Seal, AWrongSizeWordFailsBeforeAnythingElseIsRead)
{
    TMemoryStore store(PatternBytes(5000, 9));
    ASSERT_TRUE(SealStream(store));
    std::vector<uint8_t> bytes = store.Bytes();
    bytes.push_back(0);  // the size word no longer holds the file size
    WatchedSource source(bytes);
    EXPECT_FALSE(CheckSelf(source));
    EXPECT_EQ((std::vector<uint64_t>{bytes.size() - 8}), source.Reads);
}

TEST(Seal, FilesTooShortToHoldASealFail)
{
    for (size_t size : {0, 3, 7}) {
        std::vector<uint8_t> bytes(size, 0);
        TMemorySource source(bytes);
        EXPECT_FALSE(CheckSelf(source)) << size;
    }
}
