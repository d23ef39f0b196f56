#include "tests/support/JpegBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace testdata {

JpegBuilder &JpegBuilder::Marker(std::uint8_t marker)
{
    bytes_.push_back(0xFF);
    bytes_.push_back(marker);
    return *this;
}

JpegBuilder &JpegBuilder::Segment(std::uint8_t marker, const Bytes &body)
{
    if (body.size() > 65533)
        throw std::invalid_argument("segment body longer than its length field can count");
    Marker(marker);
    const std::size_t length = body.size() + 2;
    bytes_.push_back(static_cast<std::uint8_t>(length >> 8));
    bytes_.push_back(static_cast<std::uint8_t>(length));
    return Raw(body);
}

JpegBuilder &JpegBuilder::Jfif(std::uint8_t thumbWidth, std::uint8_t thumbHeight)
{
    Bytes body = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, thumbWidth, thumbHeight};
    for (int i = 0; i < 3 * thumbWidth * thumbHeight; ++i)
        body.push_back(static_cast<std::uint8_t>(0x40 + i));
    return Segment(0xE0, body);
}

JpegBuilder &JpegBuilder::Dqt()
{
    Bytes body{0};
    for (int i = 0; i < 64; ++i)
        body.push_back(static_cast<std::uint8_t>(1 + i % 16));
    return Segment(0xDB, body);
}

JpegBuilder &JpegBuilder::Sof0(std::uint16_t width, std::uint16_t height)
{
    return Segment(0xC0, {8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                          static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 1, 1, 0x11, 0});
}

JpegBuilder &JpegBuilder::Dht()
{
    Bytes body{0x00};
    for (int i = 0; i < 16; ++i)
        body.push_back(i == 1 ? 2 : 0);
    body.push_back(0);
    body.push_back(1);
    return Segment(0xC4, body);
}

JpegBuilder &JpegBuilder::Sos() { return Segment(0xDA, {1, 1, 0x00, 0, 63, 0}); }

JpegBuilder &JpegBuilder::Entropy(std::size_t n, std::size_t stuffEvery)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (stuffEvery != 0 && i % stuffEvery == stuffEvery - 1 && i + 1 < n) {
            bytes_.push_back(0xFF);
            bytes_.push_back(0x00);
            ++i;
            continue;
        }
        pattern_ = pattern_ * 1103515245u + 12345u;
        bytes_.push_back(static_cast<std::uint8_t>((pattern_ >> 16) % 0xFF));
    }
    return *this;
}

JpegBuilder &JpegBuilder::Raw(const Bytes &bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<std::uint8_t> SmallJpeg(std::size_t entropy, std::size_t restartEvery)
{
    JpegBuilder b;
    b.Marker(0xD8).Jfif(2, 3).Dqt().Sof0(16, 8).Dht().Sos();
    if (restartEvery == 0) {
        b.Entropy(entropy, 97);
    } else {
        std::uint8_t restart = 0;
        for (std::size_t done = 0; done < entropy; done += restartEvery) {
            if (done != 0)
                b.Marker(static_cast<std::uint8_t>(0xD0 + restart++ % 8));
            b.Entropy(std::min(restartEvery, entropy - done), 97);
        }
    }
    return b.Marker(0xD9).Build();
}

}  // namespace testdata
