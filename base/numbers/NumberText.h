#pragma once
// Numbers to and from byte texts, by the library's own rules rather than the framework's locale
// machinery. The text conventions are those of TextPrims.h: a text is a pointer and a count (0 = up
// to the NUL) unless a function reads up to the NUL by its nature; a null destination asks only for
// the length; no function writes a terminator unless it says so. Readers report through their
// consumed count how many bytes they read and stop at the first byte that does not fit; no function
// here throws. Out arguments given as pointers may be null. A "blank" is the byte ' '.
#include <cstdint>
#include <string_view>

#include "framework/runtime/AnsiString.h"

// ---- powers of ten ---------------------------------------------------------------------------
// 10^0 to 10^31 in the extended type, indexed by the decimal count.
extern const long double Pow10Table[32];

// ---- rounding --------------------------------------------------------------------------------
// Rounds the magnitude to |decimals| decimals (more than 31 count as 31) and restores the sign:
// magnitude × 10^|decimals| + 0.51, cut to an integer, divided back. So 2.49 gives 3 with 0
// decimals and 2.48 gives 2, -2.7 gives -3, 1.005 gives 1.01 with 2; a value that rounds to nothing
// gives 0.
double RoundDoubleDecimals(double value, int decimals);

// ---- floating texts --------------------------------------------------------------------------
// The longest text DoubleToText writes, its NUL included.
constexpr int DoubleTextMax = 330;
constexpr int DoubleTextPoint = 1;  // '.' as the decimal separator instead of ','
constexpr int DoubleTextZero = 2;   // a value that is 0 after rounding writes "0" (else nothing)
constexpr int DoubleTextNul = 4;    // a NUL follows the text and is counted

// The special texts of floating values that have no digits.
namespace FloatSpecial {
constexpr std::string_view NaN = "NAN";
constexpr std::string_view NegativeNaN = "-NAN";
constexpr std::string_view Infinity = "INFINITY";
constexpr std::string_view NegativeInfinity = "-INFINITY";
constexpr std::string_view Unknown = "UNKNOW";  // an encoding of no known class
}  // namespace FloatSpecial

// Writes the value with `decimals` fraction digits (at most 9). A negative count means |decimals|
// digits with trailing zeros dropped, but at least `zeros` kept. A whole number gets the separator
// and `zeros` zeros when `zeros` is not 0 (at most 9), otherwise no fraction at all. The value is
// rounded by RoundDoubleDecimals first; the fraction digits are the rounded fraction × 10^decimals
// taken to the nearest integer. Integer parts of 10^18 and more are written with 18 significant
// digits and zeros up to the separator. NaN and the infinities write their special text and give
// minus its length (-3, -4, -8, -9); with DoubleTextNul a NUL follows it, not counted.
// Returns the length; a null buffer gives the length only. A buffer of DoubleTextMax bytes is
// always enough.
int DoubleToText(double value, char *buffer, int decimals, int zeros, int flags);

// ---- decimal integers ------------------------------------------------------------------------
// Reads a signed decimal up to the NUL, the stop byte (0 = none), the first other byte or `maximum`
// bytes (0 = no limit; every byte read counts, blanks and signs too). Blanks, '+' and '-' before the
// first digit are skipped, and any '-' among them makes the result negative. The overflow flag is
// set when the number does not fit 32 signed bits (the result is then the value modulo 2^32).
std::int32_t DigitsToInt(const char *text, int *consumed, char stop, int maximum, bool *overflow);
// Decimal text of the value, '-' first when negative, no leading zeros. 0 gives the zero character
// alone, or nothing when the zero character is NUL. A null buffer gives the length only.
int IntToDigits(std::int32_t value, char *buffer, char zero);

// ---- hexadecimal -----------------------------------------------------------------------------
// Two upper-case hexadecimal digits per byte; returns 2n. A null buffer gives the length only.
int BytesToHex(const void *bytes, int n, char *buffer);

