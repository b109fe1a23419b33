#include "accounting/kst_verteilen.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "frame/number_text.h"

namespace qor {
namespace {

const std::string kFields = "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG";

struct SpreadCase {
  std::string text;
  double amount;
  std::string expected;
  const char* what;
};

TEST(KstBetragVerteilen, SpreadsByPercentRemainderToTheLastLine) {
  const SpreadCase cases[] = {
      {kFields + "\n1=1,,,400,,33.33,30\n2=2,,,400,,33.33,30\n3=3,,,400,,33.34,30\n", 100,
       kFields + "\n1=1,,,400,,33.33,33.33\n2=2,,,400,,33.33,33.33\n3=3,,,400,,33.34,33.34\n",
       "shares of 100"},
      {kFields + "\n1=1,,,400,,33.3333,0\n2=2,,,400,,33.3333,0\n3=3,,,400,,33.3333,0\n", 100,
       kFields + "\n1=1,,,400,,33.3333,33.33\n2=2,,,400,,33.3333,33.33\n3=3,,,400,,33.3333,33.34\n",
       "the cent left over goes to the last line"},
      {kFields + "\n1=1,,,400,,50,1\n2=2,,,400,,30,1\n3=3,,,400,,30,1\n", 10,
       kFields + "\n1=1,,,400,,50,5\n2=2,,,400,,30,3\n3=3,,,400,,30,2\n",
       "the last line's own percentage does not count"},
      {kFields + "\n1=1,,,400,,40,4\n", 10, kFields + "\n1=1,,,400,,40,10\n", "a single line takes it all"},
      {kFields + "\n1=1,,,400,,50,1\n2=2,,,400,,50,1\n", -0.01,
       kFields + "\n1=1,,,400,,50,-0.01\n2=2,,,400,,50,0\n", "negative half cent away from zero"},
      // 0.12499 of the amount: 0.499 of a cent rounds up, 0.498 stays
      {kFields + "\n1=1,,,400,,12.499,0\n2=2,,,400,,12.498,0\n3=3,,,400,,0,0\n", 1,
       kFields + "\n1=1,,,400,,12.499,0.13\n2=2,,,400,,12.498,0.12\n3=3,,,400,,0,0.75\n",
       "cent rounding with the 0.501 bias"},
      // keys renumbered by position; CR LF and CR become LF
      {kFields + "\r\n5=1,,,400,,50,1\r9=2,,,400,,50,1\r\n", 3,
       kFields + "\n1=1,,,400,,50,1.5\n2=2,,,400,,50,1.5\n", "renumbered, LF line ends"},
      // values read with "," or "." and quotes; quotes written only where needed
      {kFields + "\n1=4711,\"A 1\",,400,\"2\",\"50,0\",\"12.5\"\n2=4712,x,,400,,\"50\",1\n", 20,
       kFields + "\n1=4711,\"A 1\",,400,2,\"50,0\",10\n2=4712,x,,400,,50,10\n", "comma text rewritten"},
      // fields found by name in any case and any order; any key is replaced
      {"felder=Prozent,Betrag,Kst\nA=60,1,x\nB=40,1,y\n", 50, "felder=Prozent,Betrag,Kst\n1=60,30,x\n2=40,20,y\n",
       "fields by name"},
      // a leading empty line: the field line is line 1 and stays as it is
      {"\n" + kFields + "\n1=1,,,400,,100,1\n", 7, "\n" + kFields + "\n2=1,,,400,,100,7\n",
       "field line never rewritten"},
      // a field line only
      {kFields + "\r\n", 5, kFields + "\n", "no share lines"},
      // the last share written as a decimal, not the binary 0.989999999999999
      {kFields + "\n1=1,,,400,,25,0\n2=2,,,400,,25,0\n3=3,,,400,,25,0\n4=4,,,400,,25,0\n", 4.02,
       kFields + "\n1=1,,,400,,25,1.01\n2=2,,,400,,25,1.01\n3=3,,,400,,25,1.01\n4=4,,,400,,25,0.99\n",
       "remainder rounded to cents"},
      // an amount with more places than cents keeps them in the last share
      {kFields + "\n1=1,,,400,,50,0\n2=2,,,400,,50,0\n", 24.98999,
       kFields + "\n1=1,,,400,,50,12.5\n2=2,,,400,,50,12.48999\n", "remainder to the amount's places"},
      // (A * P) / 100, not A * (P / 100): 0.10 * 24.99 / 100 is 0.02499 and
      // rounds up; 0.10 * 0.2499 lies below and would give 0.02
      {kFields + "\n1=1,,,400,,24.99,0\n2=2,,,400,,75.01,0\n", 0.10,
       kFields + "\n1=1,,,400,,24.99,0.03\n2=2,,,400,,75.01,0.07\n", "amount times percent first"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KstBetragVerteilen(c.text, c.amount), c.expected) << c.what;
  }
}

// Decimal text as a count of 1E-9 units, exactly: "-12.48999" gives
// -12489990000. Fails the test on any other form (an exponent, say).
int64_t Nanos(std::string_view text) {
  int64_t whole = 0, fraction = 0;
  int places = 0;
  bool negative = false, point = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' && i == 0) {
      negative = true;
    } else if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9' && !point) {
      whole = whole * 10 + (c - '0');
    } else if (c >= '0' && c <= '9' && places < 9) {
      fraction = fraction * 10 + (c - '0');
      ++places;
    } else {
      ADD_FAILURE() << "not a plain decimal: " << text;
      return 0;
    }
  }
  for (; places < 9; ++places) fraction *= 10;
  const int64_t value = whole * 1000000000 + fraction;
  return negative ? -value : value;
}

