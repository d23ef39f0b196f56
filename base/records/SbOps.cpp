// Record layouts and the record packer.
#include "base/records/SbOps.h"

#include <cstring>
#include <string>

#include "base/memory/Bytes.h"
#include "base/records/RecString.h"
#include "base/records/URString.h"

namespace {

constexpr std::size_t Slot = sizeof(void *);

[[noreturn]] void Damaged(const std::string &what) { throw TZExcept(AnsiString(what), DamagedRecordCode); }

// ---- the layout buffer -------------------------------------------------------------------------

constexpr std::size_t ItemsAt = LayoutHeaderSize;

std::size_t ItemAt(std::size_t index) { return ItemsAt + index * FieldItemSize; }

void PutU16(std::vector<std::uint8_t> &layout, std::size_t at, std::uint16_t value)
{
    StoreU16(layout.data() + at, value);
}

bool IsRecordKind(std::uint8_t kind) { return Pole::IsRecordType(kind); }

// The kind of segment a field item belongs to.
std::uint8_t SegmentKindOf(const TFieldItem &item)
{
    if ((item.flagClass & Pole::ClassNotStored) != 0 || IsSizeField(item.type, false) == 0)
        return SegmentKind::MemoryOnly;
    if ((item.flagClass & Pole::ClassRaw) != 0)
        return SegmentKind::Raw;
    if (item.type == Pole::TwoLanguage)
        return SegmentKind::TwoLanguage;
    if (Pole::IsRecordType(item.type))
        return item.type;
    return SegmentKind::Text;
}

// Segments of byte runs count bytes; the others count slots.
bool CountsBytes(std::uint8_t kind)
{
    return kind == SegmentKind::Raw || kind == SegmentKind::TagBlock || kind == SegmentKind::MemoryOnly;
}

// ---- stored lengths ------------------------------------------------------------------------------

std::size_t LengthOfWord(std::uint16_t word)
{
    const std::uint8_t high = static_cast<std::uint8_t>(word >> 8);
    return high == 0x81 || high == 0x82 ? (word & 0xFF) : word;
}

// The fixed part before a record's bytes.
std::size_t RecordPrefix(std::uint8_t type) { return IsSizeField(type, false); }

std::string_view CheckedValue(const void *record, std::size_t offset)
{
    const std::string_view value = RecString::View(record, offset);
    if (value.size() >= StoredLengthLimit)
        Damaged("Record packing: a text of " + std::to_string(value.size()) + " bytes is longer than the " +
                std::to_string(StoredLengthLimit - 1) + " bytes a stored length can give back");
    return value;
}

// Reads a u16 length word and that many bytes after a fixed part of `prefix` bytes.
std::string_view ReadLengthValue(TByteReader &in, std::size_t prefix)
{
    std::uint16_t word = 0;
    std::string_view value;
    if (!in.ReadU16(word) || !in.Skip(prefix - 2) || !in.ReadText(LengthOfWord(word), value))
        Damaged("Record packing: a stored text runs past the end of the packed data");
    return value;
}

// ---- walking the segments ------------------------------------------------------------------------

struct Step {
    std::uint8_t kind;
    std::uint32_t elements;
    std::size_t offset;  // in the record
};

// Calls `f` for each segment with its place in the record; refuses a layout whose segments run past
// its bytes or the record's in-memory size, and unknown kinds. Returns the in-memory bytes walked.
template <typename F>
std::size_t WalkSegments(LayoutView layout, F &&f)
{
    const TLayoutHeader header = Sb_Title::Header(layout);
    Sb_Title::Length(layout);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < header.segmentCount; ++i) {
        const TLayoutSegment segment = Sb_Title::Segment(layout, i);
        const std::uint8_t kind = segment.kind;
        const bool known =
            CountsBytes(kind) || kind == SegmentKind::Text || kind == SegmentKind::TwoLanguage || IsRecordKind(kind);
        if (!known)
            Damaged("Record layout " + std::to_string(header.number) + ": unknown segment kind " +
                    std::to_string(kind));
        if (kind == SegmentKind::TagBlock && segment.Elements() < 2)
            Damaged("Record layout " + std::to_string(header.number) + ": a tag-word block shorter than its word");
        const std::size_t width = CountsBytes(kind) ? segment.Elements() : segment.Elements() * Slot;
        if (width > header.memorySize - offset)
            Damaged("Record layout " + std::to_string(header.number) + ": its segments run past the record's " +
                    std::to_string(header.memorySize) + " bytes");
        f(Step{kind, segment.Elements(), offset});
        offset += width;
    }
    return offset;
}

