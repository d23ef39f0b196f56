#include "base/numbers/NumericHelpers.h"

#include <cstring>
#include <utility>

#include "base/memory/Bytes.h"
#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"

namespace {

// One read of the shared bounded reader at the cursor: false (cursor and value kept) when the value
// is not all there.
template <typename T, bool (TByteReader::*Read)(T &)>
bool Take(const uint8_t *&cursor, const uint8_t *end, T &value)
{
    TByteReader reader = TByteReader::Between(cursor, end);
    if (!(reader.*Read)(value))
        return false;
    cursor = reader.Cursor();
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int32_t Clamp32(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

bool ReadU8(const uint8_t *&cursor, const uint8_t *end, uint8_t &value)
{
    return Take<uint8_t, &TByteReader::ReadU8>(cursor, end, value);
}

bool ReadU16(const uint8_t *&cursor, const uint8_t *end, uint16_t &value)
{
    return Take<uint16_t, &TByteReader::ReadU16>(cursor, end, value);
}

bool ReadU32(const uint8_t *&cursor, const uint8_t *end, uint32_t &value)
{
    return Take<uint32_t, &TByteReader::ReadU32>(cursor, end, value);
}

bool ReadDword(const uint8_t *&cursor, const uint8_t *end, int32_t &value)
{
    uint32_t v;
    if (!ReadU32(cursor, end, v))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ReadF32(const uint8_t *&cursor, const uint8_t *end, float &value)
{
    uint32_t bits;
    if (!ReadU32(cursor, end, bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ReadF64(const uint8_t *&cursor, const uint8_t *end, double &value)
{
    uint64_t bits;
    if (!Take<uint64_t, &TByteReader::ReadU64>(cursor, end, bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ReadShortText(const uint8_t *&cursor, const uint8_t *end, AnsiString &text)
{
    TByteReader reader = TByteReader::Between(cursor, end);
    uint16_t length = 0;
    std::string_view bytes;
    if (!reader.ReadU16(length) || !reader.ReadText(length, bytes))
        return false;
    text.assign(bytes);
    cursor = reader.Cursor();
    return true;
}

int32_t CursorReadInt(const char *&cursor)
{
    int taken = 0;
    bool negative = false;
    if (*cursor == '-') {
        negative = true;
        ++cursor;
        ++taken;
    }
    int64_t value = 0;
    for (; taken < 29 && IsDigit(*cursor); ++cursor, ++taken) {
        if (value <= int64_t(INT32_MAX) + 1)
            value = value * 10 + (*cursor - '0');
    }
    return Clamp32(negative ? -value : value);
}

double CursorReadFloat(const char *&cursor)
{
    int counter = 0;
    return CursorReadFloat(cursor, counter);
}

double CursorReadFloat(const char *&cursor, int &counter)
{
    AnsiString text;
    bool digits = false, comma = false;
    const char *p = cursor;
    if (*p == '-' || *p == '+')
        text += *p++;
    for (; text.size() < 28; ++p) {
        if (IsDigit(*p))
            digits = true;
        else if (*p == ',' && !comma)
            comma = true;
        else
            break;
        text += *p == ',' ? '.' : *p;  // StrToFloat takes '.' whatever the separator is
    }
    counter += static_cast<int>(p - cursor);
    cursor = p;
    return digits ? StrToFloat(text) : 0.0;
}

int CursorReadUntil(const char *&cursor, char stop1, char stop2, AnsiString &text, bool skipStop1)
{
    const char *p = cursor;
    while (*p != 0 && *p != stop1 && *p != stop2)
        ++p;
    text.assign(cursor, p);
    const int count = static_cast<int>(p - cursor);
    if (skipStop1 && *p != 0 && *p == stop1)
        ++p;
    cursor = p;
    return count;
}

AnsiString IntToPaddedText(int32_t value, int width, char fill, int radix)
{
    if (width == 0)
        return IntToStr(value);
    if (width > 31)
        width = 31;
    if (radix < 2 || radix > 36)
        radix = 10;
    AnsiString digits;
    // As the C library writes it: a sign only in radix 10, the bit pattern in the others.
    uint32_t magnitude = static_cast<uint32_t>(value);
    const bool negative = radix == 10 && value < 0;
    if (negative)
        magnitude = 0u - magnitude;
    do {
        digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % radix]);
        magnitude /= radix;
    } while (magnitude != 0);
    if (negative)
        digits.insert(digits.begin(), '-');
    if (static_cast<int>(digits.size()) < width)
        digits.insert(digits.begin(), width - digits.size(), fill);
    return digits;
}

int32_t StringToIntOrZero(const AnsiString &text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        if (value <= int64_t(INT32_MAX) + 1)
            value = value * 10 + (text[i] - '0');
    return Clamp32(negative ? -value : value);
}

void UseDecimalComma()
{
    if (DecimalSeparator != ',')
        DecimalSeparator = ',';
}

double TextToFloatComma(const AnsiString &text)
{
    if (text == "-")
        return 0;
    UseDecimalComma();
    if (text.empty())
        return 0;
    return StrToFloat(text);
}

namespace {

// Hoare partition around the item that was in the middle, followed by index through the exchanges
// since the comparison sees only indexes. I and J are held inside the range, so a comparison that
// contradicts itself can spoil the order but never reach outside the list. Each pass leaves two
// strictly smaller parts; the smaller is sorted recursively, so the depth stays logarithmic.
void QuickSort(TList &list, int lo, int hi, const TListIndexCompare &compare)
{
    while (lo < hi) {
        int i = lo, j = hi;
        int pivot = lo + (hi - lo) / 2;
        do {
            while (i < hi && compare(list, i, pivot) < 0)
                ++i;
            while (j > lo && compare(list, j, pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    list.Exchange(i, j);
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                QuickSort(list, lo, j, compare);
            lo = i;
        } else {
            if (i < hi)
                QuickSort(list, i, hi, compare);
            hi = j;
        }
    }
}

}  // namespace

void SortList(TList &list, const TListIndexCompare &compare)
{
    if (list.Count() >= 2)
        QuickSort(list, 0, list.Count() - 1, compare);
}
