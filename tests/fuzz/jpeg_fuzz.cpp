// Fuzz target for the JPEG lister. Every input is split; a split must cover the input with items
// that follow one another, cut data runs at their limit, and write back to the input byte for byte.
// An inserted comment segment must then write as its marker, length and data in its place. A refused
// input must leave the list empty.
#include <algorithm>

#include "base/files/ZJPEG.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/JpegBuilder.h"

using Bytes = std::vector<std::uint8_t>;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Bytes input(data, data + size);
    TZJPEG jpeg;
    if (jpeg.Split(input.data(), input.size()) != 0) {
        if (jpeg.Count() != 0)
            FuzzFinding("a refused input left items");
        return 0;
    }
    std::size_t next = 0;
    for (int i = 0; i < jpeg.Count(); ++i) {
        const TZJPEGItem *item = jpeg.Item(i);
        if (item->offset != next || item->length == 0)
            FuzzFinding("an item does not follow the one before it");
        if (item->kind == TZJPEG::jkData && item->length > TZJPEG::MaxDataRun)
            FuzzFinding("a data run is longer than its limit");
        if (!TZJPEG::HasLength(item->kind) && item->kind != TZJPEG::jkData && item->length != 2)
            FuzzFinding("a marker that stands alone took more than itself");
        next += item->length;
    }
    if (next != size)
        FuzzFinding("the items do not cover the input");
    if (jpeg.WriteAll(input) != input)
        FuzzFinding("the items do not write back to the input");

    const std::uint32_t own = static_cast<std::uint32_t>(std::min<std::size_t>(size, 300));
    const int at = jpeg.Count() / 2;
    jpeg.InsertData(at, TZJPEG::jkCOM, input.data(), own);
    Bytes expected;
    for (int i = 0; i < jpeg.Count(); ++i) {
        if (i == at) {
            expected.insert(expected.end(), {0xFF, 0xFE, static_cast<std::uint8_t>((own + 2) >> 8),
                                             static_cast<std::uint8_t>(own + 2)});
            expected.insert(expected.end(), input.begin(), input.begin() + own);
        } else {
            const TZJPEGItem *item = jpeg.Item(i);
            expected.insert(expected.end(), input.begin() + item->offset, input.begin() + item->offset + item->length);
        }
    }
    if (jpeg.WriteAll(input) != expected)
        FuzzFinding("an inserted segment is not written in its place");
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    using testdata::JpegBuilder;
    return {testdata::SmallJpeg(300, 70), testdata::SmallJpeg(62000),
            JpegBuilder().Marker(0xD8).Segment(0xFE, {'a', 'b'}).Entropy(40, 7).Raw({0xFF, 0xFF}).Marker(0xD9).Build(),
            JpegBuilder().Marker(0xD8).Marker(0x01).Segment(0xE3, {1}).Raw({0xFF, 0xC0, 0x00}).Build()};
}
