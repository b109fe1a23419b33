#include "frame/timestamp.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "frame/errors.h"

namespace qor {
namespace {

TEST(TimeStamp, EngineToDayCount) {
  struct Case {
    TFBTimeStamp ts;
    double days;
  } cases[] = {
      {{15018, 0}, 0.0},
      {{0, 0}, -15018.0},
      {{15019, 432000000}, 1.5},
      {{15017, 216000000}, -0.75},  // one day before, at 06:00
      {{60676, 432000000}, 45658.5},
      {{60676, 863999999}, 45658.99999999884259},  // the last tick of 2025-01-01
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(TimeStampToDateTime(c.ts), c.days);
}

TEST(TimeStamp, DayCountToEngine) {
  struct Case {
    double days;
    int32_t date;
    uint32_t time;
  } cases[] = {
      {0.0, 15018, 0},
      {1.5, 15019, 432000000},
      {-15018.0, 0, 0},
      {45658.25, 60676, 216000000},
      {-20000.0, -4982, 0},
      {0.9999999999999999, 15018, 863999999},  // rounds to a whole day: stays within it
  };
  for (const auto& c : cases) {
    TFBTimeStamp ts = DateTimeToTimeStamp(c.days);
    EXPECT_EQ(ts.date, c.date) << c.days;
    EXPECT_EQ(ts.time, c.time) << c.days;
  }
}

// Every whole second of a day, on days from 1899 to 9999, comes back
// from its day count as the same timestamp: the time is rounded to the
// nearest unit, where cutting lost a unit for times like 13:45:30.
TEST(TimeStamp, DayCountsOfWholeSecondsComeBackExactly) {
  int failures = 0;
  for (int32_t date : {15018, 15019, 59976, 60676, 2973483}) {
    for (uint32_t second = 0; second < 86400; ++second) {
      const TFBTimeStamp ts{date, second * 10000};
      const TFBTimeStamp back = DateTimeToTimeStamp(TimeStampToDateTime(ts));
      if ((back.date != ts.date || back.time != ts.time) && ++failures < 10) {
        ADD_FAILURE() << date << " " << second << ": " << back.date << " " << back.time;
      }
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(DateTimeToTimeStamp(44958.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0).time, 495300000u);
  EXPECT_EQ(DateTimeToTimeStamp(1.0 + 0.4 / kTimeUnitsPerDay).time, 0u);
  EXPECT_EQ(DateTimeToTimeStamp(1.0 + 0.6 / kTimeUnitsPerDay).time, 1u);
  EXPECT_EQ(DateTimeToTimeStamp(-1.0 - 0.6 / kTimeUnitsPerDay).time, 0u);  // less than a unit below 0
  EXPECT_THROW(DateTimeToTimeStamp(-1.0 - 1.5 / kTimeUnitsPerDay), RangeError);
}

TEST(TimeStamp, OutOfRangeDayCountsRaiseRangeErrors) {
  for (double days : {3e9, -3e9, std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::infinity(), -0.5}) {
    EXPECT_THROW(DateTimeToTimeStamp(days), RangeError) << days;
  }
}

// The split keeps the engine's own day: 29.12.1899 06:00 comes from the
// engine as -0.75 and is day -1 at 06:00, not day 0.
TEST(TimeStamp, SplitKeepsTheEngineDay) {
  struct Case {
    TFBTimeStamp ts;
    int64_t day;
    double fraction;
  } cases[] = {
      {{15017, 216000000}, -1, 0.25},
      {{15018, 216000000}, 0, 0.25},
      {{15017, 0}, -1, 0.0},
      {{0, 432000000}, -15018, 0.5},
      {{-100000, 863999999}, -115018, 863999999 / 864000000.0},
      {{15019, 432000000}, 1, 0.5},
  };
  for (const auto& c : cases) {
    DayAndTime s = SplitDayCount(TimeStampToDateTime(c.ts));
    EXPECT_EQ(s.day, c.day) << c.ts.date << "/" << c.ts.time;
    EXPECT_EQ(s.day, DayOfTimeStamp(c.ts));
    EXPECT_NEAR(s.fraction, c.fraction, 1e-9) << c.ts.date << "/" << c.ts.time;
  }
  DayAndTime tiny = SplitDayCount(-1e-20);
  EXPECT_EQ(tiny.day, 0);
  EXPECT_EQ(tiny.fraction, 0.0);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
    EXPECT_THROW(SplitDayCount(bad), RangeError) << bad;
  }
  // The way back stays as it was: such a value has no timestamp.
  EXPECT_THROW(DateTimeToTimeStamp(-0.75), RangeError);
}

}  // namespace
}  // namespace qor
