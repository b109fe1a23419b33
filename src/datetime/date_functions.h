// The date and time functions behind the exported entry points, on plain day
// counts (whole days since 1899-12-30), times of day and texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/calendar.h"
#include "frame/timestamp.h"

namespace qor {

// The weekday of a day as a German day name or a digit: style 1..10 gives
// the first `style` characters of "Montag" ... "Sonntag", -10..-1 the first
// -style characters of "MONTAG" ... "SONNTAG", any other style the digit
// '1' (Monday) .. '7' (Sunday).
std::string DayNameText(int64_t day, int32_t style);

// Days of the month; the year is completed by the century rule (below 70 is
// 20xx, 70..99 is 19xx). 0 for a month outside 1..12. For February the
// completed year must lie in 0..65535 (RangeError otherwise).
int16_t DaysOfMonth(int16_t month, int32_t year);

// 1 when the text, trimmed of bytes up to 32 at both ends, reads as a date
// (a date that reads as 0.0, 30.12.1899 00:00, counts as none), else 0.
int32_t IsDateText(std::string_view text) noexcept;

// The day count of a date text after dropping every character that is not a
// blank, a point, a digit or a colon; 0.0 when that is no date.
TDateTime DateTimeTextValue(std::string_view text);

// "DD.MM.YYYY HH:MM:SS" of a day and a time of day in 1/10000 s (seconds cut).
// RangeError for a year outside 1..9999 or a time of day past 23:59:59.9999.
std::string DateTimeText(int64_t day, uint32_t time_units);

// Whole seconds between two day counts, never negative, rounded to the
// nearest (halves to even). RangeError beyond 2147483647.
int32_t SecondsBetween(TDateTime a, TDateTime b);

// The ISO 8601 week of a day as "WW-YYYY" ('05-2023', '53-2020').
std::string WeekOfDateText(int64_t day);

// The Monday of a week text: week and year separated by anything but digits
// ('5-2023', '05/2023', '5 2023', '05.23'), or one number WWYY (below 5400)
// or YYYYWW. Two-digit years by the century rule; no year, or a year outside
// 1970..2069, means the current year. Week 0 and weeks above 53 run on
// backwards or forwards without complaint.
int64_t DateOfWeek(std::string_view text);
int64_t DateOfWeek(std::string_view text, int32_t current_year);

// JahrMo keys: year * 100 + month.
int32_t JahrMoOfDay(int64_t day);
int32_t DateStrToJahrMo(std::string_view text);
// The first day of the key's month by reading "01.MM.YYYY" as a date text,
// so that 2302 is 1.2.2023; 0.0 for a key that gives no date.
TDateTime JahrMoToDate(int32_t key);
// "01.MM.YYYY" of any key, unchecked ('01.13.2023', '01.00.0000').
std::string JahrMoToDateStr(int32_t key);

}  // namespace qor
