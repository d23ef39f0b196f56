#pragma once
// Scrambling of compound files. A scrambled file has each region XORed with a 16-bit pattern
// derived from the file's 32-bit key: the header and the directory from the key alone, each
// record (its 7 header bytes and, separately, its data) from the record's file position.
#include <cstddef>
#include <cstdint>

// XOR in place with the low 16 bits of key: bytes at even offsets with its low byte, bytes at odd
// offsets with its high byte. Applying it twice restores the buffer.
void XorBuffer16(void *buffer, std::size_t length, uint32_t key);

// The two multipliers of the header and directory patterns.
extern const uint32_t HeaderKeyMultiplier;     // 40617
extern const uint32_t DirectoryKeyMultiplier;  // 52934

// Pattern words of a file scrambled with key (key 0 means plain; callers skip the XOR then).
uint32_t HeaderScrambleWord(uint32_t key);
uint32_t DirectoryScrambleWord(uint32_t key);
uint32_t RecordScrambleWord(uint32_t position, uint32_t key);
