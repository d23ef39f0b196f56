#pragma once
// The engine's names for the base library's block move and compare.
#include <cstdint>

#include "base/memory/MemBlock.h"

// Copies count bytes forward (first byte first); a negative count copies -count bytes from the last
// byte backward, for a destination above an overlapping source. Returns count.
inline std::int32_t MoveMemoryBlock(void *destination, const void *source, std::int32_t count)
{
    return static_cast<std::int32_t>(MemMove(destination, source, count));
}

// 0 when count is 0 or the blocks are equal, else a[i] - b[i] (unsigned bytes) at the first
// difference.
inline std::int32_t CompareMemory(const void *a, const void *b, std::int32_t count)
{
    return count <= 0 ? 0 : MemCompareN(a, b, static_cast<std::size_t>(count));
}
