// Rounding and number texts with the decimal comma.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/numbers/NumericHelpers.h"
#include "framework/graphics/Graphics.h"
#include "framework/runtime/SysUtils.h"

namespace {

constexpr double ZeroThreshold = 1e-10;
constexpr int MaxPower = 308;

// 10^0 ... 10^308, each the double nearest to the power (read from its decimal text, which
// from_chars rounds correctly), so that the results do not depend on a library's pow.
const std::array<double, MaxPower + 1> &PowersOfTen()
{
    static const std::array<double, MaxPower + 1> table = [] {
        std::array<double, MaxPower + 1> t{};
        for (int k = 0; k <= MaxPower; ++k) {
            char text[8] = "1e";
            auto end = std::to_chars(text + 2, text + sizeof text, k).ptr;
            std::from_chars(text, end, t[k]);
        }
        return t;
    }();
    return table;
}

// 10^k for 0 <= k <= 308, infinity above.
double Power(int k) { return k <= MaxPower ? PowersOfTen()[k] : HUGE_VAL; }

// x * 10^k and x / 10^k for any k; a negative k divides (multiplies) by the positive power. A power
// past the table gives infinity (or 0 for the inverse), so that callers see a step that is not finite.
double ScaleUp(double x, int k) { return k >= 0 ? x * Power(k) : x / Power(-k); }
double ScaleDown(double x, int k) { return k >= 0 ? x / Power(k) : x * Power(-k); }

// The digits of a value with 15 significant digits in fixed form with `decimals` decimals: digits
// past the fifteenth are zeros; a value with more decimals than asked is rounded half up on its
// decimal digits. No exponent, however large or small the value.
AnsiString FixedText15(double x, int decimals)
{
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    decimals = std::max(decimals, 0);
    char buf[32];
    auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14).ptr;
    // buf: d.dddddddddddddde[+-]XX
    AnsiString mantissa;
    const char *p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            mantissa += *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    const int significant = static_cast<int>(mantissa.size());

    // The digit of place value 10^e, for any e.
    auto digitAt = [&](int e) {
        int index = exponent - e;
        return index >= 0 && index < significant ? mantissa[index] : '0';
    };
    const int top = std::max(exponent, 0);
    AnsiString digits;  // from 10^top down to 10^-decimals
    for (int e = top; e >= -decimals; --e)
        digits += digitAt(e);
    if (digitAt(-decimals - 1) >= '5') {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0 && digits[i] == '9'; --i)
            digits[i] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    AnsiString text = digits.substr(0, digits.size() - decimals);
    if (decimals > 0)
        text += ',' + digits.substr(digits.size() - decimals);
    const bool allZero = digits.find_first_not_of('0') == AnsiString::npos;
    if (x < 0 && !allZero)
        text.insert(text.begin(), '-');
    return text;
}

// Drops trailing zeros of the decimals while more than `keep` decimals remain, and a comma left last.
void DropTrailingZeros(AnsiString &text, int keep)
{
    const size_t comma = text.find(',');
    if (comma == AnsiString::npos)
        return;
    const size_t least = comma + 1 + static_cast<size_t>(std::max(keep, 0));
    size_t length = text.size();
    while (length > least && text[length - 1] == '0')
        --length;
    if (length == comma + 1)
        length = comma;
    text.resize(length);
}

}  // namespace

double RoundToDecimals(int n, double x)
{
    const int k = std::abs(n);
    if (k > MaxPower)
        return x;
    const double scaled = std::fabs(x) * Power(k);
    if (!std::isfinite(scaled))
        return x;
    // From 2^52 up a double holds only whole numbers; between 2^52 and 2^53 the half would round
    // an odd one up to the next even one, so a whole value is left as it is.
    const double whole = scaled < 0x1p52 ? std::floor(scaled + 0.5 + 1e-10) : scaled;
    const double rounded = whole / Power(k);
    return x < 0 ? -rounded : rounded;
}

int32_t RoundToStep(double &value, double minimum, double factor)
{
    const int least = static_cast<int>(std::clamp(minimum, double(INT32_MIN), double(INT32_MAX)));
    if (factor == 0 || value == 0)
        return least;
    if (value * factor <= 0.00499999) {
        // Decimals from the value's own magnitude: one past its first significant digit.
        const double t = std::log10(std::fabs(value));
        int v = t < 0 ? static_cast<int>(std::floor(-t)) + 1 : 1 - static_cast<int>(std::floor(t));
        v = std::max(v, least);
        // A step whose power lies past the table (or whose product is not finite) leaves the value.
        const double scaled = ScaleUp(value, v);
        if (std::abs(v) <= MaxPower && std::isfinite(scaled))
            value = ScaleDown(RoundToDecimals(0, scaled), v);
        return v;
    }
    const double t = std::fabs(std::log10(0.0001 / std::fabs(factor)));
    int c = static_cast<int>(std::ceil(t));
    if (c <= least || t == c) {
        value = RoundToDecimals(c, value);
        return c;
    }
    // Fewer decimals while the product keeps its two-decimal value.
    double r = RoundToDecimals(c, value);
    double q = RoundToDecimals(2, r * factor);
    int candidateC;
    double candidateR;
    double previous;
    do {
        candidateC = c;
        candidateR = r;
        previous = q;
        --c;
        r = RoundToDecimals(c, value);
        q = RoundToDecimals(2, r * factor);
    } while (!(std::fabs(q - previous) > 1e-10) && c > least);
    value = candidateR;
    return candidateC;
}