// Refuses a damaged layout before anything is changed by it.
void CheckSegments(LayoutView layout)
{
    WalkSegments(layout, [](const Step &) {});
}

// The packed form, written when `out` is given; returns its size.
std::size_t PackInto(LayoutView layout, const void *record, std::uint8_t *out)
{
    const auto *rec = static_cast<const std::uint8_t *>(record);
    std::size_t size = 0;
    auto put = [&](const void *bytes, std::size_t count) {
        if (out != nullptr && count != 0)
            std::memcpy(out + size, bytes, count);
        size += count;
    };
    auto putLength = [&](std::size_t length, std::size_t prefix) {
        std::uint8_t fixed[12] = {};
        StoreU16(fixed, static_cast<std::uint16_t>(length));
        put(fixed, prefix);
    };
    WalkSegments(layout, [&](const Step &s) {
        switch (s.kind) {
        case SegmentKind::Raw: put(rec + s.offset, s.elements); break;
        case SegmentKind::TagBlock: put(rec + s.offset + 2, s.elements - 2); break;
        case SegmentKind::MemoryOnly: break;
        case SegmentKind::TwoLanguage:
            for (std::uint32_t e = 0; e < s.elements; ++e) {
                const std::size_t at = s.offset + e * Slot;
                size += URString::SlotToPacked(rec, at, out != nullptr ? out + size : nullptr);
            }
            break;
        default: {  // texts and records: a length word (in a fixed part for records), then the bytes
            const std::size_t prefix = s.kind == SegmentKind::Text ? 2 : RecordPrefix(s.kind);
            for (std::uint32_t e = 0; e < s.elements; ++e) {
                const std::string_view value = CheckedValue(rec, s.offset + e * Slot);
                putLength(value.size(), prefix);
                put(value.data(), value.size());
            }
        }
        }
    });
    return size;
}

// Empties the slots and zeroes the bytes of one segment.
void ClearStep(std::uint8_t *rec, const Step &s)
{
    switch (s.kind) {
    case SegmentKind::Raw:
    case SegmentKind::MemoryOnly: std::memset(rec + s.offset, 0, s.elements); break;
    case SegmentKind::TagBlock: std::memset(rec + s.offset + 2, 0, s.elements - 2); break;
    case SegmentKind::TwoLanguage:
        for (std::uint32_t e = 0; e < s.elements; ++e)
            URString::ClearSlot(rec, s.offset + e * Slot);
        break;
    default:
        for (std::uint32_t e = 0; e < s.elements; ++e)
            RecString::Clear(rec, s.offset + e * Slot);
    }
}

// Whether the two bytes at `offset` lie in segments of plain bytes, so that writing them cannot touch a
// slot (a layout built elsewhere may place its items otherwise than its segments).
bool InPlainBytes(LayoutView layout, std::size_t offset)
{
    int covered = 0;
    WalkSegments(layout, [&](const Step &s) {
        if (!CountsBytes(s.kind))
            return;
        for (std::size_t at = offset; at < offset + 2; ++at)
            covered += at >= s.offset && at < s.offset + s.elements;
    });
    return covered == 2;
}

