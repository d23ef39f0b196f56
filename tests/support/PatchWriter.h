#pragma once
// Test-data builder for "BDT" patches: a raw encoder for hand-made (also broken) patches and a
// simple matcher that turns an old and a new buffer into a valid patch.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "update/patch/BinPatch.h"

// A patch before encoding. The header's old size is taken as given (the applier does not test it).
struct PatchImage {
    std::uint32_t oldSize = 0;
    std::uint32_t newSize = 0;
    std::vector<PatchStep> steps{};
    std::vector<std::uint8_t> data{};  // inserted bytes of all steps, then the tail
};

// Header, step table and data area, little-endian.
std::vector<std::uint8_t> EncodePatch(const PatchImage &image);

struct PatchWriterOptions {
    // Shortest run worth a copy; also the length of the seeds the matcher looks up (at least 4).
    std::size_t minMatch = 8;
    // Write trailing literal bytes as a last insert step instead of leaving them as the tail.
    bool coverTail = false;
};

// Greedy matcher: continues the copy at the current read position when it can, otherwise looks the
// next bytes up in an index of the old buffer, so repeated old content gives negative moves, skipped
// old content positive ones, and unmatched new bytes inserts (or the tail at the end).
PatchImage DiffBuffers(std::span<const std::uint8_t> oldBytes, std::span<const std::uint8_t> newBytes,
                       const PatchWriterOptions &options = {});

inline std::vector<std::uint8_t> WritePatch(std::span<const std::uint8_t> oldBytes,
                                            std::span<const std::uint8_t> newBytes,
                                            const PatchWriterOptions &options = {})
{
    return EncodePatch(DiffBuffers(oldBytes, newBytes, options));
}

// Bytes the steps leave uncovered: the tail the applier takes from the data area.
std::uint64_t PatchTailSize(const PatchImage &image);
