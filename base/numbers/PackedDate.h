#pragma once
// Dates and times of day packed into 16-bit words, as record fields of the date and time types hold
// them.
//  - Packed time: bits 15-11 hour, bits 10-5 minute, bits 4-0 seconds / 2 (odd seconds are lost).
//  - Packed date: bits 15-9 year - 2000 (years 2000-2127), bits 8-5 month, bits 4-0 day.
// No field spills into its neighbour: a value too wide for its field packs as 0 there (a check
// then reports it), and a year outside 2000-2127 makes the whole date 0.
#include <cstdint>

#include "framework/runtime/SystemTime.h"

// Days of each month of a year that is not a leap year, January first.
extern const std::uint8_t DaysPerMonth[12];
// Days of the month (1-12) in the year of the packed year field, by the Gregorian rule (2100, field
// 100, is not a leap year); 0 for a month outside 1-12.
int DaysInMonth(int month, int yearField);

std::uint16_t PackTime(const SYSTEMTIME &time);
// Fills the hour, minute and second (twice the stored half-seconds); returns 0.
int UnpackTime(SYSTEMTIME &time, std::uint16_t packed);
// Reads two digits of hour, skips one separator byte, two digits of minute, one separator byte and
// at most nine digits of seconds; blanks before a part are skipped and counted. The parts after the
// NUL are missing and count as 0. An hour above 23, a minute or second above 59 or a part with a
// sign gives 0 with 0 consumed.
std::uint16_t ParseTime(const char *text, int *consumed);
// hh<sep>mm (5 bytes) or hh<sep>mm<sep>ss (8 bytes), each with its leading zero. No terminator; a
// null buffer gives the length only.
int FormatTime(std::uint16_t packed, char *buffer, char separator, bool withSeconds);
// The local time of the clock in force, packed.
std::uint16_t PackedTimeNow();

// Years from 2000 count from 2000, 100-1999 from 1900 and below 100 stand as they are (so two-digit
// years mean 2000-2099); a year that does not land in 0-127 gives 0.
std::uint16_t PackDate(int day, int month, int year);
std::uint16_t PackDateSys(const SYSTEMTIME &time);
// Fills the day, month and year (2000 + the field); returns 0.
int UnpackDate(SYSTEMTIME &time, std::uint16_t packed);
// Reads two digits of day, one separator byte, two digits of month, one separator byte and at most
// nine digits of year; blanks before a part are skipped and counted ( 17.10.90 is 17 October 1990,
// 9 bytes), nothing past the NUL is read. Years from 2000 count from 2000, 1900-1998 from 1900 and
// below 100 stand as they are; any other year (100-1899, 1999, above 2127) and a part with a sign
// give 0 with 0 consumed, which CheckPackedDate refuses.
std::uint16_t ParseDate(const char *text, int *consumed);
// 0 valid, 1 bad day (0 or beyond the month's days), 2 bad month (outside 1-12).
int CheckPackedDate(std::uint16_t packed);
// The same for a date passed in a 32-bit word: a value beyond 16 bits is no date and gives 2.
int CheckPackedDate(std::uint32_t packed);
// dd<sep>mm<sep>yy (8 bytes) or dd<sep>mm<sep>yyyy (10 bytes, the year 2000 + the field). No
// terminator; a null buffer gives the length only.
int FormatDate(std::uint16_t packed, char *buffer, char separator, bool fourDigitYear);
// The local date of the clock in force, packed.
std::uint16_t PackedDateToday();
