#include "datetime/date_functions.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "datetime/calendar.h"
#include "frame/errors.h"
#include "frame/timestamp.h"
#include "ref_calendar.h"

namespace qor {
namespace {

using qortest::RefDays;
using qortest::RefSplit;

// Every day of 1970..2069 against the C library's ISO week (%V-%G), and the
// Monday that fn_DateOfWeek finds for the text.
TEST(Weeks, AgreeWithTheIsoCalendarFrom1970To2069) {
  int failures = 0;
  for (int64_t day = RefDays(1970, 1, 1); day <= RefDays(2069, 12, 31); ++day) {
    std::tm t = RefSplit(day);
    char want[16];
    std::strftime(want, sizeof want, "%V-%G", &t);
    const std::string got = WeekOfDateText(day);
    if (got != want && ++failures < 10) ADD_FAILURE() << day << ": " << got << ", want " << want;
    const int64_t monday = day - (t.tm_wday + 6) % 7;
    const int iso_year = std::stoi(std::string(want + 3));
    if (iso_year >= 1970 && iso_year <= 2069 && DateOfWeek(got, 2031) != monday && ++failures < 10) {
      ADD_FAILURE() << got << ": " << DateOfWeek(got, 2031) << ", want " << monday;
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(Weeks, WeekTexts) {
  struct Case {
    int year, month, day;
    const char* week;
  } cases[] = {{2023, 2, 1, "05-2023"},   {2023, 1, 1, "52-2022"},   {2021, 1, 3, "53-2020"},
               {2025, 12, 29, "01-2026"}, {2024, 12, 31, "01-2025"}, {2026, 1, 1, "01-2026"},
               {1800, 12, 31, "01-1801"}, {1899, 12, 30, "52-1899"}, {2020, 12, 31, "53-2020"}};
  for (const auto& c : cases) EXPECT_EQ(WeekOfDateText(RefDays(c.year, c.month, c.day)), c.week);
}

TEST(Weeks, MondayOfAWeekText) {
  struct Case {
    const char* text;
    int year, month, day;
  } cases[] = {
      {"5-2023", 2023, 1, 30},   {"05/2023", 2023, 1, 30},  {"5 2023", 2023, 1, 30},
      {"05.23", 2023, 1, 30},    {"1-2026", 2025, 12, 29},  {"53-2020", 2020, 12, 28},
      {"202305", 2023, 1, 30},   {"0523", 2023, 1, 30},     {"5-75", 1975, 1, 27},
      // One number: below 5400 it is WWYY, from 5400 on YYYYWW.
      {"5399", 2000, 1, 3},      {"5400", 2053, 12, 22},
      // The current year (2031 here): no year, or one outside 1970..2069.
      {"5", 2031, 1, 27},        {"5-", 2031, 1, 27},       {"5-1960", 2031, 1, 27},
      {"5-2075", 2031, 1, 27},   {"5-2070", 2031, 1, 27},   {"5-2069", 2069, 1, 28},
      {"5-1970", 1970, 1, 26},   {"5-1969", 2031, 1, 27},
      // Week 0 is the Monday before week 1; weeks above 53 run on.
      {"0-2023", 2022, 12, 26},  {"", 2030, 12, 23},        {"54-2020", 2021, 1, 4},
      {"-1-2023", 2023, 1, 2},  // "-1" then the year "1": week -1 of 2001
      // A written year 0 is 2000, not the current year.
      {"5-0", 2000, 1, 31},
      // One number after all: week 60 with year 0 is read as WWYY "60",
      // week 0 of 2060.
      {"60-0", 2059, 12, 22},
      // A leading blank is no leading digit: the year is read from "5-2023"
      // and is 5, so 2005.
      {" 5-2023", 2005, 1, 31},
  };
  for (const auto& c : cases) {
    if (std::string(c.text) == "-1-2023") {
      EXPECT_EQ(DateOfWeek(c.text, 2031), RefDays(2001, 1, 1) - 14) << c.text;
      continue;
    }
    EXPECT_EQ(DateOfWeek(c.text, 2031), RefDays(c.year, c.month, c.day)) << "'" << c.text << "'";
  }
  // Without a given year the clock decides.
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int64_t week5 = DateOfWeek("5");
  EXPECT_TRUE(week5 == DateOfWeek("5", local.tm_year + 1900) || week5 == DateOfWeek("5", local.tm_year + 1901));
}

// Sets the process's time zone (a POSIX TZ text) for the scope.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

// The current date is the local one: at the last and the first second of a
// year in zones east and west of UTC, where UTC already (or still) has the
// other year, the week and date rules that take the current year follow the
// local date.
TEST(Weeks, CurrentYearIsTheLocalOneAtTheTurnOfTheYear) {
  constexpr std::time_t kNewYear2024Utc = 1704067200;  // 2024-01-01 00:00:00 UTC
  struct Case {
    const char* zone;
    std::time_t moment;
    int year, month, day;
  } cases[] = {
      {"JST-9", kNewYear2024Utc - 9 * 3600 - 1, 2023, 12, 31},  // 14:59:59 UTC
      {"JST-9", kNewYear2024Utc - 9 * 3600, 2024, 1, 1},        // 15:00:00 UTC
      {"EST5", kNewYear2024Utc + 5 * 3600 - 1, 2023, 12, 31},   // 04:59:59 UTC
      {"EST5", kNewYear2024Utc + 5 * 3600, 2024, 1, 1},
      {"UTC0", kNewYear2024Utc - 1, 2023, 12, 31},
      {"UTC0", kNewYear2024Utc, 2024, 1, 1},
  };
  for (const auto& c : cases) {
    ScopedTimeZone zone(c.zone);
    const CivilDate today = LocalDate(c.moment);
    EXPECT_EQ(today.year, c.year) << c.zone << " " << c.moment;
    EXPECT_EQ(today.month, c.month) << c.zone << " " << c.moment;
    EXPECT_EQ(today.day, c.day) << c.zone << " " << c.moment;
    EXPECT_EQ(DateOfWeek("1", today.year), DateOfWeek(c.year == 2023 ? "1-2023" : "1-2024", 2031)) << c.zone;
  }
  // Today() is the local date of now.
  ScopedTimeZone zone("JST-9");
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const CivilDate today = Today();
    if (std::time(nullptr) != before) continue;
    const CivilDate expected = LocalDate(before);
    EXPECT_EQ(today.year * 10000 + today.month * 100 + today.day,
              expected.year * 10000 + expected.month * 100 + expected.day);
    break;
  }
}

TEST(DateParts, DayNames) {
  const int64_t thursday = RefDays(2023, 2, 2), monday = RefDays(2023, 1, 30);
  struct Case {
    int64_t day;
    int32_t style;
    const char* text;
  } cases[] = {{thursday, 2, "Do"},    {thursday, 10, "Donnerstag"}, {thursday, 3, "Don"},
               {thursday, -4, "DONN"}, {thursday, -10, "DONNERSTAG"}, {thursday, 1, "D"},
               {thursday, 0, "4"},     {thursday, 11, "4"},           {thursday, -11, "4"},
               {monday, 6, "Montag"},  {monday, 9, "Montag"},         {monday, -2, "MO"},
               {monday + 6, 0, "7"},   {monday + 6, 3, "Son"},        {monday + 5, -7, "SAMSTAG"}};
  for (const auto& c : cases) EXPECT_EQ(DayNameText(c.day, c.style), c.text) << c.style;
}

TEST(DateParts, DaysOfMonth) {
  struct Case {
    int16_t month;
    int32_t year;
    int16_t days;
  } cases[] = {{2, 2024, 29}, {2, 1900, 28}, {2, 2000, 29}, {2, 24, 29},   {2, 99, 28},
               {4, 2023, 30}, {0, 2023, 0},  {13, 2023, 0}, {-1, 2023, 0}, {2, 0, 29},
               {2, -1, 28},   {2, 65535, 28}, {1, 65536, 31}, {12, -5000, 31}, {2, 100, 28}};
  for (const auto& c : cases) EXPECT_EQ(DaysOfMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
  EXPECT_THROW(DaysOfMonth(2, 65536), RangeError);
  EXPECT_THROW(DaysOfMonth(2, -2001), RangeError);
}

TEST(DateParts, IsDate) {
  struct Case {
    const char* text;
    int32_t is_date;
  } cases[] = {{"1.2.2023", 1},   {" 1.2.2023 ", 1}, {"\t1.2.2023\r\n", 1}, {"31.02.2023", 0},
               {"abc", 0},        {"", 0},           {"30.12.1899", 0},     {"1.2.2023 12:30", 1},
               {"30.12.1899 00:00:01", 1}, {"  ", 0}};
  for (const auto& c : cases) EXPECT_EQ(IsDateText(c.text), c.is_date) << "'" << c.text << "'";
}

TEST(TimeStamps, DateTimeTextValueDropsOtherCharacters) {
  const double feb1 = static_cast<double>(RefDays(2023, 2, 1));
  EXPECT_NEAR(DateTimeTextValue("1.2.2023 12:30"), feb1 + 12.5 / 24, 1e-9);
  EXPECT_EQ(DateTimeTextValue("abc"), 0.0);
  EXPECT_EQ(DateTimeTextValue("01/02/2023"), 0.0);
  EXPECT_NEAR(DateTimeTextValue("am 1.2.2023"), feb1, 1e-9);
  EXPECT_EQ(DateTimeTextValue("Datum: 1.2.2023"), 0.0);
  EXPECT_NEAR(DateTimeTextValue("1.2.2023, 12:30 Uhr"), feb1 + 12.5 / 24, 1e-9);
}

TEST(TimeStamps, DateTimeText) {
  EXPECT_EQ(DateTimeText(RefDays(2023, 2, 1), 450000000), "01.02.2023 12:30:00");
  EXPECT_EQ(DateTimeText(RefDays(9999, 12, 31), 863999999), "31.12.9999 23:59:59");
  EXPECT_EQ(DateTimeText(RefDays(1, 1, 1), 0), "01.01.0001 00:00:00");
  EXPECT_EQ(DateTimeText(-1, 216000000), "29.12.1899 06:00:00");
  EXPECT_EQ(DateTimeText(RefDays(2023, 2, 1), 12345), "01.02.2023 00:00:01");
  // Outside the years 1..9999 or past midnight the text would not fit its
  // 19 characters: an engine date of 2113929236 (a year of millions) came
  // from the fuzzer.
  EXPECT_THROW(DateTimeText(2113929236LL - 15018, 0), RangeError);
  EXPECT_THROW(DateTimeText(RefDays(1, 1, 1) - 1, 0), RangeError);
  EXPECT_THROW(DateTimeText(RefDays(9999, 12, 31) + 1, 0), RangeError);
  EXPECT_THROW(DateTimeText(RefDays(2023, 2, 1), 864000000), RangeError);
}

TEST(TimeStamps, SecondsBetween) {
  auto at = [](int32_t date, uint32_t time) { return TimeStampToDateTime(TFBTimeStamp{date, time}); };
  const int32_t d = 59976;
  const uint32_t noon = 432000000;
  struct Case {
    double a, b;
    int32_t seconds;
  } cases[] = {
      {at(d, noon), at(d, noon + 900000), 90},  {at(d, noon + 900000), at(d, noon), 90},
      {at(d, noon), at(d, noon + 14000), 1},    {at(d, noon), at(d, noon + 16000), 2},
      {at(d, noon), at(d, noon + 5000), 0},     {at(d, noon), at(d, noon + 15000), 2},
      {at(d, 0), at(d + 1, 0), 86400},
      {at(15017, 216000000), at(15018, 0), 64800},
  };
  for (const auto& c : cases) EXPECT_EQ(SecondsBetween(c.a, c.b), c.seconds) << c.a << " " << c.b;
  // Exact halves go to the even neighbour.
  for (double half : {0.5, 1.5, 2.5, 3.5}) {
    const double b = half / 86400.0;
    ASSERT_EQ(b * 86400.0, half);
    EXPECT_EQ(SecondsBetween(0.0, b), static_cast<int32_t>(half == 0.5 ? 0 : half == 1.5 ? 2 : half == 2.5 ? 2 : 4));
  }
  const double y1970 = static_cast<double>(RefDays(1970, 1, 1)), y2040 = static_cast<double>(RefDays(2040, 1, 1));
  EXPECT_THROW(SecondsBetween(y1970, y2040), RangeError);
  EXPECT_EQ(SecondsBetween(y1970, y1970 + 2147483647 / 86400.0), 2147483647);
  EXPECT_THROW(SecondsBetween(y1970, y1970 + 2147483648 / 86400.0), RangeError);
}

TEST(JahrMo, Keys) {
  EXPECT_EQ(JahrMoOfDay(RefDays(2023, 2, 1)), 202302);
  EXPECT_EQ(JahrMoOfDay(RefDays(2023, 2, 28)), 202302);
  EXPECT_EQ(JahrMoOfDay(RefDays(1999, 12, 31)), 199912);
  EXPECT_EQ(JahrMoOfDay(RefDays(1, 1, 1)), 101);
  EXPECT_EQ(DateStrToJahrMo("15.02.2023"), 202302);
  EXPECT_EQ(DateStrToJahrMo("15.02.23"), 202302);
  EXPECT_EQ(DateStrToJahrMo("abc"), 189912);
  // A time of day before 1899 stays on its day: 31.12.1800, not 1.1.1801.
  EXPECT_EQ(DateStrToJahrMo("31.12.1800 12:00"), 180012);

  struct ToDate {
    int32_t key;
    int year, month;  // year 0: no date
  } to_date[] = {{202302, 2023, 2}, {202312, 2023, 12}, {202313, 0, 0}, {202300, 0, 0},
                 {2302, 2023, 2},   {7502, 1975, 2},    {-202302, 0, 0}, {0, 0, 0},
                 {999912, 9999, 12}, {1000001, 0, 0},   {10001, 100, 1}};
  for (const auto& c : to_date) {
    const double want = c.year == 0 ? 0.0 : static_cast<double>(RefDays(c.year, c.month, 1));
    EXPECT_EQ(JahrMoToDate(c.key), want) << c.key;
  }

  struct ToText {
    int32_t key;
    const char* text;
  } to_text[] = {{202302, "01.02.2023"}, {202313, "01.13.2023"}, {2302, "01.02.0023"},
                 {0, "01.00.0000"},      {-202302, "01.-02.-2023"}, {5, "01.05.0000"},
                 {-2147483647 - 1, "01.-48.-21474836"}, {2147483647, "01.47.21474836"}};
  for (const auto& c : to_text) EXPECT_EQ(JahrMoToDateStr(c.key), c.text) << c.key;
}

}  // namespace
}  // namespace qor