// Where the record keeps its tag word: the first type-22 item, or else the first '@' block.
bool FindTagWord(LayoutView layout, std::size_t &offset)
{
    std::vector<std::uint32_t> offsets;
    Sb_Ops::FieldOffsets(layout, offsets);
    const TLayoutHeader header = Sb_Title::Header(layout);
    for (std::size_t i = 0; i < header.itemCount; ++i) {
        if (Sb_Title::Item(layout, i).type == Pole::TagWord) {
            offset = offsets[i];
            return InPlainBytes(layout, offset);
        }
    }
    bool found = false;
    WalkSegments(layout, [&](const Step &s) {
        if (!found && s.kind == SegmentKind::TagBlock) {
            offset = s.offset;
            found = true;
        }
    });
    return found;
}

}  // namespace

// ---- Sb_Title ----------------------------------------------------------------------------------------

std::vector<std::uint8_t> Sb_Title::NewLayout(std::uint16_t number)
{
    std::vector<std::uint8_t> layout(LayoutHeaderSize, 0);
    PutU16(layout, 0, number);
    return layout;
}

TLayoutHeader Sb_Title::Header(LayoutView layout)
{
    TByteReader in(layout);
    TLayoutHeader h;
    if (!in.ReadU16(h.number) || !in.ReadU16(h.next) || !in.ReadU16(h.itemCount) || !in.ReadU16(h.memorySize) ||
        !in.ReadU16(h.storedSize) || !in.ReadU16(h.flags) || !in.ReadU16(h.segmentCount))
        Damaged("Record layout: " + std::to_string(layout.size()) + " bytes hold no layout header");
    return h;
}

std::size_t Sb_Title::Length(LayoutView layout)
{
    const TLayoutHeader h = Header(layout);
    const std::size_t length = ItemAt(h.itemCount) + std::size_t{h.segmentCount} * SegmentSize;
    if (length > layout.size())
        Damaged("Record layout " + std::to_string(h.number) + ": its items and segments run past its " +
                std::to_string(layout.size()) + " bytes");
    return length;
}

TFieldItem Sb_Title::Item(LayoutView layout, std::size_t index)
{
    const TLayoutHeader h = Header(layout);
    TByteReader in(layout);
    TFieldItem item;
    if (index >= h.itemCount || !in.Seek(ItemAt(index)) || !in.ReadU8(item.type) || !in.ReadU16(item.count) ||
        !in.Skip(4) || !in.ReadU8(item.flagClass))
        Damaged("Record layout " + std::to_string(h.number) + ": no field item " + std::to_string(index));
    return item;
}

TLayoutSegment Sb_Title::Segment(LayoutView layout, std::size_t index)
{
    const TLayoutHeader h = Header(layout);
    TByteReader in(layout);
    TLayoutSegment segment;
    if (index >= h.segmentCount || !in.Seek(ItemAt(h.itemCount) + index * SegmentSize) || !in.ReadU8(segment.kind) ||
        !in.ReadU16(segment.count))
        Damaged("Record layout " + std::to_string(h.number) + ": no segment " + std::to_string(index));
    return segment;
}

void Sb_Title::AddField(std::vector<std::uint8_t> &layout, std::uint8_t type, std::uint16_t count)
{
    const TLayoutHeader h = Header(layout);
    const std::uint8_t flagClass = IsFlagPoleOpsField(type);
    const std::size_t elements = count == 0 ? 1 : count;
    const std::size_t memory = h.memorySize + elements * IsSizeField(type, true);
    const std::size_t stored = h.storedSize + elements * IsSizeField(type, false);
    if (memory > 0xFFFF || stored > 0xFFFF || h.itemCount == 0xFFFF)
        Damaged("Record layout " + std::to_string(h.number) + ": a record of more than 65535 bytes");
    Length(layout);
    layout.resize(ItemAt(h.itemCount));  // segments built before no longer match
    const std::uint8_t item[FieldItemSize] = {
        type, static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8), 0, 0, 0, 0, flagClass};
    layout.insert(layout.end(), item, item + FieldItemSize);
    PutU16(layout, 4, static_cast<std::uint16_t>(h.itemCount + 1));
    PutU16(layout, 6, static_cast<std::uint16_t>(memory));
    PutU16(layout, 8, static_cast<std::uint16_t>(stored));
    PutU16(layout, 10, static_cast<std::uint16_t>(h.flags | PoleFlagBits(type)));
    PutU16(layout, 12, 0);
}

