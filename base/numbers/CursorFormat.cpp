// Cursor readers and number formatters over the library's number texts.
#include "base/numbers/CursorFormat.h"

#include <cstring>

#include "base/numbers/NumberText.h"
#include "base/numbers/NumericHelpers.h"
#include "base/text/TextPrims.h"

AnsiString CursorReadToken(const char *&cursor, char delimiter1, char delimiter2)
{
    AnsiString token;
    CursorReadUntil(cursor, delimiter1, delimiter2, token, false);
    return token;
}

std::uint32_t CursorReadNumber(const char *&cursor)
{
    int consumed = 0;
    std::uint32_t value = HexToUInt(cursor, &consumed, 0);
    cursor += consumed;
    return value;
}

std::int32_t CursorReadDecimal(const char *&cursor)
{
    int consumed = 0;
    std::int32_t value = DigitsToInt(cursor, &consumed, 0, 0, nullptr);
    cursor += consumed;
    return value;
}

AnsiString FormatHexWord(std::uint32_t value)
{
    char digits[8];
    return AnsiString(digits, static_cast<std::size_t>(UIntToHex(value, digits, 0, 4)));
}

AnsiString FormatHexByte(std::uint8_t value)
{
    char digits[2];
    return AnsiString(digits, static_cast<std::size_t>(UIntToHex(value, digits, 0, 1)));
}

AnsiString FormatDecimal(std::int32_t value, bool zeroAsDigit)
{
    char digits[12];
    return AnsiString(digits, static_cast<std::size_t>(IntToDigits(value, digits, zeroAsDigit ? '0' : 0)));
}

AnsiString FormatUnsigned(std::uint32_t value, bool zeroAsDigit)
{
    char digits[12];
    return AnsiString(digits, static_cast<std::size_t>(UIntToDigits(value, digits, zeroAsDigit ? '0' : 0)));
}

AnsiString FormatWidth(std::int32_t value, int width, char fill)
{
    if (width <= 0)
        return AnsiString();
    AnsiString text(static_cast<std::size_t>(width), fill);
    IntToFixedWidth(value, text.data(), width, fill);
    return text;
}

namespace {

// DoubleToDigits (15 digits) and DigitsToText; an empty text for a value that is zero at the
// decimals asked for: a zero, a value that rounds to zero and one that vanished before its first
// digit (which DigitsToText would write as "0" and a bare separator).
AnsiString DigitsText(double value, int decimals, TDigitsFormat format)
{
    char digits[20];
    TDecimalDigits number = DoubleToDigits(value, digits, 15, decimals);
    if (number.count == 0 || (number.count == 1 && digits[0] == '0'))
        return AnsiString();
    AnsiString text(static_cast<std::size_t>(DigitsToText(nullptr, digits, number, format)), '\0');
    DigitsToText(text.data(), digits, number, format);
    return text;
}

// Fixed form without padding, exponents only beyond 10^255.
TDigitsFormat FixedFormat(char separator) { return TDigitsFormat{-1, separator, 255}; }

}  // namespace

AnsiString FormatFixed(double value, int decimals, char separator)
{
    AnsiString text = DigitsText(value, decimals, FixedFormat(separator));
    return text.empty() ? AnsiString("0") : text;
}

AnsiString FormatFixedOrEmpty(double value, int decimals, char separator)
{
    return DigitsText(value, decimals, FixedFormat(separator));
}

AnsiString FormatDouble(double value, int decimals, TDigitsFormat options, bool zeroAsDigit)
{
    options.separator = ',';
    AnsiString text = DigitsText(value, decimals, options);
    return text.empty() && zeroAsDigit ? AnsiString("0") : text;
}

int CopyBeforeAnyOf(char *output, std::string_view text, std::string_view set)
{
    int position = FindAnyOf(text.data(), static_cast<int>(text.size()), set.data(), static_cast<int>(set.size()));
    if (position <= 1)
        return 0;
    int n = position - 1;
    if (output != nullptr)
        std::memcpy(output, text.data(), static_cast<std::size_t>(n));
    return n;
}
