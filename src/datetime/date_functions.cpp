#include "datetime/date_functions.h"

#include <cmath>
#include <cstdio>

#include "datetime/date_parse.h"
#include "frame/errors.h"
#include "frame/strings.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

constexpr std::string_view kDayNames[7] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                           "Freitag", "Samstag",  "Sonntag"};
constexpr std::string_view kDayNamesUpper[7] = {"MONTAG",  "DIENSTAG", "MITTWOCH", "DONNERSTAG",
                                                "FREITAG", "SAMSTAG",  "SONNTAG"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendPadded(std::string& out, int64_t value, int width) {
  char buf[32];
  int n = std::snprintf(buf, sizeof buf, "%.*lld", width, static_cast<long long>(value));
  if (n > 0) out.append(buf, static_cast<size_t>(n));
}

// How far 1 January lies after the Monday that starts week 1 (negative: the
// Monday comes after it), by its weekday, Monday = 1.
int64_t NewYearOffset(int64_t new_year) {
  static constexpr int64_t kOffset[8] = {0, 0, 1, 2, 3, -3, -2, -1};
  return kOffset[DayOfWeek(new_year)];
}

struct Week {
  int32_t number;
  int32_t year;
};

Week WeekOfDay(int64_t day) {
  const int64_t sunday = day + (7 - DayOfWeek(day));
  const int32_t year = CivilFromDays(sunday).year;
  const int64_t new_year = DaysFromCivil(year, 1, 1);
  const int64_t offset = NewYearOffset(new_year);
  const int64_t w = (offset + (sunday - new_year)) / 7;
  if (offset >= 0 || sunday >= new_year - offset) {
    return Week{static_cast<int32_t>(w + 1), year};
  }
  // The first days of January before the Monday of week 1 belong to the last
  // week of the year before.
  return Week{WeekOfDay(sunday - 7).number + 1, year - 1};
}

int32_t CompleteYear(int64_t year) {
  if (year < 70) return CheckedInt32(year + 2000);
  if (year <= 99) return static_cast<int32_t>(year + 1900);
  return CheckedInt32(year);
}

}  // namespace

std::string DayNameText(int64_t day, int32_t style) {
  const int32_t weekday = DayOfWeek(day);
  if (style >= 1 && style <= 10) return std::string(kDayNames[weekday - 1].substr(0, static_cast<size_t>(style)));
  if (style >= -10 && style <= -1) {
    return std::string(kDayNamesUpper[weekday - 1].substr(0, static_cast<size_t>(-style)));
  }
  return std::string(1, static_cast<char>('0' + weekday));
}

int16_t DaysOfMonth(int16_t month, int32_t year) {
  const int64_t full = year < 70 ? int64_t{year} + 2000 : year <= 99 ? int64_t{year} + 1900 : year;
  if (month < 1 || month > 12) return 0;
  if (month == 2 && (full < 0 || full > 65535)) throw RangeError();
  return static_cast<int16_t>(DaysInMonth(full, month));
}

int32_t IsDateText(std::string_view text) noexcept {
  return ParseDateTimeText(TrimText(text)) != 0.0 ? 1 : 0;
}

TDateTime DateTimeTextValue(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c == ' ' || c == '.' || c == ':' || IsDigit(c)) kept.push_back(c);
  }
  return ParseDateTimeText(kept);
}

std::string DateTimeText(int64_t day, uint32_t time_units) {
  const CivilDate c = CivilFromDays(day);
  // Beyond the years 1..9999 or past midnight the text would outgrow its
  // fixed 19 characters (and the result the server takes).
  if (c.year < 1 || c.year > 9999 || time_units > kMaxEngineTime) throw RangeError();
  const uint32_t seconds = time_units / 10000;
  std::string out;
  out.reserve(20);
  AppendPadded(out, c.day, 2);
  out.push_back('.');
  AppendPadded(out, c.month, 2);
  out.push_back('.');
  AppendPadded(out, c.year, 4);
  out.push_back(' ');
  AppendPadded(out, seconds / 3600, 2);
  out.push_back(':');
  AppendPadded(out, seconds / 60 % 60, 2);
  out.push_back(':');
  AppendPadded(out, seconds % 60, 2);
  return out;
}

int32_t SecondsBetween(TDateTime a, TDateTime b) {
  const double x = (b - a) * 86400.0;
  if (!std::isfinite(x)) throw RangeError();
  double r = std::floor(x);
  const double rest = x - r;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  r = std::fabs(r);
  if (r > 2147483647.0) throw RangeError();
  return static_cast<int32_t>(r);
}

std::string WeekOfDateText(int64_t day) {
  const Week w = WeekOfDay(day);
  std::string out;
  AppendPadded(out, w.number, 2);
  out.push_back('-');
  AppendPadded(out, w.year, 4);
  return out;
}

int64_t DateOfWeek(std::string_view text) {
  // The clock is read only when the text leaves the year open.
  return DateOfWeek(text, 0);
}

int64_t DateOfWeek(std::string_view text, int32_t current_year) {
  auto current = [&] { return current_year != 0 ? current_year : Today().year; };
  int64_t week = ParseLeadingInt(text);
  size_t p = 0;
  while (p < text.size() && IsDigit(text[p])) ++p;
  while (p < text.size() && !IsDigit(text[p])) ++p;
  const std::string_view rest = text.substr(p);
  int64_t year = ParseLeadingInt(rest);
  bool one_number = false;
  if (year == 0 && week > 53) {
    one_number = true;
    if (week < 5400) {
      year = week % 100;
      week /= 100;
    } else {
      year = week / 100;
      week %= 100;
    }
  }
  if (year < 100) {
    year = rest.empty() && !one_number ? current() : CompleteYear(year);
  }
  if (year < 1970 || year > 2069) year = current();
  const int64_t new_year = DaysFromCivil(year, 1, 1);
  return new_year - NewYearOffset(new_year) + (week - 1) * 7;
}

int32_t JahrMoOfDay(int64_t day) {
  const CivilDate c = CivilFromDays(day);
  return CheckedAdd(CheckedMul(c.year, int32_t{100}), c.month);
}

int32_t DateStrToJahrMo(std::string_view text) {
  return JahrMoOfDay(SplitDayCount(ParseDateTimeText(text)).day);
}

TDateTime JahrMoToDate(int32_t key) {
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "01.%.2d.%.4d", key % 100, key / 100);
  return ParseDateTimeText(std::string_view(buf, n > 0 ? static_cast<size_t>(n) : 0));
}

std::string JahrMoToDateStr(int32_t key) {
  std::string out = "01.";
  AppendPadded(out, key % 100, 2);
  out.push_back('.');
  AppendPadded(out, key / 100, 4);
  return out;
}

}  // namespace qor
