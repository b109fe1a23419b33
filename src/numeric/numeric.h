// Percentages, safe division, integer and fractional parts and the numeric
// character tests. Every double they return is finite: the engine rejects a
// NaN or an infinity and fails the caller's whole statement.
#pragma once

#include <cstdint>
#include <string_view>

namespace qor {

// Percentage change from base to value, rounded to 2 places and held within
// -9999 to 9999. A zero (or NaN) base gives 9999 for a positive value, -100
// for a negative one and 0 for zero (or NaN).
double Prozent(double value, double base);

// dividend / divisor; 0.0 for a zero or NaN divisor, and 0.0 when the
// quotient is not a finite double (beyond the double range, or a NaN or
// infinite dividend).
double Division(double dividend, double divisor);

// value truncated toward zero; throws RangeError when that lies outside the
// 32-bit range (NaN and the infinities included).
int32_t TruncInt32(double value);

// value minus its whole part, with the sign of value (-1.25 gives -0.25);
// 0.0 for NaN and the infinities.
double FracPart(double value);

// Character tests on a text already trimmed: 1 when every byte is "+", "-"
// or a digit (IsIntegerChars) or one of those, "," or "." (IsFloatChars);
// the empty text passes. Not a syntax test: "+-+" passes.
bool IsIntegerChars(std::string_view text) noexcept;
bool IsFloatChars(std::string_view text) noexcept;

}  // namespace qor
