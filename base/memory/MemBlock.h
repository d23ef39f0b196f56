#pragma once
// Memory-block building blocks shared by the whole library: zero, fill, move and compare, plus the
// nibble split and join. They allocate nothing and take no locks, so every layer may call them.
#include <cstddef>
#include <cstdint>

struct NibblePair {
    std::uint8_t high;
    std::uint8_t low;
};

// A byte split into its high and low nibble (0 gives two zeros).
NibblePair SplitNibbles(std::uint8_t value);
// Two nibble values joined into one byte value: first << 4 | second.
std::uint8_t JoinNibbles(std::uint8_t first, std::uint8_t second);

// Zero n bytes.
void MemZero(void *buffer, std::size_t n);
// Fill n bytes with a byte; n 0 does nothing.
void MemFill(void *buffer, std::size_t n, std::uint8_t value);

// Moves |count| bytes from src to dst and returns count. A negative count walks the blocks from
// their last byte backward, the way a move to a higher overlapping address must run; both
// directions are overlap-safe, so a caller that picks the wrong one still gets the source bytes.
std::ptrdiff_t MemMove(void *dst, const void *src, std::ptrdiff_t count);

// Difference of the first unequal bytes of a and b (a[i] - b[i], unsigned bytes) over n bytes;
// 0 when they are equal or n is 0.
int MemCompare(const void *a, const void *b, std::size_t n);
// The same over n bytes; the name the text functions and the update engine use.
int MemCompareN(const void *a, const void *b, std::size_t n);
// 0 when the n bytes are equal, 1 otherwise.
int MemEqual(const void *a, const void *b, std::size_t n);
