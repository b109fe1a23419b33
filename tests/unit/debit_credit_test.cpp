#include "accounting/debit_credit.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "frame/errors.h"

namespace qor {
namespace {

struct SideCase {
  const char* flag;
  double amount;
  double soll, haben, betrag;
};

TEST(DebitCredit, FlagsCompareAsWholeCaseSensitiveTexts) {
  const SideCase cases[] = {
      {"S", 100.5, 100.5, 0, 100.5},   {"H", 100.5, 0, 100.5, -100.5},
      {"s", 100.5, 0, 0, 100.5},       {"h", 100.5, 0, 0, 100.5},
      {"S ", 100.5, 0, 0, 100.5},      {"H ", 100.5, 0, 0, 100.5},
      {"SH", 100.5, 0, 0, 100.5},      {"", 100.5, 0, 0, 100.5},
      {"X", 100.5, 0, 0, 100.5},       {"H", -3, 0, -3, 3},
      {"S", -3, -3, 0, -3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SHSoll(c.flag, c.amount), c.soll) << c.flag;
    EXPECT_EQ(SHHaben(c.flag, c.amount), c.haben) << c.flag;
    EXPECT_EQ(SHBetrag(c.flag, c.amount), c.betrag) << c.flag;
  }
}

TEST(DebitCredit, NegatingZeroGivesNegativeZero) {
  EXPECT_TRUE(std::signbit(SHBetrag("H", 0.0)));
  EXPECT_FALSE(std::signbit(SHBetrag("H", -0.0)));
  EXPECT_TRUE(std::signbit(SHBetragExt("H", 0.0, "S", "H")));
  // The fixed zero of a side that does not match is a plain zero.
  EXPECT_FALSE(std::signbit(SHSoll("H", -5.0)));
  EXPECT_FALSE(std::signbit(SHBetragExt("X", -5.0, "S", "H")));
}

TEST(DebitCredit, ExtTakesTheFirstCharacterOfTheFlag) {
  struct Case {
    const char* flag;
    const char* positive;
    const char* negative;
    double result;
  } cases[] = {
      {"Soll", "SD", "HC", 100.5},  {"C", "SD", "HC", -100.5}, {"h", "SD", "HC", 0},
      {"S", "S", "S", 100.5},       {"", "SD", "HC", 0},       {"S", "", "", 0},
      {"Haben", "SD", "HC", -100.5}, {" S", "SD", "HC", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SHBetragExt(c.flag, 100.5, c.positive, c.negative), c.result) << c.flag;
  }
}

// The server refuses a NaN or infinite result and fails the whole statement:
// such an amount is given up (the guard logs it and answers 0) wherever it
// would be the result, and a side that does not take it still answers 0.
TEST(DebitCredit, NaNOrInfiniteAmountIsNeverTheResult) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  EXPECT_THROW(SHSoll("S", kNaN), InvalidFloatError);
  EXPECT_THROW(SHHaben("H", kInf), FloatOverflowError);
  EXPECT_THROW(SHBetrag("S", -kInf), FloatOverflowError);
  EXPECT_THROW(SHBetrag("H", kNaN), InvalidFloatError);
  EXPECT_THROW(SHBetragExt("S", kInf, "S", "H"), FloatOverflowError);
  EXPECT_THROW(SHBetragExt("H", kNaN, "S", "H"), InvalidFloatError);
  EXPECT_EQ(SHSoll("H", kNaN), 0.0);
  EXPECT_EQ(SHHaben("S", kInf), 0.0);
  EXPECT_EQ(SHBetragExt("X", kInf, "S", "H"), 0.0);
}

}  // namespace
}  // namespace qor
