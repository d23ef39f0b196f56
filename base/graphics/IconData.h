#pragma once
// Icon data held in memory: an icon file without its first four bytes. A u16 image count, then per
// image a 16-byte directory entry {u8 width; u8 height; u8 colours; u8 reserved; u16 planes; u16 bits
// per pixel; u32 bytes of the image; u32 offset of the image from the count}, then the images (bitmap
// information header, colour table, colour bits, mask bits).
#include <cstddef>
#include <cstdint>

constexpr size_t IconDirEntrySize = 16;

// One image of icon data, checked against the data's size.
struct IconImage {
    const uint8_t *Header = nullptr;  // bitmap information header
    uint32_t Bytes = 0;               // bytes of the whole image
    int Width = 0;
    int Height = 0;  // half the header's height: the colour bits and the mask share it
    int Depth = 0;   // planes x bits per pixel
    const uint8_t *ColorBits = nullptr;
    const uint8_t *MaskBits = nullptr;
};

// The image count of the data; 0 for data too short to hold its directory.
int IconImageCount(const uint8_t *data, size_t size);
// Image `index` of the data; false when there is no such image or its entry, header or bits do not
// lie within the data.
bool IconImageAt(const uint8_t *data, size_t size, int index, IconImage &image);
