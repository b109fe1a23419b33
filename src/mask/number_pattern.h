// Number patterns of mask R: "#,##0.00", "0.00E+00", "0.00;(0.00);'nil'".
#pragma once

#include <string>
#include <string_view>

namespace qor {

// Writes value by pattern:
// - "0" writes a digit always, "#" only a significant one; the integer part is
//   written whole, extra digits going to the first integer placeholder; the
//   "0" and "#" after the first "." count the decimals, and the value is
//   rounded to them (halves away from zero, on its 15-digit decimal form);
//   "." is written only when a decimal digit follows it;
// - a "," before the decimal point groups the integer part in thousands (","
//   after the point is dropped);
// - "E+", "E-", "e+", "e-" and the "0"s after them: scientific form with at
//   least that many exponent digits, "+" for positive exponents only after a
//   "+"; the integer placeholders count the mantissa's integer digits;
// - up to three sections positive;negative;zero: a value that rounds to zero
//   in the positive section takes the zero section, a negative one the
//   negative section without a minus of its own; a missing or empty negative
//   section means "-" and the positive one, a missing or empty zero section
//   the positive one;
// - text in single or double quotes is copied without its quotes (an
//   unbalanced quote copies the rest), other characters as they stand;
// - a section without any "0" or "#" writes only its text.
// An empty pattern, and a value that is not finite, give NumberText(value).
std::string FormatNumberPattern(std::string_view pattern, double value);

}  // namespace qor
