#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" {
#include "LzmaEnc.h"
}

#include "tests/support/PayloadBuilder.h"
#include "update/payload/Lzma86.h"
#include "update/payload/X86Filter.h"

namespace {

struct ProgressRecord {
    std::vector<std::pair<int, uint64_t>> calls;
    static int Callback(void *user, int phase, uint64_t value)
    {
        static_cast<ProgressRecord *>(user)->calls.emplace_back(phase, value);
        return 0;
    }
    TLzmaProgress Progress() { return {&Callback, this}; }
};

std::vector<uint8_t> Packed(const std::vector<uint8_t> &plain)
{
    std::vector<uint8_t> packed;
    EXPECT_TRUE(Lzma86Encode(plain.data(), plain.size(), packed, TLzmaProgress{}));
    return packed;
}

bool Decodes(const std::vector<uint8_t> &packed, std::vector<uint8_t> &out)
{
    uint64_t size = 0;
    if (!GetLzma86UnpackSize(packed.data(), packed.size(), size) || size > (1u << 26))
        return false;
    out.assign(size_t(size), 0);
    return Lzma86Decode(packed.data(), packed.size(), out.data(), out.size(), TLzmaProgress{});
}

// An Lzma86 stream made with the library directly, for headers our encoder never writes.
std::vector<uint8_t> RawStream(const std::vector<uint8_t> &plain, uint8_t filter, bool endMark, uint64_t claimedSize)
{
    static ISzAlloc alloc = {[](void *, size_t n) { return std::malloc(n); }, [](void *, void *p) { std::free(p); }};
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 5;
    props.dictSize = 1 << 16;
    std::vector<uint8_t> out(14 + plain.size() * 2 + 1024);
    SizeT packedSize = out.size() - 14, propsSize = 5;
    EXPECT_EQ(SZ_OK, LzmaEncode(out.data() + 14, &packedSize, plain.data(), plain.size(), &props, out.data() + 1,
                                &propsSize, endMark, nullptr, &alloc, &alloc));
    out[0] = filter;
    for (int i = 0; i < 8; ++i)
        out[6 + i] = uint8_t(claimedSize >> (8 * i));
    out.resize(14 + packedSize);
    return out;
}

}  // namespace

TEST(Lzma86, RoundTripsAndReportsProgressFromTotalToTotal)
{
    const std::vector<uint8_t> plain = PatternBytes(3 * 1024 * 1024 + 17, 11);
    ProgressRecord encoding;
    std::vector<uint8_t> packed;
    ASSERT_TRUE(Lzma86Encode(plain.data(), plain.size(), packed, encoding.Progress()));
    EXPECT_EQ(0, packed[0]);
    EXPECT_EQ(0x5D, packed[1]);
    EXPECT_EQ(kLzma86DictionarySize,
              uint32_t(packed[2] | packed[3] << 8 | packed[4] << 16 | uint32_t(packed[5]) << 24));
    uint64_t size = 0;
    ASSERT_TRUE(GetLzma86UnpackSize(packed.data(), packed.size(), size));
    EXPECT_EQ(plain.size(), size);
    ASSERT_FALSE(encoding.calls.empty());
    EXPECT_EQ(std::make_pair(0, uint64_t(plain.size())), encoding.calls.front());
    EXPECT_EQ(std::make_pair(1, uint64_t(plain.size())), encoding.calls.back());

    ProgressRecord decoding;
    std::vector<uint8_t> out(plain.size());
    ASSERT_TRUE(Lzma86Decode(packed.data(), packed.size(), out.data(), out.size(), decoding.Progress()));
    EXPECT_EQ(plain, out);
    ASSERT_GE(decoding.calls.size(), 3u);
    EXPECT_EQ(std::make_pair(0, uint64_t(plain.size())), decoding.calls.front());
    EXPECT_EQ(std::make_pair(1, uint64_t(plain.size())), decoding.calls.back());
    for (size_t i = 2; i < decoding.calls.size(); ++i) {
        EXPECT_NE(0, decoding.calls[i].first);
        EXPECT_LE(decoding.calls[i - 1].second, decoding.calls[i].second);
    }
}

namespace {

// Remembers the furthest byte read.
class ReachSource : public TMemorySource {
public:
    using TMemorySource::TMemorySource;
    bool ReadAt(uint64_t position, void *buffer, size_t count) override
    {
        reach = std::max<uint64_t>(reach, position + count);
        return TMemorySource::ReadAt(position, buffer, count);
    }
    uint64_t reach = 0;
};

}  // namespace

TEST(Lzma86, DecodesAStreamAtAnOffsetOfALargerFile)
{
    const std::vector<uint8_t> plain = PatternBytes(2500000, 21);
    const std::vector<uint8_t> packed = Packed(plain);
    std::vector<uint8_t> file = PatternBytes(777, 1);
    const uint64_t offset = file.size();
    file.insert(file.end(), packed.begin(), packed.end());
    const std::vector<uint8_t> after = PatternBytes(3 << 20, 2);  // more items, the directory...
    file.insert(file.end(), after.begin(), after.end());
    ReachSource source(file);
    std::vector<uint8_t> out(plain.size());
    ASSERT_TRUE(Lzma86Decode(source, offset, out.data(), out.size(), TLzmaProgress{}));
    EXPECT_EQ(plain, out);
    EXPECT_LE(source.reach, file.size());
    // Cut off at the file's end, the same stream fails however the pieces fall.
    ReachSource cut(file.data(), size_t(offset + packed.size() - 1));
    EXPECT_FALSE(Lzma86Decode(cut, offset, out.data(), out.size(), TLzmaProgress{}));
    EXPECT_FALSE(Lzma86Decode(source, file.size() - 5, out.data(), out.size(), TLzmaProgress{}));
    EXPECT_FALSE(Lzma86Decode(source, file.size() + 5, out.data(), out.size(), TLzmaProgress{}));
}

