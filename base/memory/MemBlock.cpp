#include "base/memory/MemBlock.h"

#include <cstring>

NibblePair SplitNibbles(std::uint8_t value)
{
    return {static_cast<std::uint8_t>(value >> 4), static_cast<std::uint8_t>(value & 0x0F)};
}

std::uint8_t JoinNibbles(std::uint8_t first, std::uint8_t second)
{
    return static_cast<std::uint8_t>((first << 4) | second);
}

void MemZero(void *buffer, std::size_t n)
{
    if (n != 0)
        std::memset(buffer, 0, n);
}

void MemFill(void *buffer, std::size_t n, std::uint8_t value)
{
    if (n != 0)
        std::memset(buffer, value, n);
}

std::ptrdiff_t MemMove(void *dst, const void *src, std::ptrdiff_t count)
{
    std::size_t n = count < 0 ? static_cast<std::size_t>(-count) : static_cast<std::size_t>(count);
    if (n != 0 && dst != src)
        std::memmove(dst, src, n);
    return count;
}

int MemCompare(const void *a, const void *b, std::size_t n)
{
    const auto *pa = static_cast<const unsigned char *>(a);
    const auto *pb = static_cast<const unsigned char *>(b);
    for (std::size_t i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return static_cast<int>(pa[i]) - static_cast<int>(pb[i]);
    }
    return 0;
}

int MemCompareN(const void *a, const void *b, std::size_t n) { return n == 0 ? 0 : MemCompare(a, b, n); }

int MemEqual(const void *a, const void *b, std::size_t n) { return n == 0 || std::memcmp(a, b, n) == 0 ? 0 : 1; }