// ---- text checks -----------------------------------------------------------------------------
// Flags of CheckDecimalText.
namespace DecimalTextFlags {
constexpr std::uint32_t Blank = 0x1;  // empty, or blanks only (valid)
constexpr std::uint32_t Other = 0x2;  // a byte that is no digit, separator or sign
constexpr std::uint32_t Separator = 0x10;
constexpr std::uint32_t Plus = 0x20;
constexpr std::uint32_t Minus = 0x40;
constexpr std::uint32_t SecondSeparator = 0x80;
constexpr std::uint32_t SecondPlus = 0x100;
constexpr std::uint32_t SecondMinus = 0x200;
constexpr std::uint32_t SignAfterSeparator = 0x400;
constexpr std::uint32_t PlusNotFirst = 0x40000;
constexpr std::uint32_t MinusNotFirst = 0x80000;
constexpr std::uint32_t Invalid =
    Other | SecondSeparator | SecondPlus | SecondMinus | SignAfterSeparator | PlusNotFirst | MinusNotFirst;
}  // namespace DecimalTextFlags

// Checks a decimal number text: leading blanks, then digits, the separator (NUL = none) and signs.
// Returns -1 (all bits set) when it is valid and 0 when not; the flags go to `flags`.
int CheckDecimalText(const char *text, int count, char separator, std::uint32_t *flags);

// Flags of ClassifyNumberText.
namespace NumberTextFlags {
constexpr std::uint32_t Empty = 0x1;  // nothing to read
constexpr std::uint32_t Other = 0x2;  // a byte of no number
constexpr std::uint32_t Digit = 0x4;
constexpr std::uint32_t HexLetter = 0x8;  // 'A'-'F' or 'a'-'f'
constexpr std::uint32_t Separator = 0x10;
constexpr std::uint32_t LeadingPlus = 0x20;
constexpr std::uint32_t LeadingMinus = 0x40;
constexpr std::uint32_t SecondSeparator = 0x80;
constexpr std::uint32_t InnerPlus = 0x100;
constexpr std::uint32_t InnerMinus = 0x200;
constexpr std::uint32_t SignAfterSeparator = 0x400;
constexpr std::uint32_t HexSuffix = 0x800;        // a last 'H' or 'h'
constexpr std::uint32_t BinarySuffix = 0x1000;    // a last 'B' or 'b'
constexpr std::uint32_t HexPrefix = 0x2000;       // a leading "0x" or "0X"
constexpr std::uint32_t NonBinaryDigit = 0x8000;  // a digit from '2' up
constexpr std::uint32_t LeadingBlanks = 0x10000;
constexpr std::uint32_t TrailingBlanks = 0x20000;
}  // namespace NumberTextFlags

// Classifies a number text so that a caller can tell its base and whether it is valid. A count of 0
// is no text. Blanks around it are trimmed, then a suffix letter, a "0x" prefix and one leading sign
// are taken off before the remaining bytes are classified.
std::uint32_t ClassifyNumberText(const char *text, int count, char separator);

// The same classification for a text held as a view (its length is the count).
inline std::uint32_t ClassifyNumberText(std::string_view text, char separator)
{
    return ClassifyNumberText(text.data(), static_cast<int>(text.size()), separator);
}
// CheckDecimalText as a truth value.
bool IsDecimalText(const char *text, int count, char separator, std::uint32_t *flags);

// Flags of CheckHexText.
namespace HexTextFlags {
constexpr std::uint32_t Empty = 0x1;
constexpr std::uint32_t Other = 0x2;  // a byte of no hexadecimal number; the walk stops there
constexpr std::uint32_t Digit = 0x4;
constexpr std::uint32_t Letter = 0x8;     // 'A'-'F' or 'a'-'f'
constexpr std::uint32_t Suffix = 0x800;   // 'h' or 'H' as the last byte
constexpr std::uint32_t Prefix = 0x2000;  // a leading "0x", "0X", 'x' or 'X'
}  // namespace HexTextFlags

// Checks a hexadecimal text of `count` bytes (0 is an empty text, which is valid): an optional
// prefix, digits of either case and an optional 'h' suffix, not both prefix and suffix. Returns -1
// (all bits set) when valid, 0 when not.
int CheckHexText(const char *text, int count, std::uint32_t &flags);
bool IsHexText(const char *text, int count, std::uint32_t &flags);

