#pragma once
// Small routines for numbers as the product shows and stores them: rounding, number texts with a
// decimal comma, readers at a character cursor and at a byte cursor, and a list sort by index.
//
// The number texts and the text-to-number conversion set the framework's process-wide decimal
// separator to ',' and leave it so: the library writes and reads decimal numbers with a comma.
// Rounding computes in double with powers of ten from a table (10^0 ... 10^308), so the results are
// the same in every build.
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"

class TCanvas;
class TList;

// Sets the process-wide decimal separator to ','. The libraries that take numbers from the keyboard
// call it at their start, so that their key filters and what they write agree from the first key.
void UseDecimalComma();

// ---- byte cursor -----------------------------------------------------------------------------
// Readers of little-endian values. Each takes the end of the buffer and refuses to read past it: it
// returns false and leaves the cursor (and the value) as they were.
bool ReadU8(const uint8_t *&cursor, const uint8_t *end, uint8_t &value);
bool ReadU16(const uint8_t *&cursor, const uint8_t *end, uint16_t &value);
bool ReadU32(const uint8_t *&cursor, const uint8_t *end, uint32_t &value);
// The same four bytes as ReadU32, taken as a signed value.
bool ReadDword(const uint8_t *&cursor, const uint8_t *end, int32_t &value);
bool ReadF32(const uint8_t *&cursor, const uint8_t *end, float &value);
bool ReadF64(const uint8_t *&cursor, const uint8_t *end, double &value);
// A u16 length, then that many bytes; length 0 gives an empty text.
bool ReadShortText(const uint8_t *&cursor, const uint8_t *end, AnsiString &text);

// ---- character cursor (a zero-terminated text) -----------------------------------------------
// Reads an optional "-" and decimal digits, at most 29 characters in all, at a cursor into a
// zero-terminated text and moves the cursor past them. A value beyond the 32-bit range gives the
// nearest limit, as the C library's conversion does; no digits give 0.
int32_t CursorReadInt(const char *&cursor);
// Reads an optional "-" or "+", then digits with at most one "," (the decimal point), at most 28
// characters in all, and moves the cursor past them. No digits give 0. The second form also adds
// the number of characters read to `counter`.
double CursorReadFloat(const char *&cursor);
double CursorReadFloat(const char *&cursor, int &counter);
// Reads up to the end of the text or the first `stop1` or `stop2`, whichever comes first, into
// `text` and returns the number of characters read. The cursor stays on the stop character; with
// `skipStop1` a `stop1` it stopped at is stepped over (and not counted).
int CursorReadUntil(const char *&cursor, char stop1, char stop2, AnsiString &text, bool skipStop1);

// ---- integers and text -----------------------------------------------------------------------
// Width 0: the plain decimal text. Otherwise the digits in the radix (lower-case letters; a negative
// value is written with "-" in radix 10 and as its 32-bit pattern in the others), left-padded with
// `fill` to the width; a longer number is returned whole. A width above 31 counts as 31, a radix
// outside 2-36 as 10.
AnsiString IntToPaddedText(int32_t value, int width, char fill, int radix);
// 0 for an empty text; otherwise leading blanks, an optional sign and the digits up to the first
// other character, clamped to the 32-bit range; no digits give 0. Never raises.
int32_t StringToIntOrZero(const AnsiString &text);
// "", "-" give 0; otherwise the framework's StrToFloat with the decimal comma, which raises
// EConvertError on a text that is not a number.
double TextToFloatComma(const AnsiString &text);

// ---- rounding --------------------------------------------------------------------------------
// sign(x) * floor(|x| * 10^|n| + 0.5 + 1e-10) / 10^|n|: half away from zero, with a binary value just
// below the half pushed up. x comes back unchanged when |n| is above 308 or x * 10^|n| is not finite
// (such a value has no digit that far below the point).
double RoundToDecimals(int n, double x);
// Rounds `value` to a number of decimals chosen so that its product with `factor` keeps its
// two-decimal value (or, for a product up to 0.005, from the value's own magnitude), at least
// `minimum` (taken as its whole part); returns the decimal count. A factor or value of 0 leaves the
// value and returns the minimum.
int32_t RoundToStep(double &value, double minimum, double factor);
// RoundToStep(value, 4, factor) when bit 4 (16) of the flags is set.
void RoundToStepFlagged(double &value, uint32_t flags, double factor);
// RoundToStep with minimum 2, falling back to 1 and then 0 decimals when that changes the product
// by more than 0.01; returns the number of decimals the result really shows (-1 when none).
int32_t FactorDecimals(double &value, double factor);
// FactorDecimals with |factor|, and at least 2 decimals (the value then rounded to 2).
int32_t FactorDecimalsMin2(double &value, double factor);

// ---- number texts (decimal comma) ------------------------------------------------------------
// x rounded to |n| decimals in fixed form with 15 significant digits (further digits are written as
// zeros, however large the value) and |n| decimals; a negative n drops the trailing zeros of the
// decimals, and the comma when none is left.
AnsiString FloatToFitText(int n, double x);
// "" when |x| is below 1e-10, else FloatToFitText(n, x).
AnsiString FloatToTextOrEmpty(int n, double x);
// FloatToFitText(n, x); a text with a comma that is longer than `width` is made again with at most
// width minus the length of its integer part decimals, trailing zeros dropped.
AnsiString FloatToTextWidth(int n, int width, double x);
// FloatToFitText(n, x) with as many leading blanks (at most 21) as keep it within pixelWidth - 1 on
// the canvas.
AnsiString FloatToTextPadded(int n, int pixelWidth, TCanvas &canvas, double x);
// FloatToFitText(n, x) fitted to a field of `width` characters (the comma not counted): a value
// whose integer part fills the field is written without decimals; a longer text of a negative n
// loses as many decimals as it is too long, when it has that many; otherwise it stays as made.
AnsiString FloatToFieldText(int n, int width, double x);
// "" when |x| is below 1e-10, else FloatToFieldText(n, width, x).
AnsiString FloatToFieldTextOrEmpty(int n, int width, double x);
// "" when x rounded to |n| decimals is below 1e-10; otherwise as FloatToFitText, but a negative n
// keeps at least `minimum` decimals.
AnsiString FloatToTextMinDecimals(int n, int minimum, double x);
// x with at most 9 decimals, trailing zeros dropped; a value of 1 or more that lies within
// 10^-(k+1) of its rounding to k decimals (k its number of integer digits) is written as that
// rounding. "" when |x| is below 1e-10.
AnsiString FloatToTextSnapped(double x);

// ---- list sort -------------------------------------------------------------------------------
// Compares the items at two indexes of the list: negative, 0 or positive.
using TListIndexCompare = std::function<int(TList &list, int a, int b)>;
// Sorts the list in place (quicksort; equal items may change order). The comparison only ever gets
// indexes inside the list, whatever it answers.
void SortList(TList &list, const TListIndexCompare &compare);
