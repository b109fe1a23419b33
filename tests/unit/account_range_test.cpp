#include "accounting/account_range.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_util.h"

namespace qor {
namespace {

TEST(AccountRange, MatchKontoPattern) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {
      {"4711.05", "4711.05", true},   {"4711.05", "4711.06", false},
      {"4711.05", "47XX.XX", true},   {"4711.05", "47xx.xX", true},
      {"4711.05", "XXXXXXX", true},   {"4711.05", "XXXXXX", false},   // lengths differ
      {"4711.05", "XXXXXXXX", false}, {"47110.00", "47XX.XX", false},
      {"4711.05", "!4711.05", true},  {"4711.05", "!!4711.05", false},  // only one "!" goes
      {"!4711", "!4711", false},      {"4711", "47!1", false},
      {"47X1", "4711", true},         {"47x1", "4791", true},  // a wildcard in the text
      {"ab", "AB", false},            {"", "", true},
      {"", "!", true},                {"5", "05", false},
      {"05", "0X", true},             {"05", "X5", true},
      {"05", "X6", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchKontoPattern(c.text, c.pattern), c.match) << c.text << " / " << c.pattern;
  }
}

TEST(AccountRange, KontoTextHasTwoDecimalsRoundedHalfAwayFromZero) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {4711, "4711.00"},
      {4711.05, "4711.05"},  // stored as 4711.0500000000002
      {0, "0.00"},
      {-0.0, "0.00"},
      {-12.5, "-12.50"},
      {0.3, "0.30"},
      {0.05, "0.05"},
      {4711.005, "4711.01"},  // stored as 4711.00499999999965
      {-4711.005, "-4711.01"},
      {1.005, "1.01"},
      {2.675, "2.68"},
      {0.125, "0.13"},
      {0.004, "0.00"},
      {-0.004, "0.00"},  // no "-0.00"
      {4711.0049, "4711.00"},
      {9.995, "10.00"},
      {999.995, "1000.00"},
      {-999.995, "-1000.00"},
      {0.1 + 0.2, "0.30"},
      {1e-300, "0.00"},
      {123456789012.345, "123456789012.35"},
      {1e15, "1000000000000000.00"},
      {1e20, "100000000000000000000.00"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KontoText(c.value), c.text) << c.value;
  }
  // The largest double, written out in full from its 15 significant digits.
  EXPECT_EQ(KontoText(-std::numeric_limits<double>::max()),
            "-179769313486232" + std::string(294, '0') + ".00");
}

// The server may run with a locale whose decimal separator is ",".
TEST(AccountRange, KontoTextIgnoresTheProcessLocale) {
  qortest::GermanNumericLocale german;
  if (!german.active()) GTEST_SKIP() << "no German locale can be set up here";
  EXPECT_EQ(KontoText(4711.05), "4711.05");
  EXPECT_TRUE(Kontenbereich(4711.05, "4711.00-4711.10", "05"));
}

struct RangeCase {
  double account;
  const char* ranges;
  const char* decimals;
  bool belongs;
};

void ExpectCases(const std::vector<RangeCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(Kontenbereich(c.account, c.ranges, c.decimals), c.belongs)
        << c.account << " in [" << c.ranges << "] decimals [" << c.decimals << "]";
  }
}

TEST(AccountRange, SingleAccountsAndPatterns) {
  ExpectCases({
      {4711, "4711", "", true},
      {4711, "4711.00", "", true},
      {4711, "4711.05", "", false},
      {4711.05, "4711", "", true},  // no decimals in the item: any decimals
      {4711.05, "4711.05", "", true},
      {4711.05, "4711.5", "", false},
      {4711.05, "47xx", "", true},
      {4711.05, "47XX.0X", "", true},
      {4711.15, "47XX.0X", "", false},
      {47110, "47XX", "", false},  // five digits never match four
      {471, "47XX", "", false},
      {4712, "4711,4712", "", true},
      {4712, "4711 4712", "", true},  // a blank separates items
      {4711, " 4711 , 4712 ", "", true},
      {4711, "\"4711\"", "", true},
      {4711, "", "", false},
      {4711, " , ,", "", false},
      {0, "0", "", true},
      {0.3, "0.30", "", true},
      {-12.5, "-12.50", "", false},  // "-" makes it a range (of nothing here)
      {4711, "4711!", "", false},    // a "!" inside stays in the pattern
  });
}

TEST(AccountRange, NumericRanges) {
  ExpectCases({
      {4700, "4700-4799", "", true},
      {4699.99, "4700-4799", "", false},
      {4750.5, "4700-4799", "", true},
      {4799.99, "4700-4799", "", true},
      {4800, "4700-4799", "", false},
      {4799.99, "4700-4799.50", "", false},
      {4799.50, "4700-4799.50", "", true},
      {4700.49, "4700.50-4799", "", false},
      {4750, "4799-4700", "", false},       // reversed bounds hold nothing
      {0.30000000000000004, "0.3-0.3", "", true},  // noise within the tolerance
      {0.7 - 0.4, "0.3-0.5", "", true},            // 0.29999999999999993: just below the lower bound
      {0.2999, "0.3-0.5", "", false},
      {0.3001, "0.3-0.3", "", false},
      {4711, "-4711", "", true},     // an empty lower bound reads as 0
      {4711, "4700-", "", false},    // an empty upper bound reads as 0.99
      {4700, "4700-47AB", "", false},  // unreadable upper bound: read as 47
      {4711, "4700-4799,4711-4711", "", true},
  });
}

