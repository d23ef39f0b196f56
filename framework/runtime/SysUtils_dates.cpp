// TDateTime arithmetic and formatting.
#include <cmath>

#include "framework/runtime/Clock.h"
#include "framework/runtime/SysUtils.h"

namespace {
constexpr long long kMsPerDay = 86400000;
// Days from 1 January 1970 back to 30 December 1899.
constexpr long long kUnixToDelphi = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long &y, unsigned &m, unsigned &d)
{
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

// Whole days and milliseconds of the day. The fraction is the time of day on either side of the
// epoch (a negative value's fraction counts forwards too, as the framework stores it).
void Split(TDateTime value, long long &days, long long &ms)
{
    double whole = std::trunc(value);
    days = static_cast<long long>(whole);
    ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (ms >= kMsPerDay)
        ms = kMsPerDay - 1;
}

AnsiString Pad(unsigned v, size_t width)
{
    AnsiString s = std::to_string(v);
    if (s.size() < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

// Length of the run of `c` (either case) starting at i.
size_t Run(const AnsiString &f, size_t i, char c)
{
    size_t n = 0;
    while (i + n < f.size() && (f[i + n] == c || f[i + n] == c - 32))
        ++n;
    return n;
}
}  // namespace

bool IsLeapYear(unsigned short year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

unsigned short DaysInAMonth(unsigned short year, unsigned short month)
{
    static const unsigned short kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(unsigned short year, unsigned short month, unsigned short day, TDateTime &result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    result = static_cast<double>(DaysFromCivil(year, month, day) + kUnixToDelphi);
    return true;
}

TDateTime EncodeDate(unsigned short year, unsigned short month, unsigned short day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError("Invalid argument to date encode");
    return r;
}

TDateTime EncodeTime(unsigned short hour, unsigned short min, unsigned short sec, unsigned short msec)
{
    if (hour > 23 || min > 59 || sec > 59 || msec > 999)
        throw EConvertError("Invalid argument to time encode");
    return static_cast<double>(((hour * 60LL + min) * 60 + sec) * 1000 + msec) / kMsPerDay;
}

void DecodeDate(TDateTime value, unsigned short &year, unsigned short &month, unsigned short &day)
{
    long long days, ms;
    Split(value, days, ms);
    long long y;
    unsigned m, d;
    CivilFromDays(days - kUnixToDelphi, y, m, d);
    year = static_cast<unsigned short>(y < 0 ? 0 : (y > 65535 ? 65535 : y));
    month = static_cast<unsigned short>(m);
    day = static_cast<unsigned short>(d);
}

void DecodeTime(TDateTime value, unsigned short &hour, unsigned short &min, unsigned short &sec, unsigned short &msec)
{
    long long days, ms;
    Split(value, days, ms);
    msec = static_cast<unsigned short>(ms % 1000);
    ms /= 1000;
    sec = static_cast<unsigned short>(ms % 60);
    ms /= 60;
    min = static_cast<unsigned short>(ms % 60);
    hour = static_cast<unsigned short>(ms / 60);
}

TDateTime UnixTimeToDateTime(long long seconds)
{
    long long days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    return static_cast<double>(days + kUnixToDelphi) + static_cast<double>(rest) / 86400.0;
}

int DayOfWeek(TDateTime value)
{
    long long days, ms;
    Split(value, days, ms);
    // 30 December 1899 was a Saturday.
    long long r = (days + 6) % 7;
    if (r < 0)
        r += 7;
    return static_cast<int>(r) + 1;
}

TDateTime Now() { return CurrentClock().Now(); }
TDateTime Date() { return std::trunc(Now()); }
TDateTime Time()
{
    TDateTime n = Now();
    return n - std::trunc(n);
}

namespace {
// Genitive, as a date with its day says it.
const char *const monthNames[12] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                    "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
}  // namespace

AnsiString FormatDateTime(const AnsiString &format, TDateTime value)
{
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    AnsiString out;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        char c = format[i];
        char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        if (c == '"' || c == '\'') {
            size_t end = format.find(c, i + 1);
            if (end == AnsiString::npos)
                end = format.size();
            out.append(format, i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        size_t n = (lc >= 'a' && lc <= 'z') ? Run(format, i, lc) : 0;
        switch (lc) {
        case 'd':
            out += n >= 2 ? Pad(d, 2) : Pad(d, 1);
            n = n >= 2 ? 2 : 1;
            afterHour = false;
            break;
        case 'm':
            if (n >= 4 && !afterHour) {
                out += monthNames[mo >= 1 && mo <= 12 ? mo - 1 : 0];
                n = 4;
                afterHour = false;
                break;
            }
            if (afterHour)
                out += n >= 2 ? Pad(mi, 2) : Pad(mi, 1);
            else
                out += n >= 2 ? Pad(mo, 2) : Pad(mo, 1);
            n = n >= 2 ? 2 : 1;
            afterHour = false;
            break;
        case 'y':
            if (n >= 3) {
                out += Pad(y, 4);
                n = 4 <= n ? 4 : n;
            } else {
                out += Pad(y % 100, 2);
                n = n >= 2 ? 2 : 1;
            }
            afterHour = false;
            break;
        case 'h':
            out += n >= 2 ? Pad(h, 2) : Pad(h, 1);
            n = n >= 2 ? 2 : 1;
            afterHour = true;
            break;
        case 'n':
            out += n >= 2 ? Pad(mi, 2) : Pad(mi, 1);
            n = n >= 2 ? 2 : 1;
            afterHour = false;
            break;
        case 's':
            out += n >= 2 ? Pad(s, 2) : Pad(s, 1);
            n = n >= 2 ? 2 : 1;
            afterHour = false;
            break;
        case 'z':
            out += n >= 3 ? Pad(ms, 3) : Pad(ms, 1);
            n = n >= 3 ? 3 : 1;
            afterHour = false;
            break;
        default:
            out.push_back(c);
            n = 1;
            break;
        }
        i += n;
    }
    return out;
}

AnsiString DateToStr(TDateTime value) { return FormatDateTime("dd.mm.yyyy", value); }
AnsiString TimeToStr(TDateTime value) { return FormatDateTime("hh:nn:ss", value); }
AnsiString DateTimeToStr(TDateTime value) { return FormatDateTime("dd.mm.yyyy hh:nn:ss", value); }

TDateTime FileDateToDateTime(int fileDate)
{
    unsigned v = static_cast<unsigned>(fileDate);
    unsigned short year = static_cast<unsigned short>(((v >> 25) & 0x7F) + 1980);
    unsigned short month = static_cast<unsigned short>((v >> 21) & 0x0F);
    unsigned short day = static_cast<unsigned short>((v >> 16) & 0x1F);
    unsigned short hour = static_cast<unsigned short>((v >> 11) & 0x1F);
    unsigned short min = static_cast<unsigned short>((v >> 5) & 0x3F);
    unsigned short sec = static_cast<unsigned short>((v & 0x1F) * 2);
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date) || hour > 23 || min > 59 || sec > 59)
        throw EConvertError("Invalid file date");
    return date + EncodeTime(hour, min, sec, 0);
}

int DateTimeToFileDate(TDateTime value)
{
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    if (y < 1980 || y > 2107)
        return 0;
    DecodeTime(value, h, mi, s, ms);
    unsigned date = (static_cast<unsigned>(y - 1980) << 9) | (mo << 5) | d;
    unsigned time = (static_cast<unsigned>(h) << 11) | (mi << 5) | (s / 2);
    return static_cast<int>((date << 16) | time);
}
