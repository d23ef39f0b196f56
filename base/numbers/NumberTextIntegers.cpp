// Decimal and hexadecimal integer texts, the checks of hexadecimal and digit texts, and nibbles.
#include <cstring>

#include "base/numbers/NumberText.h"
#include "base/numbers/NumberTextInternal.h"

using namespace numtext;

bool IsDecimalText(const char *text, int count, char separator, std::uint32_t *flags)
{
    return CheckDecimalText(text, count, separator, flags) != 0;
}

int CheckHexText(const char *text, int count, std::uint32_t &flags)
{
    using namespace HexTextFlags;
    flags = 0;
    if (text == nullptr || count <= 0) {
        flags = Empty;
        return -1;
    }
    int i = 0;
    if (text[0] == 'x' || text[0] == 'X') {
        flags |= Prefix;
        i = 1;
    } else if (count >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        flags |= Prefix;
        i = 2;
    }
    for (; i < count; ++i) {
        char c = text[i];
        if (IsDigit(c)) {
            flags |= Digit;
        } else if (HexValue(c) >= 0) {
            flags |= Letter;
        } else if ((c == 'h' || c == 'H') && i == count - 1) {
            flags |= Suffix;
        } else {
            flags |= Other;
            break;
        }
    }
    bool invalid = (flags & Other) || ((flags & Prefix) && (flags & Suffix));
    return invalid ? 0 : -1;
}

bool IsHexText(const char *text, int count, std::uint32_t &flags) { return CheckHexText(text, count, flags) != 0; }

int CountDigitText(const char *text, const char *stopSet, std::int32_t *value, int &count)
{
    count = 0;
    int result = 0;
    if (text != nullptr) {
        while (IsDigit(text[count]))
            ++count;
        char ender = text[count];
        if (ender != 0 && (stopSet == nullptr || std::strchr(stopSet, ender) == nullptr))
            result = 1;
    }
    if (value != nullptr)
        *value = result == 0 ? DigitsToInt(text, nullptr, 0, 0, nullptr) : 0;
    return result;
}

int IntToDigitsSep(std::int32_t value, char *buffer, char end, char zero)
{
    int n = IntToDigits(value, buffer, zero);
    if (buffer != nullptr)
        buffer[n] = end;
    return n + 1;
}

int IntToFixedWidth(std::int32_t value, char *buffer, int width, char fill)
{
    if (width <= 0)
        return 0;
    if (buffer != nullptr) {
        char digits[12];
        int n = IntToDigits(value, digits, '0');
        if (n > width) {
            std::memset(buffer, '*', static_cast<std::size_t>(width));
        } else {
            std::memset(buffer, fill, static_cast<std::size_t>(width - n));
            std::memcpy(buffer + width - n, digits, static_cast<std::size_t>(n));
        }
    }
    return width;
}

