#include "mask/date_pattern.h"

#include <cmath>

#include "datetime/calendar.h"
#include "datetime/date_parse.h"
#include "frame/strings.h"

namespace qor {

namespace {

constexpr std::string_view kShortDate = "d/m/y";
constexpr std::string_view kLongDate = "dd\" \"mmmm\" \"yyyy";
constexpr std::string_view kShortTime = "hh:nn";
constexpr std::string_view kLongTime = "hh:nn:ss";
constexpr char kDateSeparator = '-';
constexpr char kTimeSeparator = ':';

constexpr std::string_view kMonthNames[12] = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
// Monday first, as the weekday numbers count.
constexpr std::string_view kDayNames[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                           "Friday", "Saturday", "Sunday"};

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[month - 1] : std::string_view();
}
std::string_view DayName(int weekday) {
  return weekday >= 1 && weekday <= 7 ? kDayNames[weekday - 1] : std::string_view();
}

// A number with at least `digits` digits (leading zeros).
void AppendNumber(std::string& out, int value, int digits) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (value < 0) out.push_back('-');
  if (static_cast<int>(text.size()) < digits) out.append(static_cast<size_t>(digits) - text.size(), '0');
  out.append(text);
}

bool StartsWithIgnoreCase(std::string_view text, size_t at, std::string_view word) {
  return text.size() - at >= word.size() && EqualsIgnoreAsciiCase(text.substr(at, word.size()), word);
}

// Length of the am/pm token at `at` ("ampm" 4, "am/pm" 5, "a/p" 3), or 0.
size_t MarkerLength(std::string_view pattern, size_t at) {
  if (StartsWithIgnoreCase(pattern, at, "ampm")) return 4;
  if (StartsWithIgnoreCase(pattern, at, "am/pm")) return 5;
  if (StartsWithIgnoreCase(pattern, at, "a/p")) return 3;
  return 0;
}

// Whether an am/pm token follows `from`, quoted text not counted.
bool MarkerFollows(std::string_view pattern, size_t from) {
  for (size_t i = from; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '\'' || c == '"') {
      i = pattern.find(c, i + 1);
      if (i == std::string_view::npos) return false;
    } else if ((c == 'a' || c == 'A') && MarkerLength(pattern, i) > 0) {
      return true;
    }
  }
  return false;
}

void Format(std::string& out, std::string_view pattern, const DateTimeParts& p) {
  bool after_hour = false;  // the last token was an hour, perhaps followed by ":"
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char u = AsciiUpper(c);
    size_t count = 1;
    if (u >= 'A' && u <= 'Z') {
      while (i + count < pattern.size() && AsciiUpper(pattern[i + count]) == u) ++count;
    }
    const bool hour_before = after_hour;
    after_hour = false;
    switch (u) {
      case 'D':
        if (count <= 2) {
          AppendNumber(out, p.day, static_cast<int>(count));
        } else if (count == 3) {
          out.append(DayName(p.weekday).substr(0, 3));
        } else if (count == 4) {
          out.append(DayName(p.weekday));
        } else if (count == 5) {
          Format(out, kShortDate, p);
        } else {
          Format(out, kLongDate, p);
        }
        break;
      case 'M':
        if (count <= 2 && hour_before) {
          AppendNumber(out, p.minute, static_cast<int>(count));
        } else if (count <= 2) {
          AppendNumber(out, p.month, static_cast<int>(count));
        } else if (count == 3) {
          out.append(MonthName(p.month).substr(0, 3));
        } else {
          out.append(MonthName(p.month));
        }
        break;
      case 'Y':
        if (count <= 2) {
          AppendNumber(out, p.year % 100, 2);
        } else {
          AppendNumber(out, p.year, 4);
        }
        break;
      case 'H': {
        int hour = p.hour;
        if (MarkerFollows(pattern, i + count)) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        AppendNumber(out, hour, count == 1 ? 1 : 2);
        after_hour = true;
        break;
      }
      case 'N':
        AppendNumber(out, p.minute, count == 1 ? 1 : 2);
        break;
      case 'S':
        AppendNumber(out, p.second, count == 1 ? 1 : 2);
        break;
      case 'Z':
        AppendNumber(out, p.millisecond, count <= 2 ? 1 : 3);
        break;
      case 'T':
        Format(out, count == 1 ? kShortTime : kLongTime, p);
        break;
      case 'C':
        Format(out, kShortDate, p);
        out.push_back(' ');
        Format(out, kLongTime, p);
        break;
      case 'A': {
        const size_t marker = MarkerLength(pattern, i);
        if (marker == 4) {
          out.append(p.hour >= 12 ? "PM" : "AM");
        } else if (marker == 5) {
          out.append(pattern.substr(p.hour >= 12 ? i + 3 : i, 2));
        } else if (marker == 3) {
          out.push_back(pattern[p.hour >= 12 ? i + 2 : i]);
        } else {
          out.push_back(c);
        }
        count = marker > 0 ? marker : 1;
        break;
      }
      case '/':
        out.push_back(kDateSeparator);
        break;
      case ':':
        out.push_back(kTimeSeparator);
        after_hour = hour_before;
        break;
      case '\'':
      case '"': {
        size_t end = pattern.find(c, i + 1);
        if (end == std::string_view::npos) end = pattern.size();
        out.append(pattern.substr(i + 1, end - i - 1));
        count = end + 1 - i;
        break;
      }
      default:
        out.append(pattern.substr(i, count));
        break;
    }
    i += count;
  }
}

}  // namespace

DateTimeParts SplitDateTime(TDateTime value) {
  constexpr long long kMsPerDay = 86400000;
  const DayAndTime split = SplitDayCount(value);
  const CivilDate date = CivilFromDays(split.day);
  long long ms = std::llround(split.fraction * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  DateTimeParts p;
  p.year = date.year;
  p.month = date.month;
  p.day = date.day;
  p.weekday = DayOfWeek(split.day);
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
  return FormatDateTimeParts(pattern, SplitDateTime(value));
}

std::string FormatDateText(std::string_view pattern, std::string_view date_text) {
  return FormatDateTime(pattern, ParseDateTimeText(date_text));
}

std::string FormatDateTimeParts(std::string_view pattern, const DateTimeParts& parts) {
  std::string out;
  out.reserve(pattern.size() * 2);
  Format(out, pattern, parts);
  return out;
}

}  // namespace qor