TEST(Lzma86, EmptyInputRoundTrips)
{
    std::vector<uint8_t> out;
    const std::vector<uint8_t> packed = Packed({});
    ASSERT_TRUE(Decodes(packed, out));
    EXPECT_TRUE(out.empty());
}

TEST(Lzma86, DamagedHeadersAreRejected)
{
    const std::vector<uint8_t> plain = PatternBytes(5000, 1);
    std::vector<uint8_t> packed = Packed(plain), out;
    ASSERT_TRUE(Decodes(packed, out));

    std::vector<uint8_t> bad = packed;
    bad[0] = 2;  // unknown filter
    EXPECT_FALSE(Decodes(bad, out));
    for (uint8_t props : {225, 255}) {
        bad = packed;
        bad[1] = props;
        EXPECT_FALSE(Decodes(bad, out)) << int(props);
    }
    bad.assign(packed.begin(), packed.begin() + 13);  // header cut short
    uint64_t size = 0;
    EXPECT_FALSE(GetLzma86UnpackSize(bad.data(), bad.size(), size));
    EXPECT_FALSE(Lzma86Decode(bad.data(), bad.size(), out.data(), out.size(), TLzmaProgress{}));
    // An output buffer that is not the header's unpacked size.
    out.assign(plain.size() - 1, 0);
    EXPECT_FALSE(Lzma86Decode(packed.data(), packed.size(), out.data(), out.size(), TLzmaProgress{}));
}

TEST(Lzma86, DataEndingBeforeTheUnpackedSizeFails)
{
    const std::vector<uint8_t> plain = PatternBytes(200000, 4);
    const std::vector<uint8_t> packed = Packed(plain);
    std::vector<uint8_t> out;
    for (size_t cut : {size_t(14), size_t(15), packed.size() / 2, packed.size() - 1}) {
        std::vector<uint8_t> truncated(packed.begin(), packed.begin() + cut);
        EXPECT_FALSE(Decodes(truncated, out)) << cut;
    }
    // An end mark before the size the header claims.
    EXPECT_FALSE(Decodes(RawStream(plain, 0, true, plain.size() + 100), out));
    ASSERT_TRUE(Decodes(RawStream(plain, 0, true, plain.size()), out));
    EXPECT_EQ(plain, out);
}

TEST(X86Filter, TurnsAbsoluteCallTargetsBackIntoRelativeOnes)
{
    // A call at 0 with absolute target 0 is relative -5 (FB FF FF FF) after decoding.
    std::vector<uint8_t> code = {0xE8, 0x00, 0x00, 0x00, 0x00, 0x90, 0x90, 0x90, 0x90};
    uint32_t state = 0;
    EXPECT_EQ(5u, X86BranchConvert(code.data(), code.size(), 0, state, false));
    EXPECT_EQ((std::vector<uint8_t>{0xE8, 0xFB, 0xFF, 0xFF, 0xFF, 0x90, 0x90, 0x90, 0x90}), code);
    // A jump at 16 to absolute 0x120 becomes relative 0x120 - 21.
    std::vector<uint8_t> jump(32, 0x90);
    jump[16] = 0xE9;
    jump[17] = 0x20;
    jump[18] = 0x01;
    jump[19] = 0x00;
    jump[20] = 0x00;
    state = 0;
    X86BranchConvert(jump.data(), jump.size(), 0, state, false);
    EXPECT_EQ(0x120 - 21, jump[17] | jump[18] << 8);
    EXPECT_EQ(0, jump[19]);
    EXPECT_EQ(0, jump[20]);
    // Operands whose high byte is not 00 or FF are no addresses and stay.
    std::vector<uint8_t> data = {0xE8, 0x11, 0x22, 0x33, 0x44, 0, 0, 0, 0};
    const std::vector<uint8_t> before = data;
    state = 0;
    X86BranchConvert(data.data(), data.size(), 0, state, false);
    EXPECT_EQ(before, data);
}

TEST(X86Filter, DecodingUndoesEncodingOnCodeLikeData)
{
    std::vector<uint8_t> code = PatternBytes(100000, 8);
    for (size_t i = 0; i + 5 < code.size(); i += 37) {
        code[i] = (i & 1) ? 0xE8 : 0xE9;
        code[i + 4] = (i & 2) ? 0x00 : 0xFF;
    }
    std::vector<uint8_t> converted = code;
    uint32_t state = 0;
    X86BranchConvert(converted.data(), converted.size(), 0, state, true);
    EXPECT_NE(code, converted);
    state = 0;
    X86BranchConvert(converted.data(), converted.size(), 0, state, false);
    EXPECT_EQ(code, converted);
}

TEST(Lzma86, FilterFlagOneIsDecodedThroughTheBranchConverter)
{
    std::vector<uint8_t> code = PatternBytes(50000, 9);
    for (size_t i = 0; i + 5 < code.size(); i += 23) {
        code[i] = 0xE8;
        code[i + 4] = 0;
    }
    std::vector<uint8_t> converted = code;
    uint32_t state = 0;
    X86BranchConvert(converted.data(), converted.size(), 0, state, true);
    std::vector<uint8_t> out;
    ASSERT_TRUE(Decodes(RawStream(converted, 1, false, converted.size()), out));
    EXPECT_EQ(code, out);
}
