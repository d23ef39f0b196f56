// Proves the LZMA SDK is compiled in and round-trips data in both builds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

extern "C" {
#include "LzmaDec.h"
#include "LzmaEnc.h"
}

namespace {
void *SzAlloc(void *, size_t size) { return std::malloc(size); }
void SzFree(void *, void *address) { std::free(address); }
ISzAlloc g_alloc = {SzAlloc, SzFree};
}  // namespace

TEST(LzmaSdk, RoundTripsABuffer)
{
    std::vector<unsigned char> input(100000);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<unsigned char>((i * 7) ^ (i >> 5));

    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 9;
    props.dictSize = 1 << 23;
    std::vector<unsigned char> packed(input.size() + input.size() / 3 + 128);
    SizeT packedLen = packed.size();
    unsigned char header[LZMA_PROPS_SIZE];
    SizeT headerLen = LZMA_PROPS_SIZE;
    ASSERT_EQ(SZ_OK, LzmaEncode(packed.data(), &packedLen, input.data(), input.size(), &props, header, &headerLen, 0,
                                nullptr, &g_alloc, &g_alloc));
    EXPECT_LT(packedLen, input.size());

    std::vector<unsigned char> output(input.size());
    SizeT outLen = output.size();
    SizeT inLen = packedLen;
    ELzmaStatus status;
    ASSERT_EQ(SZ_OK, LzmaDecode(output.data(), &outLen, packed.data(), &inLen, header, LZMA_PROPS_SIZE, LZMA_FINISH_END,
                                &status, &g_alloc));
    EXPECT_EQ(input.size(), outLen);
    EXPECT_EQ(input, output);
}
