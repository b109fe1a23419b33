// Commercial rounding, the one rule behind every rounded amount of the
// library: fn_Runden, fn_Prozent, the cent shares of an allocation and the
// number masks.
#pragma once

#include <cstdint>

namespace qor {

// Rounds value to `decimals` places (0 places when decimals < 1) with a bias
// of 0.501 instead of 0.5, away from zero: after scaling, a fraction of 0.499
// or more goes up, so 1.499 gives 2 and 1.005 (whose double lies just below)
// gives 1.01 at 2 places.
//
// The steps, each one deciding cents in stored amounts:
//   f = 10^decimals as a 32-bit integer (decimals >= 10 throws RangeError);
//   x = f * value in double precision;
//   y = x + 0.501 (x - 0.501 when x < 0), summed in 80-bit extended
//       precision with the extended constant nearest 0.501, rounded to double;
//   result = trunc(y) / f, divided in extended precision, rounded to double.
//
// Sound answers where those steps have none: NaN and the infinities give 0.0;
// a value too large to scale (f * value overflows) is whole at that scale
// and comes back unchanged; a result of zero is always +0.0.
double RoundDecimals(double value, int32_t decimals);

}  // namespace qor
