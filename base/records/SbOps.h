#pragma once
// Record layouts and the record packer. A layout describes a record of the product (a plain block of
// members: numbers, characters, text slots, two-language text slots, tagged-record slots) as a list of
// field items and the segments derived from them; the packer turns such a record into a flat byte
// buffer and back.
//
// The layout is a byte buffer, its words little-endian:
//   0  u16 record number          2  u16 offset of the next layout in a chained table (0 = last)
//   4  u16 number of field items  6  u16 in-memory size of the record
//   8  u16 stored size (fixed parts only)   10 u16 flags (OR of the types' flag bits)
//  12  u16 number of segments
//  14  field items, 8 bytes each: u8 type, u16 count (0 means 1), 4 unused bytes, u8 flag class
//  ... segments, 3 bytes each: u8 kind, u16 count (0 means 1)
//
// Segment kinds (SegmentKind): a run of text slots ('<', count members), raw bytes ('?', count bytes),
// a block whose first two bytes are the record's tag word and are not stored ('@', count bytes),
// two-language text slots ('A', count members), bytes that live only in memory ('-', count bytes:
// field types 17 and 22) and tagged-record slots (the kind is the field type 40-43, count members).
//
// Every reader checks the layout against its own size and the record's in-memory size, and a packed
// buffer against its size; damage is refused with TZExcept of code DamagedRecordCode.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/records/PoleTypes.h"

// A layout, a packed buffer or a layout table that does not hold together, or a value too large for
// its stored form.
constexpr std::uint32_t DamagedRecordCode = OwnErrorCode(9);

using LayoutView = std::span<const std::uint8_t>;

namespace SegmentKind {
constexpr std::uint8_t Text = '<';
constexpr std::uint8_t Raw = '?';
constexpr std::uint8_t TagBlock = '@';
constexpr std::uint8_t TwoLanguage = 'A';
constexpr std::uint8_t MemoryOnly = '-';
}  // namespace SegmentKind

constexpr std::size_t LayoutHeaderSize = 14;
constexpr std::size_t FieldItemSize = 8;
constexpr std::size_t SegmentSize = 3;
// A stored text or record length word counts only its low byte when its high byte is 0x81 or 0x82,
// so a value of this many bytes or more cannot be stored.
constexpr std::size_t StoredLengthLimit = 0x8100;

struct TLayoutHeader {
    std::uint16_t number = 0;
    std::uint16_t next = 0;
    std::uint16_t itemCount = 0;
    std::uint16_t memorySize = 0;
    std::uint16_t storedSize = 0;
    std::uint16_t flags = 0;
    std::uint16_t segmentCount = 0;
};

struct TFieldItem {
    std::uint8_t type = 0;
    std::uint16_t count = 0;
    std::uint8_t flagClass = 0;
    std::uint32_t Elements() const { return count == 0 ? 1u : count; }
};

struct TLayoutSegment {
    std::uint8_t kind = 0;
    std::uint16_t count = 0;
    std::uint32_t Elements() const { return count == 0 ? 1u : count; }
};

class Sb_Title {
public:
    // A layout without items for records of the given number.
    static std::vector<std::uint8_t> NewLayout(std::uint16_t number);
    // Appends an item of `count` members of the type (0 counts as 1): fills its flag class, adds to
    // the sizes, ORs the flag bits and counts it. Segments built before are dropped. A type the flag
    // class or the sizes refuse raises UnknownPoleCode; sizes beyond 65,535 bytes DamagedRecordCode.
    static void AddField(std::vector<std::uint8_t> &layout, std::uint8_t type, std::uint16_t count);
    // Derives the segments from the items (replacing any built before) and returns their number:
    // consecutive items of one kind form one segment.
    static std::uint16_t BuildSegments(std::vector<std::uint8_t> &layout);

