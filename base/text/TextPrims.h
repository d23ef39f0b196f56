#pragma once
// Byte-text functions of the library, all on one set of conventions:
//  - a text is a pointer and a count; a count of 0 means up to the terminating NUL;
//  - positions are 1-based and 0 means not found;
//  - a null destination asks only for the length the function would write;
//  - bytes are code page 1251 and compare as unsigned.
// A null source counts as an empty text. A negative count means "walk backward" only where a
// function says so; elsewhere it counts as no bytes.
// Where a function writes a terminating NUL, the destination must have room for it.
#include <cstdint>
#include <string_view>

#include "framework/runtime/AnsiString.h"

// Every byte equal to `from` becomes `to`; returns the number of bytes walked.
int ReplaceByte(char *text, char from, char to, int n);

// Number of bytes before the first `stop` byte (0 = NUL); the stop byte must be present.
int StrLenTo(const char *text, char stop = 0);
// Length up to the NUL, stop1 or stop2, at most n bytes (n 0 = no limit but the NUL).
int StrLenToEither(const char *text, int n, char stop1, char stop2);

// 1-based position of the first text byte that is in the set; 0 when none, or when any argument
// is null or 0.
int FindAnyOf(const char *text, int n, const char *set, int setLength);
// As FindAnyOf, walking forward for a positive set length and backward from the end for a
// negative one; the position always counts from the start. A null text or set gives 0; with
// `check` set a length or set length of 0 gives 0 too, without it 0 means up to the NUL.
int FindAnyOfDir(const char *text, int length, const char *set, int setLength, bool check);

// Copies n bytes (0 = up to the NUL, the NUL not copied); returns the count.
int MemCopyN(char *dst, const char *src, int n);
// Overlap-safe copy of n bytes; returns n.
int MemMoveN(void *dst, const void *src, int n);
// Copies up to the stop byte or the NUL, at most n bytes (n 0 = no limit); null dst counts only.
// Writes no terminator; returns the count.
int CopyToStop(char *dst, const char *src, int n, char stop);
// Copies n bytes (0 = up to the NUL) upper-cased by the code page 1251 rules; returns the count.
int UpperCopy(char *dst, const char *src, int n);

// Merges a text and a parameter at placeholder bytes: text up to its next placeholder (which is
// dropped), then parameter up to its next placeholder, alternating until both are used up. So the
// parameter takes the place of the text's first placeholder, or follows the text when it has none;
// placeholders of the text left after the parameter is used up are dropped. Writes a NUL after the
// output (dst must hold text length + parameter length + 1 bytes) and returns the output length;
// a null dst gives 0.
int FillPlaceholder(char *dst, const char *text, const char *parameter, char placeholder, int textLength,
                    int parameterLength);
AnsiString FillPlaceholder(std::string_view text, std::string_view parameter, char placeholder = '$');

// Drops leading `ch` bytes and copies the rest (to the NUL or n bytes in all) to dst, or moves it
// to the front of src when dst is null. Terminates the result; returns the copied count.
int TrimLeft(char *src, int n, char ch, char *dst);
// Drops trailing `ch` bytes. With a null dst the text is cut in place (a NUL replaces the first
// dropped byte); otherwise the kept bytes are copied to dst and terminated. Returns the new length.
int TrimRight(char *src, int n, char ch, char *dst);

// Places the text in a field of `width` bytes padded with the low byte of `spec`. The high byte of
// `spec` aligns: 0 right, 1 centre (the integer half of the free space before), 2 and above left.
// A text longer than the field gives 0 and writes nothing. No terminator. Returns the width.
int AlignText(char *dst, int width, const char *src, int length, std::uint16_t spec);

// Copies min(length, capacity) bytes; nothing without a source; null dst counts only.
int CopyBounded(char *dst, int capacity, const char *src, int length);

// Drops leading and trailing blanks and tabs and turns every inner run of them into one blank.
// Null dst counts only; no terminator; returns the length. dst may be src.
int CollapseBlanks(char *dst, const char *src, int n);
AnsiString CollapseBlanks(std::string_view text);

// Each source byte found as the first byte of a pair (pairs end at a 0 byte) becomes the pair's
// second byte, or is dropped when that is 0; other bytes pass. No terminator; dst may be src.
// Returns the number of source bytes walked.
int TranslateBytes(char *dst, const char *src, const char *pairs, int n);

// Compares two counted texts. Equal lengths: the unsigned difference of the first unequal bytes.
// Unequal lengths with an equal common part: the next byte of the longer text, positive when the
// first text is the longer, negative when the second is; never 0, even when that byte is 0.
int CompareCounted(const char *a, const char *b, int lengthA, int lengthB);
int CompareCounted(std::string_view a, std::string_view b);

// 1-based position of the first occurrence of the byte in n bytes, or for a negative n of the last
// occurrence in the |n| bytes (searched backward); 0 when absent or n is 0.
int FindByte(const char *text, int n, char byte);
int FindByte(std::string_view text, char byte);
// 1-based position of the last occurrence (n 0 = up to the NUL); 0 when absent.
int FindLastByte(char byte, const char *text, int n);
// 1-based index of a 32-bit value in an array of `byteSize` bytes; 0 when missing.
int FindU32(std::uint32_t value, const std::uint32_t *array, int byteSize);
// 1-based position of the first occurrence of the pattern; 0 when none, when the pattern is empty
// or when it is longer than the text.
int FindSubstring(const char *text, const char *pattern, int textLength, int patternLength);
int FindSubstring(std::string_view text, std::string_view pattern);
// 0-based index of the first of `count` entries, `stride` bytes apart, whose first 8 bytes equal
// the key; `count` when none.
int FindKey8(const void *key, const void *table, int count, int stride);
// The byte when the text's last byte equals it, else 0.
char EndsWithByte(const char *text, char byte, int n);
// The byte when it is 32 or above, CR, LF or in the list (length 0 = up to the NUL); else 0.
char IsTextChar(char byte, const char *list, int listLength);
