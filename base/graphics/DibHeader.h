#pragma once
// Sizes and places within a device-independent bitmap that follows its information header (the
// 40-byte little-endian header: size, width, height, planes, bits per pixel, ..., colours used).
#include <cstdint>

constexpr uint32_t DibInfoHeaderSize = 40;

// Fields of the header at `header`.
uint32_t DibHeaderSize(const uint8_t *header);
int32_t DibWidth(const uint8_t *header);
int32_t DibHeight(const uint8_t *header);
uint16_t DibPlanes(const uint8_t *header);
uint16_t DibBitsPerPixel(const uint8_t *header);

// Colours of the colour table: the header's used-colour count, or else 2, 16 or 256 for 1, 4 or 8
// bits per pixel, 0 for deeper images.
uint32_t DibColorCount(const uint8_t *header);
// Bytes of the colour table (4 per colour).
uint32_t DibColorTableBytes(const uint8_t *header);
// The colour bits: after the header and its colour table.
const uint8_t *DibColorBits(const uint8_t *header);
// Bytes of one row of pixels, rounded up to whole 32-bit words.
uint32_t DibRowStride(const uint8_t *header);
