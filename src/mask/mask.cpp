#include "mask/mask.h"

#include <array>
#include <charconv>
#include <cmath>

#include "datetime/calendar.h"
#include "datetime/date_parse.h"
#include "frame/errors.h"
#include "frame/number_text.h"
#include "frame/strings.h"
#include "mask/date_pattern.h"
#include "mask/number_pattern.h"
#include "numeric/rounding.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

constexpr std::string_view kDigitWords[10] = {"NULL", "EINS",   "ZWEI", "DREI", "VIER",
                                              "F\xC3\x9CNF", "SECHS", "SIEBEN", "ACHT", "NEUN"};

// What a mask handler works on.
struct MaskCall {
  char letter;
  std::string_view params;  // the mask after its letter
  int32_t n;                // ParseLeadingInt(params)
  std::string_view text;    // the default text
  double number;
  TDateTime datetime;
};

using MaskHandler = std::string (*)(const MaskCall&);

// A field width taken from a mask: negative widths count as 0.
size_t Width(int32_t n) {
  if (n > kMaxMaskResult) throw RangeError();
  return n > 0 ? static_cast<size_t>(n) : 0;
}

std::string_view Head(std::string_view text, int32_t n) {
  return n > 0 ? text.substr(0, static_cast<size_t>(n)) : text;
}

std::string Cut(const MaskCall& m) { return std::string(Head(m.text, m.n)); }

std::string PadBehind(const MaskCall& m) {
  std::string out(Head(m.text, m.n));
  const size_t width = Width(m.n);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

std::string PadInFront(const MaskCall& m) {
  std::string_view head = Head(m.text, m.n);
  const size_t width = Width(m.n);
  std::string out;
  if (head.size() < width) out.assign(width - head.size(), ' ');
  out.append(head);
  return out;
}

std::string Lower(const MaskCall& m) { return LowerCopy(Head(m.text, m.n)); }
std::string Upper(const MaskCall& m) { return UpperCopy(Head(m.text, m.n)); }
std::string Unchanged(const MaskCall& m) { return std::string(m.text); }

std::string NumberPattern(const MaskCall& m) {
  return FormatNumberPattern(m.params, ParseFloatText(m.text));
}

// Zeros put in front of digits until the text is `width` long; a leading
// "-" stays in front of them.
void ZeroFill(std::string& digits, size_t width) {
  if (digits.size() >= width) return;
  const size_t at = !digits.empty() && digits[0] == '-' ? 1 : 0;
  digits.insert(at, width - digits.size(), '0');
}

// A finite value in fixed-point notation with `decimals` places (0 to 9):
// every digit of the integer part, no exponent, "." as the decimal point.
std::string FixedText(double value, int32_t decimals) {
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value == 0 ? 0.0 : value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) throw RangeError();
  return std::string(buf, res.ptr);
}

// F, f, N, n: [0]width[.decimals].
std::string FixedPoint(const MaskCall& m) {
  int32_t decimals = -1;
  const size_t point = m.params.find('.');
  if (point != std::string_view::npos) decimals = ParseLeadingInt(m.params.substr(point + 1, 2));
  double x = ParseFloatText(m.text);
  const bool zero_fill = !m.params.empty() && m.params[0] == '0';
  const size_t width = Width(m.n);
  const bool trimmed = m.letter == 'N' || m.letter == 'n';
  if (x == 0 && (m.letter == 'F' || m.letter == 'N')) return zero_fill ? std::string(width, '0') : std::string();

  std::string out;
  if (decimals < 0) {
    out = NumberText(x);
  } else {
    x = RoundDecimals(x, decimals);
    out = FixedText(x, decimals);
    if (out.size() < width) out.insert(0, width - out.size(), ' ');
    if (trimmed) out = std::string(TrimText(out));
  }
  if (zero_fill) ZeroFill(out, width);
  if (out.size() > width) out.resize(width);
  return out;
}

std::string Suffix(const MaskCall& m) { return ListItem(m.params, 1, ',', BlanksSeparate); }

// O: the amount in hundredths.
std::string Hundredths(const MaskCall& m) {
  const double cents = ParseFloatText(m.text) * 100;
  if (!std::isfinite(cents)) throw RangeError();
  std::string digits = FixedText(RoundDecimals(cents, 0), 0);
  ZeroFill(digits, Width(m.n));
  return digits + Suffix(m);
}

