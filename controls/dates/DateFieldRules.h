#pragma once
// The arithmetic of the date field, apart from its windows: reading the "dd.mm.yyyy" text of its
// masked edit, the 16-bit packed form of its date, and where its drop-down calendar goes on screen.
#include "controls/dates/MonthGrid.h"
#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Types.h"

#include <cstdint>

// The date read from the field's text and whether the text names it as typed. Day, month and year are
// the numbers at characters 1-2, 4-5 and 7-10 (0 where there is no number); an invalid text reads as
// that date clamped into 1900..2222, 1..12 and the days of its month.
struct TDateFieldText {
    TYmd Date;
    bool Valid = false;
};
TDateFieldText ParseDateFieldText(const AnsiString &text);

// The first and last years whose packed form reads back as the same date: the 7-bit year field holds
// year - 1900 for the nineties and year - 2000 from 2000, and reads 90 and above as the nineties.
constexpr int PackedFieldFirstYear = 1990;
constexpr int PackedFieldLastYear = 2089;
// Day in bits 0-4, month in 5-8, year in 9-15; 0 (no date) for a year outside 1990..2089.
std::uint16_t PackDateField(const TYmd &date);
// False for 0 and for a word whose day and month do not make a date of its year.
bool UnpackDateField(std::uint16_t packed, TYmd &date);

// Where the drop-down of width x height goes for a field at `field` (screen coordinates) on a work area:
// by the quarter of the work area holding the field's centre (split at Right / 2 and Bottom / 2), below
// the field in the upper half and above it in the lower one, left edges aligned in the left half and
// right edges in the right one. A centre outside the work area keeps `current`.
TRect PlaceDropDown(const TRect &field, int width, int height, const TRect &workArea, const TRect &current);
