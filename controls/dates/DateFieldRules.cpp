#include "controls/dates/DateFieldRules.h"

namespace {
// The number in characters [from, from + count) of the text: blanks around it are allowed, anything
// else (or nothing) gives 0.
int NumberAt(const AnsiString &text, std::size_t from, std::size_t count)
{
    if (from >= text.size())
        return 0;
    std::string part = text.substr(from, count);
    std::size_t b = part.find_first_not_of(' ');
    std::size_t e = part.find_last_not_of(' ');
    if (b == std::string::npos)
        return 0;
    int value = 0;
    for (std::size_t i = b; i <= e; ++i) {
        if (part[i] < '0' || part[i] > '9')
            return 0;
        value = value * 10 + (part[i] - '0');
    }
    return value;
}
}  // namespace

TDateFieldText ParseDateFieldText(const AnsiString &text)
{
    int day = NumberAt(text, 0, 2), month = NumberAt(text, 3, 2), year = NumberAt(text, 6, 4);
    TDateFieldText r;
    r.Date = ClampYmd(year, month, day);
    r.Valid = r.Date == TYmd{year, month, day};
    return r;
}

std::uint16_t PackDateField(const TYmd &date)
{
    if (date.Year < PackedFieldFirstYear || date.Year > PackedFieldLastYear)
        return 0;
    int yearField = date.Year - (date.Year < 2000 ? 1900 : 2000);
    return static_cast<std::uint16_t>(date.Day + (date.Month << 5) + (yearField << 9));
}

bool UnpackDateField(std::uint16_t packed, TYmd &date)
{
    if (packed == 0)
        return false;
    int yearField = packed >> 9;
    TYmd d{yearField >= 90 ? 1900 + yearField : 2000 + yearField, (packed >> 5) & 15, packed & 31};
    if (!(ClampYmd(d.Year, d.Month, d.Day) == d))
        return false;
    date = d;
    return true;
}

TRect PlaceDropDown(const TRect &field, int width, int height, const TRect &workArea, const TRect &current)
{
    int cx = (field.Left + field.Right) / 2, cy = (field.Top + field.Bottom) / 2;
    if (cx < workArea.Left || cx >= workArea.Right || cy < workArea.Top || cy >= workArea.Bottom)
        return current;
    bool left = cx < workArea.Right / 2, upper = cy < workArea.Bottom / 2;
    int x = left ? field.Left : field.Right - width;
    int y = upper ? field.Bottom : field.Top - height;
    return Bounds(x, y, width, height);
}
