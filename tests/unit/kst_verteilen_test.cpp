#include "accounting/kst_verteilen.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "frame/errors.h"

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
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KstBetragVerteilen(c.text, c.amount), c.expected) << c.what;
  }
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
