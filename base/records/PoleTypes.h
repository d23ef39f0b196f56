#pragma once
// Field ("pole") types of the product's records: what each member costs in memory and in a packed
// buffer, and how the packer treats it. Every function here refuses a type that has no answer in its
// column with TZExcept of code UnknownPoleCode and its own text.
//
// Members that hold a text (types 1, 31-34) or a tagged record (types 40-43) are RecString slots,
// a two-language text (type 15) a URString slot: one pointer wide in memory. Their stored form is a
// fixed part followed by the value's bytes:
//  - a text: a u16 length, then the text (2 + length);
//  - a two-language text: its packed form (4 + both parts' lengths);
//  - a tagged record: a fixed part of 2 (type 40), 8 (41), 12 (42) or 4 (43) bytes whose first u16 is
//    the record's length and whose other bytes are zero, then the record's bytes.
// Types 17 and 22 live only in memory (stored size 0); type 22 is the record's tag word.
#include <cstddef>
#include <cstdint>

#include "base/messages/TZExcept.h"

// An unknown or refused field type.
constexpr std::uint32_t UnknownPoleCode = OwnErrorCode(8);

namespace Pole {
constexpr std::uint8_t Text = 1;
constexpr std::uint8_t TwoLanguage = 15;
constexpr std::uint8_t MemoryOnly = 17;
constexpr std::uint8_t TagWord = 22;
constexpr std::uint8_t FirstRecord = 40;
constexpr std::uint8_t LastRecord = 43;

// Flag classes (IsFlagPoleOpsField).
constexpr std::uint8_t ClassRaw = 0x01;        // copied as raw bytes
constexpr std::uint8_t ClassNotStored = 0x02;  // not part of the stored form (the tag word)
constexpr std::uint8_t ClassVariable = 0x04;   // variable length (two-language text)

// The layout flag of a record that carries a tag word.
constexpr std::uint16_t TagWordFlag = 0x4000;

// Types held in a RecString slot.
constexpr bool IsTextType(std::uint8_t type) { return type == Text || (type >= 31 && type <= 34); }
constexpr bool IsRecordType(std::uint8_t type) { return type >= FirstRecord && type <= LastRecord; }
}  // namespace Pole

// The length of a member of the type. With `inMemory` set: the member's size in the record (the
// value is not looked at). Without it: the stored length of the fixed part of a text (2), a
// two-language text or a record (4), or, given the member, the text's length, the two-language
// text's packed size or the record's size. Refuses 0, 16, 21, 35 and the codes not listed.
std::size_t IsLenField(std::uint8_t type, bool inMemory, const void *member = nullptr);
// The member's size in the record (`inMemory`), or its stored size: the fixed part, plus the value's
// length when the member is given (2 + a text's length, a two-language text's packed size, the fixed
// part + a record's size). Refuses 0, 16, 35 and the codes not listed.
std::size_t IsSizeField(std::uint8_t type, bool inMemory, const void *member = nullptr);
// The flag class (Pole::Class...; 0 for texts and records). Refuses 4, 6, 21, 35 and the codes not
// listed.
std::uint8_t IsFlagPoleOpsField(std::uint8_t type);
// Whether the member has a fixed stored size. Refuses 4, 6, 21 and the codes not listed.
bool IsFixedField(std::uint8_t type);
// The bits the type adds to a layout's flags (0 for most types and for unknown ones).
std::uint16_t PoleFlagBits(std::uint8_t type);
