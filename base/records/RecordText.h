#pragma once
// Converts between a fixed record and a text of separated fields. The fields are described by a list
// of 9-byte descriptors: a type byte, the field's offset in the record (u32, little-endian) and four
// bytes the converter does not use; type 0 ends the list. The text holds each field's text followed
// by the separator 0x01, and ends with 0x02.
//
// Numbers of types 1, 3 and 4 are written in decimal, type 5 in eight hexadecimal digits; a type-2
// character is written as itself, character 0 as an empty field; a type-6 text (a RecString slot) as
// its bytes. A text field holding 0x00, 0x01 or 0x02, or a character 0x01 or 0x02, cannot be read
// back. A descriptor of another type reads and writes an empty field and touches no record byte.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/runtime/AnsiString.h"

constexpr std::size_t FieldDescriptorSize = 9;
constexpr char FieldSeparator = '\x01';
constexpr char FieldTextEnd = '\x02';

namespace FieldType {
constexpr std::uint8_t End = 0;
constexpr std::uint8_t U8 = 1;
constexpr std::uint8_t Char = 2;
constexpr std::uint8_t U16 = 3;
constexpr std::uint8_t U32 = 4;
constexpr std::uint8_t Hex32 = 5;
constexpr std::uint8_t Text = 6;  // a RecString slot
}  // namespace FieldType

// Appends one descriptor (its unused bytes zero) to a list being built; close it with FieldType::End.
void AppendFieldDescriptor(std::vector<std::uint8_t> &fields, std::uint8_t type, std::uint32_t offset);

// Reads the fields of the text into the record in descriptor order. Reading stops at 0x02, at a NUL
// or at the text's end; the fields left over are made empty (0, character 0, ""). Text slots must
// hold a valid slot (null or a text); their old text is released.
void TextToRecord(void *record, const std::uint8_t *fields, std::string_view text);
// The text of the record's fields, 0x02 included.
AnsiString RecordToText(const void *record, const std::uint8_t *fields);
// Appends the closing 0x02 to a field text.
void AppendFieldTextEnd(AnsiString &text);
// Makes every described field empty, releasing the texts of the text slots.
void ClearRecordFields(void *record, const std::uint8_t *fields);
