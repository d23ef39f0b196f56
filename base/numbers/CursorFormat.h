#pragma once
// Values read at a text cursor and numbers formatted into texts, with the fixed options the
// record/text converters and the message texts use. A cursor points into a text that ends with a NUL
// and is moved past what was read.
#include <cstdint>
#include <string_view>

#include "base/numbers/NumberText.h"
#include "framework/runtime/AnsiString.h"

// ---- cursor readers --------------------------------------------------------------------------
// The bytes up to the NUL or either delimiter; the cursor stops on the byte that ended them.
AnsiString CursorReadToken(const char *&cursor, char delimiter1, char delimiter2);
// A hexadecimal number: leading blanks, an optional "0x" or "0X" prefix, at most 8 digits of either
// case. No digits give 0.
std::uint32_t CursorReadNumber(const char *&cursor);
// A signed decimal: leading blanks, signs ('-' makes it negative), digits; beyond 32 bits the value
// wraps modulo 2^32.
std::int32_t CursorReadDecimal(const char *&cursor);

// ---- formatters ------------------------------------------------------------------------------
// Eight upper-case hexadecimal digits with leading zeros, no prefix.
AnsiString FormatHexWord(std::uint32_t value);
inline AnsiString FormatHexWord2(std::uint32_t value) { return FormatHexWord(value); }
// Two upper-case hexadecimal digits.
AnsiString FormatHexByte(std::uint8_t value);
// Decimal, '-' first when negative; 0 gives "0" with the flag, else an empty text.
AnsiString FormatDecimal(std::int32_t value, bool zeroAsDigit);
AnsiString FormatUnsigned(std::uint32_t value, bool zeroAsDigit);
// Decimal (0 as "0") right-aligned in exactly `width` bytes, filled on the left with `fill`; a number
// longer than the width gives `width` '*'. A width of 0 or less gives an empty text.
AnsiString FormatWidth(std::int32_t value, int width, char fill);
// The value rounded to |decimals| decimals (at most 31) with at most 15 significant digits, trailing
// zeros of the fraction dropped and the separator with them when none is left; a value that rounds
// to nothing gives "0". Integer parts up to 10^255 are written out with zeros past the 15th digit,
// larger ones in the form 1,5e300. NaN and the infinities give their special texts.
AnsiString FormatFixed(double value, int decimals, char separator);
inline AnsiString FormatFixedComma(double value, int decimals) { return FormatFixed(value, decimals, ','); }
// FormatFixed, but a zero or a value that rounds to nothing gives an empty text.
AnsiString FormatFixedOrEmpty(double value, int decimals, char separator);
// The value rounded to |decimals| decimals with at most 15 significant digits, written by DigitsToText
// with the options' padding and largest plain exponent and always "," as the separator: a fraction,
// when one is left, is padded with zeros to at least options.fractionDigits digits (negative: no
// padding); a value of 10^m or more is written as 1,5e20. A zero or a value that rounds to nothing
// gives "0" with `zeroAsDigit`, else an empty text; NaN and the infinities give their special texts.
AnsiString FormatDouble(double value, int decimals, TDigitsFormat options, bool zeroAsDigit);

// ---- text ------------------------------------------------------------------------------------
// Copies the bytes of the text before the first one that is in the set to the output and returns
// their number. An empty text or set, or a text with no byte of the set, gives 0 and copies nothing;
// a null output asks only for the number.
int CopyBeforeAnyOf(char *output, std::string_view text, std::string_view set);
