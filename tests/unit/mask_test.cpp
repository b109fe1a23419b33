#include "mask/mask.h"

#include <gtest/gtest.h>

#include "frame/errors.h"

namespace qor {
namespace {

std::string Text(std::string_view mask, std::string_view value) {
  return ApplyMask(mask, value, MaskText, 0.0, 0.0);
}
std::string Number(std::string_view mask, double value) {
  return ApplyMask(mask, "", MaskNumber, value, 0.0);
}

struct Case {
  const char* mask;
  const char* value;
  std::string want;
};

void CheckText(std::initializer_list<Case> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(Text(c.mask, c.value), c.want) << "mask '" << c.mask << "' on '" << c.value << "'";
  }
}

TEST(Mask, DefaultTextAndUnknownLetters) {
  CheckText({{"", "abc", "abc"}, {"X12", "abc", "abc"}, {"c5", "abcdef", "abcdef"},
             {"r0.0", "1.5", "1.5"}, {"z3", "abc", "abc"}, {"5", "abc", "abc"},
             {" S2", "abc", "abc"}, {"", "", ""}});
  EXPECT_EQ(Number("", 12.5), "12.5");
  EXPECT_EQ(Number("X", -3), "-3");
  EXPECT_EQ(Number("", 1e20), "1E20");
}

TEST(Mask, CutAndPad) {
  CheckText({{"S5", "abc", "abc  "}, {"s5", "abc", "  abc"}, {"S2", "abc", "ab"},
             {"s2", "abc", "ab"}, {"C2", "abc", "ab"}, {"C", "abc", "abc"},
             {"C0", "abc", "abc"}, {"C-2", "abc", "abc"}, {"S", "abc", "abc"},
             {"S-3", "abc", "abc"}, {"S3", "abc", "abc"}, {"s4", "", "    "},
             {"S3x", "abcdef", "abc"}});
  EXPECT_EQ(Number("s8", 12.5), "    12.5");
}

TEST(Mask, CaseAndUnchanged) {
  CheckText({{"U2", "abc", "AB"}, {"U", "abc", "ABC"}, {"u5", "abc", "ABC"},
             {"L2", "ABC", "ab"}, {"l", "AbC", "abc"}, {"U0", "abc", "ABC"},
             {"U", "\xE4\xF6\xFC", "\xC4\xD6\xDC"}, {"M", "aBc", "aBc"}, {"m7", "aBc", "aBc"}});
}

TEST(Mask, NumberPatternReadsTheText) {
  CheckText({{"R#,##0.00", "1234.5", "1,234.50"}, {"R#,##0.00", "1234,5", "1,234.50"},
             {"R0.0", "abc", "0.0"}, {"R", "12,50 EUR", "12.5"}});
  EXPECT_EQ(Number("R#,##0.00", 1234.5), "1,234.50");
  EXPECT_EQ(Number("R0.00;(0.00)", -2.5), "(2.50)");
}

TEST(Mask, DigitsOfTheText) {
  CheckText({{"o8", "12-34/5", "00012345"}, {"o", "a1b2", "12"}, {"o3", "12345", "12345"},
             {"o4,EUR", "12", "0012EUR"}, {"o2, x ", "", "00x"}, {"o4,\"a,b\"", "1", "0001a,b"},
             {"o0,X", "-5", "5X"}});
}

TEST(Mask, DigitWords) {
  const char* words[] = {"NULL", "EINS", "ZWEI", "DREI", "VIER", "F\xC3\x9CNF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(DigitWords(i), words[i]);
  EXPECT_EQ(DigitWords(5).size(), 5u);
  EXPECT_EQ(DigitWords(10), "");
  EXPECT_EQ(DigitWords(-1), "");
}

TEST(Mask, OneDigitAsAWord) {
  CheckText({{"w1", "123", "DREI"}, {"w2", "123", "ZWEI"}, {"w3", "123", "EINS"},
             {"w4", "123", "NULL"}, {"w0", "123", "NULL"}, {"w-1", "123", "NULL"},
             {"w1", "5.9", "F\xC3\x9CNF"}, {"w1", "abc", "NULL"}, {"w3", "-12", "NULL"},
             {"w1", "-12", "ZWEI"}});
}

TEST(Mask, DigitsAsALineOfWords) {
  CheckText({
      {"W30", "123", "EINS-ZWEI-DREI" + std::string(16, '-')},
      {"W10,1,3", "12345", "EINS-ZWEI-"},
      {"W10,2,3", "12345", "DREI-VIER-"},
      {"W10,3,3", "12345", "F\xC3\x9CNF-----"},
      {"W10,1,2", "12345", std::string(10, '*')},
      {"W10,4,5", "12345", std::string(10, '-')},  // only three lines needed
      {"W10.4,1,3", "12345", "EINS-ZWEI"},         // field shorter than the line
      {"W10.12,2,3", "12345", "DREI-VIER---"},
      {"W10.3,1,2", "12345", "***"},
      {"W14", "123", "EINS-ZWEI-DREI"},
      {"W14", "1234", std::string(14, '*')},       // the line is full at 14
      {"W30", "12.9", "EINS-ZWEI" + std::string(21, '-')},
      {"W30", "-1", "NULL-EINS" + std::string(21, '-')},
      {"W", "1", ""},
      {"W9,0,0", "5", "F\xC3\x9CNF----"},
      {"W5,2", "1", "-----"},
  });
}

TEST(Mask, WidthsBeyondTheLongestResultFail) {
  for (const char* mask : {"S32768", "s2000000000", "o40000", "W10.40000", "W40000"}) {
    EXPECT_THROW(Text(mask, "1"), RangeError) << mask;
  }
  EXPECT_EQ(Text("S32767", "").size(), 32767u);
  EXPECT_EQ(Text("M", std::string(32767, 'a')).size(), 32767u);
  EXPECT_THROW(Text("o5,X", std::string(32767, '1')), RangeError);
}

}  // namespace
}  // namespace qor
