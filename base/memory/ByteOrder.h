#pragma once
// Byte and bit order of buffers and values.
#include <cstdint>

// Reverses n bytes in place.
void ReverseBytes(void *buffer, int n);
// Mirrors the bit order of a buffer of n bytes: the last bit becomes the first. With an odd n the
// middle byte is mirrored in place.
void ReverseBits(void *buffer, int n);
// Mirrors the lowest `count` bits of a value (bit i moves to count - 1 - i); the bits above are
// dropped. A value or count of 0 gives 0; a count above 32 counts as 32.
std::uint32_t ReverseValueBits(std::uint32_t value, int count);

std::uint16_t ByteSwap16(std::uint16_t value);
std::uint16_t ByteSwap16(const std::uint16_t *value);  // null gives 0
std::uint32_t ByteSwap32(std::uint32_t value);
std::uint32_t ByteSwap32(const std::uint32_t *value);  // null gives 0
// The four nibbles of a 16-bit value in reverse order (0x1234 gives 0x4321); null gives 0.
std::uint16_t NibbleSwap16(const std::uint16_t *value);
std::uint32_t NibbleSwap16Wide(const std::uint16_t *value);
