// Fuzz target for the record packer's reader. A first byte below 0x80 picks one of a few fixed layouts
// (texts, two-language texts, raw bytes, tagged-record slots, a tag-word block); the rest is the
// packed data. The record is exactly the layout's in-memory size, so a write past it is a sanitizer
// report. Besides the sanitizers: data that unpacks measures, by the stored offsets, as long as the
// record packs, and the record packs to data that unpacks and packs to the same bytes again.
// A first byte from 0x80 up makes the rest a layout table: the layout of the record number in its low
// bits is looked up and, when there is one, used to clear a record and unpack the table's own bytes
// into it; anything refused must be refused with the library's codes.
#include <cstring>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/records/SbOps.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Built(std::initializer_list<std::pair<std::uint8_t, std::uint16_t>> items)
{
    Bytes layout = Sb_Title::NewLayout(3);
    for (const auto &[type, count] : items)
        Sb_Title::AddField(layout, type, count);
    Sb_Title::BuildSegments(layout);
    return layout;
}

// A layout with a tag-word block, as the ones built elsewhere come: no items, only segments.
Bytes TagBlockLayout()
{
    Bytes layout;
    for (std::uint16_t word : {3, 0, 0, static_cast<int>(6 + 2 * sizeof(void *)), 0, 0x4000, 3})
        AppendU16(layout, word);
    for (std::uint8_t kind : {SegmentKind::TagBlock, SegmentKind::Text, SegmentKind::TwoLanguage}) {
        layout.push_back(kind);
        AppendU16(layout, kind == SegmentKind::TagBlock ? 6 : 1);
    }
    return layout;
}

const std::vector<Bytes> &Layouts()
{
    static const std::vector<Bytes> layouts = {
        Built({{1, 1}, {7, 1}}),
        Built({{22, 1}, {1, 2}, {15, 1}, {2, 3}, {8, 1}, {40, 1}, {41, 1}, {42, 1}, {43, 1}}),
        TagBlockLayout(),
        Built({{15, 3}, {17, 1}}),
    };
    return layouts;
}

bool HasItems(const Bytes &layout) { return Sb_Title::Header(layout).itemCount != 0; }

Bytes Seed(std::uint8_t layout, Bytes data)
{
    data.insert(data.begin(), layout);
    return data;
}

// A chained table of two layouts, the second one looked up.
Bytes TableSeed()
{
    Bytes table = {0x80 | 3, 0, 0};
    Bytes first = Built({{7, 1}, {1, 1}});
    StoreU16(first.data(), 2);
    StoreU16(first.data() + 2, static_cast<std::uint16_t>(first.size()));
    table.insert(table.end(), first.begin(), first.end());
    const Bytes &second = Layouts()[1];
    table.insert(table.end(), second.begin(), second.end());
    return table;
}

}  // namespace

std::vector<Bytes> FuzzSeedInputs()
{
    return {
        Seed(0, {3, 0, 'a', 'b', 'c', 1, 2, 3, 4}),
        Seed(1, {1, 0, 'x', 0, 0, 2,   0, 1, 0, 'r', 'u', 'x', 'a', 'b', 'c', 9, 9, 9, 9, 2, 0, 'q', 'q', 1,   0,  0,
                 0, 0, 0,   0, 0, 'p', 0, 0, 0, 0,   0,   0,   0,   0,   0,   0, 0, 0, 3, 0, 0, 0,   'e', 'n', 'd'}),
        Seed(2, {'w', 'x', 'y', 'z', 0x05, 0x81, 'a', 'b', 'c', 'd', 'e', 1, 0, 1, 0, 'r', 'u'}),
        Seed(3, {0, 0, 0, 0, 2, 0, 0, 0, 'a', 'b', 0, 0, 1, 0, 'c'}),
        TableSeed(),
    };
}

namespace {

void FuzzLayoutTable(const Bytes &table, std::uint16_t number)
{
    try {
        const LayoutView found = FindLayout(table, number);
        if (found.empty())
            return;
        const Bytes layout(found.begin(), found.end());
        Bytes record(Sb_Title::Header(layout).memorySize, 0);
        std::vector<std::uint32_t> offsets;
        Sb_Ops::FieldOffsets(layout, offsets);
        Sb_Ops::ClearRecord(layout, record.data());
        Sb_Ops::Unpack(layout, record.data(), table.data(), table.size());
        Sb_Ops::PackedSize(layout, record.data());
        Sb_Ops::ClearRecord(layout, record.data());
    } catch (const TZExcept &e) {
        if (e.Code() != DamagedRecordCode && e.Code() != UnknownPoleCode)
            FuzzFinding("a layout table was refused with another code");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] >= 0x80) {
        FuzzLayoutTable(Bytes(data + 1, data + size), data[0] & 0x7F);
        return 0;
    }
    const Bytes &layout = Layouts()[data[0] % Layouts().size()];
    const Bytes packed(data + 1, data + size);
    const std::size_t memory = Sb_Title::Header(layout).memorySize;
    Bytes first(memory, 0), second(memory, 0);
    try {
        Sb_Ops::Unpack(layout, first.data(), packed.data() != nullptr ? packed.data() : data, packed.size());
    } catch (const TZExcept &e) {
        if (e.Code() != DamagedRecordCode)
            FuzzFinding("the packer's reader refused data with another code");
        // Cleared: zero bytes and empty slots, but for the tag word, which holds the record number.
        const bool tagged = (Sb_Title::Header(layout).flags & Pole::TagWordFlag) != 0;
        for (std::size_t i = tagged ? 2 : 0; i < first.size(); ++i)
            if (first[i] != 0)
                FuzzFinding("a refused record was not left cleared");
        return 0;
    }
    const std::size_t size1 = Sb_Ops::PackedSize(layout, first.data());
    if (HasItems(layout)) {
        std::vector<std::uint32_t> offsets;
        if (Sb_Ops::StoredFieldOffsets(layout, packed.data() != nullptr ? packed.data() : data, packed.size(),
                                       offsets) != size1)
            FuzzFinding("the stored offsets measure the data otherwise than the record packs");
    }
    Bytes again(size1);
    Sb_Ops::Pack(layout, again.data(), again.size(), first.data());
    Sb_Ops::Unpack(layout, second.data(), again.data() != nullptr ? again.data() : data, again.size());
    Bytes third(Sb_Ops::PackedSize(layout, second.data()));
    Sb_Ops::Pack(layout, third.data(), third.size(), second.data());
    if (third != again)
        FuzzFinding("a record packed, unpacked and packed again changed");
    Sb_Ops::ClearRecord(layout, first.data());
    Sb_Ops::ClearRecord(layout, second.data());
    return 0;
}