// Counts the leading digits of a NUL-terminated text into `count`. The text is valid (0) when the
// digits end at the NUL or at a byte of the NUL-terminated stop set; otherwise, and when a byte
// ends them with no stop set, it is invalid (1). The value, when asked for, is DigitsToInt of the
// text for a valid text and 0 for an invalid one.
int CountDigitText(const char *text, const char *stopSet, std::int32_t *value, int &count);

// ---- more decimal integers -------------------------------------------------------------------
// IntToDigits, then the end character (a NUL too), counted in the length.
int IntToDigitsSep(std::int32_t value, char *buffer, char end, char zero);
// The decimal text of the value (0 gives '0') right-aligned in exactly `width` bytes, filled on the
// left with the fill character, or `width` '*' when it is longer. So -42 in 5 bytes with '0' as the
// fill gives 00-42. No terminator; returns the width, also for a null buffer.
int IntToFixedWidth(std::int32_t value, char *buffer, int width, char fill);
// One optional sign and digits, no blanks, up to the first non-digit or until `maximum` bytes (0 =
// no limit; the sign counts) are read. The overflow flag is set when the number does not fit 32
// signed bits (the result is then the value modulo 2^32).
std::int32_t DigitsToIntN(const char *text, int maximum, int *consumed, bool *overflow);
// Blanks and signs in any order (signs have no effect), then at most 10 digits, no byte beyond
// `maximum` (0 = no limit); the value wraps modulo 2^32. When the maximum is reached before a digit
// the result is 0.
std::uint32_t DigitsToUInt(const char *text, int *consumed, int maximum);
// Decimal digits of the value, no leading zeros. 0 gives the zero character alone, or nothing when
// it is NUL. A null buffer gives the length only.
int UIntToDigits(std::uint32_t value, char *buffer, char zero);
// UIntToDigits, then the end character, counted.
int UIntToDigitsSep(std::uint32_t value, char *buffer, char end, char zero);

// ---- more hexadecimal ------------------------------------------------------------------------
// Leading blanks, an optional prefix ("0x", "0X", 'x' or 'X'), then at most 8 digits of either
// case, one at a time; no byte beyond `maximum` (0 = no limit) is read. Every byte read counts.
std::uint32_t HexToUInt(const char *text, int *consumed, int maximum);
// One leading '0' is skipped (the form 0FF of a number that begins with a letter), then at most
// `maxDigits` digits (0 or above 8 mean 8); no blanks, sign or prefix letter. The skipped '0'
// counts in the consumed bytes.
std::uint32_t HexToUIntN(const char *text, int maxDigits, int *consumed);
// Options of UIntToHex.
constexpr int HexNoLeadingZeros = 4;  // drop leading '0' digits (all zero keeps one)
constexpr int HexPrefixX = 1;         // 'x' before the digits
constexpr int HexPrefix0x = 2;        // "0x" before the digits (when HexPrefixX is not set)
// The lowest `byteCount` bytes (1-4; 0 counts as 1, above 4 as 4) as two upper-case digits each,
// most significant first. No terminator; a null buffer gives the length only.
int UIntToHex(std::uint32_t value, char *buffer, int options, int byteCount);
// Two upper-case digits, high nibble first, into a buffer of at least 2 bytes; returns 2.
int ByteToHexPair(char *buffer, std::uint8_t byte);
// The value of the one or two digits (either case) at the start of a NUL-terminated text; their
// number goes to `count` (no digit gives 0 and a count of 0).
std::uint8_t HexPairToByte(const char *text, int &count);
// Each pair of digits of the first `count` bytes becomes one byte, a single digit before a
// non-digit or the end a byte of its own value; reading ends at the first non-digit. Returns the
// number of bytes made; a null buffer counts only; a null text or a count of 0 gives 0.
int HexToBytes(const char *text, int count, std::uint8_t *buffer);
// Each byte becomes two bytes holding its high and its low nibble (values 0-15). Returns 2n; a null
// source or n of 0 gives 0, a null buffer the length only.
int BytesToNibbles(const std::uint8_t *bytes, int n, std::uint8_t *buffer);
// Each pair (a, b) becomes the byte a << 4 | b (low 8 bits); an unpaired last byte is ignored.
// Returns n / 2; a null source or n of 0 gives 0, a null buffer the length only.
int NibblesToBytes(const std::uint8_t *nibbles, int n, std::uint8_t *buffer);

