#include "datetime/date_parse.h"

#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "ref_calendar.h"

namespace qor {
namespace {

// The reference calendar's day count as the double the parser answers.
double RefDays(int year, int month, int day) { return static_cast<double>(qortest::RefDays(year, month, day)); }

double RefDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return RefDays(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

struct DateCase {
  const char* text;
  int year, month, day, hour, minute, second;  // year 0: not accepted (0.0)
};

// Today is fixed at 7 September 2031 here, so that the current-month and
// current-year rules show.
const CivilDate kToday{2031, 9, 7};

TEST(ParseDateTimeText, Table) {
  const DateCase cases[] = {
      {"", 0, 0, 0, 0, 0, 0},
      {"abc", 0, 0, 0, 0, 0, 0},
      {"1.2.2023", 2023, 2, 1, 0, 0, 0},
      {"01.02.2023", 2023, 2, 1, 0, 0, 0},
      {"+1.2.2023", 2023, 2, 1, 0, 0, 0},
      // The century rule works on the value, not on the digits written.
      {"01.02.23", 2023, 2, 1, 0, 0, 0},
      {"01.02.69", 2069, 2, 1, 0, 0, 0},
      {"01.02.70", 1970, 2, 1, 0, 0, 0},
      {"01.02.99", 1999, 2, 1, 0, 0, 0},
      {"01.02.00", 2000, 2, 1, 0, 0, 0},
      {"1.2.0", 2000, 2, 1, 0, 0, 0},
      {"1.1.0001", 2001, 1, 1, 0, 0, 0},
      {"1.2.-5", 1995, 2, 1, 0, 0, 0},
      {"1.2.100", 100, 2, 1, 0, 0, 0},
      {"31.12.9999 23:59:59", 9999, 12, 31, 23, 59, 59},
      {"1.2.10000", 0, 0, 0, 0, 0, 0},
      {"1.2.65536", 0, 0, 0, 0, 0, 0},
      {"1.2.-3000", 0, 0, 0, 0, 0, 0},
      // Impossible dates.
      {"31.02.2023", 0, 0, 0, 0, 0, 0},
      {"29.02.2023", 0, 0, 0, 0, 0, 0},
      {"29.02.2024", 2024, 2, 29, 0, 0, 0},
      {"29.2.1900", 0, 0, 0, 0, 0, 0},
      {"29.2.2000", 2000, 2, 29, 0, 0, 0},
      {"0.1.2023", 0, 0, 0, 0, 0, 0},
      {"32.1.2023", 0, 0, 0, 0, 0, 0},
      {"1.13.2023", 0, 0, 0, 0, 0, 0},
      {"1.0.2023", 0, 0, 0, 0, 0, 0},
      // Times.
      {"1.2.2023 12:30", 2023, 2, 1, 12, 30, 0},
      {"1.2.2023 12:30:45", 2023, 2, 1, 12, 30, 45},
      {"1.2.23 7:5:9", 2023, 2, 1, 7, 5, 9},
      {"1.2.2023 12", 2023, 2, 1, 12, 0, 0},
      {"1.2.2023 12:30 ", 2023, 2, 1, 12, 30, 0},
      {"1.2.2023 12:30:45:99", 2023, 2, 1, 12, 30, 45},
      {"1.2.2023 12:30:45:99:77", 2023, 2, 1, 12, 30, 45},
      {"1.2.2023 12:30:45.5", 2023, 2, 1, 12, 30, 0},
      {"1.2.2023 12.30", 2023, 2, 1, 0, 0, 0},
      {"1.2.2023 1 2:30", 2023, 2, 1, 1, 30, 0},
      {"1.2.2023 24:00", 0, 0, 0, 0, 0, 0},
      {"1.2.2023 12:60", 0, 0, 0, 0, 0, 0},
      {"1.2.2023 12:30:60", 0, 0, 0, 0, 0, 0},
      {"1.2.2023 -1:00", 0, 0, 0, 0, 0, 0},
      {"1.1.1800", 1800, 1, 1, 0, 0, 0},
      {"1.1.1800 12:00", 1800, 1, 1, 12, 0, 0},
      // Wrong shapes.
      {"12:30", 0, 0, 0, 0, 0, 0},
      {"2023-02-01", 0, 0, 0, 0, 0, 0},
      {"1/2/2023", 0, 0, 0, 0, 0, 0},
      {"1.2.2023.5", 0, 0, 0, 0, 0, 0},
      {"1.2", 0, 0, 0, 0, 0, 0},
      {"1.2.", 0, 0, 0, 0, 0, 0},
      {"1:2.2023", 0, 0, 0, 0, 0, 0},
      // Blanks.
      {" 1.2.2023", 2023, 2, 1, 0, 0, 0},
      {"1.2.2023 ", 2023, 2, 1, 0, 0, 0},
      {"1. 2.2023", 0, 0, 0, 0, 0, 0},  // the month is today's; the next point ends the reading
      {"15.3.  ", 2031, 3, 15, 0, 0, 0},
      {"15.3. 10:00", 2031, 3, 15, 10, 0, 0},
      {"15.3. 2023", 0, 0, 0, 0, 0, 0},  // after the blank comes the hour
      {"15.3. ", 2000, 3, 15, 0, 0, 0},  // the last blank closes an empty year
      {"15.3.\t   ", 2031, 3, 15, 0, 0, 0},  // a year of control bytes only is as good as none
      {"15.3.", 0, 0, 0, 0, 0, 0},
      {"15.  ", 2031, 9, 15, 0, 0, 0},
      {"15. 2023", 2023, 9, 15, 0, 0, 0},
      {"15. 23", 2031, 9, 15, 0, 0, 0},
      {"15. 99", 1999, 9, 15, 0, 0, 0},
      {"15. 2023 8:15", 2023, 9, 15, 8, 15, 0},
      {"15. ", 0, 0, 0, 0, 0, 0},     // the last blank closes an empty month
      {"31.  ", 0, 0, 0, 0, 0, 0},    // September has 30 days
      // Each field is read by the library's number reader, prefixes and all.
      {"$A.2.2023", 2023, 2, 10, 0, 0, 0},
      {"0x1F.1.2023", 2023, 1, 31, 0, 0, 0},
      {"1.%11.2023", 2023, 3, 1, 0, 0, 0},
      {"1.2.&3720", 2000, 2, 1, 0, 0, 0},  // octal 3720 is 2000
      {"1.2.2023 $C:0", 2023, 2, 1, 12, 0, 0},
  };
  for (const auto& c : cases) {
    const double got = ParseDateTimeText(c.text, kToday);
    if (c.year == 0) {
      EXPECT_EQ(got, 0.0) << "'" << c.text << "'";
    } else {
      EXPECT_NEAR(got, RefDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second), 1e-9)
          << "'" << c.text << "'";
    }
  }
}

// A field is read by the library's number reader, which gives up on a piece
// longer than 255 characters unless its first 255 hold a number.
TEST(ParseDateTimeText, LongFields) {
  EXPECT_NEAR(ParseDateTimeText(std::string(200, ' ') + "1.2.2023", kToday), RefDays(2023, 2, 1), 1e-9);
  EXPECT_EQ(ParseDateTimeText(std::string(300, ' ') + "1.2.2023", kToday), 0.0);
  EXPECT_EQ(ParseDateTimeText(std::string(300, '1') + ".2.2023", kToday), 0.0);
  // The minute's piece runs to the end: 5000 blanks make it unreadable.
  EXPECT_NEAR(ParseDateTimeText("1.2.2023 12:30" + std::string(5000, ' '), kToday),
              RefDateTime(2023, 2, 1, 12, 0), 1e-9);
}

// The rules that take the current month and year, against the clock. When
// midnight passes during a round, the round is tried again.
TEST(ParseDateTimeText, CurrentDateFromTheClock) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::time_t before = std::time(nullptr);
    const double year_omitted = ParseDateTimeText("15.3.  ");
    const double year_omitted_time = ParseDateTimeText("15.3. 10:00");
    const double month_omitted = ParseDateTimeText("15.  ");
    const double month_omitted_year = ParseDateTimeText("15. 2023");
    const double month_omitted_short_year = ParseDateTimeText("15. 23");
    const double written = ParseDateTimeText("15.3.2023");
    std::time_t after = std::time(nullptr);
    std::tm a{}, b{};
    localtime_r(&before, &a);
    localtime_r(&after, &b);
    if (a.tm_mday != b.tm_mday) continue;
    const int year = a.tm_year + 1900, month = a.tm_mon + 1;
    EXPECT_NEAR(year_omitted, RefDays(year, 3, 15), 1e-9);
    EXPECT_NEAR(year_omitted_time, RefDateTime(year, 3, 15, 10), 1e-9);
    EXPECT_NEAR(month_omitted, RefDays(year, month, 15), 1e-9);
    EXPECT_NEAR(month_omitted_year, RefDays(2023, month, 15), 1e-9);
    EXPECT_NEAR(month_omitted_short_year, RefDays(year, month, 15), 1e-9);
    EXPECT_NEAR(written, RefDays(2023, 3, 15), 1e-9);
    return;
  }
}

