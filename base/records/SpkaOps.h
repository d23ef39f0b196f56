#pragma once
// A record as one line of text: each field's text followed by a separator, the last separator
// replaced by an end character. The fields are described by 5-byte descriptors ended by a type 'G'
// (71): u8 type, u16 offset of the field in the record, u16 count (0 means 1) of consecutive
// elements, each as wide in the record as IsLenField gives for its type in memory.
//
// Types and their text forms:
//   1  text (a RecString slot)       its characters
//   2  one character                 the character
//   3  u8, 5 u16, 7 u32              hexadecimal in upper case at the full width (2, 4, 8 digits)
//   4  u8, 6 i16, 8 i32              decimal
//   9  float, 10 double              decimal with ',' and at most 9 decimals, trailing zeros dropped
//                                    (0 as "0"); NaN and the infinities as their special texts
//   11 packed date                   dd.mm.yyyy
//   12 packed time                   hh:mm:ss
//   14 two i32                       two decimals joined by '.'
// Reading is lenient, as the number routines are: a number ends at its first foreign byte, a value
// too wide for its field keeps its low bits, a date or time that is no date or time reads as 0.
// A text or character holding the separator or the end character, and a NUL where the text's length
// is not given, cannot be read back.
//
// ParseRecord, FormatRecord and the two conversions refuse types 0, 13 and above 14 with TZExcept
// of code UnknownPoleCode; every function refuses a descriptor list without its 'G' with
// DamagedRecordCode. The descriptors are checked before a record changes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/records/SbOps.h"
#include "framework/runtime/AnsiString.h"

constexpr std::size_t SpkaDescriptorSize = 5;
constexpr std::uint8_t SpkaDescriptorEnd = 'G';

namespace SpkaType {
constexpr std::uint8_t Text = 1;
constexpr std::uint8_t Char = 2;
constexpr std::uint8_t HexU8 = 3;
constexpr std::uint8_t U8 = 4;
constexpr std::uint8_t HexU16 = 5;
constexpr std::uint8_t I16 = 6;
constexpr std::uint8_t HexU32 = 7;
constexpr std::uint8_t I32 = 8;
constexpr std::uint8_t Float = 9;
constexpr std::uint8_t Double = 10;
constexpr std::uint8_t Date = 11;
constexpr std::uint8_t Time = 12;
constexpr std::uint8_t IntPair = 14;
}  // namespace SpkaType

class SPKA_Ops {
public:
    // Reads the fields of the text (`length` bytes, 0 = up to the terminating zero) into the record in
    // descriptor order. A field that begins with the separator or the end character is empty: a text
    // becomes "", a character a blank, any other field 0. A separator after a field is stepped over;
    // a field that began with the end character is the last one read. Reading also stops at the end
    // of the descriptors or of the text, leaving the remaining fields as they were. Returns the bytes
    // consumed (the end character that stopped the reading included).
    static std::size_t ParseRecord(std::span<const std::uint8_t> descriptors, void *record, const char *text,
                                   char endChar, char separator, std::size_t length = 0);
    // Writes every element of every descriptor followed by the separator, the last separator replaced
    // by the end character, into `output`; returns its length.
    static std::size_t FormatRecord(std::span<const std::uint8_t> descriptors, AnsiString &output, const void *record,
                                    char endChar, char separator);
    // Converts one field's text (`length` bytes, read no further) into the member.
    static void AnsiToPole(std::uint8_t type, const char *text, std::size_t length, void *member);
    // Appends the member's text form.
    static void PoleToAnsi(std::uint8_t type, const void *member, AnsiString &output);
    // Empties every type-1 element.
    static void ClearTextFields(std::span<const std::uint8_t> descriptors, void *record);
    // Whether a type-1 descriptor comes before the end.
    static bool HasTextFields(std::span<const std::uint8_t> descriptors);
};

// Appends one descriptor to a list being built; close it with SpkaDescriptorEnd.
void AppendSpkaDescriptor(std::vector<std::uint8_t> &descriptors, std::uint8_t type, std::uint16_t offset,
                          std::uint16_t count);
