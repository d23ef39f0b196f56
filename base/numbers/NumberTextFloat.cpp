// Floating conversions: scaling by powers of ten, the text readers, the decimal decomposition and
// its writer, the packed-decimal export.
#include <cmath>
#include <cstring>
#include <limits>

#include "base/numbers/ExtendedPrecision.h"
#include "base/numbers/NumberText.h"
#include "base/numbers/NumberTextInternal.h"

using namespace numtext;

namespace {
constexpr long double Inf = std::numeric_limits<long double>::infinity();
}  // namespace

const long double Pow10Step32[16] = {
    1e0L, 1e32L, 1e64L, 1e96L, 1e128L, 1e160L, 1e192L, 1e224L, 1e256L, 1e288L, Inf, Inf, Inf, Inf, Inf, Inf,
};
const long double Pow10Step512[10] = {1e0L, Inf, Inf, Inf, Inf, Inf, Inf, Inf, Inf, Inf};
const double Pow10Doubles[10] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

namespace numtext {

int DecimalExponentEstimate(long double magnitude)
{
    // 19728 / 65536 stands for log10 2.
    return ((std::ilogb(magnitude) * 19728) >> 16) + 1;
}

std::uint64_t LeadingDigits(long double magnitude, int &exponent)
{
    long double scaled = magnitude;
    ScalePow10(&scaled, 18 - exponent);
    long double whole = std::nearbyint(scaled);
    while (whole >= 1e18L) {
        // Divide the product, not the rounded integer, so that it is rounded only once.
        scaled /= 10;
        whole = std::nearbyint(scaled);
        ++exponent;
    }
    return static_cast<std::uint64_t>(whole);
}

}  // namespace numtext

void ScalePow10(long double *value, int n)
{
    long double x = *value;
    if (n == 0 || x == 0 || !std::isfinite(x))
        return;
    TExtendedPrecision precision;
    int magnitude = Magnitude(n);
    if (magnitude >= 5120) {
        *value = n > 0 ? std::copysign(Inf, x) : std::copysign(0.0L, x);
        return;
    }
    const long double factors[] = {Pow10Table[magnitude % 32], Pow10Step32[(magnitude / 32) % 16],
                                   Pow10Step512[magnitude / 512]};
    for (long double factor : factors) {
        if (factor == 1)
            continue;
        x = n > 0 ? x * factor : x / factor;
    }
    *value = x;
}

int IsFiniteNonZero(const long double *value)
{
    unsigned char bytes[10];
    std::memcpy(bytes, value, sizeof bytes);
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i)
        significand = significand << 8 | bytes[i];
    unsigned exponent = (bytes[8] | bytes[9] << 8) & 0x7FFFu;
    if (exponent == 0)
        return significand != 0 ? 1 : 0;  // a denormal (or pseudo-denormal), or zero
    if (exponent == 0x7FFF)
        return 0;                             // infinity, NaN and their pseudo forms
    return (significand >> 63) != 0 ? 1 : 0;  // an unnormal lacks the integer bit
}

namespace {

// Multiplies or divides by 10^|scale| in steps of at most 10^9.
long double ScaleByDoubleSteps(long double value, long long scale)
{
    for (long long left = scale < 0 ? -scale : scale; left > 0;) {
        int step = left > 9 ? 9 : static_cast<int>(left);
        value = scale > 0 ? value * Pow10Doubles[step] : value / Pow10Doubles[step];
        left -= step;
    }
    return value;
}

}  // namespace

