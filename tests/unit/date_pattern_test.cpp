#include "mask/date_pattern.h"

#include <gtest/gtest.h>

#include "datetime/calendar.h"
#include "frame/errors.h"

namespace qor {
namespace {

// Wednesday, 1 February 2023, 13:05:09.007.
constexpr DateTimeParts kAfternoon{2023, 2, 1, 3, 13, 5, 9, 7};

DateTimeParts At(int hour, int minute = 0) {
  DateTimeParts p = kAfternoon;
  p.hour = hour;
  p.minute = minute;
  return p;
}

struct Case {
  const char* pattern;
  const char* want;
};

void Check(const DateTimeParts& parts, std::initializer_list<Case> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTimeParts(c.pattern, parts), c.want) << "pattern " << c.pattern;
  }
}

TEST(DatePattern, DayTokens) {
  Check(kAfternoon, {{"d", "1"}, {"dd", "01"}, {"ddd", "Wed"}, {"dddd", "Wednesday"},
                     {"ddddd", "1-2-23"}, {"dddddd", "01 February 2023"},
                     {"ddddddd", "01 February 2023"}, {"D.DD", "1.01"}});
  DateTimeParts sunday{2023, 12, 31, 7, 0, 0, 0, 0};
  Check(sunday, {{"ddd dddd", "Sun Sunday"}, {"d", "31"}});
}

TEST(DatePattern, MonthAndYearTokens) {
  Check(kAfternoon, {{"m", "2"}, {"mm", "02"}, {"mmm", "Feb"}, {"mmmm", "February"},
                     {"mmmmm", "February"}, {"MM", "02"}, {"y", "23"}, {"yy", "23"},
                     {"yyy", "2023"}, {"yyyy", "2023"}, {"YYYY-MM-DD", "2023-02-01"}});
  DateTimeParts early{5, 9, 3, 1, 0, 0, 0, 0};
  Check(early, {{"yyyy", "0005"}, {"yy", "05"}, {"mmm", "Sep"}, {"mmmm", "September"}});
}

TEST(DatePattern, MonthLettersRightAfterAnHourAreMinutes) {
  Check(kAfternoon, {{"hh:mm", "13:05"}, {"h:m", "13:5"}, {"hhmm", "1305"}, {"HH:MM", "13:05"},
                     {"hh::mm", "13::05"}, {"hh mm", "13 02"}, {"hh:nn mm", "13:05 02"},
                     {"hh:mmm", "13:Feb"}, {"mm hh", "02 13"}, {"hh'x'mm", "13x02"},
                     {"dd.mm.yyyy hh:nn", "01.02.2023 13:05"}});
}

TEST(DatePattern, TimeTokens) {
  Check(kAfternoon, {{"h", "13"}, {"hh", "13"}, {"n", "5"}, {"nn", "05"}, {"s", "9"},
                     {"ss", "09"}, {"sss", "09"}, {"z", "7"}, {"zz", "7"}, {"zzz", "007"},
                     {"t", "13:05"}, {"tt", "13:05:09"}, {"c", "1-2-23 13:05:09"}});
  Check(At(7), {{"h", "7"}, {"hh", "07"}});
}

TEST(DatePattern, TwelveHourClock) {
  struct HourCase {
    int hour;
    const char* want;
  } cases[] = {{0, "12:00 am"}, {1, "1:00 am"}, {11, "11:00 am"},
               {12, "12:00 pm"}, {13, "1:00 pm"}, {23, "11:00 pm"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTimeParts("h:nn am/pm", At(c.hour)), c.want) << c.hour;
  }
  Check(At(0), {{"hh AM/PM", "12 AM"}, {"hh Am/Pm", "12 Am"}, {"h a/p", "12 a"}, {"h A/P", "12 A"},
                {"h ampm", "12 AM"}, {"h AMPM", "12 AM"}});
  Check(At(15), {{"hh AM/PM", "03 PM"}, {"hh am/PM", "03 PM"}, {"h a/p", "3 p"}, {"h A/p", "3 p"},
                 {"h ampm", "3 PM"}, {"hh:mm a/p", "03:00 p"}});
  // Only a marker after the hour switches it; quoted text is no marker.
  Check(At(15), {{"am/pm hh", "pm 15"}, {"hh 'am/pm'", "15 am/pm"}, {"t am/pm", "15:00 pm"}});
}

TEST(DatePattern, SeparatorsQuotesAndOtherCharacters) {
  Check(kAfternoon, {{"d/m/yyyy", "1-2-2023"}, {"hh:nn", "13:05"},
                     {"'dd' dd", "dd 01"}, {"\"mm\"mm", "mm02"}, {"'it''s'", "its"},
                     {"\"it's\" d", "it's 1"}, {"d 'rest mm", "1 rest mm"},
                     {"d \"", "1 "}, {"xbq-ä#", "xbq-ä#"}, {"a", "a"}, {"ap", "ap"},
                     {"", ""}});
}

TEST(DatePattern, DayCountsSplitIntoTheirParts) {
  const double day = static_cast<double>(EncodeDate(2023, 2, 1));
  EXPECT_EQ(FormatDateTime("dddd dd.mm.yyyy hh:nn:ss.zzz", day + (13 * 3600 + 5 * 60 + 9.007) / 86400),
            "Wednesday 01.02.2023 13:05:09.007");
  EXPECT_EQ(FormatDateTime("dddd dd.mm.yyyy hh:nn:ss", 0.0), "Saturday 30.12.1899 00:00:00");
  // Before 30.12.1899 the time still counts forward from midnight.
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn", -0.75), "29.12.1899 06:00");
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss.zzz", static_cast<double>(EncodeDate(1, 1, 1)) + 0.5),
            "01.01.0001 12:00:00.000");
  // A time a hair below midnight stays on its day.
  EXPECT_EQ(FormatDateTime("dd hh:nn:ss.zzz", day + 0.99999999999), "01 23:59:59.999");
  EXPECT_EQ(FormatDateTime("ddd", static_cast<double>(EncodeDate(2023, 12, 31))), "Sun");
  EXPECT_THROW(FormatDateTime("d", 1e300), RangeError);
}

}  // namespace
}  // namespace qor
