#pragma once
// Tagged records: a 16-bit tag word and a 16-bit data length (little-endian) before the data. The
// common form has a 4-byte header; two longer forms carry one or two further 32-bit words (8 and
// 10 bytes). A list of records ends with an end record, whose length field is not counted.
//
// Readers get the end of the buffer and refuse a record whose header or data would run past it:
// sizes are then 0, flags false and the next-record step null.
#include <cstdint>

// Tag word bits: bit 14 the short-form flag, bit 15 free for the record's owner; 0x4000 with
// 0x2000 marks an end record. The tag value is the word without bit 14.
constexpr std::uint16_t TagShortFlag = 0x4000;
constexpr std::uint16_t TagOwnerFlag = 0x8000;
constexpr std::uint16_t TagEndMark = 0x2000;
constexpr std::uint16_t TagEndWord = 0x6000;
constexpr std::uint16_t TagEndLength = 0xFFFF;

// Header sizes of the three forms.
enum class TagForm : std::uint8_t { Short = 4, Long8 = 8, Long10 = 10 };

inline std::uint16_t TagValueOf(std::uint16_t word) { return word & 0xBFFF; }
inline bool IsShortTagWord(std::uint16_t word) { return (word & TagShortFlag) != 0; }
inline bool IsEndTagWord(std::uint16_t word) { return (word & TagEndWord) == TagEndWord; }

// Whether the record's header lies inside the buffer.
bool TagHeaderFits(const std::uint8_t *record, const std::uint8_t *end, TagForm form = TagForm::Short);

// Readers of the header (0 or false when it does not fit).
std::uint16_t GetTagWord(const std::uint8_t *record, const std::uint8_t *end);
std::uint16_t GetTag(const std::uint8_t *record, const std::uint8_t *end);
bool IsShortTag(const std::uint8_t *record, const std::uint8_t *end);
bool HasOwnerFlag(const std::uint8_t *record, const std::uint8_t *end);
bool IsEndTagRecord(const std::uint8_t *record, const std::uint8_t *end);
std::uint16_t GetTagRecordLength(const std::uint8_t *record, const std::uint8_t *end);
// Whether the 32-bit word at offset 4 (both longer forms) or 8 (10-byte form; its last two bytes
// lie past the header) is zero; false when the form has no word there or it does not fit.
bool IsTagHeaderWordZero(const std::uint8_t *record, const std::uint8_t *end, TagForm form, int offset);

// Header plus data, or the header alone for an end record; 0 when the record runs past the end.
std::uint32_t TagRecordSize(const std::uint8_t *record, const std::uint8_t *end, TagForm form = TagForm::Short);
// The record after this one; null when this record runs past the end.
const std::uint8_t *NextTagRecord(const std::uint8_t *record, const std::uint8_t *end, TagForm form = TagForm::Short);

// Writers of a header the caller has room for.
void SetTag(std::uint8_t *record, std::uint16_t value, bool shortForm);
void SetShortTagFlag(std::uint8_t *record, bool on);
void SetOwnerFlag(std::uint8_t *record, bool on);
void SetTagRecordLength(std::uint8_t *record, std::uint16_t length);
// Writes the end record (tag word 0x6000, length 0xFFFF); also starts an empty list.
void SetEndTagRecord(std::uint8_t *record);
inline void InitTagList(std::uint8_t *record) { SetEndTagRecord(record); }
// Clears the end mark (bit 13).
void ClearEndTagMark(std::uint8_t *record);
