#include "accounting/booking.h"

#include <ctime>
#include <limits>

#include <gtest/gtest.h>

#include "datetime/calendar.h"
#include "frame/errors.h"
#include "ref_calendar.h"

namespace qor {
namespace {

using qortest::RefDays;
using qortest::RefMonthLength;
using qortest::RefSplit;

TEST(Buchungssumme, SignAndAddends) {
  struct Case {
    const char* side;
    double amount, condition, first, second, result;
  } cases[] = {{"H", 100, 0, 19, 1, -80},  {"S", 100, 0, 19, 1, 120}, {"H", 100, 1, 19, 1, -100},
               {"h", 100, 0, 0, 0, 100},   {"H ", 100, 0, 0, 0, 100}, {"", 100, 2, 5, 5, 100},
               {"H", -50, -0.0, 1, 2, 53}, {"S", 0, 0, -1, -2, -3}};
  for (const auto& c : cases) {
    EXPECT_EQ(Buchungssumme(c.side, c.amount, c.condition, c.first, c.second), c.result) << c.side;
  }
  // A sum beyond the double range would be refused by the server.
  EXPECT_THROW(Buchungssumme("S", 1e308, 0, 1e308, 0), FloatOverflowError);
  EXPECT_THROW(Buchungssumme("H", 1e308, 0, -1e308, 0), FloatOverflowError);
  EXPECT_EQ(Buchungssumme("S", 1e308, 1, 1e308, 0), 1e308);
  // Nor is a NaN or infinite amount or addend passed through.
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  EXPECT_THROW(Buchungssumme("S", kNaN, 1, 0, 0), InvalidFloatError);
  EXPECT_THROW(Buchungssumme("H", kInf, 1, 0, 0), FloatOverflowError);
  EXPECT_THROW(Buchungssumme("S", 1, 0, kNaN, 0), InvalidFloatError);
  EXPECT_THROW(Buchungssumme("S", 1, 0, 0, -kInf), FloatOverflowError);
  EXPECT_THROW(Buchungssumme("S", 1, 0, kInf, -kInf), InvalidFloatError);
  // An addend that is not added does not matter.
  EXPECT_EQ(Buchungssumme("S", 1, 1, kNaN, kInf), 1.0);
}

TEST(AblaufTag, ListedCases) {
  struct Case {
    int y, m, d;
    int32_t days, mode, mode1_days, mode1_months;
    int ry, rm, rd;
  } cases[] = {
      {2024, 1, 15, 30, 0, 0, 0, 2024, 2, 14},   {2024, 1, 31, -15, 0, 0, 0, 2024, 2, 15},
      {2024, 12, 3, -15, 0, 0, 0, 2025, 1, 15},  {2024, 1, 10, -31, 0, 0, 0, 2024, 2, 29},
      {2023, 1, 10, -31, 0, 0, 0, 2023, 2, 28},  {2024, 1, 10, -45, 0, 0, 0, 2024, 3, 16},
      {2024, 1, 31, 99, 1, 0, 1, 2024, 3, 1},    {2024, 1, 29, 99, 1, 0, 1, 2024, 2, 29},
      {2023, 1, 29, 0, 1, 0, 1, 2023, 3, 1},     {2024, 1, 15, 99, 1, 10, 0, 2024, 1, 25},
      {2024, 5, 10, 0, 1, 0, 14, 2025, 7, 10},   {2024, 1, 31, 0, 1, 0, 12, 2025, 1, 31},
      {2024, 3, 31, 0, 1, 0, 11, 2025, 3, 1},    {2024, 1, 15, -1, 2, 5, 5, 2024, 2, 1},
      {2024, 4, 10, -30, 7, 0, 0, 2024, 5, 30},  {2024, 1, 15, 0, 0, 0, 0, 2024, 1, 15},
      {2024, 1, 15, 0, 1, -20, 1, 2024, 1, 26},  // the days first: 26.12.2023, then a month
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AblaufTag(RefDays(c.y, c.m, c.d), c.days, c.mode, c.mode1_days, c.mode1_months),
              RefDays(c.ry, c.rm, c.rd))
        << c.y << "-" << c.m << "-" << c.d << " days " << c.days << " mode " << c.mode;
  }
}

// The fixed-day and month rules over every start day of 1995..2034, against
// the C library's calendar.
TEST(AblaufTag, AgreesWithAnIndependentCalendar) {
  int failures = 0;
  for (int64_t start = RefDays(1995, 1, 1); start <= RefDays(2034, 12, 31); ++start) {
    const std::tm t = RefSplit(start);
    const int year = t.tm_year + 1900, month = t.tm_mon + 1, day = t.tm_mday;
    const int next_year = month == 12 ? year + 1 : year, next_month = month == 12 ? 1 : month + 1;
    const int next_length = RefMonthLength(next_year, next_month);
    for (int n : {1, 15, 28, 29, 30, 31, 32, 45, 90, 400}) {
      int64_t want;
      if (n <= 31) {
        want = RefDays(next_year, next_month, n < next_length ? n : next_length);
      } else {
        want = RefDays(next_year, next_month, 1) + n - 1;
      }
      const int64_t got = AblaufTag(start, -n, 0, 0, 0);
      if (got != want && ++failures < 10) ADD_FAILURE() << start << " fixed day " << n << ": " << got << " want " << want;
      if (FixedDayOfNextMonth(start, n) != got && ++failures < 10) ADD_FAILURE() << "FixedDayOfNextMonth " << start;
    }
    for (int months : {1, 2, 11, 12, 13, 25, 120}) {
      const int total = month - 1 + months;
      const int y = year + total / 12, m = total % 12 + 1;
      const int64_t want = day > RefMonthLength(y, m) ? RefDays(y, m + 1, 1) : RefDays(y, m, day);
      const int64_t got = AblaufTag(start, 77, 1, 0, months);
      if (got != want && ++failures < 10) ADD_FAILURE() << start << " +" << months << " months: " << got << " want " << want;
    }
    if (AblaufTag(start, 40, 0, 0, 0) != start + 40 && ++failures < 10) ADD_FAILURE() << start;
  }
  EXPECT_EQ(failures, 0);
}

TEST(AblaufTag, OutsideTheCalendar) {
  const int64_t start = RefDays(2024, 1, 15);
  EXPECT_THROW(AblaufTag(start, -65536, 0, 0, 0), RangeError);
  EXPECT_EQ(AblaufTag(start, -65535, 0, 0, 0), RefDays(2024, 2, 1) + 65534);
  EXPECT_THROW(AblaufTag(start, 0, 1, 0, 65535), RangeError);
  EXPECT_THROW(AblaufTag(start, 0, 1, 3000000, 1), DateError);
  try {
    AblaufTag(RefDays(9999, 12, 10), -5, 0, 0, 0);
    ADD_FAILURE() << "no error";
  } catch (const DateError& e) {
    EXPECT_STREQ(e.what(), "10000-1-5 is not a valid date specification");
  }
  // Adding days alone checks nothing here; the engine date's 32-bit range is
  // the caller's check.
  EXPECT_EQ(AblaufTag(start, 2147483647, 0, 0, 0), start + 2147483647);
}

}  // namespace
}  // namespace qor
