#pragma once
// The additive checksum that every size-and-checksum test of the engine uses: the sum, modulo 2^32, of
// the range's little-endian u32 words, then of its last (length mod 4) bytes one by one.
#include <cstddef>
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "update/payload/ByteSource.h"

// Continues a running sum over a piece of the range. Pieces must start at multiples of 4 from the
// range start; only the last piece may have a length that is not a multiple of 4.
uint32_t AddChecksum(uint32_t sum, const uint8_t *data, size_t length);

// Sums the bytes from `start` up to `tail` bytes before the end of the source. False when the range
// is inverted or a read comes back short.
bool ChecksumStream(TByteSource &source, uint32_t &sum, uint64_t start, uint64_t tail);
// ChecksumStream over [start, start + length).
bool ChecksumStreamPart(TByteSource &source, uint64_t start, uint64_t length, uint32_t &sum);

// Ten zero-padded decimal digits of the value.
AnsiString FormatChecksum(uint32_t value);
