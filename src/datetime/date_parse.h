// The two readers of dates and times written as text. Every function of the
// library that reads a date from text goes through ParseDateTimeText; the
// separators, the field order and the century rule are fixed, never taken
// from the locale. Neither reader raises: a text it does not accept gives 0.0
// (which is also the genuine value of 30.12.1899 00:00).
#pragma once

#include <string_view>

#include "datetime/calendar.h"
#include "frame/timestamp.h"

namespace qor {

// A date written day first with points, optionally followed by a time with
// colons: '1.2.2023', '01.02.23', '1.2.2023 12:30', '1.2.2023 12:30:45'.
// - The last character always closes the field being read, whatever it is.
// - At most two points separate fields (day.month.year); a further point
//   ends the reading, and the field it would close keeps 0.
// - Colons separate hour, minute, second and a fourth, unused time field;
//   a colon before day, month and year are all read ends the reading.
// - A blank closes the month or the year. A blank right after the first
//   point takes the current month, and then a year below 70 becomes the
//   current year; so does an empty year before a blank ('15.3.  ').
// - Years below 70 mean 20xx, 70 to 99 mean 19xx, 100 and above stand as
//   written.
// - Each field is the number at its start (blanks before it and a sign are
//   read); every value must fit 0..65535, the date must exist in years
//   1..9999, and the time must be a time of day.
// The result is the day count plus the fraction of the day.
TDateTime ParseDateTimeText(std::string_view text) noexcept;

// The same with today's date given instead of read from the clock.
TDateTime ParseDateTimeText(std::string_view text, const CivilDate& today) noexcept;

// A time of day alone: '12', '12:30', '12:30:45', '12:30:45:500' (the fourth
// field is milliseconds). A text shorter than 3 characters without a colon
// is read as if a colon followed ('9' is '9:'). A blank skips a field without
// moving its start, so ' 12:30' is 00:12:30 and '12:30 45' is 12:00:30. The
// last character closes the field being read but is not part of a field that
// begins at the first character ('123' is 12:00). The result is a fraction
// of a day, 0 <= result < 1, or 0.0.
TDateTime ParseTimeText(std::string_view text) noexcept;

}  // namespace qor
