#include "numeric/rounding.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "frame/errors.h"

namespace qor {
namespace {

struct RoundCase {
  double value;
  int32_t decimals;
  double expected;
  const char* why;
};

// Expected values worked out by hand from the exact binary values of the
// inputs; the comments say what each case pins down.
TEST(RoundDecimals, BiasAndExtendedSteps) {
  const RoundCase cases[] = {
      // halves and the 0.501 bias, away from zero on both sides
      {2.345, 2, 2.35, "half a cent up"},
      {-2.345, 2, -2.35, "half a cent down, mirrored"},
      {2.3449, 2, 2.34, "below the 0.499 line"},
      {1.499, 0, 2.0, "0.499 after scaling goes up (0.5 would give 1)"},
      {-1.499, 0, -2.0, "mirrored"},
      {1.4989, 0, 1.0, "0.4989 stays"},
      {1.005, 2, 1.01, "double lies below 1.005; the bias still lifts it (0.5 gives 1.00)"},
      {0.12499, 2, 0.13, "0.499 of a cent goes up"},
      {0.12498, 2, 0.12, "0.498 of a cent stays"},
      {-0.12499, 2, -0.13, "mirrored"},
      {1234.5, -1, 1235.0, "negative decimals act as 0"},
      {1234.5, 0, 1235.0, ""},
      {0.0, 2, 0.0, ""},
      {7.0, 9, 7.0, "largest scale that fits 32 bits"},
      {0.1234567891, 9, 0.123456789, ""},
      // 0.499 lies 8.9e-19 below 0.499; + 0.501 lands within 2^-64 of 1 in
      // extended precision; only rounding that sum to double makes it 1
      // (truncating the extended sum would give 0).
      {0.499, 0, 1.0, "extended sum rounded to double"},
      {0.0499, 1, 0.1, "same after scaling by 10"},
      {4.499, 0, 5.0, "extended sum 3.3e-16 below 5 rounds to 5.0"},
      // 100 * 0.01499 rounds to 1.499 - 1.12e-16. Plus the extended 0.501 the
      // sum stays just below the double midpoint under 2 and rounds down; the
      // double constant 0.501 (8.9e-19 larger) would reach the midpoint and
      // give 0.02.
      {0.01499, 2, 0.01, "extended bias constant, not the double one"},
      {0.00499, 2, 0.0, "scaled 0.49899999999999994 stays under 1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundDecimals(c.value, c.decimals), c.expected)
        << c.value << " to " << c.decimals << " places: " << c.why;
  }
}

// 2877 / 10^6 in extended precision lies exactly halfway between two doubles
// and rounds (to even) to the one above the double nearest 0.002877: the
// division is extended, a plain double division gives 0.002877 itself.
TEST(RoundDecimals, QuotientRoundedFromExtendedPrecision) {
  EXPECT_EQ(RoundDecimals(0.0028765, 6), std::nextafter(0.002877, 1.0));
  EXPECT_NE(RoundDecimals(0.0028765, 6), 0.002877);
}

TEST(RoundDecimals, ZeroIsAlwaysPositive) {
  for (double v : {-0.004, -0.0, -0.00499}) {
    const double r = RoundDecimals(v, 2);
    EXPECT_EQ(r, 0.0) << v;
    EXPECT_FALSE(std::signbit(r)) << v;
  }
  EXPECT_FALSE(std::signbit(RoundDecimals(-0.4, 0)));
}

// Values beyond the 64-bit integer range after scaling are whole already and
// come back as they are; a scaled value beyond the double range too.
TEST(RoundDecimals, LargeValues) {
  const double two60 = 1152921504606846976.0;  // 2^60; times 100 exceeds 2^63
  EXPECT_EQ(RoundDecimals(two60, 2), two60);
  EXPECT_EQ(RoundDecimals(-two60, 2), -two60);
  EXPECT_EQ(RoundDecimals(1e308, 2), 1e308);
  EXPECT_EQ(RoundDecimals(-1e308, 9), -1e308);
  EXPECT_EQ(RoundDecimals(std::numeric_limits<double>::max(), 0),
            std::numeric_limits<double>::max());
}

TEST(RoundDecimals, NotANumberGivesZero) {
  EXPECT_EQ(RoundDecimals(std::nan(""), 2), 0.0);
  EXPECT_EQ(RoundDecimals(std::numeric_limits<double>::infinity(), 2), 0.0);
  EXPECT_EQ(RoundDecimals(-std::numeric_limits<double>::infinity(), 0), 0.0);
}

TEST(RoundDecimals, TenOrMorePlacesAreARangeError) {
  EXPECT_THROW(RoundDecimals(1.5, 10), RangeError);
  EXPECT_THROW(RoundDecimals(1.5, std::numeric_limits<int32_t>::max()), RangeError);
  EXPECT_THROW(RoundDecimals(std::nan(""), 10), RangeError);
  EXPECT_NO_THROW(RoundDecimals(1.5, std::numeric_limits<int32_t>::min()));
}

}  // namespace
}  // namespace qor
