#pragma once
// Builds JPEG-like files segment by segment from the marker format (0xFF, marker byte, big-endian
// length that counts itself, the segment's bytes), without image content that a decoder would accept:
// only the segment structure matters to the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace testdata {

class JpegBuilder {
public:
    using Bytes = std::vector<std::uint8_t>;

    // A marker that stands alone (SOI, EOI, RSTn, TEM).
    JpegBuilder &Marker(std::uint8_t marker);
    // A marker, the big-endian length of the body + 2, the body.
    JpegBuilder &Segment(std::uint8_t marker, const Bytes &body);
    // A "JFIF" APP0 segment with a w x h thumbnail of 3 bytes a pixel; its length counts the thumbnail.
    JpegBuilder &Jfif(std::uint8_t thumbWidth, std::uint8_t thumbHeight);
    JpegBuilder &Dqt();
    JpegBuilder &Sof0(std::uint16_t width, std::uint16_t height);
    JpegBuilder &Dht();
    JpegBuilder &Sos();
    // Entropy-coded bytes: n bytes of a fixed pseudo-random pattern with no FF, an FF 00 stuffed in
    // every `stuffEvery` bytes (0 none).
    JpegBuilder &Entropy(std::size_t n, std::size_t stuffEvery = 0);
    JpegBuilder &Raw(const Bytes &bytes);

    std::size_t Size() const { return bytes_.size(); }
    const Bytes &Build() const { return bytes_; }

private:
    Bytes bytes_;
    std::uint32_t pattern_ = 12345;
};

// SOI, a JFIF APP0 with a 2 x 3 thumbnail, DQT, SOF0, DHT, SOS, `entropy` bytes of entropy-coded
// data (with FF 00 and, every `restartEvery` bytes when non-zero, RST0 to RST7 in turn), EOI.
std::vector<std::uint8_t> SmallJpeg(std::size_t entropy, std::size_t restartEvery = 0);

}  // namespace testdata
