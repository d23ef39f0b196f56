#pragma once
// Helpers shared by the number-text sources; not part of the library's interface.
#include <cstdint>

namespace numtext {

constexpr char HexDigits[] = "0123456789ABCDEF";

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The value of a hexadecimal digit of either case, or -1.
inline int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Whether byte i of a NUL-terminated text may be read: below a non-zero maximum, not the NUL and
// not the stop byte (0 = none).
inline bool Readable(const char *text, int i, int maximum, char stop = 0)
{
    return (maximum <= 0 || i < maximum) && text[i] != 0 && (stop == 0 || text[i] != stop);
}

// The byte count of a text: 0 means up to the NUL; a null text and a negative count have no bytes.
int Span(const char *text, int count);
// |n|, with the most negative int taken as the largest.
int Magnitude(int n);
// The magnitude rounded to |decimals| decimals (at most 31) by the library's rule: scaled, 0.51
// added, cut toward zero, scaled back. Call under TExtendedPrecision.
long double RoundMagnitude(long double magnitude, int decimals);
// Decimal digits of the value, no leading zeros (0 gives "0"); returns their count (at most 20).
int WriteUnsigned(char *out, std::uint64_t value);
// Decimal digits from byte i while they are readable, accumulated modulo 2^32; `over` is set when
// a digit comes after the value has passed 0xCCCCCCC. Returns the index after the digits.
int AccumulateDigits(const char *text, int i, int maximum, char stop, std::uint32_t &value, bool &over);
// The digit reader of the decimal texts: leading blanks, one sign ('+' or '-', or 0 for none, goes
// to `sign`), then at most `maxDigits` digits (9 at most, so that the value fits), never past the
// NUL. Returns the index after the digits.
int ReadSignedDigits(const char *text, int i, int maxDigits, std::uint32_t &value, char &sign);
// The signed result of a magnitude read, with the overflow flag: set when `over` is, or when the
// magnitude does not fit 32 signed bits.
std::int32_t SignedResult(std::uint32_t value, bool negative, bool over, bool *overflow);
// The estimate k of a positive finite magnitude's decimal exponent E (10^(E-1) <= magnitude < 10^E)
// from its binary exponent: never above E and at most one below it.
int DecimalExponentEstimate(long double magnitude);
// The magnitude × 10^(18 - exponent) rounded to the nearest integer, below 10^18: when it would reach
// 10^18 the product is divided by 10 and the exponent grows by one. With the estimate as the exponent,
// the result has 18 digits and the exponent becomes E. Call under TExtendedPrecision.
std::uint64_t LeadingDigits(long double magnitude, int &exponent);
// Copies the bytes to the buffer when there is one; returns the length.
int Emit(char *buffer, const char *text, int length);

}  // namespace numtext