// The upper bound of a range item is its first 255 characters after the
// "-": here 251 zeros and 4799 (so 4799.99), not the 47995 that the whole
// item would spell.
TEST(AccountRange, UpperBoundIsCutAt255Characters) {
  const std::string cut = "1-" + std::string(251, '0') + "47995";
  const std::string whole = "1-" + std::string(250, '0') + "47995";  // 255 characters: all of it
  ExpectCases({
      {4799.99, cut.c_str(), "", true},
      {4800, cut.c_str(), "", false},
      {10000, cut.c_str(), "", false},
      {10000, whole.c_str(), "", true},
      {47995.99, whole.c_str(), "", true},
  });
}

TEST(AccountRange, PatternRangesMatchOnlyTheirEnds) {
  ExpectCases({
      {4700, "4700-48XX", "", true},
      {4700.99, "4700-48XX", "", true},
      {4850.10, "4700-48XX", "", true},
      {4750, "4700-48XX", "", false},
      {4900, "4700-48XX", "", false},
      {4715, "47x5-4800", "", true},  // lower-case wildcard makes it a pattern range
      {4750, "47x5-4800", "", false},
  });
}

TEST(AccountRange, ExclusionsWinWhereverTheyStand) {
  ExpectCases({
      {4711, "4700-4799,!4711", "", false},
      {4711, "!4711,4700-4799", "", false},
      {4712, "4700-4799,!4711", "", true},
      {4711, "!4711", "", false},
      {4712, "!4711", "", false},  // exclusions alone admit nothing
      {4711.05, "47XX,!4711.05", "", false},
      {4711.06, "47XX,!4711.05", "", true},
      {4750, "4700-4799,!4740-4759", "", false},
      {4760, "4700-4799,!4740-4759", "", true},
      {4750, "4XXX,!4700-48XX", "", true},  // pattern range as an exclusion
      {4700, "4XXX,!4700-48XX", "", false},
      {4850, "4XXX,!4700-48XX", "", false},
      {4800, "4XXX,4700-!48XX", "", false},  // "!" at the start of the upper pattern is dropped
  });
}

TEST(AccountRange, TheOrderOfTheItemsNeverMatters) {
  std::vector<std::string> items = {"4700-4799", "!4711", "48XX", "!4850-4859", "5000.05"};
  const double accounts[] = {4699.99, 4700, 4711, 4712, 4799.99, 4800, 4855, 4899.5, 5000, 5000.05};
  std::sort(items.begin(), items.end());
  std::vector<bool> first;
  do {
    std::string list;
    for (const auto& item : items) list += (list.empty() ? "" : ",") + item;
    std::vector<bool> answers;
    for (double a : accounts) answers.push_back(Kontenbereich(a, list, ""));
    if (first.empty()) first = answers;
    EXPECT_EQ(answers, first) << list;
  } while (std::next_permutation(items.begin(), items.end()));
  EXPECT_EQ(first, (std::vector<bool>{false, true, false, true, true, true, false, true, false, true}));
}

TEST(AccountRange, DecimalsListPatterns) {
  ExpectCases({
      {4711.05, "4711", "05", true},
      {4711.05, "4711", "06", false},
      {4711.05, "4711", "!05", false},
      {4711.05, "4711", "0X", true},
      {4711.05, "4711", "0x", true},
      {4711.05, "4711", "X5", true},
      {4711.05, "4711", "5", false},  // the pattern must have two characters
      {4711.05, "4711", "", true},
      {4711.05, "4711", "   ", true},
      {4711.05, "4711", ",", false},  // two empty items admit nothing
      {4711.05, "4711", "06 05", true},
      {4711.05, "4711", "XX,!05", false},
      {4711.05, "4711", "!06", false},  // exclusions alone admit nothing
      {4711, "4711", "00", true},
      {0.3, "0.XX", "30", true},
      {4711.999, "4712", "00", true},  // decimals of the rounded account text
      {4711.05, "4712", "05", false},  // the decimals list only narrows
  });
}

TEST(AccountRange, DecimalsListRanges) {
  ExpectCases({
      {4711.01, "4711", "01-09", true},
      {4711.05, "4711", "01-09", true},
      {4711.09, "4711", "01-09", true},
      {4711, "4711", "01-09", false},
      {4711.1, "4711", "01-09", false},
      {4711, "4711", "0X-2X", true},
      {4711.29, "4711", "0x-2x", true},
      {4711.3, "4711", "0X-2X", false},
      {4711.55, "4711", "!50-59", false},
      {4711.55, "4711", "XX,!50-59", false},
      {4711.49, "4711", "XX,!50-59", true},
      {4711.60, "4711", "XX,!50-59", true},
      {4711.55, "4711", "!50-59,XX", false},
      {4711.60, "4711", "0X-6X,!50-59", true},
      {4711.05, "4711", "09-01", false},
  });
}

TEST(AccountRange, NonFiniteAccountsBelongNowhere) {
  const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    EXPECT_FALSE(Kontenbereich(v, "-1E400,INF,NAN,XXX", "")) << v;
  }
}

}  // namespace
}  // namespace qor
