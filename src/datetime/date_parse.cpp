#include "datetime/date_parse.h"

#include <cstdint>

#include "frame/strings.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

// The value of a field that begins at the 1-based position `start` and is
// closed at position i: the number at the start of the piece of at most
// i - 1 characters from there.
int32_t FieldValue(std::string_view text, size_t start, size_t i) {
  return ParseLeadingInt(text.substr(start - 1, i - 1));
}

bool Fits16(int32_t v) { return v >= 0 && v <= 65535; }

// The part of a day that a time of day is, counted in milliseconds.
double DayFraction(double hour, double minute, double second, double msec) {
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
}

TDateTime ParseDate(std::string_view text, const CivilDate* fixed_today) noexcept {
  CivilDate today{};
  bool have_today = false;
  auto get_today = [&]() -> const CivilDate& {
    if (!have_today) {
      today = fixed_today != nullptr ? *fixed_today : Today();
      have_today = true;
    }
    return today;
  };

  int32_t field[7] = {0, 0, 0, 0, 0, 0, 0};
  int n = 0;
  size_t start = 1;
  bool year_from_today = false;
  const size_t length = text.size();

  for (size_t i = 1; i <= length && n <= 6; ++i) {
    const char c = text[i - 1];
    if (i == length) {
      field[n] = FieldValue(text, start, i);
      ++n;
    } else if (c == '.') {
      if (n >= 2) break;
      field[n] = FieldValue(text, start, i);
      start = i + 1;
      ++n;
    } else if (c == ':') {
      if (n <= 2) break;
      field[n] = FieldValue(text, start, i);
      start = i + 1;
      ++n;
    } else if (c == ' ') {
      if (n == 1) {
        if (start == i) {
          field[1] = get_today().month;
          year_from_today = true;
        } else {
          field[1] = FieldValue(text, start, i);
        }
        start = i + 1;
        n = 2;
      } else if (n == 2) {
        if (start == i) {
          year_from_today = true;
        } else {
          field[2] = FieldValue(text, start, i);
        }
        if (TrimText(text.substr(start - 1, i - 1)).empty()) year_from_today = true;
        start = i + 1;
        n = 3;
      }
    }
  }

  int32_t day = field[0], month = field[1], year = field[2];
  if (n < 3 || day < 1 || day > 31 || month < 1 || month > 12) return 0.0;
  if (year < 70) {
    year = year_from_today ? get_today().year : year + 2000;
  } else if (year <= 99) {
    year += 1900;
  }
  const int32_t hour = field[3], minute = field[4], second = field[5];
  for (int32_t v : {year, month, day, hour, minute, second}) {
    if (!Fits16(v)) return 0.0;
  }
  if (!IsValidDate(year, month, day) || hour >= 24 || minute >= 60 || second >= 60) return 0.0;
  return static_cast<double>(DaysFromCivil(year, month, day)) + DayFraction(hour, minute, second, 0);
}

}  // namespace

TDateTime ParseDateTimeText(std::string_view text) noexcept { return ParseDate(text, nullptr); }

TDateTime ParseDateTimeText(std::string_view text, const CivilDate& today) noexcept {
  return ParseDate(text, &today);
}

TDateTime ParseTimeText(std::string_view input) noexcept {
  // '9' reads as '9:' and '12' as '12:'.
  char padded[3];
  std::string_view text = input;
  if (input.size() < 3 && input.find(':') == std::string_view::npos) {
    for (size_t k = 0; k < input.size(); ++k) padded[k] = input[k];
    padded[input.size()] = ':';
    text = std::string_view(padded, input.size() + 1);
  }

  int32_t field[4] = {0, 0, 0, 0};
  int n = 0;
  size_t start = 1;
  const size_t length = text.size();
  for (size_t i = 1; i <= length && n <= 3; ++i) {
    const char c = text[i - 1];
    if (i == length) {
      field[n] = FieldValue(text, start, i);
      ++n;
    } else if (c == ':') {
      field[n] = FieldValue(text, start, i);
      start = i + 1;
      ++n;
    } else if (c == ' ') {
      ++n;
    }
  }

  const auto hour = static_cast<uint32_t>(field[0]);
  const auto minute = static_cast<uint32_t>(field[1]);
  const auto second = static_cast<uint32_t>(field[2]);
  const int32_t msec = field[3];
  if (hour >= 24 || minute >= 60 || second >= 60) return 0.0;
  if (msec < 0 || msec >= 1000) return 0.0;
  return DayFraction(hour, minute, second, msec);
}

}  // namespace qor
