#include "base/numbers/PackedDate.h"

#include "base/numbers/NumberTextInternal.h"
#include "framework/runtime/Clock.h"
#include "framework/runtime/SysUtils.h"

const std::uint8_t DaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

namespace {

constexpr int YearBase = 2000;
constexpr int YearFieldMax = 127;

// The value in its field of `bits` bits, or 0 when it does not fit there.
unsigned Field(int value, int bits) { return value >= 0 && value < (1 << bits) ? static_cast<unsigned>(value) : 0u; }

std::uint16_t PackTimeParts(int hour, int minute, int second)
{
    return static_cast<std::uint16_t>(Field(hour, 5) << 11 | Field(minute, 6) << 5 | Field(second / 2, 5));
}

// 0 when the year field does not fit: the whole date is then no date.
std::uint16_t PackDateParts(int day, int month, int yearField)
{
    if (yearField < 0 || yearField > YearFieldMax)
        return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned>(yearField) << 9 | Field(month, 4) << 5 | Field(day, 5));
}

int Day(std::uint16_t packed) { return packed & 31; }
int Month(std::uint16_t packed) { return (packed >> 5) & 15; }
int YearField(std::uint16_t packed) { return packed >> 9; }

// The most digits of a year or of the seconds; day, month, hour and minute have two.
constexpr int LastFieldDigits = 9;

// One number of a date or time text, read by the digit reader: leading blanks, one sign, at most
// `digits` digits, nothing past the NUL. Moves past it and past one separator byte after it. False
// when a sign stands before the digits: a signed field is no date or time.
bool ReadPart(const char *&cursor, int digits, bool separatorFollows, int &value)
{
    std::uint32_t read = 0;
    char sign = 0;
    cursor += numtext::ReadSignedDigits(cursor, 0, digits, read, sign);
    value = static_cast<int>(read);
    if (separatorFollows && *cursor != 0)
        ++cursor;
    return sign == 0;
}

void Write2(char *out, int value)
{
    out[0] = static_cast<char>('0' + value / 10 % 10);
    out[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

int DaysInMonth(int month, int yearField)
{
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && IsLeapYear(static_cast<unsigned short>(YearBase + yearField)))
        return 29;
    return DaysPerMonth[month - 1];
}

std::uint16_t PackTime(const SYSTEMTIME &time) { return PackTimeParts(time.wHour, time.wMinute, time.wSecond); }

int UnpackTime(SYSTEMTIME &time, std::uint16_t packed)
{
    time.wHour = static_cast<std::uint16_t>(packed >> 11);
    time.wMinute = static_cast<std::uint16_t>((packed >> 5) & 63);
    time.wSecond = static_cast<std::uint16_t>((packed & 31) * 2);
    return 0;
}

std::uint16_t ParseTime(const char *text, int *consumed)
{
    if (consumed != nullptr)
        *consumed = 0;
    if (text == nullptr)
        return 0;
    const char *cursor = text;
    int hour = 0, minute = 0, second = 0;
    bool ok = ReadPart(cursor, 2, true, hour) && ReadPart(cursor, 2, true, minute) &&
              ReadPart(cursor, LastFieldDigits, false, second);
    if (!ok || hour > 23 || minute > 59 || second > 59)
        return 0;
    if (consumed != nullptr)
        *consumed = static_cast<int>(cursor - text);
    return PackTimeParts(hour, minute, second);
}

int FormatTime(std::uint16_t packed, char *buffer, char separator, bool withSeconds)
{
    int length = withSeconds ? 8 : 5;
    if (buffer != nullptr) {
        Write2(buffer, packed >> 11);
        buffer[2] = separator;
        Write2(buffer + 3, (packed >> 5) & 63);
        if (withSeconds) {
            buffer[5] = separator;
            Write2(buffer + 6, (packed & 31) * 2);
        }
    }
    return length;
}

std::uint16_t PackedTimeNow()
{
    unsigned short hour, minute, second, msec;
    DecodeTime(CurrentClock().Now(), hour, minute, second, msec);
    return PackTimeParts(hour, minute, second);
}

std::uint16_t PackDate(int day, int month, int year)
{
    int field = year >= YearBase ? year - YearBase : (year >= 100 ? year - 1900 : year);
    return PackDateParts(day, month, field);
}

std::uint16_t PackDateSys(const SYSTEMTIME &time)
{
    return PackDateParts(time.wDay, time.wMonth, time.wYear - YearBase);
}

int UnpackDate(SYSTEMTIME &time, std::uint16_t packed)
{
    time.wDay = static_cast<std::uint16_t>(Day(packed));
    time.wMonth = static_cast<std::uint16_t>(Month(packed));
    time.wYear = static_cast<std::uint16_t>(YearBase + YearField(packed));
    return 0;
}

std::uint16_t ParseDate(const char *text, int *consumed)
{
    if (consumed != nullptr)
        *consumed = 0;
    if (text == nullptr)
        return 0;
    const char *cursor = text;
    int day = 0, month = 0, year = 0;
    if (!ReadPart(cursor, 2, true, day) || !ReadPart(cursor, 2, true, month) ||
        !ReadPart(cursor, LastFieldDigits, false, year))
        return 0;
    int field;
    if (year >= YearBase)
        field = year - YearBase;
    else if (year >= 1900 && year <= 1998)
        field = year - 1900;
    else if (year < 100)
        field = year;
    else
        return 0;
    std::uint16_t packed = PackDateParts(day, month, field);
    if (packed == 0)
        return 0;
    if (consumed != nullptr)
        *consumed = static_cast<int>(cursor - text);
    return packed;
}

int CheckPackedDate(std::uint16_t packed)
{
    int month = Month(packed);
    if (month < 1 || month > 12)
        return 2;
    int day = Day(packed);
    if (day == 0 || day > DaysInMonth(month, YearField(packed)))
        return 1;
    return 0;
}

int CheckPackedDate(std::uint32_t packed)
{
    if (packed > 0xFFFFu)
        return 2;
    return CheckPackedDate(static_cast<std::uint16_t>(packed));
}

int FormatDate(std::uint16_t packed, char *buffer, char separator, bool fourDigitYear)
{
    int length = fourDigitYear ? 10 : 8;
    if (buffer != nullptr) {
        Write2(buffer, Day(packed));
        buffer[2] = separator;
        Write2(buffer + 3, Month(packed));
        buffer[5] = separator;
        int year = YearBase + YearField(packed);
        if (fourDigitYear) {
            Write2(buffer + 6, year / 100);
            Write2(buffer + 8, year % 100);
        } else {
            Write2(buffer + 6, year % 100);
        }
    }
    return length;
}

std::uint16_t PackedDateToday()
{
    unsigned short year, month, day;
    DecodeDate(CurrentClock().Now(), year, month, day);
    return PackDate(day, month, year);
}
