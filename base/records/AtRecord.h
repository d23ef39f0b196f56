#pragma once
// Records with the 7-byte header: kind (u8), a 32-bit word (record number or key) and a 16-bit
// data length, little-endian, then the data. The end record is kind 0, word 0xFFFFFFFF, length 1
// and the single data byte '@' (0x40).
//
// Readers get the end of the buffer and refuse a record whose header or data would run past it.
#include <cstdint>

constexpr std::uint32_t AtHeaderSize = 7;
constexpr std::uint32_t AtEndWord = 0xFFFFFFFF;
constexpr std::uint8_t AtEndByte = 0x40;

// Header readers; 0 when the header does not fit.
std::uint8_t AtRecordKind(const std::uint8_t *record, const std::uint8_t *end);
std::uint32_t AtRecordWord(const std::uint8_t *record, const std::uint8_t *end);
std::uint16_t AtRecordLength(const std::uint8_t *record, const std::uint8_t *end);
// 7 + length; 0 when the record runs past the end.
std::uint32_t AtRecordSize(const std::uint8_t *record, const std::uint8_t *end);
// The data, or null when the record runs past the end.
const std::uint8_t *AtRecordData(const std::uint8_t *record, const std::uint8_t *end);
bool IsAtEndRecord(const std::uint8_t *record, const std::uint8_t *end);
// The record after this one; null when this record runs past the end.
const std::uint8_t *NextAtRecord(const std::uint8_t *record, const std::uint8_t *end);

// Writers into room the caller has: the header alone, and the whole 8-byte end record.
void SetAtRecordHeader(std::uint8_t *record, std::uint8_t kind, std::uint32_t word, std::uint16_t length);
void SetAtEndRecord(std::uint8_t *record);
