#include "frame/strings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace qor {
namespace {

using namespace std::string_view_literals;

constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

// Shows control bytes of a test text readably in failure messages.
std::string Show(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u >= 127) {
      static const char hex[] = "0123456789ABCDEF";
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

struct IntCase {
  std::string_view text;
  int64_t value;
};

TEST(ParseLeadingInt, SyntaxAndFallbackToTheValidPart) {
  const IntCase cases[] = {
      // whole text valid
      {"0", 0}, {"42", 42}, {"+42", 42}, {"-42", -42}, {"007", 7},
      {" \t -7", -7},
      // base prefixes, hex digits in either case
      {"$1F", 31}, {"$1f", 31}, {"x1F", 31}, {"X1f", 31}, {"0x1F", 31}, {"0XfF", 255},
      {"-$10", -16}, {"+0x10", 16}, {"%101", 5}, {"-%11", -3}, {"&17", 15}, {"&777", 511},
      // the part before the first invalid character
      {"12abc", 12}, {" -7 ", -7}, {"12 ", 12}, {"1.5", 1}, {"1,5", 1}, {"5\n", 5},
      {"5\0" "7"sv, 5}, {"%102", 2}, {"&78", 7}, {"$1G", 1}, {"0x1g", 1}, {"1e3", 1},
      {"1-", 1}, {"00x1", 0},
      // nothing valid: 0
      {"", 0}, {"abc", 0}, {"  ", 0}, {"-", 0}, {"+", 0}, {"- 5", 0}, {"+-5", 0},
      {"$", 0}, {"x", 0}, {"%", 0}, {"&", 0}, {"%2", 0}, {"&8", 0}, {"$-1", 0}, {"$ 1", 0},
      {"\n5", 0}, {"\r5", 0}, {"\x0b" "5", 0}, {"\0" "5"sv, 0}, {"x\0" "5"sv, 0},
      // the retry happens once: the part before the first invalid character
      // must be valid itself
      {"1 2", 1}, {"-x", 0}, {"$x1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseLeadingInt64(c.text), c.value) << Show(c.text);
    EXPECT_EQ(ParseLeadingInt(c.text), static_cast<int32_t>(c.value)) << Show(c.text);
  }
}

TEST(ParseLeadingInt, DigitBeyondTheRangeIsAnInvalidCharacter) {
  const IntCase cases[] = {
      // decimal: the signed 64-bit range, one more on the negative side
      {"9223372036854775807", kInt64Max},
      {"9223372036854775808", 922337203685477580},
      {"9223372036854775808x", 922337203685477580},
      {"-9223372036854775808", kInt64Min},
      {"-9223372036854775809", -922337203685477580},
      {"99999999999999999999", 999999999999999999},
      {"000000000000000000000000000001", 1},
      // the other bases: all 64 bits as a two's-complement pattern
      {"$7FFFFFFFFFFFFFFF", kInt64Max},
      {"$8000000000000000", kInt64Min},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$10000000000000000", 1152921504606846976},  // 2^60: the 17th digit is cut
      {"$0000000000000000000000FF", 255},
      {"-$1", -1},
      {"-$8000000000000000", kInt64Min},
      {"-$FFFFFFFFFFFFFFFF", 1},
      {"&1777777777777777777777", -1},
      {"&2000000000000000000000", 2305843009213693952},  // 2^61
      {"%1111111111111111111111111111111111111111111111111111111111111111", -1},
      {"%10000000000000000000000000000000000000000000000000000000000000000",
       kInt64Min},  // 65th binary digit cut: 2^63
  };
  for (const auto& c : cases) EXPECT_EQ(ParseLeadingInt64(c.text), c.value) << c.text;
}

TEST(ParseLeadingInt, KeepsTheLow32Bits) {
  const struct {
    std::string_view text;
    int32_t value;
  } cases[] = {
      {"2147483647", kInt32Max},     {"2147483648", kInt32Min},  {"-2147483648", kInt32Min},
      {"-2147483649", kInt32Max},    {"4294967295", -1},          {"4294967296", 0},
      {"4294967298", 2},             {"$FFFFFFFF", -1},           {"$80000000", kInt32Min},
      {"$1FFFFFFFF", -1},            {"-$FFFFFFFF", 1},           {"9223372036854775808", -858993460},
      {"9223372036854775807", -1},   {"-9223372036854775808", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << c.text;
  EXPECT_EQ(ParseLeadingInt64("2147483648"), 2147483648);
}

TEST(ParseLeadingInt, TextsLongerThan255AreInvalidAtPosition256) {
  const std::string pad254(254, ' ');
  const struct {
    std::string text;
    int64_t value;
  } cases[] = {
      {pad254 + "7", 7},                              // 255 characters: valid as a whole
      {pad254 + "78", 7},                             // 256: the 256th character is cut
      {pad254 + "7x", 7},
      {std::string(252, ' ') + "-12" + "3", -12},
      {std::string(255, '0') + "1", 0},
      {"$" + std::string(253, '0') + "F" + "F", 15},
      // the first 255 characters get the only retry: an invalid character
      // among them leaves nothing
      {"12abc" + std::string(300, ' '), 0},
      {"12" + std::string(300, ' '), 0},
      // exactly 255 characters: the blank after "12" is the invalid character
      {"12" + std::string(253, ' '), 12},
      {std::string(1 << 20, '1'), 0},                  // the first 255 overflow
      {std::string(1 << 20, ' '), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseLeadingInt64(c.text), c.value) << c.text.size() << " chars";
    EXPECT_EQ(ParseLeadingInt(c.text), static_cast<int32_t>(c.value)) << c.text.size() << " chars";
  }
  // Shorter texts are read as they stand, however long their number part.
  EXPECT_EQ(ParseLeadingInt64(std::string(254, '0') + "9"), 9);
  EXPECT_EQ(ParseLeadingInt64(std::string(200, ' ') + "12" + std::string(50, ' ')), 12);
}

struct FloatCase {
  std::string_view text;
  double value;
};

TEST(ParseFloatText, SyntaxSeparatorSwapAndFallback) {
  const FloatCase cases[] = {
      // valid as a whole
      {"0", 0.0}, {"7", 7.0}, {"1.5", 1.5}, {"-1.5", -1.5}, {"+2.25", 2.25}, {" \t 3.5", 3.5},
      {".5", 0.5}, {"-.5", -0.5}, {"5.", 5.0}, {"1e3", 1000.0}, {"1E+2", 100.0}, {"25e-1", 2.5},
      {"1.5e2", 150.0}, {".5e1", 5.0}, {"5.e1", 50.0}, {"007.25", 7.25},
      // "," or "." at the first invalid character is swapped for the other
      {"1,5", 1.5}, {"-,5", -0.5}, {",5", 0.5}, {"5,", 5.0}, {"1,5e2", 150.0},
      {"12,50 EUR", 12.5}, {"1.234,56", 1.234}, {"1,234.56", 1.234}, {"1,5,3", 1.5},
      {"1.5.3", 1.5}, {"1,2x", 1.2},
      // the part before the first invalid character
      {"7 ", 7.0}, {"7 000", 7.0}, {"3.5kg", 3.5}, {"1e5x", 100000.0}, {"0x10", 0.0},
      {"2\n", 2.0}, {"2\0" "5"sv, 2.0}, {"1,5\0" "5"sv, 1.5},
      // an "E" may still begin an exponent: the character after it is the
      // invalid one, and the part before that ends in an incomplete exponent
      {"1e", 0.0}, {"1e+", 0.0}, {"1E-x", 0.0}, {"2e-x", 0.0}, {"5EUR", 0.0}, {"5e", 0.0},
      {"12,50EUR", 0.0}, {"1,5E", 0.0}, {"1e,5", 0.0}, {"-5E ", 0.0},
      // a blank cannot continue a number, so it ends the number before it
      {"5 EUR", 5.0}, {"5E3EUR", 5000.0}, {"5.x", 5.0}, {".x", 0.0},
      // nothing valid
      {"", 0.0}, {"x", 0.0}, {".", 0.0}, {",", 0.0}, {"-", 0.0}, {"-.", 0.0}, {"-,", 0.0},
      {"..5", 0.0}, {",,5", 0.0}, {"e5", 0.0}, {"- 1", 0.0}, {"--1", 0.0}, {"  ", 0.0},
      {"\n1", 0.0}, {"inf", 0.0}, {"nan", 0.0}, {"$1", 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFloatText(c.text), c.value) << Show(c.text);
}

TEST(ParseFloatText, RoundsLongTextsExactly) {
  const std::string zeros(1000, '0');
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"0.1", 0.1},
      {"0," + std::string(50, '3'), 1.0 / 3.0},
      {"1" + zeros + "e-1000", 1.0},
      {"0." + zeros + "1e1001", 1.0},
      {"," + zeros + "25e1001", 2.5},
      // 2^53 + 1 lies halfway between two doubles: exactly halfway rounds
      // to even, anything above rounds up, even 900 digits further on
      {"9007199254740993", 9007199254740992.0},
      {"9007199254740993." + std::string(900, '0'), 9007199254740992.0},
      {"9007199254740993." + std::string(900, '0') + "1", 9007199254740994.0},
      {"9007199254740993," + std::string(900, '0') + "1", 9007199254740994.0},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      {"2.2250738585072014E-308", std::numeric_limits<double>::min()},
      {"1e-320", 1e-320},
      // beyond the double range: too large reads as 0.0, too small as zero
      {"1e309", 0.0},
      {"-1e309", 0.0},
      {"1" + zeros, 0.0},
      {"1e999999999999999999999999", 0.0},
      {"1e-400", 0.0},
      {"1e-999999999999999999999999", 0.0},
      {"0e999999999999999999999999", 0.0},
      {zeros + "," + zeros, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseFloatText(c.text), c.value) << c.text.substr(0, 40) << " (" << c.text.size() << " chars)";
  }
  EXPECT_TRUE(std::signbit(ParseFloatText("-1e-400")));
  EXPECT_TRUE(std::signbit(ParseFloatText("-0")));
}

TEST(TextCutters, FirstOccurrence) {
  const struct {
    std::string_view text;
    char c;
    std::string_view before, after;
  } cases[] = {
      {"abc", 'x', "abc", ""}, {"a=", '=', "a", ""},    {"=b", '=', "", "b"},
      {"a=b=c", '=', "a", "b=c"}, {"", '=', "", ""},     {"=", '=', "", ""},
      {"a\0b"sv, '\0', "a", "b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBefore(c.text, c.c), c.before) << Show(c.text);
    EXPECT_EQ(TextAfter(c.text, c.c), c.after) << Show(c.text);
  }
}

struct SplitCase {
  std::string_view text;
  char sep;
  BlankRule blanks;
  std::vector<std::string> items;
};

template <size_t N>
void ExpectSplits(const SplitCase (&cases)[N]) {
  TextList list;
  for (const auto& c : cases) {
    SplitList(c.text, list, c.sep, c.blanks);
    EXPECT_EQ(list, c.items) << Show(c.text) << " at '" << c.sep << "' blanks " << c.blanks;
  }
}

TEST(SplitList, ItemsSeparatorsAndQuotes) {
  const SplitCase cases[] = {
      {"", ',', BlanksInItems, {}},
      {"", ',', BlanksSeparate, {}},
      {"a", ',', BlanksInItems, {"a"}},
      {"a,b,,z", ',', BlanksInItems, {"a", "b", "", "z"}},
      {"a,b,,z", ',', BlanksSeparate, {"a", "b", "", "z"}},
      // a separator at the very end or start gives an empty item
      {"a,", ',', BlanksInItems, {"a", ""}},
      {"a,", ',', BlanksSeparate, {"a", ""}},
      {"a , ", ',', BlanksSeparate, {"a", ""}},
      {",a", ',', BlanksInItems, {"", "a"}},
      {",", ',', BlanksInItems, {"", ""}},
      {",,", ',', BlanksSeparate, {"", "", ""}},
      // quoted items: quotes dropped, doubled quotes undoubled, separators
      // and blanks kept
      {"\"x,y\",z", ',', BlanksSeparate, {"x,y", "z"}},
      {"\" x , y \", z", ',', BlanksSeparate, {" x , y ", "z"}},
      {"\"a\"\"b\",c", ',', BlanksInItems, {"a\"b", "c"}},
      {"\"\"\"\"", ',', BlanksInItems, {"\""}},
      {"\"\"\"\"\"\"", ',', BlanksInItems, {"\"\""}},
      {"\"\",\"\"", ',', BlanksInItems, {"", ""}},
      {"\"a\",", ',', BlanksInItems, {"a", ""}},
      {"\"abc", ',', BlanksInItems, {"abc"}},            // unclosed: runs to the end
      {"\"a,b\"\"", ',', BlanksInItems, {"a,b\""}},
      {"a\"b,c", ',', BlanksInItems, {"a\"b", "c"}},     // a quote inside an item is plain
      // after a closing quote, anything but the separator starts a new item
      {"\"a\"b,c", ',', BlanksInItems, {"a", "b", "c"}},
      {"\"a\" ,b", ',', BlanksInItems, {"a", " ", "b"}},
      {"\"a\"  ,  b", ',', BlanksSeparate, {"a", "b"}},
      {"\"a\"\"", ',', BlanksInItems, {"a\""}},
      // NUL ends the text
      {"a,b\0,c"sv, ',', BlanksInItems, {"a", "b"}},
      {"\0a"sv, ',', BlanksInItems, {}},
      {"\"a\0\",b"sv, ',', BlanksInItems, {"a"}},
      // other separators
      {"C:\\data:x", ':', BlanksInItems, {"C", "\\data", "x"}},
      {"a;b,c", ';', BlanksSeparate, {"a", "b,c"}},
  };
  ExpectSplits(cases);
}

TEST(SplitList, BlankModes) {
  const SplitCase cases[] = {
      {" a , b z", ',', BlanksSeparate, {"a", "b", "z"}},
      {" a , b", ',', BlanksInItems, {" a ", " b"}},
      {"  ", ',', BlanksSeparate, {}},
      {"  ", ',', BlanksInItems, {"  "}},
      {"\t\r\n", ',', BlanksSeparate, {}},
      // every byte from 1 to 32 is a blank, 127 and the bytes above are not
      {"\x01" "a\x1f" "b\x20" "c\x7f" "d\xa0" "e", ',', BlanksSeparate, {"a", "b", "c\x7f" "d\xa0" "e"}},
      {"a\tb,c", ',', BlanksInItems, {"a\tb", "c"}},
      {" a , , b ", ',', BlanksSeparate, {"a", "", "b"}},
      {" , ", ',', BlanksSeparate, {"", ""}},
      {" , ", ',', BlanksInItems, {" ", " "}},
      // a blank as separator
      {"a  b", ' ', BlanksInItems, {"a", "", "b"}},
      {"a b ", ' ', BlanksInItems, {"a", "b", ""}},
      {"/dev/sda1  100  50", ' ', BlanksInItems, {"/dev/sda1", "", "100", "", "50"}},
      {" a  b ", ' ', BlanksSeparate, {"a", "b"}},
  };
  ExpectSplits(cases);
}

TEST(SplitList, ClearsTheListFirst) {
  TextList list = {"old", "items"};
  SplitList("", list, ',', BlanksInItems);
  EXPECT_TRUE(list.empty());
  list = {"old"};
  SplitList("a", list, ',', BlanksInItems);
  EXPECT_EQ(list, TextList{"a"});
}

TEST(ListItem, PicksOneItem) {
  const struct {
    std::string_view text;
    int32_t n;
    BlankRule blanks;
    std::string_view item;
  } cases[] = {
      {"a,b,c", 0, BlanksInItems, "a"},       {"a,b,c", 2, BlanksInItems, "c"},
      {"a,b,c", 3, BlanksInItems, ""},        {"a,b,c", -1, BlanksInItems, ""},
      {"a,b,c", kInt32Min, BlanksInItems, ""}, {"a,b,c", kInt32Max, BlanksInItems, ""},
      {"a,", 1, BlanksInItems, ""},           {" a , b ", 1, BlanksSeparate, "b"},
      {" a , b ", 1, BlanksInItems, " b "},   {"x,\"p\"\"q\",y", 1, BlanksSeparate, "p\"q"},
      {"x,\"p\"\"q\",y", 2, BlanksSeparate, "y"}, {"", 0, BlanksInItems, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListItem(c.text, c.n, ',', c.blanks), c.item) << Show(c.text) << " item " << c.n;
  }
}

// Texts assembled from the characters the readers treat specially, in every
// combination up to a few characters: nothing may crash (the sanitizer run
// watches memory), and the shortcuts must agree with the full readers.
TEST(StringHelpers, AgreeOnEveryShortText) {
  const std::string_view alphabet = " \t\"\0,.;-+$x0%&1e9F"sv;
  std::string text;
  TextList list;
  std::vector<size_t> index(5, 0);
  for (size_t length = 0; length <= 4; ++length) {
    std::fill(index.begin(), index.end(), 0);
    for (;;) {
      text.clear();
      for (size_t i = 0; i < length; ++i) text += alphabet[index[i]];
      // Numbers this short lie well inside 32 bits: both readers agree
      // without any wrap.
      EXPECT_EQ(int64_t{ParseLeadingInt(text)}, ParseLeadingInt64(text)) << Show(text);
      EXPECT_FALSE(std::isnan(ParseFloatText(text))) << Show(text);
      for (BlankRule blanks : {BlanksInItems, BlanksSeparate}) {
        SplitList(text, list, ',', blanks);
        for (size_t i = 0; i <= list.size(); ++i) {
          const std::string expected = i < list.size() ? list[i] : std::string();
          EXPECT_EQ(ListItem(text, static_cast<int32_t>(i), ',', blanks), expected) << Show(text) << " item " << i;
        }
      }
      size_t k = 0;
      while (k < length && ++index[k] == alphabet.size()) index[k++] = 0;
      if (k == length) break;
    }
  }
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpperCopy("abc xyz ABC 09 @[`{ \xe4\xdf\xfc"), "ABC XYZ ABC 09 @[`{ \xe4\xdf\xfc");
  EXPECT_EQ(AsciiUpperCopy(""), "");
  EXPECT_EQ(AsciiUpperCopy("a\0b"sv), "A\0B"sv);

  const struct {
    std::string_view a, b;
    bool equal;
  } cases[] = {
      {"", "", true},          {"Konto", "KONTO", true},  {"konto", "kOnTo", true},
      {"Konto", "Konto ", false}, {"Konto", "Kont", false}, {"a", "b", false},
      {"@", "`", false},       {"[", "{", false},          {"]", "}", false},
      {"\xe4", "\xc4", false}, {"\xe4", "\xe4", true},     {"a\0b"sv, "A\0B"sv, true},
      {"a\0b"sv, "A\0C"sv, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsIgnoreAsciiCase(c.a, c.b), c.equal) << Show(c.a) << " vs " << Show(c.b);
    EXPECT_EQ(EqualsIgnoreAsciiCase(c.b, c.a), c.equal) << Show(c.b) << " vs " << Show(c.a);
  }
}

}  // namespace
}  // namespace qor
