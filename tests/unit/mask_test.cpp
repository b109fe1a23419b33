#include "mask/mask.h"

#include <gtest/gtest.h>

#include "datetime/calendar.h"
#include "frame/errors.h"

namespace qor {
namespace {

std::string Text(std::string_view mask, std::string_view value) {
  return ApplyMask(mask, value, MaskText, 0.0, 0.0);
}
std::string Number(std::string_view mask, double value) {
  return ApplyMask(mask, "", MaskNumber, value, 0.0);
}
std::string Date(std::string_view mask, TDateTime value) {
  return ApplyMask(mask, "", MaskDateTime, 0.0, value);
}

// Day counts built by hand from the calendar, times as fractions of a day.
TDateTime Day(int year, int month, int day) { return static_cast<double>(EncodeDate(year, month, day)); }
constexpr double kHalfPastTwelve = (12 * 60 + 30) / 1440.0;
constexpr double kSeconds45 = 45 / 86400.0;

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

TEST(Mask, DefaultTextOfADateTime) {
  EXPECT_EQ(Date("", Day(2023, 2, 1)), "01.02.2023");
  EXPECT_EQ(Date("", Day(2023, 2, 1) + kHalfPastTwelve), "01.02.2023");
  EXPECT_EQ(Date("", kHalfPastTwelve), "12:30:00");
  EXPECT_EQ(Date("", kHalfPastTwelve + kSeconds45), "12:30:45");
  EXPECT_EQ(Date("", 0.0), "30.12.1899");
  EXPECT_EQ(Date("", -0.75), "29.12.1899");
  EXPECT_EQ(Date("T5", -0.75), "06:00");
  EXPECT_EQ(Date("", Day(1, 1, 1)), "01.01.0001");
  EXPECT_EQ(Date("", Day(9999, 12, 31)), "31.12.9999");
  EXPECT_EQ(Date("S12", Day(2023, 2, 1)), "01.02.2023  ");
  EXPECT_EQ(Date("C2", 0.0), "30");
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

TEST(Mask, FixedPointNumbers) {
  CheckText({
      {"F10.2", "12.5", "     12.50"},   {"N10.2", "12.5", "12.50"},
      {"N010.2", "12.5", "0000012.50"},  {"N010.2", "-12.5", "-000012.50"},
      {"F010.2", "12.5", "     12.50"},  {"F10.2", "0", ""},
      {"N10.2", "0", ""},                {"F010.2", "0", "0000000000"},
      {"N05", "0", "00000"},             {"f10.2", "0", "      0.00"},
      {"n10.2", "0", "0.00"},            {"F5.2", "12345.678", "12345"},
      {"F", "12.5", ""},                 {"N", "12.5", ""},
      {"F.2", "12.5", ""},               {"N10", "2.5", "2.5"},
      {"N010", "2.5", "00000002.5"},     {"N010", "-2.5", "-0000002.5"},
      {"f10", "0", "0"},                 {"F3", "12.5", "12."},
      {"N10.0", "2.5", "3"},             {"F4.0", "-2.5", "  -3"},
      {"n10.2", "-0.001", "0.00"},       {"N-5.2", "12.5", ""},
      {"N10.2", "1,5", "1.50"},          {"N10.2", "abc", ""},
      {"N20.9", "0.1234567891", "0.123456789"},
      {"N10.-1", "2.25", "2.25"},        {"N10.2x", "2.5", "2.50"},
      {"N30.2", "1e20", "100000000000000000000.00"},
  });
  EXPECT_EQ(Number("N010.2", 12.5), "0000012.50");
}

TEST(Mask, FixedPointRoundsWithTheCommercialRule) {
  CheckText({{"N10.2", "2.345", "2.35"},  {"N10.2", "1.00499", "1.01"}, {"N10.2", "2.3449", "2.34"},
             {"N10.2", "-2.345", "-2.35"}, {"N10.0", "1.499", "2"},     {"N10.0", "1.4989", "1"},
             {"N10.2", "1.005", "1.01"}});
}

TEST(Mask, TenOrMoreDecimalsFail) {
  EXPECT_THROW(Text("F10.10", "1.5"), RangeError);
  EXPECT_THROW(Text("n10.99", "1.5"), RangeError);
  EXPECT_THROW(Text("f10.10", "0"), RangeError);
  EXPECT_EQ(Text("F10.10", "0"), "");  // the zero test comes first
  EXPECT_EQ(Text("N11.9", "1.5"), "1.500000000");
}

TEST(Mask, AmountInHundredths) {
  CheckText({{"O11", "12.34", "00000001234"}, {"O11,EUR", "12.34", "00000001234EUR"},
             {"O3", "1234.56", "123456"},     {"O", "0.005", "1"},
             {"O4", "0.004", "0000"},          {"O6", "-12.34", "-01234"},
             {"O", "-0.001", "0"},             {"O2,x", "abc", "00x"},
             {"O", "1e20", "10000000000000000000000"}});
  EXPECT_EQ(Number("O11", 12.34), "00000001234");
  EXPECT_THROW(Text("O", "1e307"), RangeError);
}

TEST(Mask, DateLayouts) {
  const TDateTime t = Day(2023, 2, 1) + kHalfPastTwelve + kSeconds45;
  const struct {
    const char* mask;
    const char* want;
  } cases[] = {{"D4", "2023"}, {"D5", "02.23"}, {"D7", "02.2023"}, {"D8", "01.02.23"},
               {"D10", "01.02.2023"}, {"D16", "01.02.2023 12:30"}, {"D19", "01.02.2023 12:30:45"},
               {"d10", "01.02.2023"}, {"D6", ""}, {"D0", ""}, {"D", ""}, {"D-10", ""}};
  for (const auto& c : cases) EXPECT_EQ(Date(c.mask, t), c.want) << c.mask;
  EXPECT_EQ(Date("D10", 0.0), "");
  EXPECT_EQ(Date("D8", Day(1905, 7, 9)), "09.07.05");
  CheckText({{"D10", "1.2.23", "01.02.2023"}, {"D10", "abc", ""}, {"D16", "1.2.2023 12:30", "01.02.2023 12:30"},
             {"D19", "31.12.1899 23:59:59", "31.12.1899 23:59:59"}});
}

TEST(Mask, TimeLayouts) {
  const TDateTime t = Day(2023, 2, 1) + kHalfPastTwelve + kSeconds45;
  EXPECT_EQ(Date("T2", t), "12");
  EXPECT_EQ(Date("T5", t), "12:30");
  EXPECT_EQ(Date("T8", t), "12:30:45");
  EXPECT_EQ(Date("t8", t), "12:30:45");
  EXPECT_EQ(Date("T4", t), "");
  EXPECT_EQ(Date("T5", Day(2023, 2, 1)), "00:00");
  EXPECT_EQ(Date("T5", 0.0), "");
  // A time read back from an engine timestamp lies a hair off the second.
  EXPECT_EQ(Date("T8", Day(2023, 2, 1) + 449999999.0 / 864000000.0), "12:30:00");
  CheckText({{"T5", "9", "09:00"}, {"T8", "12:30:45", "12:30:45"}, {"T5", "abc", ""}, {"T2", "23:59", "23"}});
}

TEST(Mask, TermDates) {
  EXPECT_EQ(Date("Z14", Day(2023, 2, 1)), "15.02.2023");
  EXPECT_EQ(Date("Z0", Day(2023, 2, 1)), "01.02.2023");
  EXPECT_EQ(Date("Z-15", Day(2023, 2, 1)), "15.03.2023");
  EXPECT_EQ(Date("Z-15", Day(2023, 2, 1) + kHalfPastTwelve), "15.03.2023");
  EXPECT_EQ(Date("Z-31", Day(2023, 1, 15)), "28.02.2023");
  EXPECT_EQ(Date("Z-31", Day(2024, 1, 15)), "29.02.2024");
  EXPECT_EQ(Date("Z-31", Day(2023, 12, 10)), "31.01.2024");
  EXPECT_EQ(Date("Z-40", Day(2023, 1, 15)), "12.03.2023");
  EXPECT_EQ(Date("Z-30", Day(2023, 3, 31)), "30.04.2023");
  EXPECT_EQ(Date("Z-65535", Day(2023, 1, 15)), "07.07.2202");
  CheckText({{"Z14", "abc", "13.01.1900"}, {"Z-15", "1.2.23", "15.03.2023"}, {"Z14", "1.2.2023 12:30", "15.02.2023"}});
}

TEST(Mask, ImpossibleTermDatesFail) {
  EXPECT_THROW(Date("Z-65536", Day(2023, 1, 15)), RangeError);
  EXPECT_THROW(Date("Z-2147483648", Day(2023, 1, 15)), RangeError);
  EXPECT_THROW(Date("Z1", Day(9999, 12, 31)), RangeError);
  EXPECT_THROW(Date("Z-1", Day(9999, 12, 31)), UdfError);
  EXPECT_THROW(Date("Z-65535", Day(9999, 11, 1)), RangeError);
  EXPECT_THROW(Date("Z2147483647", Day(2023, 1, 1)), RangeError);
  EXPECT_EQ(Date("Z-31", Day(9999, 11, 30)), "31.12.9999");
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
  for (const char* mask : {"S32766", "s2000000000", "o40000", "O32766", "N32766.2", "F032766", "W10.32766",
                           "W40000", "M"}) {
    EXPECT_THROW(Text(mask, "1" + std::string(32765, ' ')), RangeError) << mask;
  }
  EXPECT_EQ(Text("S32765", "").size(), 32765u);
  EXPECT_EQ(Text("M", std::string(32765, 'a')).size(), 32765u);
  EXPECT_EQ(Text("o32765", "1").size(), 32765u);
  EXPECT_THROW(Text("o5,X", std::string(32765, '1')), RangeError);
}

}  // namespace
}  // namespace qor