std::string DigitsOfText(const MaskCall& m) {
  std::string digits;
  for (char c : m.text) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  ZeroFill(digits, Width(m.n));
  return digits + Suffix(m);
}

// The digits W and w spell: the integer part of the text.
std::string IntegerDigits(std::string_view text) { return std::to_string(ParseLeadingInt(text)); }

std::string_view WordOf(char digit) {
  return kDigitWords[ParseLeadingInt(std::string_view(&digit, 1))];
}

std::string DigitWordLine(const MaskCall& m) {
  const std::string digits = IntegerDigits(m.text);
  const std::string item0 = ListItem(m.params, 0, ',', BlanksSeparate);
  const int32_t line_length = ParseLeadingInt(item0);
  int32_t field = line_length;
  const size_t point = item0.find('.');
  if (point != std::string::npos) field = ParseLeadingInt(std::string_view(item0).substr(point + 1, 10));
  const size_t field_width = Width(field);
  int32_t wanted_no = ParseLeadingInt(ListItem(m.params, 1, ',', BlanksSeparate));
  int32_t lines_allowed = ParseLeadingInt(ListItem(m.params, 2, ',', BlanksSeparate));
  if (wanted_no < 1) wanted_no = 1;
  if (lines_allowed < wanted_no) lines_allowed = wanted_no;

  std::string line, wanted;
  int32_t line_no = 1;
  for (char c : digits) {
    const std::string_view word = WordOf(c);
    if (static_cast<int64_t>(line.size() + word.size()) >= line_length) {
      ++line_no;
      if (line_no > lines_allowed) return std::string(field_width, '*');
      line.clear();
    }
    if (!line.empty()) line.push_back('-');
    line.append(word);
    if (line_no == wanted_no) wanted = line;
  }
  if (line_no < wanted_no) wanted.clear();
  if (wanted.size() < field_width) wanted.append(field_width - wanted.size(), '-');
  return wanted;
}

std::string DigitWord(const MaskCall& m) {
  const std::string digits = IntegerDigits(m.text);
  char digit = '0';
  if (m.n >= 1 && static_cast<size_t>(m.n) <= digits.size()) digit = digits[digits.size() - static_cast<size_t>(m.n)];
  return std::string(WordOf(digit));
}