double TextToDouble(const char *text, int *consumed, char separator)
{
    if (consumed != nullptr)
        *consumed = 0;
    if (text == nullptr)
        return 0;
    TExtendedPrecision precision;
    int i = 0;
    while (text[i] == ' ')
        ++i;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    bool digits = false;
    while (text[i] == '0') {
        ++i;
        digits = true;
    }
    long double value = 0;
    long long fractionDigits = 0;
    bool fraction = false;
    for (;; ++i) {
        char c = text[i];
        if (IsDigit(c)) {
            value = value * 10 + (c - '0');
            fractionDigits += fraction ? 1 : 0;
            digits = true;
        } else if (c != 0 && c == separator && !fraction) {
            fraction = true;
        } else {
            break;
        }
    }
    long long exponent = 0;
    if (digits && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (text[i] == '-' || text[i] == '+')
            negativeExponent = text[i++] == '-';
        // Saturates far beyond any scale that still gives a finite non-zero double.
        for (; IsDigit(text[i]); ++i) {
            if (exponent < 100000000)
                exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (consumed != nullptr)
        *consumed = i;
    long long scale = exponent - fractionDigits;
    if (value != 0 && scale > 5120)
        value = Inf;
    else if (scale < -5120)
        value = 0;
    else
        value = ScaleByDoubleSteps(value, scale);
    return static_cast<double>(negative ? -value : value);
}

double TextToDoubleRounded(const AnsiString &text, int decimals, char separator)
{
    return RoundDoubleDecimals(TextToDouble(text.c_str(), nullptr, separator), decimals);
}

double MeasureDecimalText(const char *text, int *consumed, char separator, int *fractionDigits)
{
    TExtendedPrecision precision;
    int i = 0;
    int fraction = 0;
    long double value = 0;
    bool negative = false;
    if (text != nullptr) {
        std::uint32_t whole = 0;
        char sign = 0;
        i = ReadSignedDigits(text, 0, 9, whole, sign);
        negative = sign == '-';
        value = whole;
        // A tenth digit ends the reading: the number is taken as its first nine digits.
        if (!IsDigit(text[i]) && separator != 0 && text[i] == separator) {
            ++i;
            std::uint32_t part = 0;
            for (; fraction < 9 && IsDigit(text[i]); ++i, ++fraction)
                part = part * 10 + static_cast<std::uint32_t>(text[i] - '0');
            value += part / static_cast<long double>(Pow10Doubles[fraction]);
        }
    }
    if (consumed != nullptr)
        *consumed = i;
    if (fractionDigits != nullptr)
        *fractionDigits = fraction;
    return static_cast<double>(negative ? -value : value);
}

double DecimalTextToDouble(const char *text, int *consumed, char separator)
{
    return MeasureDecimalText(text, consumed, separator, nullptr);
}

namespace {

TDecimalDigits Special(double value, char *digits)
{
    bool negative = std::signbit(value);
    std::string_view text = std::isnan(value) ? (negative ? FloatSpecial::NegativeNaN : FloatSpecial::NaN)
                                              : (negative ? FloatSpecial::NegativeInfinity : FloatSpecial::Infinity);
    std::memcpy(digits, text.data(), text.size());
    digits[text.size()] = 0;
    TDecimalDigits result;
    result.count = static_cast<std::int8_t>(-static_cast<int>(text.size()));
    return result;
}

TDecimalDigits Digits(char *digits, const char *text, int n, int exponent, bool negative)
{
    std::memcpy(digits, text, static_cast<std::size_t>(n));
    digits[n] = 0;
    TDecimalDigits result;
    result.count = static_cast<std::int8_t>(n);
    result.sign = negative ? 1 : 0;
    result.exponent = static_cast<std::int16_t>(exponent);
    return result;
}

}  // namespace

TDecimalDigits DoubleToDigits(double value, char *digits, int precision, int decimals)
{
    if (std::isnan(value) || std::isinf(value))
        return Special(value, digits);
    if (value == 0)
        return Digits(digits, "0", 1, 1, false);
    TExtendedPrecision guard;
    int d = Magnitude(decimals);
    if (d > 31)
        d = 31;
    bool negative = value < 0;
    long double magnitude = std::fabs(static_cast<long double>(value));

    int k = DecimalExponentEstimate(magnitude);
    // Nothing is kept when the value's first digit lies more than one place beyond the decimals.
    if (k + d < -1)
        return Digits(digits, "", 0, 0, false);
    std::uint64_t integer = LeadingDigits(RoundMagnitude(magnitude, d), k);
    char all[19];
    for (int i = 17; i >= 0; --i) {
        all[i] = static_cast<char>('0' + integer % 10);
        integer /= 10;
    }

    int kept = k + d;
    if (kept < 0)
        return Digits(digits, "", 0, 0, false);
    if (kept > precision)
        kept = precision < 0 ? 0 : precision;
    if (kept > 18)
        kept = 18;
    if (kept < 18 && all[kept] >= '5') {
        int i = kept - 1;
        for (; i >= 0 && all[i] == '9'; --i)
            all[i] = '0';
        if (i < 0)
            return Digits(digits, "1", 1, k + 1, negative);
        ++all[i];
    }
    while (kept > 0 && all[kept - 1] == '0')
        --kept;
    if (kept == 0)
        return Digits(digits, "0", 1, 1, false);
    return Digits(digits, all, kept, k, negative);
}

int DigitsToText(char *buffer, const char *digits, TDecimalDigits number, TDigitsFormat format)
{
    int n = number.count;
    if (n < 0)
        return Emit(buffer, digits, -n);
    int e = number.exponent;
    int f = format.fractionDigits;
    int length = 0;
    auto put = [&](char c) {
        if (buffer != nullptr)
            buffer[length] = c;
        ++length;
    };
    auto putDigits = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            put(digits[i]);
    };
    auto pad = [&](int fraction) {
        for (; fraction < f; ++fraction)
            put('0');
    };
    if (number.sign != 0)
        put('-');
    if (e <= 0) {
        put('0');
        put(format.separator);
        for (int i = 0; i < -e; ++i)
            put('0');
        putDigits(0, n);
        pad(-e + n);
    } else if (e <= format.maxPlainExponent) {
        if (n > e) {
            putDigits(0, e);
            put(format.separator);
            putDigits(e, n);
            pad(n - e);
        } else {
            putDigits(0, n);
            for (int i = n; i < e; ++i)
                put('0');
        }
    } else {
        putDigits(0, 1);
        if (n > 1) {
            put(format.separator);
            putDigits(1, n);
        }
        put('e');
        char exponent[12];
        int m = WriteUnsigned(exponent, static_cast<std::uint64_t>(e - 1));
        for (int i = 0; i < m; ++i)
            put(exponent[i]);
    }
    return length;
}

int DoubleToPackedBCD(double value, std::int8_t decimals, std::uint8_t *out)
{
    if (std::isnan(value))
        return 0;
    if (value == 0) {
        std::memset(out, 0, 10);
        return 0;
    }
    TExtendedPrecision precision;
    long double scaled = ScaleByDoubleSteps(std::fabs(static_cast<long double>(value)), Magnitude(decimals));
    // Rounding to nearest under the guard takes a half to the even neighbour.
    scaled = std::nearbyint(scaled);
    if (!(scaled < 1e18L))
        return 0;
    std::uint64_t integer = static_cast<std::uint64_t>(scaled);
    for (int i = 0; i < 9; ++i) {
        unsigned low = static_cast<unsigned>(integer % 10);
        integer /= 10;
        unsigned high = static_cast<unsigned>(integer % 10);
        integer /= 10;
        out[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    out[9] = value < 0 && scaled != 0 ? 0x80 : 0;
    return 1;
}

bool EqualToDecimals(double a, double b, int decimals)
{
    TExtendedPrecision precision;
    long double difference = std::fabs(static_cast<long double>(a) - static_cast<long double>(b));
    return RoundMagnitude(difference, decimals) == 0;
}
