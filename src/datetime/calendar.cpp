#include "datetime/calendar.h"

#include <ctime>
#include <string>

namespace qor {

namespace {

// Days from 0000-03-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr int64_t kMarchZeroToEpoch = 693899;
constexpr int64_t kDaysPer400Years = 146097;

int64_t FloorDiv(int64_t a, int64_t b) noexcept {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

DateError::DateError(int64_t year, int64_t month, int64_t day)
    : UdfError(std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
               " is not a valid date specification") {}

int32_t DaysInMonth(int64_t year, int64_t month) noexcept {
  static constexpr int32_t kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kLength[month - 1];
}

bool IsValidDate(int64_t year, int64_t month, int64_t day) noexcept {
  return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

// Counts in years that begin on 1 March, so that the leap day is the last day
// of its year; 400 years always hold the same number of days.
int64_t DaysFromCivil(int64_t year, int32_t month, int64_t day) noexcept {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = FloorDiv(y, 400);
  const int64_t year_of_era = y - era * 400;                            // 0..399
  const int64_t shifted_month = month > 2 ? month - 3 : month + 9;      // March = 0
  const int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;  // 0..365
  const int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * kDaysPer400Years + day_of_era - kMarchZeroToEpoch;
}

int64_t EncodeDate(int64_t year, int64_t month, int64_t day) {
  if (!IsValidDate(year, month, day)) throw DateError(year, month, day);
  return DaysFromCivil(year, static_cast<int32_t>(month), day);
}

CivilDate CivilFromDays(int64_t day) {
  const int64_t z = day + kMarchZeroToEpoch;
  const int64_t era = FloorDiv(z, kDaysPer400Years);
  const int64_t day_of_era = z - era * kDaysPer400Years;  // 0..146096
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;  // March = 0
  const int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  CivilDate out;
  out.year = CheckedInt32(year);
  out.month = static_cast<int32_t>(month);
  out.day = static_cast<int32_t>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  return out;
}

int64_t FixedDayOfNextMonth(int64_t day, int64_t n) {
  if (n > 65535) throw RangeError();
  const CivilDate start = CivilFromDays(day);
  int64_t year = start.year;
  int64_t month = start.month + 1;
  if (month > 12) {
    month = 1;
    ++year;
  }
  const int64_t length = DaysInMonth(year, month);
  if (n <= 31 && n > length) n = length;
  if (n > length) return EncodeDate(year, month, 1) + n - 1;
  return EncodeDate(year, month, n);
}

int32_t DayOfWeek(int64_t day) noexcept {
  // Day 0, 30.12.1899, was a Saturday.
  int64_t r = (day + 5) % 7;
  if (r < 0) r += 7;
  return static_cast<int32_t>(r + 1);
}

CivilDate LocalDate(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

CivilDate Today() { return LocalDate(std::time(nullptr)); }

}  // namespace qor
