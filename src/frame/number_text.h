// Numbers written as text the way the library writes them everywhere.
#pragma once

#include <string>

namespace qor {

// The general format: at most 15 significant digits, "." as the decimal
// separator, no thousands separator, no trailing zeros and no point for
// whole values, "-" for negative values. Magnitudes from 1E15 up and below
// 1E-5 are written in exponent form ("1E15", "-1.5E-6"). NaN and the
// infinities are written "NAN", "INF" and "-INF". Never depends on the
// process locale.
std::string NumberText(double value);

// The decimal digits of |value| correctly rounded to `count` significant
// digits (1 to 17), and the power of ten of the first one: 1234.5 with
// count 6 gives "123450" and 3. For finite values only.
struct Digits {
  std::string digits;
  int exponent = 0;
};
Digits SignificantDigits(double value, int count);

}  // namespace qor
