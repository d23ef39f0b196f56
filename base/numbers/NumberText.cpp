#include "base/numbers/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/numbers/ExtendedPrecision.h"
#include "base/numbers/NumberTextInternal.h"

// Written as literals so that each entry is the nearest extended value (10^28 and above are not
// exact, and products of rounded entries would drift).
const long double Pow10Table[32] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L,
    1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L,
};

namespace numtext {

int Span(const char *text, int count)
{
    if (text == nullptr || count < 0)
        return 0;
    return count == 0 ? static_cast<int>(std::strlen(text)) : count;
}

int Magnitude(int n) { return n < 0 ? (n == INT32_MIN ? INT32_MAX : -n) : n; }

long double RoundMagnitude(long double magnitude, int decimals)
{
    int n = Magnitude(decimals);
    if (n > 31)
        n = 31;
    long double scaled = n ? magnitude * Pow10Table[n] : magnitude;
    // Cut toward zero after the offset: the 0.51 takes a half upward even when the scaled half
    // lies a little below its exact value. From 2^63 up the extended type holds only whole numbers,
    // and between 2^63 and 2^64 the sum would round up to the next one (its step is 1 there), so a
    // whole value is left as it is.
    if (scaled < 0x1p63L)
        scaled = std::trunc(scaled + 0.51L);
    return n ? scaled / Pow10Table[n] : scaled;
}

int WriteUnsigned(char *out, std::uint64_t value)
{
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    return n;
}

int AccumulateDigits(const char *text, int i, int maximum, char stop, std::uint32_t &value, bool &over)
{
    for (; Readable(text, i, maximum, stop) && IsDigit(text[i]); ++i) {
        // One more digit cannot fit 32 bits once the value is above (2^32 - 1) / 10 rounded down.
        if (value > 0xCCCCCCCu)
            over = true;
        value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    return i;
}

int ReadSignedDigits(const char *text, int i, int maxDigits, std::uint32_t &value, char &sign)
{
    while (text[i] == ' ')
        ++i;
    sign = text[i] == '+' || text[i] == '-' ? text[i++] : 0;
    value = 0;
    for (int start = i; i - start < maxDigits && IsDigit(text[i]); ++i)
        value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    return i;
}

std::int32_t SignedResult(std::uint32_t value, bool negative, bool over, bool *overflow)
{
    if (value > (negative ? 0x80000000u : 0x7FFFFFFFu))
        over = true;
    if (overflow != nullptr)
        *overflow = over;
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

int Emit(char *buffer, const char *text, int length)
{
    if (buffer != nullptr && length > 0)
        std::memcpy(buffer, text, static_cast<std::size_t>(length));
    return length;
}

}  // namespace numtext

using namespace numtext;

double RoundDoubleDecimals(double value, int decimals)
{
    TExtendedPrecision precision;
    long double rounded = RoundMagnitude(std::fabs(static_cast<long double>(value)), decimals);
    if (rounded == 0)
        return 0.0;
    return static_cast<double>(std::signbit(value) ? -rounded : rounded);
}

namespace {

// The integer part of a rounded magnitude; from 10^18 up, 18 significant digits and zeros.
int WriteIntegerPart(char *out, long double whole)
{
    if (whole < 1e18L)
        return WriteUnsigned(out, static_cast<std::uint64_t>(whole));
    int exponent = DecimalExponentEstimate(whole);
    std::uint64_t leading = LeadingDigits(whole, exponent);
    int zeros = exponent - 18;
    int n = WriteUnsigned(out, leading);
    std::memset(out + n, '0', static_cast<std::size_t>(zeros));
    return n + zeros;
}

}  // namespace

int DoubleToText(double value, char *buffer, int decimals, int zeros, int flags)
{
    if (std::isnan(value) || std::isinf(value)) {
        bool negative = std::signbit(value);
        std::string_view special = std::isnan(value)
                                       ? (negative ? FloatSpecial::NegativeNaN : FloatSpecial::NaN)
                                       : (negative ? FloatSpecial::NegativeInfinity : FloatSpecial::Infinity);
        int length = Emit(buffer, special.data(), static_cast<int>(special.size()));
        if (buffer != nullptr && (flags & DoubleTextNul))
            buffer[length] = 0;
        return -length;
    }

    TExtendedPrecision precision;
    bool trimZeros = decimals < 0;
    int d = Magnitude(decimals);
    if (d > 9)
        d = 9;
    int w = zeros < 0 ? 0 : (zeros > 9 ? 9 : zeros);
    bool negative = value < 0;

    long double rounded = RoundMagnitude(std::fabs(static_cast<long double>(value)), d);
    long double whole = std::trunc(rounded);
    std::uint64_t fraction = 0;
    if (d > 0) {
        long double scaled = std::nearbyint((rounded - whole) * Pow10Table[d]);
        if (scaled >= Pow10Table[d]) {
            scaled -= Pow10Table[d];
            whole += 1;
        }
        fraction = static_cast<std::uint64_t>(scaled);
    }

    char out[DoubleTextMax];
    int n = 0;
    if (whole == 0 && fraction == 0) {
        if (flags & DoubleTextZero) {
            if (negative)
                out[n++] = '-';
            out[n++] = '0';
        }
    } else {
        if (negative)
            out[n++] = '-';
        n += WriteIntegerPart(out + n, whole);
        char separator = (flags & DoubleTextPoint) ? '.' : ',';
        if (fraction != 0) {
            char digits[9];
            for (int i = d - 1; i >= 0; --i) {
                digits[i] = static_cast<char>('0' + fraction % 10);
                fraction /= 10;
            }
            int kept = d;
            while (trimZeros && kept > w && digits[kept - 1] == '0')
                --kept;
            out[n++] = separator;
            std::memcpy(out + n, digits, static_cast<std::size_t>(kept));
            n += kept;
        } else if (w > 0) {
            out[n++] = separator;
            std::memset(out + n, '0', static_cast<std::size_t>(w));
            n += w;
        }
    }
    if (flags & DoubleTextNul)
        out[n++] = 0;
    return Emit(buffer, out, n);
}

std::int32_t DigitsToInt(const char *text, int *consumed, char stop, int maximum, bool *overflow)
{
    int i = 0;
    bool negative = false;
    bool over = false;
    std::uint32_t value = 0;
    if (text != nullptr) {
        while (Readable(text, i, maximum, stop) && (text[i] == ' ' || text[i] == '+' || text[i] == '-')) {
            negative = negative || text[i] == '-';
            ++i;
        }
        i = AccumulateDigits(text, i, maximum, stop, value, over);
    }
    if (consumed != nullptr)
        *consumed = i;
    return SignedResult(value, negative, over, overflow);
}

int IntToDigits(std::int32_t value, char *buffer, char zero)
{
    char out[12];
    int n = 0;
    if (value == 0) {
        if (zero != 0)
            out[n++] = zero;
    } else {
        std::uint32_t magnitude = static_cast<std::uint32_t>(value);
        if (value < 0) {
            out[n++] = '-';
            magnitude = 0u - magnitude;
        }
        n += WriteUnsigned(out + n, magnitude);
    }
    return Emit(buffer, out, n);
}

int BytesToHex(const void *bytes, int n, char *buffer)
{
    if (bytes == nullptr || n <= 0)
        return 0;
    if (buffer != nullptr) {
        const auto *p = static_cast<const std::uint8_t *>(bytes);
        for (int i = 0; i < n; ++i)
            ByteToHexPair(buffer + 2 * i, p[i]);
    }
    return 2 * n;
}

int CheckDecimalText(const char *text, int count, char separator, std::uint32_t *flagsOut)
{
    using namespace DecimalTextFlags;
    int n = Span(text, count);
    int i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    std::uint32_t flags = i == n ? Blank : 0;
    int first = i;
    for (; i < n; ++i) {
        char c = text[i];
        if (IsDigit(c))
            continue;
        if (separator != 0 && c == separator) {
            flags |= (flags & Separator) ? SecondSeparator : Separator;
        } else if (c == '+' || c == '-') {
            bool plus = c == '+';
            std::uint32_t once = plus ? Plus : Minus;
            flags |= (flags & once) ? (plus ? SecondPlus : SecondMinus) : once;
            if (flags & Separator)
                flags |= SignAfterSeparator;
            if (i != first)
                flags |= plus ? PlusNotFirst : MinusNotFirst;
        } else {
            flags |= Other;
        }
    }
    if (flagsOut != nullptr)
        *flagsOut = flags;
    return (flags & Invalid) ? 0 : -1;
}

std::uint32_t ClassifyNumberText(const char *text, int count, char separator)
{
    using namespace NumberTextFlags;
    if (text == nullptr || count <= 0)
        return Empty;
    int begin = 0;
    int end = count;
    while (begin < end && text[begin] == ' ')
        ++begin;
    if (begin == end)
        return LeadingBlanks;
    std::uint32_t flags = begin > 0 ? LeadingBlanks : 0;
    if (text[end - 1] == ' ') {
        flags |= TrailingBlanks;
        while (text[end - 1] == ' ')
            --end;
    }
    char last = text[end - 1];
    if (last == 'H' || last == 'h' || last == 'B' || last == 'b') {
        flags |= (last == 'H' || last == 'h') ? HexSuffix : BinarySuffix;
        if (--end == begin)
            return flags | Other | Empty;
    }
    if (end - begin >= 2 && text[begin] == '0' && (text[begin + 1] == 'x' || text[begin + 1] == 'X')) {
        flags |= HexPrefix;
        begin += 2;
    }
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) {
        flags |= text[begin] == '+' ? LeadingPlus : LeadingMinus;
        ++begin;
    }
    if (begin == end)
        return flags | Empty;
    for (int i = begin; i < end; ++i) {
        char c = text[i];
        if (separator != 0 && c == separator) {
            flags |= (flags & Separator) ? SecondSeparator : Separator;
        } else if (c == '+' || c == '-') {
            flags |= c == '+' ? InnerPlus : InnerMinus;
            if (flags & Separator)
                flags |= SignAfterSeparator;
        } else if (IsDigit(c)) {
            flags |= c >= '2' ? (Digit | NonBinaryDigit) : Digit;
        } else if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) {
            flags |= HexLetter;
        } else {
            flags |= Other;
        }
    }
    return flags;
}
