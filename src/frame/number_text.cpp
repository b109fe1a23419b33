#include "frame/number_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace qor {

namespace {

constexpr int kSignificant = 15;
// Decimal exponents written in plain form: 1E-5 <= |value| < 1E15.
constexpr int kMinPlainExponent = -5;
constexpr int kMaxPlainExponent = kSignificant - 1;

}  // namespace

Digits SignificantDigits(double value, int count) {
  // Scientific form rounds once, correctly: "d.dddde+XX".
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                           count - 1);
  std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  size_t e = sci.find('e');
  Digits out;
  out.digits.reserve(static_cast<size_t>(count));
  for (char c : sci.substr(0, e)) {
    if (c != '.') out.digits.push_back(c);
  }
  std::string_view exp_text = sci.substr(e + 1);
  if (!exp_text.empty() && exp_text.front() == '+') exp_text.remove_prefix(1);
  std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), out.exponent);
  return out;
}

std::string NumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";  // negative zero too

  Digits d = SignificantDigits(value, kSignificant);
  std::string& digits = d.digits;
  const int exponent = d.exponent;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  out.reserve(24);
  if (value < 0) out.push_back('-');
  int n = static_cast<int>(digits.size());
  if (exponent < kMinPlainExponent || exponent > kMaxPlainExponent) {
    out.push_back(digits[0]);
    if (n > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
  } else if (exponent < 0) {
    out.append("0.");
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out.append(digits);
  } else if (n <= exponent + 1) {
    out.append(digits);
    out.append(static_cast<size_t>(exponent + 1 - n), '0');
  } else {
    out.append(digits, 0, static_cast<size_t>(exponent + 1));
    out.push_back('.');
    out.append(digits, static_cast<size_t>(exponent + 1));
  }
  return out;
}

}  // namespace qor
