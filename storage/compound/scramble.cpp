#include "storage/compound/scramble.h"

#include "base/memory/Bytes.h"

const uint32_t HeaderKeyMultiplier = 40617;
const uint32_t DirectoryKeyMultiplier = 52934;

void XorBuffer16(void *buffer, std::size_t length, uint32_t key)
{
    const uint32_t k = key & 0xFFFF;
    const uint32_t w = k | (k << 16);
    auto *p = static_cast<unsigned char *>(buffer);
    std::size_t i = 0;
    for (; i + 4 <= length; i += 4)
        StoreU32(p + i, LoadU32(p + i) ^ w);
    if (i + 2 <= length) {
        StoreU16(p + i, static_cast<uint16_t>(LoadU16(p + i) ^ k));
        i += 2;
    }
    if (i < length)
        p[i] ^= static_cast<unsigned char>(k);
}

uint32_t HeaderScrambleWord(uint32_t key) { return HeaderKeyMultiplier * key + key; }

uint32_t DirectoryScrambleWord(uint32_t key) { return DirectoryKeyMultiplier * key + key; }

uint32_t RecordScrambleWord(uint32_t position, uint32_t key) { return position >> (key % 32); }
