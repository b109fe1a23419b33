#include "frame/number_text.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "frame/strings.h"
#include "test_util.h"

namespace qor {
namespace {

TEST(NumberText, GeneralFormatWithFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {100, "100"},
      {1234.5, "1234.5"},
      {-0.35, "-0.35"},
      {0, "0"},
      {-0.0, "0"},
      {123.45, "123.45"},
      {0.1 + 0.2, "0.3"},  // 0.30000000000000004 rounds away at 15 digits
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {12345678901234.56, "12345678901234.6"},
      {999999999999999.0, "999999999999999"},
      // From 1E15 up: exponent form.
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {-2.5e20, "-2.5E20"},
      {9999999999999999.0, "1E16"},
      // Down to 1E-5 plain, below that exponent form.
      {0.00001, "0.00001"},
      {0.000012345, "0.000012345"},
      {0.0000099, "9.9E-6"},
      {-1.5e-7, "-1.5E-7"},
      {5e-324, "4.94065645841247E-324"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

// A server process may run with a German locale: numbers are still written
// and read with the library's fixed rules.
TEST(NumberText, WritingAndReadingIgnoreTheProcessLocale) {
  qortest::GermanNumericLocale german;
  if (!german.active()) GTEST_SKIP() << "no German locale can be set up here";
  EXPECT_EQ(NumberText(1234.5), "1234.5");
  EXPECT_EQ(NumberText(-2.5e20), "-2.5E20");
  EXPECT_EQ(ParseFloatText("1234.5"), 1234.5);
  EXPECT_EQ(ParseFloatText("1,5"), 1.5);
}

}  // namespace
}  // namespace qor
