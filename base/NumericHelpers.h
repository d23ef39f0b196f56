#pragma once
// Readers of little-endian values at a byte cursor. Each takes the end of the buffer and refuses to
// read past it: it returns false and leaves the cursor where it was.
#include <cstdint>

#include "framework/AnsiString.h"

bool ReadU16(const uint8_t *&cursor, const uint8_t *end, uint16_t &value);
// A u16 length, then that many bytes; length 0 gives an empty text.
bool ReadShortText(const uint8_t *&cursor, const uint8_t *end, AnsiString &text);

// Reads an optional "-" and decimal digits, at most 29 characters in all, at a cursor into a
// zero-terminated text and moves the cursor past them. A value beyond the 32-bit range gives the
// nearest limit, as the C library's conversion does; no digits give 0.
int32_t CursorReadInt(const char *&cursor);
