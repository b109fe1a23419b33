#include "mask/mask.h"

#include <array>
#include <charconv>
#include <cmath>

#include "frame/errors.h"
#include "frame/number_text.h"
#include "frame/strings.h"
#include "mask/number_pattern.h"
#include "text/case_tables.h"

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

std::string DigitsOfText(const MaskCall& m) {
  std::string digits;
  for (char c : m.text) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  ZeroFill(digits, Width(m.n));
  return digits + ListItem(m.params, 1, ',', BlanksSeparate);
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

struct MaskEntry {
  char letter;
  MaskHandler handler;
};

// The mask letters, case-sensitive; every other letter gives the default text.
constexpr MaskEntry kMaskTable[] = {
    {'C', Cut},       {'S', PadBehind},     {'s', PadInFront},   {'L', Lower},
    {'l', Lower},     {'U', Upper},         {'u', Upper},        {'M', Unchanged},
    {'m', Unchanged}, {'R', NumberPattern}, {'o', DigitsOfText}, {'W', DigitWordLine},
    {'w', DigitWord},
};

constexpr std::array<MaskHandler, 256> MakeDispatch() {
  std::array<MaskHandler, 256> table{};
  for (const auto& e : kMaskTable) table[static_cast<unsigned char>(e.letter)] = e.handler;
  return table;
}

constexpr std::array<MaskHandler, 256> kDispatch = MakeDispatch();

std::string DefaultText(std::string_view text, int32_t kind, double number, TDateTime) {
  switch (kind) {
    case MaskNumber:
      return NumberText(number);
    default:
      return std::string(text);
  }
}

}  // namespace

std::string_view DigitWords(int digit) noexcept {
  return digit >= 0 && digit <= 9 ? kDigitWords[digit] : std::string_view();
}

std::string ApplyMask(std::string_view mask, std::string_view text, int32_t kind, double number,
                      TDateTime datetime) {
  std::string result = DefaultText(text, kind, number, datetime);
  if (mask.empty()) return result;
  const MaskHandler handler = kDispatch[static_cast<unsigned char>(mask[0])];
  if (handler == nullptr) return result;
  const std::string_view params = mask.substr(1);
  result = handler({mask[0], params, ParseLeadingInt(params), result, number, datetime});
  if (result.size() > static_cast<size_t>(kMaxMaskResult)) throw RangeError();
  return result;
}

}  // namespace qor