std::int32_t DigitsToIntN(const char *text, int maximum, int *consumed, bool *overflow)
{
    int i = 0;
    bool negative = false;
    bool over = false;
    std::uint32_t value = 0;
    if (text != nullptr) {
        if (Readable(text, i, maximum) && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        i = AccumulateDigits(text, i, maximum, 0, value, over);
    }
    if (consumed != nullptr)
        *consumed = i;
    return SignedResult(value, negative, over, overflow);
}

std::uint32_t DigitsToUInt(const char *text, int *consumed, int maximum)
{
    int i = 0;
    std::uint32_t value = 0;
    if (text != nullptr) {
        while (Readable(text, i, maximum) && (text[i] == ' ' || text[i] == '+' || text[i] == '-'))
            ++i;
        int digitsEnd = i + 10;
        for (; i < digitsEnd && Readable(text, i, maximum) && IsDigit(text[i]); ++i)
            value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (consumed != nullptr)
        *consumed = i;
    return value;
}

int UIntToDigits(std::uint32_t value, char *buffer, char zero)
{
    char out[10];
    int n = 0;
    if (value != 0)
        n = WriteUnsigned(out, value);
    else if (zero != 0)
        out[n++] = zero;
    return Emit(buffer, out, n);
}

int UIntToDigitsSep(std::uint32_t value, char *buffer, char end, char zero)
{
    int n = UIntToDigits(value, buffer, zero);
    if (buffer != nullptr)
        buffer[n] = end;
    return n + 1;
}

namespace {

// At most `digits` hexadecimal digits from byte i, within the maximum; returns the index after them.
int AccumulateHex(const char *text, int i, int maximum, int digits, std::uint32_t &value)
{
    for (int end = i + digits; i < end && Readable(text, i, maximum) && HexValue(text[i]) >= 0; ++i)
        value = value << 4 | static_cast<std::uint32_t>(HexValue(text[i]));
    return i;
}

}  // namespace

std::uint32_t HexToUInt(const char *text, int *consumed, int maximum)
{
    int i = 0;
    std::uint32_t value = 0;
    if (text != nullptr) {
        while (Readable(text, i, maximum) && text[i] == ' ')
            ++i;
        if (Readable(text, i, maximum) && (text[i] == 'x' || text[i] == 'X'))
            ++i;
        else if (Readable(text, i, maximum) && text[i] == '0' && Readable(text, i + 1, maximum) &&
                 (text[i + 1] == 'x' || text[i + 1] == 'X'))
            i += 2;
        i = AccumulateHex(text, i, maximum, 8, value);
    }
    if (consumed != nullptr)
        *consumed = i;
    return value;
}

std::uint32_t HexToUIntN(const char *text, int maxDigits, int *consumed)
{
    int i = 0;
    std::uint32_t value = 0;
    if (text != nullptr) {
        if (text[0] == '0')
            i = 1;
        i = AccumulateHex(text, i, 0, maxDigits <= 0 || maxDigits > 8 ? 8 : maxDigits, value);
    }
    if (consumed != nullptr)
        *consumed = i;
    return value;
}

int UIntToHex(std::uint32_t value, char *buffer, int options, int byteCount)
{
    int bytes = byteCount < 1 ? 1 : (byteCount > 4 ? 4 : byteCount);
    char out[10];
    int n = 0;
    if (options & HexPrefixX) {
        out[n++] = 'x';
    } else if (options & HexPrefix0x) {
        out[n++] = '0';
        out[n++] = 'x';
    }
    int digits = 2 * bytes;
    if (options & HexNoLeadingZeros) {
        while (digits > 1 && ((value >> (4 * (digits - 1))) & 15) == 0)
            --digits;
    }
    for (int d = digits - 1; d >= 0; --d)
        out[n++] = HexDigits[(value >> (4 * d)) & 15];
    return Emit(buffer, out, n);
}

int ByteToHexPair(char *buffer, std::uint8_t byte)
{
    buffer[0] = HexDigits[byte >> 4];
    buffer[1] = HexDigits[byte & 15];
    return 2;
}

std::uint8_t HexPairToByte(const char *text, int &count)
{
    std::uint32_t value = 0;
    count = text == nullptr ? 0 : AccumulateHex(text, 0, 0, 2, value);
    return static_cast<std::uint8_t>(value);
}

int HexToBytes(const char *text, int count, std::uint8_t *buffer)
{
    if (text == nullptr || count <= 0)
        return 0;
    int made = 0;
    for (int i = 0; i < count && HexValue(text[i]) >= 0;) {
        int value = HexValue(text[i++]);
        if (i < count && HexValue(text[i]) >= 0)
            value = value << 4 | HexValue(text[i++]);
        if (buffer != nullptr)
            buffer[made] = static_cast<std::uint8_t>(value);
        ++made;
    }
    return made;
}

int BytesToNibbles(const std::uint8_t *bytes, int n, std::uint8_t *buffer)
{
    if (bytes == nullptr || n <= 0)
        return 0;
    if (buffer != nullptr) {
        for (int i = 0; i < n; ++i) {
            buffer[2 * i] = bytes[i] >> 4;
            buffer[2 * i + 1] = bytes[i] & 15;
        }
    }
    return 2 * n;
}

int NibblesToBytes(const std::uint8_t *nibbles, int n, std::uint8_t *buffer)
{
    if (nibbles == nullptr || n <= 0)
        return 0;
    int made = n / 2;
    if (buffer != nullptr) {
        for (int i = 0; i < made; ++i)
            buffer[i] = static_cast<std::uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
    }
    return made;
}
