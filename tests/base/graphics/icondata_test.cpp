// Bitmap-header sizes, icon data and the dialog's drawn icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/graphics/BuiltinIcons.h"
#include "base/graphics/DibHeader.h"
#include "base/graphics/IconData.h"

namespace {
std::vector<uint8_t> Header(int32_t width, int32_t height, uint16_t planes, uint16_t bits, uint32_t used)
{
    std::vector<uint8_t> h(40, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            h[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(0, 40, 4);
    put(4, static_cast<uint32_t>(width), 4);
    put(8, static_cast<uint32_t>(height), 4);
    put(12, planes, 2);
    put(14, bits, 2);
    put(32, used, 4);
    return h;
}
}  // namespace

TEST(DibHeader, ColourTableAndStride)
{
    struct {
        uint16_t bits;
        uint32_t used, colours;
    } cases[] = {{1, 0, 2}, {4, 0, 16}, {8, 0, 256}, {16, 0, 0}, {24, 0, 0}, {32, 0, 0}, {8, 20, 20}, {4, 3, 3}};
    for (auto c : cases) {
        auto h = Header(10, 20, 1, c.bits, c.used);
        EXPECT_EQ(c.colours, DibColorCount(h.data())) << c.bits;
        EXPECT_EQ(4 * c.colours, DibColorTableBytes(h.data()));
        EXPECT_EQ(h.data() + 40 + 4 * c.colours, DibColorBits(h.data()));
    }
    EXPECT_EQ(4u, DibRowStride(Header(1, 1, 1, 1, 0).data()));
    EXPECT_EQ(4u, DibRowStride(Header(32, 1, 1, 1, 0).data()));
    EXPECT_EQ(8u, DibRowStride(Header(33, 1, 1, 1, 0).data()));
    EXPECT_EQ(8u, DibRowStride(Header(10, 1, 1, 4, 0).data()));
    EXPECT_EQ(32u, DibRowStride(Header(10, 1, 1, 24, 0).data()));
    EXPECT_EQ(12u, DibRowStride(Header(3, 1, 1, 32, 0).data()));
    EXPECT_EQ(8u, DibRowStride(Header(3, 1, 2, 8, 0).data()));  // planes count too
}

TEST(IconData, BuiltinIconsHaveTheirImages)
{
    for (int caption : {IconInformation, IconWarning, IconError, IconChoice}) {
        const auto &data = BuiltinIcon(caption);
        int count = IconImageCount(data.data(), data.size());
        ASSERT_EQ(caption == IconChoice ? 1 : 2, count) << caption;
        for (int i = 0; i < count; ++i) {
            IconImage image;
            ASSERT_TRUE(IconImageAt(data.data(), data.size(), i, image));
            int size = caption == IconChoice || i == 1 ? 16 : 32;
            EXPECT_EQ(size, image.Width);
            EXPECT_EQ(size, image.Height);
            EXPECT_EQ(32, image.Depth);
            EXPECT_EQ(image.Header + 40, image.ColorBits);
            EXPECT_EQ(image.ColorBits + size * size * 4, image.MaskBits);
            EXPECT_EQ(image.Header + image.Bytes, image.MaskBits + size * ((size + 31) / 32 * 4));
            // A corner is transparent (mask bit set, alpha 0), the centre drawn and opaque.
            EXPECT_EQ(0x80, image.MaskBits[0] & 0x80);
            EXPECT_EQ(0, image.ColorBits[3]);
            const uint8_t *centre = image.ColorBits + ((size / 2) * size + size / 2) * 4;
            EXPECT_EQ(255, centre[3]);
            EXPECT_EQ(0, image.MaskBits[(size / 2) * ((size + 31) / 32 * 4) + size / 2 / 8] & (0x80 >> (size / 2 % 8)));
        }
        EXPECT_FALSE(IconImageAt(data.data(), data.size(), count, *std::make_unique<IconImage>()));
    }
    EXPECT_TRUE(BuiltinIcon(4).empty());
    EXPECT_TRUE(BuiltinIcon(-1).empty());
}

TEST(IconData, BuiltinIconImagesAtAnySizeInNormalAndAlarmColours)
{
    for (int caption : {IconInformation, IconWarning, IconError, IconChoice}) {
        const std::vector<uint8_t> normal = BuiltinIconImage(caption, 64, false);
        const std::vector<uint8_t> alarm = BuiltinIconImage(caption, 64, true);
        ASSERT_EQ(normal.size(), 40u + 64 * 64 * 4 + 64 * 8) << caption;
        ASSERT_EQ(alarm.size(), normal.size());
        EXPECT_EQ(64, DibWidth(normal.data()));
        EXPECT_EQ(128, DibHeight(normal.data()));  // colour and mask
        EXPECT_EQ(32, DibBitsPerPixel(normal.data()));
        // Same outline, other colours.
        EXPECT_TRUE(std::equal(normal.end() - 64 * 8, normal.end(), alarm.end() - 64 * 8)) << caption;
        EXPECT_NE(normal, alarm) << caption;
    }
    // The images of the icons are these images at their sizes.
    const auto &icon = BuiltinIcon(IconError);
    IconImage at32;
    ASSERT_TRUE(IconImageAt(icon.data(), icon.size(), 0, at32));
    const std::vector<uint8_t> drawn = BuiltinIconImage(IconError, 32, false);
    ASSERT_EQ(drawn.size(), at32.Bytes);
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), at32.Header));
    EXPECT_TRUE(BuiltinIconImage(4, 64, false).empty());
    EXPECT_TRUE(BuiltinIconImage(IconError, 0, false).empty());
    EXPECT_TRUE(BuiltinIconImage(IconError, 257, true).empty());
}

TEST(IconData, DamagedDataGivesNoImage)
{
    const auto &good = BuiltinIcon(IconError);
    IconImage image;
    EXPECT_EQ(0, IconImageCount(nullptr, 0));
    EXPECT_EQ(0, IconImageCount(good.data(), 1));
    EXPECT_EQ(0, IconImageCount(good.data(), 2 + 16));  // the directory does not fit
    // Cut short: the second image's bits are missing.
    EXPECT_FALSE(IconImageAt(good.data(), good.size() - 1, 1, image));
    EXPECT_TRUE(IconImageAt(good.data(), good.size() - 1, 0, image));
    // An offset past the end, and an image too small for its header's size.
    auto bad = good;
    bad[2 + 12] = 0xFF, bad[2 + 13] = 0xFF, bad[2 + 14] = 0xFF;
    EXPECT_FALSE(IconImageAt(bad.data(), bad.size(), 0, image));
    bad = good;
    bad[2 + 8] = 20, bad[2 + 9] = 0, bad[2 + 10] = 0, bad[2 + 11] = 0;
    EXPECT_FALSE(IconImageAt(bad.data(), bad.size(), 0, image));
    // A header claiming a larger image than its bytes.
    bad = good;
    size_t header = bad[2 + 12] | bad[2 + 13] << 8;
    bad[header + 4] = 64;
    EXPECT_FALSE(IconImageAt(bad.data(), bad.size(), 0, image));
}
