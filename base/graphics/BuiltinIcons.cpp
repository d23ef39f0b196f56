#include "base/graphics/BuiltinIcons.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/memory/Bytes.h"
#include "base/graphics/IconData.h"

namespace {

// A colour with coverage; shapes are painted in order, the later over the earlier.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};
constexpr Rgba Opaque(uint32_t rgb)
{
    return {static_cast<float>(rgb >> 16 & 0xFF), static_cast<float>(rgb >> 8 & 0xFF), static_cast<float>(rgb & 0xFF),
            1};
}
const Rgba White = Opaque(0xFFFFFF);

// Shapes in unit coordinates (x right, y down, the icon from 0 to 1).
float Distance(float x0, float y0, float x1, float y1) { return std::hypot(x1 - x0, y1 - y0); }
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    float dx = bx - ax, dy = by - ay;
    float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return Distance(px, py, ax + t * dx, ay + t * dy);
}
bool Capsule(float x, float y, float ax, float ay, float bx, float by, float halfWidth)
{
    return SegmentDistance(x, y, ax, ay, bx, by) <= halfWidth;
}
bool Disc(float x, float y, float cx, float cy, float r) { return Distance(x, y, cx, cy) <= r; }

// The colour of one sample point of a caption's icon. The alarm colours stand out on a red ground:
// the discs are white with a yellow rim and a glyph in the disc's normal colour, the triangle white
// with a black rim and a red mark.
Rgba Sample(int caption, bool alarm, float x, float y)
{
    switch (caption) {
    case IconInformation:
    case IconError:
    case IconChoice: {
        float d = Distance(x, y, 0.5f, 0.5f);
        if (d > 0.47f)
            return {};
        uint32_t fill = caption == IconInformation ? 0x2A62C8 : caption == IconError ? 0xD42A2A : 0x1E8C9A;
        uint32_t rim = caption == IconInformation ? 0x163C80 : caption == IconError ? 0x801414 : 0x105860;
        bool glyph = false;
        if (caption == IconInformation)
            glyph = Disc(x, y, 0.5f, 0.27f, 0.08f) || Capsule(x, y, 0.5f, 0.43f, 0.5f, 0.75f, 0.07f);
        else if (caption == IconError)
            glyph =
                Capsule(x, y, 0.31f, 0.31f, 0.69f, 0.69f, 0.075f) || Capsule(x, y, 0.69f, 0.31f, 0.31f, 0.69f, 0.075f);
        else {
            // A question mark: an open ring over the stem, then the dot.
            float dx = x - 0.5f, dy = y - 0.37f, r = std::hypot(dx, dy);
            bool ring = std::fabs(r - 0.15f) <= 0.07f && !(dx < 0 && dy > 0);
            glyph = ring || Disc(x, y, 0.35f, 0.37f, 0.07f) || Capsule(x, y, 0.5f, 0.52f, 0.5f, 0.62f, 0.07f) ||
                    Disc(x, y, 0.5f, 0.78f, 0.075f);
        }
        if (alarm)
            return glyph ? Opaque(fill) : Opaque(d > 0.42f ? 0xFFD000 : 0xFFFFFF);
        if (glyph)
            return White;
        return Opaque(d > 0.42f ? rim : fill);
    }
    case IconWarning: {
        // A triangle standing on its base, a dark rim, a black exclamation mark.
        constexpr float ax = 0.5f, ay = 0.05f, bx = 0.03f, by = 0.93f, cx = 0.97f, cy = 0.93f;
        auto side = [&](float x0, float y0, float x1, float y1) { return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0); };
        float s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
        bool inside = (s1 <= 0 && s2 <= 0 && s3 <= 0) || (s1 >= 0 && s2 >= 0 && s3 >= 0);
        if (!inside)
            return {};
        if (Capsule(x, y, 0.5f, 0.36f, 0.5f, 0.64f, 0.065f) || Disc(x, y, 0.5f, 0.79f, 0.07f))
            return Opaque(alarm ? 0xD42A2A : 0x101010);
        float edge = std::min({SegmentDistance(x, y, ax, ay, bx, by), SegmentDistance(x, y, bx, by, cx, cy),
                               SegmentDistance(x, y, cx, cy, ax, ay)});
        if (alarm)
            return Opaque(edge < 0.05f ? 0x101010 : 0xFFFFFF);
        return Opaque(edge < 0.05f ? 0xA06800 : 0xF8C820);
    }
    default: return {};
    }
}

