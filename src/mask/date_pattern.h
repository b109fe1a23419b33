// Date-time patterns of fn_FormatDate: "yyyy-mm-dd", "dddd d mmmm", "h:nn am/pm".
#pragma once

#include <string>
#include <string_view>

#include "frame/timestamp.h"

namespace qor {

// A date and time split into its parts.
struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int weekday = 6;  // 1 Monday .. 7 Sunday
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// A day count split into calendar date, weekday and time of day, the time
// rounded to the millisecond (a time that would round up to the next day
// stays at 23:59:59.999). Raises a range error beyond the calendar.
DateTimeParts SplitDateTime(TDateTime value);

// Writes the parts by pattern. Tokens, letters in either case:
//   d dd       day without / with leading zero
//   ddd dddd   short / long English day name ("Wed", "Wednesday")
//   ddddd      short date form "d/m/y";  dddddd (or more d) long date form
//              'dd" "mmmm" "yyyy'
//   m mm       month without / with leading zero; the minute right after an
//              hour token (an "h" run, a ":" between allowed)
//   mmm mmmm   short / long English month name ("Feb", "February")
//   y yy       two-digit year;  yyy yyyy  four-digit year
//   h hh       hour without / with leading zero; 12-hour clock (0 and 12
//              o'clock written 12) when an am/pm token follows
//   n nn, s ss minute, second without / with leading zero
//   z zz, zzz  milliseconds without / with leading zeros (three digits)
//   t, tt      short time form "hh:nn", long time form "hh:nn:ss"
//   c          short date form, a blank and the long time form
//   am/pm a/p  the marker in the letter case of the pattern ("am" or "pm",
//              "a" or "p"); ampm writes "AM" or "PM"
//   / :        the date separator "-" and the time separator ":"
//   '...' "..." text copied without its quotes; an unbalanced quote copies
//              the rest of the pattern
// A run of one letter counts as one token ("mmmmm" is the long month name);
// every other character is copied as it stands.
std::string FormatDateTimeParts(std::string_view pattern, const DateTimeParts& parts);

// The day count written by pattern.
std::string FormatDateTime(std::string_view pattern, TDateTime value);

// fn_FormatDate: the date text read day first ('1.2.2023 12:30') and written
// by pattern; a text that is no date writes 30.12.1899 00:00.
std::string FormatDateText(std::string_view pattern, std::string_view date_text);

}  // namespace qor