std::uint16_t Sb_Title::BuildSegments(std::vector<std::uint8_t> &layout)
{
    const TLayoutHeader h = Header(layout);
    Length(layout);
    std::vector<std::uint8_t> segments;
    std::uint8_t kind = 0;
    std::size_t run = 0;
    auto flush = [&]() {
        if (run == 0)
            return;
        segments.push_back(kind);
        AppendU16(segments, static_cast<std::uint16_t>(run));
    };
    for (std::size_t i = 0; i < h.itemCount; ++i) {
        const TFieldItem item = Item(layout, i);
        const std::uint8_t itemKind = SegmentKindOf(item);
        const std::size_t amount =
            CountsBytes(itemKind) ? item.Elements() * IsSizeField(item.type, true) : item.Elements();
        if (itemKind != kind) {
            flush();
            kind = itemKind;
            run = 0;
        }
        run += amount;  // within the record's 65,535 bytes, which AddField keeps
    }
    flush();
    layout.resize(ItemAt(h.itemCount));
    layout.insert(layout.end(), segments.begin(), segments.end());
    const auto number = static_cast<std::uint16_t>(segments.size() / SegmentSize);
    PutU16(layout, 12, number);
    return number;
}

// ---- Sb_Ops --------------------------------------------------------------------------------------------

std::size_t Sb_Ops::PackedSize(LayoutView layout, const void *record)
{
    return record == nullptr ? 0 : PackInto(layout, record, nullptr);
}

std::size_t Sb_Ops::Pack(LayoutView layout, std::uint8_t *buffer, std::size_t capacity, const void *record)
{
    if (record == nullptr)
        return 0;
    const std::size_t size = PackInto(layout, record, nullptr);
    if (buffer == nullptr)
        return size;
    if (size > capacity)
        Damaged("Record packing: the packed record takes " + std::to_string(size) + " bytes, the buffer holds " +
                std::to_string(capacity));
    return PackInto(layout, record, buffer);
}

std::size_t Sb_Ops::Unpack(LayoutView layout, void *record, const std::uint8_t *buffer, std::size_t size)
{
    if (record == nullptr || buffer == nullptr)
        return 0;
    auto *rec = static_cast<std::uint8_t *>(record);
    CheckSegments(layout);
    TByteReader in(buffer, size);
    auto copy = [&](std::size_t at, std::size_t count) {
        if (!in.ReadInto(rec + at, count))
            Damaged("Record packing: the packed data ends inside a record's raw bytes");
    };
    try {
        return WalkSegments(layout, [&](const Step &s) {
            switch (s.kind) {
            case SegmentKind::Raw: copy(s.offset, s.elements); break;
            case SegmentKind::TagBlock: copy(s.offset + 2, s.elements - 2); break;
            case SegmentKind::MemoryOnly: break;
            case SegmentKind::TwoLanguage:
                for (std::uint32_t e = 0; e < s.elements; ++e) {
                    URString value;
                    // Refuses a packed form that runs past the data.
                    in.Skip(value.FromPacked(in.Cursor(), in.Cursor() + in.Remaining()));
                    URString::StoreSlot(rec, s.offset + e * Slot, std::move(value));
                }
                break;
            default: {
                const std::size_t prefix = s.kind == SegmentKind::Text ? 2 : RecordPrefix(s.kind);
                for (std::uint32_t e = 0; e < s.elements; ++e)
                    RecString::Set(rec, s.offset + e * Slot, ReadLengthValue(in, prefix));
            }
            }
        });
    } catch (...) {
        ClearRecord(layout, record);
        throw;
    }
}

