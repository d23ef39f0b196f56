#include "update/payload/Checksum.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

static_assert(std::endian::native == std::endian::little, "the checksum adds the words as they lie in memory");

uint32_t AddChecksum(uint32_t sum, const uint8_t *data, size_t length)
{
    const size_t words = length / 4;
    // Four independent sums keep the loop free of a carried dependency, so it runs at memory speed.
    uint32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    size_t i = 0;
    for (; i + 4 <= words; i += 4) {
        uint32_t w[4];
        std::memcpy(w, data + 4 * i, sizeof w);
        s0 += w[0];
        s1 += w[1];
        s2 += w[2];
        s3 += w[3];
    }
    for (; i < words; ++i) {
        uint32_t w;
        std::memcpy(&w, data + 4 * i, 4);
        s0 += w;
    }
    sum += s0 + s1 + s2 + s3;
    for (size_t b = words * 4; b < length; ++b)
        sum += data[b];
    return sum;
}

bool ChecksumStream(TByteSource &source, uint32_t &sum, uint64_t start, uint64_t tail)
{
    sum = 0;
    const uint64_t size = source.Size();
    if (start > size || tail > size - start)
        return false;
    uint64_t left = size - start - tail;
    uint64_t position = start;
    // Pieces are a multiple of 4 long, so only the last one can end in single bytes.
    constexpr size_t kChunk = 64 * 1024;
    std::vector<uint8_t> buffer(left < kChunk ? size_t(left) : kChunk);
    uint32_t s = 0;
    while (left > 0) {
        const size_t n = left < kChunk ? size_t(left) : kChunk;
        if (!source.ReadAt(position, buffer.data(), n))
            return false;
        s = AddChecksum(s, buffer.data(), n);
        position += n;
        left -= n;
    }
    sum = s;
    return true;
}

bool ChecksumStreamPart(TByteSource &source, uint64_t start, uint64_t length, uint32_t &sum)
{
    sum = 0;
    const uint64_t size = source.Size();
    if (start > size || length > size - start)
        return false;
    return ChecksumStream(source, sum, start, size - start - length);
}

AnsiString FormatChecksum(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.10u", unsigned(value));
    return text;
}
