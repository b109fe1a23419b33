// The one calendar of the library: the proleptic Gregorian calendar over the
// working day count (whole days since 1899-12-30). Every date function splits
// and builds dates here; only the current date and time come from the clock.
#pragma once

#include <cstdint>
#include <ctime>

#include "frame/errors.h"
#include "frame/timestamp.h"

namespace qor {

struct CivilDate {
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;    // 1..31
};

// Raised when a date is built from an impossible year, month and day; the
// message is "<year>-<month>-<day> is not a valid date specification".
class DateError : public UdfError {
 public:
  DateError(int64_t year, int64_t month, int64_t day);
};

// Gregorian leap years: divisible by 4, except centuries not divisible by 400.
constexpr bool IsLeapYear(int64_t year) noexcept {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days of the month in that year; 0 for a month outside 1..12.
int32_t DaysInMonth(int64_t year, int64_t month) noexcept;

// Whether year (1..9999), month and day form a date.
bool IsValidDate(int64_t year, int64_t month, int64_t day) noexcept;

// The day count of a calendar date; no checks (any year, month 1..12, and a
// day beyond the month's end runs on into the next month).
int64_t DaysFromCivil(int64_t year, int32_t month, int64_t day) noexcept;

// The day count of a valid date (years 1..9999); raises DateError otherwise.
int64_t EncodeDate(int64_t year, int64_t month, int64_t day);

// The calendar date of a day count. Raises RangeError when the year leaves
// the 32-bit range.
CivilDate CivilFromDays(int64_t day);

// The fixed-day term: day n of the month after the one holding `day` (whole
// days since 1899-12-30). A day 29..31 beyond that month's length becomes its
// last day; a day above 31 beyond it is counted on from the first of that
// month ('45' is the 45th day from it). Raises RangeError for n above 65535
// and DateError for a date outside the years 1..9999.
int64_t FixedDayOfNextMonth(int64_t day, int64_t n);

// Weekday of a day count, Monday = 1 ... Sunday = 7.
int32_t DayOfWeek(int64_t day) noexcept;

// The local date (the process's time zone) at a moment of the clock.
CivilDate LocalDate(std::time_t moment);

// Today's local date from the system clock: LocalDate of now.
CivilDate Today();

}  // namespace qor
