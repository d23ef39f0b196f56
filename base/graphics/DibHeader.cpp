#include "base/graphics/DibHeader.h"

#include "base/memory/Bytes.h"

namespace {
constexpr int UsedColoursAt = 32;
}  // namespace

uint32_t DibHeaderSize(const uint8_t *header) { return LoadU32(header); }
int32_t DibWidth(const uint8_t *header) { return static_cast<int32_t>(LoadU32(header + 4)); }
int32_t DibHeight(const uint8_t *header) { return static_cast<int32_t>(LoadU32(header + 8)); }
uint16_t DibPlanes(const uint8_t *header) { return LoadU16(header + 12); }
uint16_t DibBitsPerPixel(const uint8_t *header) { return LoadU16(header + 14); }

uint32_t DibColorCount(const uint8_t *header)
{
    if (uint32_t used = LoadU32(header + UsedColoursAt))
        return used;
    switch (DibBitsPerPixel(header)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

uint32_t DibColorTableBytes(const uint8_t *header) { return 4 * DibColorCount(header); }

const uint8_t *DibColorBits(const uint8_t *header)
{
    return header + DibHeaderSize(header) + DibColorTableBytes(header);
}

uint32_t DibRowStride(const uint8_t *header)
{
    uint64_t bits =
        static_cast<uint64_t>(static_cast<uint32_t>(DibWidth(header))) * DibPlanes(header) * DibBitsPerPixel(header);
    return static_cast<uint32_t>((bits + 31) / 32 * 4);
}
