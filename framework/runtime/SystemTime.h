#pragma once
// The system's broken-down time record, with the fields and layout <windows.h> gives it, so that
// code which fills or reads one builds the same way without the Windows headers. Its declaration is
// guarded the way the Windows headers guard theirs: whichever comes first declares it, in either
// order.
#include <cstdint>

#ifndef _SYSTEMTIME_
#define _SYSTEMTIME_
typedef struct _SYSTEMTIME {
    std::uint16_t wYear;
    std::uint16_t wMonth;
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;
#endif
