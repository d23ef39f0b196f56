// Date-time conversions that need the system's time-zone rules.
#include <windows.h>

#include "framework/runtime/SysUtils.h"

TDateTime UtcToLocalDateTime(TDateTime utc)
{
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(utc, y, mo, d);
    DecodeTime(utc, h, mi, s, ms);
    SYSTEMTIME universal{y, mo, 0, d, h, mi, s, ms};
    SYSTEMTIME local;
    TDateTime date;
    // The rules in force on that date (daylight saving included), not today's offset.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
        !TryEncodeDate(local.wYear, local.wMonth, local.wDay, date))
        return utc;
    return date + EncodeTime(local.wHour, local.wMinute, local.wSecond, local.wMilliseconds);
}
