#include "base/memory/ByteOrder.h"

#include <algorithm>

namespace {

// The bit-reversed value of a nibble, placed in the high nibble and in the low nibble.
constexpr std::uint8_t ReversedNibbleHigh[16] = {0x00, 0x80, 0x40, 0xC0, 0x20, 0xA0, 0x60, 0xE0,
                                                 0x10, 0x90, 0x50, 0xD0, 0x30, 0xB0, 0x70, 0xF0};
constexpr std::uint8_t ReversedNibbleLow[16] = {0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE,
                                                0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF};

std::uint8_t MirrorByte(std::uint8_t b)
{
    return static_cast<std::uint8_t>(ReversedNibbleHigh[b & 0x0F] | ReversedNibbleLow[b >> 4]);
}

}  // namespace

void ReverseBytes(void *buffer, int n)
{
    if (buffer == nullptr || n < 2)
        return;
    auto *p = static_cast<std::uint8_t *>(buffer);
    std::reverse(p, p + n);
}

void ReverseBits(void *buffer, int n)
{
    if (buffer == nullptr || n < 1)
        return;
    auto *p = static_cast<std::uint8_t *>(buffer);
    for (int i = 0, j = n - 1; i <= j; ++i, --j) {
        std::uint8_t first = p[i];
        p[i] = MirrorByte(p[j]);
        p[j] = MirrorByte(first);
    }
}

std::uint32_t ReverseValueBits(std::uint32_t value, int count)
{
    if (value == 0 || count <= 0)
        return 0;
    if (count > 32)
        count = 32;
    std::uint32_t out = 0;
    for (int i = 0; i < count; ++i) {
        if (value & (1u << i))
            out |= 1u << (count - 1 - i);
    }
    return out;
}

std::uint16_t ByteSwap16(std::uint16_t value) { return static_cast<std::uint16_t>((value >> 8) | (value << 8)); }

std::uint16_t ByteSwap16(const std::uint16_t *value) { return value == nullptr ? 0 : ByteSwap16(*value); }

std::uint32_t ByteSwap32(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

std::uint32_t ByteSwap32(const std::uint32_t *value) { return value == nullptr ? 0 : ByteSwap32(*value); }

std::uint16_t NibbleSwap16(const std::uint16_t *value)
{
    if (value == nullptr)
        return 0;
    std::uint16_t v = *value;
    return static_cast<std::uint16_t>(((v & 0x000F) << 12) | ((v & 0x00F0) << 4) | ((v & 0x0F00) >> 4) |
                                      ((v & 0xF000) >> 12));
}

std::uint32_t NibbleSwap16Wide(const std::uint16_t *value) { return NibbleSwap16(value); }
