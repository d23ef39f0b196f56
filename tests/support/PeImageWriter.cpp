#include "tests/support/PeImageWriter.h"

#include <algorithm>
#include <cstring>

namespace {

void Put16(std::vector<uint8_t> &b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void Put32(std::vector<uint8_t> &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> WritePeImage(const TestPeImage &image)
{
    std::vector<TestPeSection> sections = image.Sections;
    if (sections.empty())
        sections = {{0x400, 0x200, 0x60000020, 0}, {0x600, 0x200, 0xC0000040, 0}};
    const uint16_t optionalSize = image.Pe32Plus ? 240 : 224;
    const size_t table = kTestPeHeaderOffset + 24 + optionalSize;
    size_t end = table + 40 * sections.size();
    for (const TestPeSection &s : sections)
        end = std::max<size_t>(end, size_t(s.RawPointer) + s.RawSize);

    std::vector<uint8_t> b(end, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 60, kTestPeHeaderOffset);
    const size_t nt = kTestPeHeaderOffset;
    std::memcpy(&b[nt], "PE\0\0", 4);
    Put16(b, nt + 4, image.Pe32Plus ? 0x8664 : 0x014C);
    Put16(b, nt + 6, uint16_t(sections.size()));
    Put32(b, nt + 8, image.TimeStamp);
    Put16(b, nt + 20, optionalSize);
    Put16(b, nt + 22, 0x0022);
    Put16(b, nt + 24, image.Pe32Plus ? 0x20B : 0x10B);
    for (size_t i = 0; i < sections.size(); ++i) {
        const TestPeSection &s = sections[i];
        const size_t h = table + 40 * i;
        std::memcpy(&b[h], i == 0 ? ".text" : ".data", 5);
        Put32(b, h + 8, s.RawSize);
        Put32(b, h + 12, 0x1000 * uint32_t(i + 1));
        Put32(b, h + 16, s.RawSize);
        Put32(b, h + 20, s.RawPointer);
        Put32(b, h + 24, s.RelocationPointer);
        Put32(b, h + 36, s.Characteristics);
        for (uint32_t k = 0; k < s.RawSize; ++k)
            b[s.RawPointer + k] = uint8_t(0x90 + (k % 7));
    }
    return b;
}
