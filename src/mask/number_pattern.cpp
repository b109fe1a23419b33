#include "mask/number_pattern.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "frame/number_text.h"

namespace qor {

namespace {

// Significant digits the decimal form of a value is taken with before it is
// rounded: the digits the general number text shows.
constexpr int kSignificant = 15;

enum class Tok { Zero, Hash, Point, Exponent, Literal };

struct Token {
  Tok kind;
  std::string_view text;  // Literal: the text; Exponent: "E"/"e"
  bool plus = false;      // Exponent: "+" asked for positive exponents
  int zeros = 0;          // Exponent: minimum exponent digits
};

struct Section {
  std::vector<Token> tokens;
  int int_count = 0;    // digit placeholders before the decimal point
  int dec_count = 0;    // digit placeholders after it
  int zero_power = -1;  // power of ten of the leftmost integer "0"
  int last_zero_dec = 0;  // 1-based place of the rightmost decimal "0"
  bool grouping = false;
  bool scientific = false;
  bool HasDigits() const { return int_count + dec_count > 0; }
};

Section ReadSection(std::string_view s) {
  Section sec;
  bool after_point = false;
  bool after_exponent = false;
  int first_zero_index = -1;
  size_t i = 0;
  auto literal = [&](size_t from, size_t count) {
    if (count > 0) sec.tokens.push_back({Tok::Literal, s.substr(from, count)});
  };
  while (i < s.size()) {
    const char c = s[i];
    if (after_exponent && (c == '0' || c == '#' || c == '.' || c == ',')) {
      literal(i, 1);  // placeholders after the exponent are plain text
      ++i;
    } else if (c == '0' || c == '#') {
      if (after_point) {
        ++sec.dec_count;
        if (c == '0') sec.last_zero_dec = sec.dec_count;
      } else {
        if (c == '0' && first_zero_index < 0) first_zero_index = sec.int_count;
        ++sec.int_count;
      }
      sec.tokens.push_back({c == '0' ? Tok::Zero : Tok::Hash, {}});
      ++i;
    } else if (c == '.') {
      if (after_point) {
        literal(i, 1);
      } else {
        after_point = true;
        sec.tokens.push_back({Tok::Point, {}});
      }
      ++i;
    } else if (c == ',') {
      if (!after_point) sec.grouping = true;
      ++i;
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      Token t{Tok::Exponent, s.substr(i, 1), s[i + 1] == '+'};
      i += 2;
      while (i < s.size() && s[i] == '0') {
        ++t.zeros;
        ++i;
      }
      if (after_exponent) {
        literal(i - 2 - static_cast<size_t>(t.zeros), 2 + static_cast<size_t>(t.zeros));
      } else {
        after_exponent = true;
        sec.tokens.push_back(t);
      }
    } else if (c == '\'' || c == '"') {
      size_t end = s.find(c, i + 1);
      if (end == std::string_view::npos) end = s.size();
      literal(i + 1, end - i - 1);
      i = end + 1;
    } else {
      size_t j = i + 1;
      while (j < s.size() && std::string_view("0#.,Ee'\"").find(s[j]) == std::string_view::npos) ++j;
      literal(i, j - i);
      i = j;
    }
  }
  if (first_zero_index >= 0) sec.zero_power = sec.int_count - 1 - first_zero_index;
  sec.scientific = after_exponent && sec.HasDigits();
  if (after_exponent && !sec.HasDigits()) {
    // Without digits an exponent has nothing to scale: write it as text.
    for (auto& t : sec.tokens) {
      if (t.kind == Tok::Exponent) t = {Tok::Literal, s.substr(static_cast<size_t>(t.text.data() - s.data()), 2 + static_cast<size_t>(t.zeros))};
    }
  }
  return sec;
}

// Adds one unit in the last place of a digit string; true when a digit
// carried out in front ("999" -> "000").
bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// The digits of |value| x 10^decimals rounded to a whole number, halves away
// from zero; empty when that is 0.
std::string ScaledDigits(double value, int decimals) {
  if (value == 0) return {};
  Digits d = SignificantDigits(value, kSignificant);
  const long long keep = static_cast<long long>(d.exponent) + 1 + decimals;
  if (keep < 0) return {};
  if (keep == 0) return d.digits[0] >= '5' ? "1" : "";
  std::string out = d.digits.substr(0, static_cast<size_t>(std::min<long long>(keep, kSignificant)));
  out.resize(static_cast<size_t>(keep), '0');
  if (keep < kSignificant && d.digits[static_cast<size_t>(keep)] >= '5' && Increment(out)) {
    out.insert(out.begin(), '1');
  }
  return out;
}

// |value| rounded to `count` significant digits (mantissa digits, at least
// one) and the power of ten of the first of them.
Digits MantissaDigits(double value, int count) {
  if (value == 0) return {std::string(static_cast<size_t>(count), '0'), 0};
  Digits d = SignificantDigits(value, kSignificant);
  if (count < kSignificant) {
    const bool up = d.digits[static_cast<size_t>(count)] >= '5';
    d.digits.resize(static_cast<size_t>(count));
    if (up && Increment(d.digits)) {
      d.digits.insert(d.digits.begin(), '1');
      d.digits.pop_back();
      ++d.exponent;
    }
  } else {
    d.digits.resize(static_cast<size_t>(count), '0');
  }
  return d;
}

void AppendGrouped(std::string& out, std::string_view digits, int lowest_power, bool grouping) {
  for (size_t j = 0; j < digits.size(); ++j) {
    out.push_back(digits[j]);
    const long long power = lowest_power + static_cast<long long>(digits.size() - 1 - j);
    if (grouping && power > 0 && power % 3 == 0) out.push_back(',');
  }
}

// Writes |value| by one section.
std::string Render(const Section& sec, double value) {
  std::string int_digits, dec_digits;
  int exponent = 0;
  if (sec.scientific) {
    const int int_places = std::max(sec.int_count, 1);
    Digits m = MantissaDigits(value, int_places + sec.dec_count);
    exponent = value == 0 ? 0 : m.exponent - (int_places - 1);
    int_digits = m.digits.substr(0, static_cast<size_t>(int_places));
    dec_digits = m.digits.substr(static_cast<size_t>(int_places));
  } else if (sec.HasDigits()) {
    std::string scaled = ScaledDigits(value, sec.dec_count);
    const size_t dec = static_cast<size_t>(sec.dec_count);
    if (scaled.size() > dec) {
      int_digits = scaled.substr(0, scaled.size() - dec);
      dec_digits = scaled.substr(scaled.size() - dec);
    } else {
      dec_digits = std::string(dec - scaled.size(), '0') + scaled;
    }
  }
  const size_t lead = int_digits.find_first_not_of('0');
  int_digits.erase(0, lead == std::string::npos ? int_digits.size() : lead);

  const int int_len = static_cast<int>(int_digits.size());
  int last_sig_dec = 0;
  for (int j = 0; j < sec.dec_count; ++j) {
    if (dec_digits[static_cast<size_t>(j)] != '0') last_sig_dec = j + 1;
  }
  const int dec_written = std::max(sec.last_zero_dec, last_sig_dec);

  std::string out;
  int int_index = 0, dec_index = 0;
  for (const Token& t : sec.tokens) {
    switch (t.kind) {
      case Tok::Zero:
      case Tok::Hash:
        if (int_index >= sec.int_count) {
          ++dec_index;
          if (dec_index <= dec_written) out.push_back(dec_digits[static_cast<size_t>(dec_index - 1)]);
        } else {
          const int power = sec.int_count - 1 - int_index;
          if (int_index == 0 && int_len > sec.int_count) {
            AppendGrouped(out, std::string_view(int_digits).substr(0, static_cast<size_t>(int_len - sec.int_count)),
                          sec.int_count, sec.grouping);
          }
          if (power < int_len || power <= sec.zero_power) {
            out.push_back(power < int_len ? int_digits[static_cast<size_t>(int_len - 1 - power)] : '0');
            if (sec.grouping && power > 0 && power % 3 == 0) out.push_back(',');
          }
          ++int_index;
        }
        break;
      case Tok::Point:
        if (sec.int_count == 0) AppendGrouped(out, int_digits, 0, sec.grouping);
        if (dec_written > 0) out.push_back('.');
        int_index = sec.int_count;
        break;
      case Tok::Exponent: {
        out.append(t.text);
        if (exponent < 0) {
          out.push_back('-');
        } else if (t.plus) {
          out.push_back('+');
        }
        std::string e = std::to_string(std::abs(exponent));
        if (static_cast<int>(e.size()) < t.zeros) out.append(static_cast<size_t>(t.zeros) - e.size(), '0');
        out.append(e);
        break;
      }
      case Tok::Literal:
        out.append(t.text);
        break;
    }
  }
  return out;
}

// Whether |value| writes as zero in the section.
bool RoundsToZero(const Section& sec, double value) {
  if (value == 0) return true;
  if (sec.scientific || !sec.HasDigits()) return false;
  return ScaledDigits(value, sec.dec_count).empty();
}

}  // namespace

std::string FormatNumberPattern(std::string_view pattern, double value) {
  if (pattern.empty() || !std::isfinite(value)) return NumberText(value);

  std::string_view parts[3];
  int count = 0;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i <= pattern.size() && count < 3; ++i) {
    if (i == pattern.size() || (quote == 0 && pattern[i] == ';')) {
      parts[count++] = pattern.substr(start, i - start);
      start = i + 1;
    } else if (quote != 0) {
      if (pattern[i] == quote) quote = 0;
    } else if (pattern[i] == '\'' || pattern[i] == '"') {
      quote = pattern[i];
    }
  }

  const Section positive = ReadSection(parts[0]);
  const double magnitude = std::fabs(value);
  if (RoundsToZero(positive, magnitude)) {
    if (!parts[2].empty()) return Render(ReadSection(parts[2]), 0.0);
    return Render(positive, 0.0);
  }
  if (value < 0) {
    if (!parts[1].empty()) return Render(ReadSection(parts[1]), magnitude);
    std::string out = Render(positive, magnitude);
    out.insert(out.begin(), '-');
    return out;
  }
  return Render(positive, magnitude);
}

}  // namespace qor
