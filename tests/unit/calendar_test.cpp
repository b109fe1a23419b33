#include "datetime/calendar.h"

#include <ctime>

#include <gtest/gtest.h>

namespace qor {
namespace {

// Walks every day from 1.1.0001 (day -693593) to 31.12.9999 (day 2958465)
// with a plain month-by-month counter and a weekday that cycles by one each
// day, and checks the calendar against it in both directions.
TEST(Calendar, EveryDayOfYears1To9999) {
  static const int kLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1, month = 1, day = 1;
  int weekday = 1;  // 1.1.0001 in the proleptic Gregorian calendar was a Monday
  int64_t count = -693593;
  int failures = 0;
  for (;; ++count) {
    CivilDate c = CivilFromDays(count);
    if ((c.year != year || c.month != month || c.day != day ||
         DaysFromCivil(year, month, day) != count || DayOfWeek(count) != weekday) &&
        ++failures < 10) {
      ADD_FAILURE() << count << ": " << year << "-" << month << "-" << day << " weekday " << weekday
                    << ", got " << c.year << "-" << c.month << "-" << c.day << " weekday "
                    << DayOfWeek(count) << " and " << DaysFromCivil(year, month, day);
    }
    if (year == 9999 && month == 12 && day == 31) break;
    weekday = weekday % 7 + 1;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int length = month == 2 && leap ? 29 : kLength[month];
    if (++day > length) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  EXPECT_EQ(count, 2958465);
  EXPECT_EQ(failures, 0);
}

TEST(Calendar, KnownDaysAndDaysBeyondTheEngineYears) {
  EXPECT_EQ(DaysFromCivil(1899, 12, 30), 0);
  EXPECT_EQ(DaysFromCivil(1858, 11, 17), -15018);  // engine day 0
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 25569);
  EXPECT_EQ(DaysFromCivil(2023, 2, 1), 44958);
  EXPECT_EQ(DayOfWeek(44958), 3);  // a Wednesday
  EXPECT_EQ(DayOfWeek(0), 6);      // a Saturday
  EXPECT_EQ(DayOfWeek(-1), 5);
  // Years before 1 and after 9999 still split and encode (proleptic).
  for (int64_t d : {-693594LL, -800000LL, 2958466LL, 3500000LL, -2147483648LL - 15018, 2147483647LL}) {
    CivilDate c = CivilFromDays(d);
    EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), d) << d;
  }
  CivilDate before = CivilFromDays(-693594);
  EXPECT_EQ(before.year, 0);
  EXPECT_EQ(before.month, 12);
  EXPECT_EQ(before.day, 31);
  // A day beyond the month's end runs on.
  EXPECT_EQ(DaysFromCivil(2024, 2, 30), DaysFromCivil(2024, 3, 1));
}

TEST(Calendar, MonthLengthsLeapYearsAndValidDates) {
  struct Case {
    int64_t year, month;
    int32_t length;
  } cases[] = {{2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28}, {2000, 2, 29}, {2100, 2, 28},
               {1600, 2, 29}, {2023, 4, 30}, {2023, 12, 31}, {2023, 1, 31}, {2023, 0, 0},
               {2023, 13, 0}, {2023, -1, 0}, {0, 2, 29}};
  for (const auto& c : cases) EXPECT_EQ(DaysInMonth(c.year, c.month), c.length) << c.year << "-" << c.month;
  EXPECT_TRUE(IsValidDate(1, 1, 1));
  EXPECT_TRUE(IsValidDate(9999, 12, 31));
  EXPECT_FALSE(IsValidDate(0, 12, 31));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 1, 0));
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
  try {
    EncodeDate(10000, 1, 31);
    ADD_FAILURE() << "no error";
  } catch (const DateError& e) {
    EXPECT_STREQ(e.what(), "10000-1-31 is not a valid date specification");
  }
  EXPECT_THROW(EncodeDate(2023, 2, 29), DateError);
}

TEST(Calendar, TodayIsTheLocalDate) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::time_t before = std::time(nullptr);
    CivilDate today = Today();
    std::time_t after = std::time(nullptr);
    std::tm a{}, b{};
    localtime_r(&before, &a);
    localtime_r(&after, &b);
    if (a.tm_mday != b.tm_mday) continue;  // midnight passed: try again
    EXPECT_EQ(today.year, a.tm_year + 1900);
    EXPECT_EQ(today.month, a.tm_mon + 1);
    EXPECT_EQ(today.day, a.tm_mday);
    return;
  }
}

}  // namespace
}  // namespace qor
