// The packed date fields of records as texts. The field's 7-bit year value counts from 2000 below 90
// and from 1900 from 90 on, so it holds the years 1990-2089.
#include <cstdio>

#include "framework/runtime/Clock.h"
#include "storage/compound/fun_struct.h"

namespace {

constexpr int FirstYear = 1990;
constexpr int LastYear = 2089;
constexpr int CenturyTurn = 90;  // year values from here on mean 19xx

AnsiString Digits2(int value)
{
    char text[3] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10), 0};
    return text;
}

AnsiString DateText(int day, int month, int year)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", day % 100, month % 100, year % 10000);
    return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Up to nine decimal digits at pos; false without a digit.
bool ReadNumber(const AnsiString &text, size_t &pos, int &value)
{
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < 9 && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

bool Expect(const AnsiString &text, size_t &pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

bool FixedNumber(const AnsiString &text, size_t from, size_t count, int &value)
{
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

uint16_t PackFieldDate(int day, int month, int year)
{
    if (day < 0 || day > 31 || month < 0 || month > 12 || year < FirstYear || year > LastYear)
        return 0;
    const int value = year >= 2000 ? year - 2000 : year - 1900;
    return static_cast<uint16_t>(day + month * 32 + value * 512);
}

void UnpackFieldDate(uint16_t packed, int &day, int &month, int &year)
{
    day = packed & 31;
    month = packed >> 5 & 15;
    const int value = packed >> 9;
    year = value >= CenturyTurn ? 1900 + value : 2000 + value;
}

uint32_t PackFieldDateTime(int day, int month, int year, int hour, int minute, int second)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return 0;
    return static_cast<uint32_t>(PackFieldDate(day, month, year)) << 16 |
           static_cast<uint32_t>(hour * 2048 + minute * 32 + second / 2);
}

AnsiString FieldDateText(uint16_t packed)
{
    int day, month, year;
    UnpackFieldDate(packed, day, month, year);
    return DateText(day, month, year);
}

AnsiString FieldDateTimeText(uint32_t packed)
{
    AnsiString text = FieldDateText(static_cast<uint16_t>(packed >> 16));
    const uint32_t time = packed & 0xFFFF;
    if (time != 0)
        text += "/" + Digits2(static_cast<int>(time >> 11)) + "." + Digits2(static_cast<int>(time >> 5 & 63)) + "." +
                Digits2(static_cast<int>(time & 31) * 2);
    return text;
}

AnsiString TodayDateText()
{
    unsigned short year, month, day;
    DecodeDate(CurrentClock().Now(), year, month, day);
    return DateText(day, month, year);
}

int ParseDateText(const AnsiString &text, uint16_t &packed, int &month, int &year, bool zeroDateAllowed)
{
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    AnsiString date = text.substr(first, last - first);
    if (zeroDateAllowed && date == "00.00.2000")
        date = "01.01.2000";

    size_t pos = 0;
    int d = 0, m = 0, y = 0;
    if (!ReadNumber(date, pos, d) || !Expect(date, pos, '.') || !ReadNumber(date, pos, m) || !Expect(date, pos, '.') ||
        !ReadNumber(date, pos, y) || pos != date.size())
        return 1;
    if (y < 100)
        y += y < CenturyTurn ? 2000 : 1900;
    if (m < 1 || m > 12 || y < FirstYear || y > LastYear)
        return 1;
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int monthDays = m == 2 && y % 4 == 0 ? 29 : days[m - 1];
    if (d < 1 || d > monthDays)
        return 1;
    packed = PackFieldDate(d, m, y);
    month = m;
    year = y;
    return 0;
}

bool ReadFixedDateText(const AnsiString &text, int &day, int &month, int &year)
{
    int d, m, y;
    if (text.size() < 10 || !FixedNumber(text, 0, 2, d) || !FixedNumber(text, 3, 2, m) || !FixedNumber(text, 6, 4, y))
        return false;
    day = d;
    month = m;
    year = y;
    return true;
}