// One 32-bit image (header, colour bits bottom-up, mask bits bottom-up), each pixel averaged over
// 4 x 4 samples so the edges are smooth.
std::vector<uint8_t> DrawImage(int caption, int size, bool alarm = false)
{
    constexpr int Grid = 4;
    const uint32_t maskStride = (static_cast<uint32_t>(size) + 31) / 32 * 4;
    std::vector<uint8_t> image(40 + static_cast<size_t>(size) * size * 4 + maskStride * size, 0);
    StoreU32(image.data(), 40);
    StoreU32(image.data() + 4, static_cast<uint32_t>(size));
    StoreU32(image.data() + 8, static_cast<uint32_t>(size * 2));
    StoreU16(image.data() + 12, 1);
    StoreU16(image.data() + 14, 32);
    const size_t mask = 40 + static_cast<size_t>(size) * size * 4;
    for (int row = 0; row < size; ++row) {
        const int stored = size - 1 - row;  // bottom-up
        for (int col = 0; col < size; ++col) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < Grid; ++sy)
                for (int sx = 0; sx < Grid; ++sx) {
                    Rgba s =
                        Sample(caption, alarm, (col + (sx + 0.5f) / Grid) / size, (row + (sy + 0.5f) / Grid) / size);
                    r += s.r * s.a, g += s.g * s.a, b += s.b * s.a, a += s.a;
                }
            uint8_t *px = image.data() + 40 + (static_cast<size_t>(stored) * size + col) * 4;
            if (a > 0) {
                px[0] = static_cast<uint8_t>(std::lround(b / a));
                px[1] = static_cast<uint8_t>(std::lround(g / a));
                px[2] = static_cast<uint8_t>(std::lround(r / a));
                px[3] = static_cast<uint8_t>(std::lround(a * 255 / (Grid * Grid)));
            } else {
                image[mask + stored * maskStride + col / 8] |= static_cast<uint8_t>(0x80 >> (col % 8));
            }
        }
    }
    return image;
}

std::vector<uint8_t> BuildIcon(int caption)
{
    std::vector<int> sizes = caption == IconChoice ? std::vector<int>{16} : std::vector<int>{32, 16};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes)
        images.push_back(DrawImage(caption, s));
    std::vector<uint8_t> data(2 + IconDirEntrySize * images.size());
    StoreU16(data.data(), static_cast<uint16_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        size_t entry = 2 + IconDirEntrySize * i;
        data[entry] = static_cast<uint8_t>(sizes[i]);
        data[entry + 1] = static_cast<uint8_t>(sizes[i]);
        StoreU16(data.data() + entry + 4, 1);
        StoreU16(data.data() + entry + 6, 32);
        StoreU32(data.data() + entry + 8, static_cast<uint32_t>(images[i].size()));
        StoreU32(data.data() + entry + 12, static_cast<uint32_t>(data.size()));
        data.insert(data.end(), images[i].begin(), images[i].end());
    }
    return data;
}

}  // namespace

const std::vector<uint8_t> &BuiltinIcon(int caption)
{
    static const std::array<std::vector<uint8_t>, 4> icons = {BuildIcon(0), BuildIcon(1), BuildIcon(2), BuildIcon(3)};
    static const std::vector<uint8_t> none;
    return caption >= 0 && caption < 4 ? icons[static_cast<size_t>(caption)] : none;
}

std::vector<uint8_t> BuiltinIconImage(int caption, int size, bool alarm)
{
    if (caption < 0 || caption > 3 || size < 1 || size > 256)
        return {};
    return DrawImage(caption, size, alarm);
}