void RoundToStepFlagged(double &value, uint32_t flags, double factor)
{
    if (flags & 16)
        RoundToStep(value, 4, factor);
}

int32_t FactorDecimals(double &value, double factor)
{
    const double w = value;
    int32_t c = RoundToStep(value, 2, factor);
    if (std::fabs((w - value) * factor) > 0.01) {
        c = 1;
        value = RoundToDecimals(1, w);
        if (std::fabs((w - value) * factor) > 0.01) {
            c = 0;
            value = RoundToDecimals(0, w);
        }
    }
    const AnsiString s = FloatToFitText(c, value);
    const size_t comma = s.find(',');
    if (comma == AnsiString::npos)
        return c;
    const int p = static_cast<int>(comma) + 1;
    int length = static_cast<int>(s.size());
    while (length > p && s[length - 1] == '0')
        --length;
    if (length == p)
        --length;
    return length - p;
}

int32_t FactorDecimalsMin2(double &value, double factor)
{
    const double w = value;
    int32_t c = FactorDecimals(value, std::fabs(factor));
    if (c < 2) {
        c = 2;
        value = RoundToDecimals(2, w);
    }
    return c;
}

AnsiString FloatToFitText(int n, double x)
{
    UseDecimalComma();
    AnsiString text = FixedText15(RoundToDecimals(n, x), std::abs(n));
    if (n < 0)
        DropTrailingZeros(text, 0);
    return text;
}

AnsiString FloatToTextOrEmpty(int n, double x)
{
    return std::fabs(x) < ZeroThreshold ? AnsiString() : FloatToFitText(n, x);
}

AnsiString FloatToTextWidth(int n, int width, double x)
{
    const AnsiString text = FloatToFitText(n, x);
    const size_t comma = text.find(',');
    if (comma == AnsiString::npos || static_cast<int>(text.size()) <= width)
        return text;
    const int decimals = std::max(width - static_cast<int>(comma), 0);
    return FloatToFitText(-decimals, x);
}

AnsiString FloatToTextPadded(int n, int pixelWidth, TCanvas &canvas, double x)
{
    AnsiString text = FloatToFitText(n, x);
    for (int blanks = 0; blanks < 21 && canvas.TextWidth(' ' + text) <= pixelWidth - 1; ++blanks)
        text.insert(text.begin(), ' ');
    return text;
}

AnsiString FloatToFieldText(int n, int width, double x)
{
    const AnsiString text = FloatToFitText(n, x);
    const int length = static_cast<int>(text.size());
    const size_t comma = text.find(',');
    const int p = comma == AnsiString::npos ? 0 : static_cast<int>(comma) + 1;
    if (p != 0 && p - 1 >= width)
        return FloatToFitText(0, x);
    const int room = p != 0 ? width + 1 : width;
    // Only a text that can lose decimals is made again: fewer decimals of a negative n.
    if (length > room && n < 0 && length - room <= -n)
        return FloatToFitText(n + (length - room), x);
    return text;
}

AnsiString FloatToFieldTextOrEmpty(int n, int width, double x)
{
    return std::fabs(x) < ZeroThreshold ? AnsiString() : FloatToFieldText(n, width, x);
}

AnsiString FloatToTextMinDecimals(int n, int minimum, double x)
{
    UseDecimalComma();
    const double r = RoundToDecimals(n, x);
    if (std::fabs(r) < ZeroThreshold)
        return AnsiString();
    AnsiString text = FixedText15(r, std::abs(n));
    if (n < 0)
        DropTrailingZeros(text, minimum);
    return text;
}

AnsiString FloatToTextSnapped(double x)
{
    if (!(std::fabs(x) >= ZeroThreshold))
        return std::isnan(x) ? FloatToFitText(-9, x) : AnsiString();
    // On the magnitude, the sign restored; values below 1 are not snapped (their tolerance would be
    // 1 or more and swallow every digit).
    double a = std::fabs(x);
    const double t = std::log10(a);
    if (t >= 0 && std::isfinite(t)) {
        const int k = static_cast<int>(std::ceil(t));
        const double r = RoundToDecimals(k, a);
        if (std::fabs(a - r) < ScaleDown(1.0, k + 1))
            a = r;
    }
    return FloatToFitText(-9, x < 0 ? -a : a);
}