// The point of the spread: the shares, as the text shows them, add up to the
// amount as its text shows it, for any number of lines and any amount.
TEST(KstBetragVerteilen, SharesAddUpAsTextToTheAmount) {
  std::vector<double> amounts;
  for (int cents = 1; cents <= 20000; cents += 7) amounts.push_back(cents / 100.0);
  for (double a : {0.19, 4.02, 24.98999, 1234.567, 99999.999, 1000000.01, -0.19, -4.02, -7.5})
    amounts.push_back(a);
  int failures = 0;
  for (int lines = 2; lines <= 20; ++lines) {
    for (const bool equal : {true, false}) {
      // equal: 100 / lines each; unequal: line i gets a share growing with i
      std::string text = "FELDER=KSTNR,PROZENT,BETRAG\n";
      for (int i = 1; i <= lines; ++i) {
        const double percent = equal ? 100.0 / lines : 200.0 * i / (lines * (lines + 1));
        text += std::to_string(i) + "=" + std::to_string(i) + "," + std::to_string(percent) + ",0\n";
      }
      for (const double amount : amounts) {
        const std::string out = KstBetragVerteilen(text, amount);
        int64_t sum = 0;
        size_t pos = out.find('\n') + 1;
        int shares = 0;
        while (pos < out.size()) {
          const size_t end = out.find('\n', pos);
          const std::string_view line(out.data() + pos, end - pos);
          sum += Nanos(line.substr(line.rfind(',') + 1));
          ++shares;
          pos = end + 1;
        }
        ASSERT_EQ(shares, lines);
        if (sum != Nanos(NumberText(amount)) && ++failures <= 5) {
          ADD_FAILURE() << lines << (equal ? " equal" : " unequal") << " lines, amount "
                        << NumberText(amount) << ":\n" << out;
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(KstBetragVerteilen, UnchangedByteForByte) {
  const SpreadCase cases[] = {
      {kFields + "\r\n5=1,,,400,,60,60\r\n9=2,,,400,,40,40\r\n", 100.0005, "", "sum within 0.001"},
      {kFields + "\r\n5=1,,,400,,60,60\r\n9=2,,,400,,40,40", 99.9991, "", "just within, below"},
      {kFields + "\n1=1,,,400,,60,60,\n\n9\n", 60, "", "short lines do not count in the old sum"},
      {"FELDER=KSTNR,BETRAG\r\n1=4711,60\r\n", 100, "", "no PROZENT field"},
      {"FELDER=KSTNR,PROZENT\r\n1=4711,60\r\n", 100, "", "no BETRAG field"},
      {"1=4711,60,60\r\n", 100, "", "no field line"},
      {"", 100, "", "empty text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KstBetragVerteilen(c.text, c.amount), c.text) << c.what;
  }
  // 0.0011 apart: redistributed
  EXPECT_EQ(KstBetragVerteilen(kFields + "\r\n5=1,,,400,,60,60\r\n9=2,,,400,,40,40", 100.0011),
            kFields + "\n1=1,,,400,,60,60\n2=2,,,400,,40,40.0011\n");
}

TEST(KstBetragVerteilen, ShortShareLineThrowsListIndex) {
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {kFields + "\n1=1,,,400,,50,1\n\n3=1,,,400,,50,1\n", "List index (5) out of bounds"},
      {kFields + "\n1=1,,,400,,100,1\n\n", "List index (5) out of bounds"},
      {kFields + "\n1=1,,,400,,50,1\n2=2,,,400,,50\n", "List index (6) out of bounds"},
      {"FELDER=BETRAG,X,PROZENT\n1=5,x\n", "List index (2) out of bounds"},
  };
  for (const auto& c : cases) {
    try {
      KstBetragVerteilen(c.text, 100);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const UdfError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(KstBetragVerteilen, ShareBeyondTheDoubleRangeThrows) {
  const std::string text = kFields + "\n1=1,,,400,,100,0\n2=2,,,400,,100,0\n";
  for (double amount : {1e307, -1e307}) {
    try {
      KstBetragVerteilen(text, amount);
      ADD_FAILURE() << "no error for " << amount;
    } catch (const UdfError& e) {
      EXPECT_EQ(std::string(e.what()), "Floating point overflow");
    }
  }
  // The last line's percentage is not used, however large.
  EXPECT_EQ(KstBetragVerteilen(kFields + "\n1=1,,,400,,50,0\n2=2,,,400,,1e308,0\n", 1e306),
            kFields + "\n1=1,,,400,,50,5E305\n2=2,,,400,,1e308,5E305\n");
  // 1e306 * 100 still fits: the shares are 1e306 and 0.
  EXPECT_EQ(KstBetragVerteilen(text, 1e306), kFields + "\n1=1,,,400,,100,1E306\n2=2,,,400,,100,0\n");
}

TEST(KstMengenStorno, NegatesQuantitiesKeepsKeys) {
  struct Case {
    std::string text;
    std::string expected;
    const char* what;
  } cases[] = {
      {kFields + "\r\n5=1,,,400,2,50,10\r\n9=2,,,400,-1.5,50,\"10.5\"\r\n",
       kFields + "\n5=1,,,400,-2,50,10\n9=2,,,400,1.5,50,10.5\n", "keys kept, CR LF to LF"},
      {kFields + "\n1=1,,,400\n2\n3=1,,,400,\"2,5\"\n",
       kFields + "\n1=1,,,400\n2\n3=1,,,400,-2.5\n", "short lines untouched"},
      {"FELDER=MENGE\n1=\n2=,\n3=abc\n", "FELDER=MENGE\n1=\n2=0,\n3=0\n", "empty or unreadable MENGE"},
      {"FELDER=KSTNR,BETRAG\r\n1=4711,5\r", "FELDER=KSTNR,BETRAG\n1=4711,5\n", "no MENGE field: LF only"},
      {"x\nFELDER=MENGE\n1=3\n", "x\nFELDER=MENGE\n1=-3\n", "field line never rewritten"},
      {"", "", "empty text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KstMengenStorno(c.text), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace qor