std::size_t Sb_Ops::ClearRecord(LayoutView layout, void *record)
{
    if (record == nullptr)
        return 0;
    auto *rec = static_cast<std::uint8_t *>(record);
    const TLayoutHeader header = Sb_Title::Header(layout);
    CheckSegments(layout);
    const std::size_t cleared = WalkSegments(layout, [&](const Step &s) { ClearStep(rec, s); });
    std::size_t at = 0;
    if ((header.flags & Pole::TagWordFlag) != 0 && FindTagWord(layout, at))
        StoreU16(rec + at, header.number);
    return cleared;
}

std::size_t Sb_Ops::CopyRecord(LayoutView layout, void *destination, const void *source)
{
    const std::size_t size = Sb_Title::Header(layout).memorySize;
    if (destination == source)
        return size;
    if (destination == nullptr || source == nullptr)
        return 0;
    ClearRecord(layout, destination);  // refuses a damaged layout first
    auto *dst = static_cast<std::uint8_t *>(destination);
    const auto *src = static_cast<const std::uint8_t *>(source);
    WalkSegments(layout, [&](const Step &s) {
        switch (s.kind) {
        case SegmentKind::Raw:
        case SegmentKind::MemoryOnly:
        case SegmentKind::TagBlock: std::memcpy(dst + s.offset, src + s.offset, s.elements); break;
        case SegmentKind::TwoLanguage:
            for (std::uint32_t e = 0; e < s.elements; ++e) {
                const std::size_t at = s.offset + e * Slot;
                URString::StoreSlot(dst, at, URString::LoadSlot(src, at));
            }
            break;
        default:
            for (std::uint32_t e = 0; e < s.elements; ++e)
                RecString::Share(dst, s.offset + e * Slot, src, s.offset + e * Slot);
        }
    });
    return size;
}

std::size_t Sb_Ops::ZeroRecord(LayoutView layout, void *record)
{
    if (record == nullptr)
        return 0;
    const TLayoutHeader header = Sb_Title::Header(layout);
    const std::size_t count = header.storedSize < header.memorySize ? header.storedSize : header.memorySize;
    std::memset(record, 0, count);
    return count;
}

std::size_t Sb_Ops::FieldOffsets(LayoutView layout, std::vector<std::uint32_t> &offsets)
{
    const TLayoutHeader header = Sb_Title::Header(layout);
    Sb_Title::Length(layout);
    offsets.clear();
    std::size_t offset = 0;
    for (std::size_t i = 0; i < header.itemCount; ++i) {
        const TFieldItem item = Sb_Title::Item(layout, i);
        offsets.push_back(static_cast<std::uint32_t>(offset));
        offset += item.Elements() * IsSizeField(item.type, true);
    }
    return offset;
}

std::size_t Sb_Ops::StoredFieldOffsets(LayoutView layout, const std::uint8_t *packed, std::size_t size,
                                       std::vector<std::uint32_t> &offsets)
{
    const TLayoutHeader header = Sb_Title::Header(layout);
    Sb_Title::Length(layout);
    offsets.clear();
    TByteReader in(packed, packed == nullptr ? 0 : size);
    for (std::size_t i = 0; i < header.itemCount; ++i) {
        const TFieldItem item = Sb_Title::Item(layout, i);
        if ((item.flagClass & Pole::ClassNotStored) != 0)
            continue;
        offsets.push_back(static_cast<std::uint32_t>(in.Position()));
        for (std::uint32_t e = 0; e < item.Elements(); ++e) {
            if (item.type == Pole::TwoLanguage) {
                std::uint16_t russian = 0;
                std::uint16_t ukrainian = 0;
                if (!in.ReadU16(russian) || !in.ReadU16(ukrainian) || !in.Skip(std::size_t{russian} + ukrainian))
                    Damaged("Record packing: a stored two-language text runs past the end of the packed data");
            } else if (Pole::IsTextType(item.type) || Pole::IsRecordType(item.type)) {
                ReadLengthValue(in, IsSizeField(item.type, false));
            } else if (!in.Skip(IsSizeField(item.type, false))) {
                Damaged("Record packing: the packed data ends inside a record's raw bytes");
            }
        }
    }
    return in.Position();
}

