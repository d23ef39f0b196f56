#pragma once
// Lzma86 streams: byte 0 the filter flag (0 none, 1 x86 branch conversion), bytes 1-5 the LZMA
// properties, bytes 6-13 the u64 unpacked size, then LZMA data without an end mark.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "update/payload/ByteSource.h"

constexpr size_t kLzma86HeaderSize = 14;
constexpr uint32_t kLzma86DictionarySize = 8u << 20;

// Progress of a decode or encode: phase 0 announces the total, any other phase the amount done so far.
using TLzmaProgressCallback = int (*)(void *userData, int phase, uint64_t value);

struct TLzmaProgress {
    TLzmaProgressCallback Callback = nullptr;
    void *UserData = nullptr;

    void Report(int phase, uint64_t value) const
    {
        if (Callback)
            Callback(UserData, phase, value);
    }
};

// The unpacked size from a stream's header; false when fewer than 14 bytes are given.
bool GetLzma86UnpackSize(const uint8_t *data, size_t size, uint64_t &unpackSize);

// Decodes the stream that starts at `offset` of `source` (its data may run to the source's end) into
// `dest`, which must be exactly the header's unpacked size. Fails on a filter flag above 1,
// unsupported properties, damaged data, and on data that ends (by an end mark or for want of input)
// before the unpacked size is reached. The input is read in pieces, never beyond the source's end.
bool Lzma86Decode(TByteSource &source, uint64_t offset, uint8_t *dest, size_t destSize, const TLzmaProgress &progress);
bool Lzma86Decode(const uint8_t *src, size_t srcSize, uint8_t *dest, size_t destSize, const TLzmaProgress &progress);

// Encodes at level 9 with an 8 MB dictionary and no x86 filter; the progress counts input bytes.
// False when the encoder fails.
bool Lzma86Encode(const uint8_t *src, size_t srcSize, std::vector<uint8_t> &packed, const TLzmaProgress &progress);