void AppendTwo(std::string& out, int value) {
  out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

void AppendYear(std::string& out, int year) {
  AppendTwo(out, year / 100);
  AppendTwo(out, year % 100);
}

// "DD.MM.YYYY"
void AppendDate(std::string& out, const DateTimeParts& p) {
  AppendTwo(out, p.day);
  out.push_back('.');
  AppendTwo(out, p.month);
  out.push_back('.');
  AppendYear(out, p.year);
}

// "HH:MM" or "HH:MM:SS"
void AppendTime(std::string& out, const DateTimeParts& p, bool seconds) {
  AppendTwo(out, p.hour);
  out.push_back(':');
  AppendTwo(out, p.minute);
  if (seconds) {
    out.push_back(':');
    AppendTwo(out, p.second);
  }
}

// D, d: 4 YYYY, 5 MM.YY, 7 MM.YYYY, 8 DD.MM.YY, 10 DD.MM.YYYY,
// 16 DD.MM.YYYY HH:MM, 19 DD.MM.YYYY HH:MM:SS.
std::string DateLayout(const MaskCall& m) {
  const TDateTime date = m.datetime != 0 ? m.datetime : ParseDateTimeText(m.text);
  if (date == 0) return {};
  const int32_t width = m.n;
  if (width != 4 && width != 5 && width != 7 && width != 8 && width != 10 && width != 16 && width != 19) return {};
  const DateTimeParts p = SplitDateTime(date);
  std::string out;
  switch (width) {
    case 4:
      AppendYear(out, p.year);
      break;
    case 5:
    case 7:
      AppendTwo(out, p.month);
      out.push_back('.');
      if (width == 5) {
        AppendTwo(out, p.year);
      } else {
        AppendYear(out, p.year);
      }
      break;
    case 8:
      AppendTwo(out, p.day);
      out.push_back('.');
      AppendTwo(out, p.month);
      out.push_back('.');
      AppendTwo(out, p.year);
      break;
    default:
      AppendDate(out, p);
      if (width > 10) {
        out.push_back(' ');
        AppendTime(out, p, width == 19);
      }
  }
  return out;
}

// T, t: 2 HH, 5 HH:MM, 8 HH:MM:SS.
std::string TimeLayout(const MaskCall& m) {
  const TDateTime time = m.datetime != 0 ? m.datetime : ParseTimeText(m.text);
  if (time == 0) return {};
  if (m.n != 2 && m.n != 5 && m.n != 8) return {};
  const DateTimeParts p = SplitDateTime(time);
  std::string out;
  if (m.n == 2) {
    AppendTwo(out, p.hour);
  } else {
    AppendTime(out, p, m.n == 8);
  }
  return out;
}

// Z: the term date, written by the mask D10.
std::string TermDate(const MaskCall& m) {
  const TDateTime date = m.datetime != 0 ? m.datetime : ParseDateTimeText(m.text);
  return ApplyMask("D10", "", MaskDateTime, 0.0, DueDate(date, m.n));
}

struct MaskEntry {
  char letter;
  MaskHandler handler;
};

// The mask letters, case-sensitive; every other letter gives the default text.
constexpr MaskEntry kMaskTable[] = {
    {'C', Cut},       {'S', PadBehind},     {'s', PadInFront},   {'L', Lower},
    {'l', Lower},     {'U', Upper},         {'u', Upper},        {'M', Unchanged},
    {'m', Unchanged}, {'R', NumberPattern}, {'o', DigitsOfText}, {'W', DigitWordLine},
    {'w', DigitWord}, {'F', FixedPoint},    {'f', FixedPoint},   {'N', FixedPoint},
    {'n', FixedPoint}, {'O', Hundredths},   {'D', DateLayout},   {'d', DateLayout},
    {'T', TimeLayout}, {'t', TimeLayout},   {'Z', TermDate},
};

constexpr std::array<MaskHandler, 256> MakeDispatch() {
  std::array<MaskHandler, 256> table{};
  for (const auto& e : kMaskTable) table[static_cast<unsigned char>(e.letter)] = e.handler;
  return table;
}

constexpr std::array<MaskHandler, 256> kDispatch = MakeDispatch();

std::string DefaultText(std::string_view text, int32_t kind, double number, TDateTime datetime) {
  switch (kind) {
    case MaskNumber:
      return NumberText(number);
    case MaskDateTime: {
      // A time of day alone lies on day 0, 30.12.1899. (Days before it count
      // their time forward from midnight, so -0.75 is 29.12.1899 06:00.)
      const DateTimeParts p = SplitDateTime(datetime);
      std::string out;
      if (datetime != 0 && SplitDayCount(datetime).day == 0) {
        AppendTime(out, p, true);
      } else {
        AppendDate(out, p);
      }
      return out;
    }
    default:
      return std::string(text);
  }
}

}  // namespace

TDateTime DueDate(TDateTime date, int32_t k) {
  // k < 0: the fixed-day term of the booking functions, at 00:00.
  const TDateTime due =
      k >= 0 ? date + k : static_cast<double>(FixedDayOfNextMonth(SplitDayCount(date).day, -int64_t{k}));
  const CivilDate check = CivilFromDays(SplitDayCount(due).day);
  if (check.year < 1 || check.year > 9999) throw RangeError();
  return due;
}

std::string_view DigitWords(int digit) noexcept {
  return digit >= 0 && digit <= 9 ? kDigitWords[digit] : std::string_view();
}

std::string ApplyMask(std::string_view mask, std::string_view text, int32_t kind, double number,
                      TDateTime datetime) {
  std::string result = DefaultText(text, kind, number, datetime);
  const MaskHandler handler = mask.empty() ? nullptr : kDispatch[static_cast<unsigned char>(mask[0])];
  if (handler != nullptr) {
    const std::string_view params = mask.substr(1);
    result = handler({mask[0], params, ParseLeadingInt(params), result, number, datetime});
  }
  // The default text too: a value longer than the longest result would fail
  // the caller's statement.
  if (result.size() > static_cast<size_t>(kMaxMaskResult)) throw RangeError();
  return result;
}

}  // namespace qor
