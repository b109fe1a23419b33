#include "numeric/numeric.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include <gtest/gtest.h>

#include "frame/errors.h"

namespace qor {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

struct TwoArgCase {
  double a;
  double b;
  double expected;
};

TEST(Prozent, ChangeClampedAndRounded) {
  const TwoArgCase cases[] = {
      {110, 100, 10.0}, {50, 100, -50.0}, {0, 5, -100.0}, {100, 100, 0.0},
      {1, 3, -66.67},           // -66.666... rounded to cents
      {2, 3, -33.33},           // -33.333...
      {1000000, 1, 9999.0}, {-1000000, 1, -9999.0},
      {1, -1, -200.0}, {-1, 1, -200.0},
      {kMax, 0.5, 9999.0},      // quotient beyond the double range: held at the limit
      {-kMax, 0.5, -9999.0},
      // zero base: fixed answers, no rounding
      {5, 0, 9999.0}, {-5, 0, -100.0}, {0, 0, 0.0}, {5, std::nan(""), 9999.0},
      {std::nan(""), 100, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Prozent(c.a, c.b), c.expected) << c.a << " from " << c.b;
  }
}

TEST(Division, ZeroForNoUsableQuotient) {
  const TwoArgCase cases[] = {
      {1, 4, 0.25}, {-7, 2, -3.5}, {0, 3, 0.0},
      {1, 0, 0.0}, {1, -0.0, 0.0}, {1, std::nan(""), 0.0},
      {1e300, 1e-300, 0.0},  // beyond the double range
      {kInf, 2, 0.0}, {std::nan(""), 2, 0.0},
      {1, kInf, 0.0},
  };
  for (const auto& c : cases) {
    const double r = Division(c.a, c.b);
    EXPECT_EQ(r, c.expected) << c.a << " / " << c.b;
    EXPECT_TRUE(std::isfinite(r));
  }
}

TEST(TruncInt32, TowardZeroWithinThe32BitRange) {
  const std::pair<double, int32_t> cases[] = {
      {2.9, 2}, {-2.9, -2}, {0.5, 0}, {-0.5, 0},
      {2147483647.99, 2147483647}, {-2147483648.99, -2147483647 - 1},
  };
  for (const auto& [v, expected] : cases) EXPECT_EQ(TruncInt32(v), expected) << v;
  for (double v : {2147483648.0, -2147483649.0, 3e9, 1e300, kInf, -kInf, std::nan("")}) {
    EXPECT_THROW(TruncInt32(v), RangeError) << v;
  }
}

TEST(FracPart, SignFollowsTheValue) {
  const std::pair<double, double> cases[] = {
      {2.75, 0.75}, {-1.25, -0.25}, {3.0, 0.0}, {-3.0, 0.0}, {0.0, 0.0},
      {1e20, 0.0}, {kInf, 0.0}, {-kInf, 0.0}, {std::nan(""), 0.0},
  };
  for (const auto& [v, expected] : cases) EXPECT_EQ(FracPart(v), expected) << v;
  EXPECT_FALSE(std::signbit(FracPart(-3.0)));
}

TEST(CharTests, OnlyTheAllowedCharacters) {
  struct Case {
    std::string_view text;
    bool integer;
    bool floating;
  };
  const Case cases[] = {
      {"12", true, true}, {"-12", true, true}, {"+-+", true, true}, {"", true, true},
      {"1.5", false, true}, {"1,5", false, true}, {"1.234,56", false, true}, {".", false, true},
      {"1E5", false, false}, {"1e5", false, false}, {"1 2", false, false}, {" 12", false, false},
      {"12a", false, false}, {"$1F", false, false}, {"\xB2", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsIntegerChars(c.text), c.integer) << c.text;
    EXPECT_EQ(IsFloatChars(c.text), c.floating) << c.text;
  }
}

}  // namespace
}  // namespace qor