// The current-month and current-year rules take the date they are given:
// on the last day of a year and on the first day of the next.
TEST(ParseDateTimeText, CurrentDateAtTheTurnOfTheYear) {
  const CivilDate last{2023, 12, 31}, first{2024, 1, 1};
  EXPECT_NEAR(ParseDateTimeText("15.  ", last), RefDays(2023, 12, 15), 1e-9);
  EXPECT_NEAR(ParseDateTimeText("15.  ", first), RefDays(2024, 1, 15), 1e-9);
  EXPECT_NEAR(ParseDateTimeText("15.3.  ", last), RefDays(2023, 3, 15), 1e-9);
  EXPECT_NEAR(ParseDateTimeText("15.3.  ", first), RefDays(2024, 3, 15), 1e-9);
  EXPECT_NEAR(ParseDateTimeText("15. 23", first), RefDays(2024, 1, 15), 1e-9);
  EXPECT_NEAR(ParseDateTimeText("15. 2023", first), RefDays(2023, 1, 15), 1e-9);
}

TEST(ParseTimeText, Table) {
  struct Case {
    const char* text;
    int hour, minute, second, msec;
    bool accepted;
  } cases[] = {
      {"12", 12, 0, 0, 0, true},
      {"12:", 12, 0, 0, 0, true},
      {"9", 9, 0, 0, 0, true},
      {"123", 12, 0, 0, 0, true},  // the last character is not part of the first field
      {"12:30", 12, 30, 0, 0, true},
      {"12:30:45", 12, 30, 45, 0, true},
      {"12:30:45:500", 12, 30, 45, 500, true},
      {"23:59:59:999", 23, 59, 59, 999, true},
      {"0:0:1", 0, 0, 1, 0, true},
      {"12:30 45", 12, 0, 30, 0, true},  // the blank skips the minute
      {" 12:30", 0, 12, 30, 0, true},
      {"12:30:45:500:9", 12, 30, 45, 500, true},
      {"", 0, 0, 0, 0, false},
      {"abc", 0, 0, 0, 0, false},
      {"24:00", 0, 0, 0, 0, false},
      {"12:60", 0, 0, 0, 0, false},
      {"12:30:60", 0, 0, 0, 0, false},
      {"-1:00", 0, 0, 0, 0, false},
      {"12:-5", 0, 0, 0, 0, false},
      {"12:30:45:1000", 0, 0, 0, 0, false},
      {"12:30:45:-1", 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    const double got = ParseTimeText(c.text);
    const double want =
        c.accepted ? (c.hour * 3600 + c.minute * 60 + c.second) / 86400.0 + c.msec / 86400000.0 : 0.0;
    EXPECT_NEAR(got, want, 1e-12) << "'" << c.text << "'";
    EXPECT_TRUE(got >= 0.0 && got < 1.0) << "'" << c.text << "'";
  }
}

}  // namespace
}  // namespace qor