    // Readers; each refuses a layout whose parts run past its bytes.
    static TLayoutHeader Header(LayoutView layout);
    static TFieldItem Item(LayoutView layout, std::size_t index);
    static TLayoutSegment Segment(LayoutView layout, std::size_t index);
    // The layout's own length: header, items and segments.
    static std::size_t Length(LayoutView layout);
};

class Sb_Ops {
public:
    // A record starts as in-memory-size zero bytes (every slot empty); its slots are released only by
    // ClearRecord, Unpack and CopyRecord.

    // Writes the packed form into the buffer (at most `capacity` bytes) and returns its size; with a
    // null buffer only the size is returned. Without a record the result is 0. A text or record of
    // StoredLengthLimit bytes or more, or a buffer too small, raises DamagedRecordCode and writes
    // nothing.
    static std::size_t Pack(LayoutView layout, std::uint8_t *buffer, std::size_t capacity, const void *record);
    // The packed size, walking the record; refuses what Pack refuses.
    static std::size_t PackedSize(LayoutView layout, const void *record);
    // Fills the record from `size` packed bytes and returns the in-memory bytes filled (0 without a
    // buffer or a record). The tag word of a '@' block is left as it is. A length that runs past the
    // buffer raises DamagedRecordCode and leaves the record cleared.
    static std::size_t Unpack(LayoutView layout, void *record, const std::uint8_t *buffer, std::size_t size);
    // Empties every text, two-language text and record slot and zeroes every other byte except the
    // tag word of a '@' block; with flag 0x4000 the record number is then written as the record's tag
    // word (the first type-22 item where the segments hold plain bytes, or else the first '@' block).
    // Returns the in-memory size.
    static std::size_t ClearRecord(LayoutView layout, void *record);
    // Makes the destination a copy of the source (texts and records shared, two-language texts
    // copied) and returns the in-memory size; a record copied onto itself is left as it is.
    static std::size_t CopyRecord(LayoutView layout, void *destination, const void *source);
    // Zeroes the layout's stored size in bytes, but never beyond the in-memory size; meant for fresh
    // memory, as the slots' texts are not released. Returns the bytes zeroed.
    static std::size_t ZeroRecord(LayoutView layout, void *record);
    // The in-memory offset of each item, in order; returns the in-memory size.
    static std::size_t FieldOffsets(LayoutView layout, std::vector<std::uint32_t> &offsets);
    // The offset of each stored item in a packed buffer of `size` bytes (the tag word's items have
    // none); returns the packed size. A length that runs past the buffer raises DamagedRecordCode.
    static std::size_t StoredFieldOffsets(LayoutView layout, const std::uint8_t *packed, std::size_t size,
                                          std::vector<std::uint32_t> &offsets);
};

// A table of layouts: a u16 index offset, then the layouts; every offset in it counts from the byte
// after that first word. With index offset 0 the layouts are chained through their next offsets
// from the first one; otherwise the index holds a u16 count and count u16 offsets (0xFFFF = no
// layout for that number). Returns the layout of the record number, or an empty view for a number
// outside 1..count, an index entry 0xFFFF, a chain that ends without it or returns to a layout it
// has visited. An offset outside the table raises DamagedRecordCode.
LayoutView FindLayout(LayoutView table, std::uint16_t number);

// Copy descriptors, 13 bytes each, ended by a kind 'G': u8 kind, u32 destination offset, u32 source
// offset, u32 count (little-endian). '<' makes `count` text slots of the destination share the
// source's texts; '?' copies `count` bytes. Every descriptor is checked against the two records'
// sizes before anything is copied; a range outside them, a list without its end and an unknown kind
// raise DamagedRecordCode.
constexpr std::size_t CopyDescriptorSize = 13;
constexpr std::uint8_t CopyDescriptorEnd = 'G';
void CopyByDescriptors(std::span<const std::uint8_t> descriptors, void *destination, std::size_t destinationSize,
                       const void *source, std::size_t sourceSize);