// ---- floating conversions --------------------------------------------------------------------
// 10^(32k) for k = 0 to 15 and 10^(512k) for k = 0 to 9 in the extended type; from 10^320 up they
// hold +infinity, so a scaling that needs them overflows to infinity or underflows to 0.
extern const long double Pow10Step32[16];
extern const long double Pow10Step512[10];
// 10^0 to 10^9 as doubles: the steps of the text readers and the packed-decimal export.
extern const double Pow10Doubles[10];

// Multiplies (n > 0) or divides (n < 0) the value by 10^|n| with the three tables. A zero, infinite
// or NaN value comes back as it went in; |n| of 5120 or more gives infinity (n > 0) or zero (n < 0)
// of the value's sign.
void ScalePow10(long double *value, int n);
// 1 for a finite non-zero value (normal or denormal), 0 for zero, NaN, infinity and the encodings
// the x87 unit does not support (unnormals, pseudo-NaNs, pseudo-infinities). Reads the 10-byte
// encoding itself.
int IsFiniteNonZero(const long double *value);

// Leading blanks, one sign, digits with at most one separator (a second one ends the number), and
// an exponent after 'e' or 'E' with an optional sign. Digits are gathered in the extended type and
// scaled by 10^(exponent - fraction digits) in steps of at most 10^9, then rounded to a double. A
// scale beyond ±5120 gives infinity or 0 (a zero value stays 0); an exponent too long for 32 bits
// saturates. Every byte read counts in `consumed`, the byte that ends the number does not.
double TextToDouble(const char *text, int *consumed, char separator);
// TextToDouble of the text, rounded by RoundDoubleDecimals.
double TextToDoubleRounded(const AnsiString &text, int decimals, char separator);
// Leading blanks, one sign and at most 9 integer digits; when the separator follows at once, at most
// 9 fraction digits. A tenth integer digit ends the reading (no separator is looked for then).
double DecimalTextToDouble(const char *text, int *consumed, char separator);
// DecimalTextToDouble, and the number of fraction digits read (0 without a separator).
double MeasureDecimalText(const char *text, int *consumed, char separator, int *fractionDigits);

// A double as decimal digits: the value is 0.d1d2...dn × 10^exponent. `count` is the number of
// digits, or minus the length of the special text that the digits then hold; `sign` is non-zero
// for a negative value. count 0 with exponent 0 means the value vanishes at the decimals asked.
struct TDecimalDigits {
    std::int8_t count = 0;
    std::uint8_t sign = 0;
    std::int16_t exponent = 0;
};
// Rounds |value| to |decimals| decimals (more than 31 count as 31) by the rule of
// RoundDoubleDecimals, then keeps at most `precision` significant digits (and at most 18), rounded
// half up, trailing zeros dropped. The digits and a NUL go to `digits`, at least 19 bytes.
TDecimalDigits DoubleToDigits(double value, char *digits, int precision, int decimals);

// How DigitsToText writes: at least `fractionDigits` fraction digits (negative: no padding), the
// separator, and the largest exponent still written in plain form (larger ones as 1,23e19).
struct TDigitsFormat {
    std::int8_t fractionDigits = 0;
    char separator = ',';
    std::uint8_t maxPlainExponent = 15;
};
// Writes the digits of DoubleToDigits. A special value writes its text; a vanished one (count 0)
// is a zero below the point: "0", the separator and the padding zeros ("0," with no padding). No
// terminator; returns the length; a null buffer gives the length only.
int DigitsToText(char *buffer, const char *digits, TDecimalDigits number, TDigitsFormat format);

// Writes the value × 10^|decimals|, rounded to an integer (a half to the even neighbour), in the
// 10-byte packed-decimal format of the x87 unit (18 digits, two per byte, least significant byte
// first; bit 7 of byte 9 the sign) and gives 1. A NaN writes nothing and gives 0; a zero writes ten
// zero bytes and gives 0; a magnitude of 10^18 or more, or infinite, writes nothing and gives 0.
int DoubleToPackedBCD(double value, std::int8_t decimals, std::uint8_t *out);

// Whether |a - b| rounds to zero at |decimals| decimals by the rule of RoundDoubleDecimals.
bool EqualToDecimals(double a, double b, int decimals);
