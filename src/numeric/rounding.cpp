#include "numeric/rounding.h"

#include <cmath>

#include "frame/errors.h"

namespace qor {

namespace {

// The extended-precision constant nearest to 0.501.
constexpr long double kRoundingBias = 0.501L;

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "the rounding steps need the 80-bit extended format");

int32_t ScaleFactor(int32_t decimals) {
  int64_t f = 1;
  for (int32_t i = 1; i <= decimals; ++i) f = CheckedInt32(f * 10);
  return static_cast<int32_t>(f);
}

}  // namespace

double RoundDecimals(double value, int32_t decimals) {
  const int32_t f = ScaleFactor(decimals);
  if (!std::isfinite(value)) return 0.0;
  const double x = static_cast<double>(f) * value;
  if (!std::isfinite(x)) return value;
  const double y = x >= 0.0 ? static_cast<double>(static_cast<long double>(x) + kRoundingBias)
                            : static_cast<double>(static_cast<long double>(x) - kRoundingBias);
  const long double whole = std::trunc(static_cast<long double>(y));
  if (whole == 0.0L) return 0.0;
  return static_cast<double>(whole / static_cast<long double>(f));
}

}  // namespace qor
