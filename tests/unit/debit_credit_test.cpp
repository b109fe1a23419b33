#include "accounting/debit_credit.h"

#include <cmath>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qor
