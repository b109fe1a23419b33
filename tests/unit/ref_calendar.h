// The C library's calendar, independent of the library's own, as a reference
// for the date tests: day counts (days since 1899-12-30; UTC seconds since
// 1970 start at day 25569) from a possibly unnormalised year, month and day,
// and back.
#pragma once

#include <cstdint>
#include <ctime>

namespace qortest {

inline int64_t RefDays(int year, int month, int day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = 12;
  return (timegm(&t) - 12 * 3600) / 86400 + 25569;
}

inline std::tm RefSplit(int64_t day) {
  std::time_t secs = static_cast<std::time_t>((day - 25569) * 86400 + 12 * 3600);
  std::tm t{};
  gmtime_r(&secs, &t);
  return t;
}

inline int RefMonthLength(int year, int month) {
  return static_cast<int>(RefDays(year, month + 1, 1) - RefDays(year, month, 1));
}

}  // namespace qortest
