#pragma once
// The packed word: a 32-bit value read as two 16-bit halves or as four bytes from the low end.
#include <cstdint>

inline void PackedClear(std::uint32_t &word) { word = 0; }
inline void PackedCopy(std::uint32_t &dst, std::uint32_t src) { dst = src; }

inline std::uint16_t PackedLow(std::uint32_t word) { return static_cast<std::uint16_t>(word & 0xFFFFu); }
inline std::uint16_t PackedHigh(std::uint32_t word) { return static_cast<std::uint16_t>(word >> 16); }
inline void SetPackedLow(std::uint32_t &word, std::uint16_t low) { word = (word & 0xFFFF0000u) | low; }
inline void SetPackedHigh(std::uint32_t &word, std::uint16_t high)
{
    word = (word & 0x0000FFFFu) | (static_cast<std::uint32_t>(high) << 16);
}

// Byte 0 to 3 from the low end; any other index reads 0 and writes nothing.
inline std::uint8_t PackedByte(std::uint32_t word, int index)
{
    return index >= 0 && index <= 3 ? static_cast<std::uint8_t>(word >> (8 * index)) : 0;
}
inline void SetPackedByte(std::uint32_t &word, int index, std::uint8_t value)
{
    if (index < 0 || index > 3)
        return;
    int shift = 8 * index;
    word = (word & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value) << shift);
}
