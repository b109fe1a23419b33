#include "numeric/numeric.h"

#include <cmath>

#include "frame/errors.h"
#include "numeric/rounding.h"

namespace qor {

namespace {

constexpr double kProzentLimit = 9999.0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double Prozent(double value, double base) {
  if (base == 0.0 || std::isnan(base)) {
    if (value > 0.0) return kProzentLimit;
    if (value < 0.0) return -100.0;
    return 0.0;
  }
  double r = value / base * 100.0 - 100.0;
  if (r > kProzentLimit) {
    r = kProzentLimit;
  } else if (r < -kProzentLimit) {
    r = -kProzentLimit;
  }
  return RoundDecimals(r, 2);  // NaN (from a NaN value) gives 0.0
}

double Division(double dividend, double divisor) {
  if (divisor == 0.0 || std::isnan(divisor)) return 0.0;
  const double q = dividend / divisor;
  return std::isfinite(q) ? q : 0.0;
}

int32_t TruncInt32(double value) {
  const double whole = std::trunc(value);
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) throw RangeError();
  return static_cast<int32_t>(whole);
}

double FracPart(double value) {
  if (!std::isfinite(value)) return 0.0;
  const long double v = value;
  return static_cast<double>(v - std::trunc(v));
}

bool IsIntegerChars(std::string_view text) noexcept {
  for (char c : text) {
    if (!(IsDigit(c) || c == '+' || c == '-')) return false;
  }
  return true;
}

bool IsFloatChars(std::string_view text) noexcept {
  for (char c : text) {
    if (!(IsDigit(c) || c == '+' || c == '-' || c == ',' || c == '.')) return false;
  }
  return true;
}

}  // namespace qor