// ---- tables and copies -------------------------------------------------------------------------------

LayoutView FindLayout(LayoutView table, std::uint16_t number)
{
    TByteReader in(table);
    std::uint16_t indexOffset = 0;
    if (!in.ReadU16(indexOffset))
        Damaged("Layout table: " + std::to_string(table.size()) + " bytes hold no index offset");
    const LayoutView body = table.subspan(2);
    auto layoutAt = [&](std::size_t offset) {
        if (offset >= body.size())
            Damaged("Layout table: a layout offset " + std::to_string(offset) + " lies outside its " +
                    std::to_string(body.size()) + " bytes");
        const LayoutView rest = body.subspan(offset);
        return rest.first(Sb_Title::Length(rest));
    };
    TByteReader index(body);
    if (indexOffset != 0) {
        std::uint16_t count = 0;
        std::uint16_t entry = 0;
        if (!index.Seek(indexOffset) || !index.ReadU16(count))
            Damaged("Layout table: its index lies outside the table");
        if (number == 0 || number > count)
            return {};
        if (!index.Skip((number - 1u) * 2u) || !index.ReadU16(entry))
            Damaged("Layout table: its index runs past the table");
        return entry == 0xFFFF ? LayoutView() : layoutAt(entry);
    }
    // A chain that comes back to a layout it has visited would never end.
    std::vector<bool> visited(body.size(), false);
    std::size_t offset = 0;
    for (;;) {
        const LayoutView layout = layoutAt(offset);  // refuses an offset outside the table
        if (visited[offset])
            return {};
        visited[offset] = true;
        const TLayoutHeader header = Sb_Title::Header(layout);
        if (header.number == number)
            return layout;
        if (header.next == 0)
            return {};
        offset = header.next;
    }
}

void CopyByDescriptors(std::span<const std::uint8_t> descriptors, void *destination, std::size_t destinationSize,
                       const void *source, std::size_t sourceSize)
{
    struct Copy {
        std::uint8_t kind;
        std::uint32_t to, from, count;
    };
    std::vector<Copy> copies;
    TByteReader in(descriptors);
    for (;;) {
        Copy c{};
        if (!in.ReadU8(c.kind))
            Damaged("Record copy: the descriptors end without their closing 'G'");
        if (c.kind == CopyDescriptorEnd)
            break;
        if (!in.ReadU32(c.to) || !in.ReadU32(c.from) || !in.ReadU32(c.count))
            Damaged("Record copy: a descriptor runs past the end of the list");
        const std::uint64_t width = c.kind == SegmentKind::Text ? std::uint64_t{c.count} * Slot : c.count;
        if (c.kind != SegmentKind::Text && c.kind != SegmentKind::Raw)
            Damaged("Record copy: unknown descriptor kind " + std::to_string(c.kind));
        if (c.to + width > destinationSize || c.from + width > sourceSize)
            Damaged("Record copy: a descriptor reaches outside the records");
        copies.push_back(c);
    }
    auto *dst = static_cast<std::uint8_t *>(destination);
    const auto *src = static_cast<const std::uint8_t *>(source);
    for (const Copy &c : copies) {
        if (c.kind == SegmentKind::Raw) {
            if (c.count != 0)
                std::memmove(dst + c.to, src + c.from, c.count);
        } else {
            for (std::uint32_t e = 0; e < c.count; ++e)
                RecString::Share(dst, c.to + e * Slot, src, c.from + e * Slot);
        }
    }
}
