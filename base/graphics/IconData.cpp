#include "base/graphics/IconData.h"

#include "base/memory/Bytes.h"
#include "base/graphics/DibHeader.h"

namespace {
constexpr size_t CountSize = 2;
}  // namespace

int IconImageCount(const uint8_t *data, size_t size)
{
    if (!data || size < CountSize)
        return 0;
    uint16_t count = LoadU16(data);
    return size >= CountSize + count * IconDirEntrySize ? count : 0;
}

bool IconImageAt(const uint8_t *data, size_t size, int index, IconImage &image)
{
    if (index < 0 || index >= IconImageCount(data, size))
        return false;
    const uint8_t *entry = data + CountSize + static_cast<size_t>(index) * IconDirEntrySize;
    uint32_t bytes = LoadU32(entry + 8);
    uint32_t offset = LoadU32(entry + 12);
    if (offset > size || bytes > size - offset || bytes < DibInfoHeaderSize)
        return false;
    const uint8_t *header = data + offset;
    uint32_t headerSize = DibHeaderSize(header);
    int32_t width = DibWidth(header);
    int32_t height = DibHeight(header) / 2;
    if (headerSize < DibInfoHeaderSize || headerSize > bytes || width <= 0 || height <= 0 || width > 256 ||
        height > 256)
        return false;
    uint64_t colourTable = DibColorTableBytes(header);
    uint64_t colourBytes = static_cast<uint64_t>(DibRowStride(header)) * static_cast<uint32_t>(height);
    uint64_t maskBytes =
        static_cast<uint64_t>((static_cast<uint32_t>(width) + 31) / 32 * 4) * static_cast<uint32_t>(height);
    if (headerSize + colourTable + colourBytes + maskBytes > bytes)
        return false;
    image.Header = header;
    image.Bytes = bytes;
    image.Width = width;
    image.Height = height;
    image.Depth = DibPlanes(header) * DibBitsPerPixel(header);
    image.ColorBits = DibColorBits(header);
    image.MaskBits = image.ColorBits + colourBytes;
    return true;
}
