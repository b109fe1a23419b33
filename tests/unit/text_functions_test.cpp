#include "text/text_functions.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "frame/case_tables.h"

namespace qor {
namespace {

TEST(CompareText, FoldsOnlyAsciiLetters) {
  struct Case { std::string_view a, b; int32_t want; } cases[] = {
      {"abc", "ABC", 0}, {"", "", 0}, {"ab", "abc", -1}, {"abc", "", 3}, {"b", "a", 1},
      {"a", "_", 'A' - '_'},        // the folded byte is compared, not the lower-case one
      {"\xE4", "\xC4", 0xE4 - 0xC4},  // no Latin-1 folding
      {"\xFF", "a", 0xFF - 'A'},      // bytes count unsigned
      {"x1", "X2", -1}, {std::string_view("a\0b", 3), std::string_view("a\0c", 3), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareText(c.a, c.b), c.want) << c.a << " / " << c.b;
}

// Result and the start and count values stored back.
struct SubCase {
  int32_t start, count;
  std::string_view want;
  int32_t start_after, count_after;
};

TEST(SubStrEx, ClampsAndStoresBack) {
  const SubCase cases[] = {
      {2, 3, "bcd", 2, 3},
      {0, 2, "ab", 1, 2},
      {-5, 2, "ab", 1, 2},
      {6, 5, "f", 6, 1},
      {1, 6, "abcdef", 1, 6},
      {7, 1, "", 7, 1},
      {1, 0, "", 1, 0},
      {1, -5, "", 1, -5},
      {0, -5, "", 1, -5},  // the start is stored before the count is looked at
      {2, INT_MAX, "bcdef", 2, 5},
      {INT_MIN, INT_MAX, "abcdef", 1, 6},
      {INT_MAX, 1, "", INT_MAX, 1},
      {INT_MAX, INT_MAX, "", INT_MAX, INT_MAX},
  };
  for (const auto& c : cases) {
    int32_t start = c.start, count = c.count;
    EXPECT_EQ(SubStrEx("abcdef", start, count), c.want) << c.start << "," << c.count;
    EXPECT_EQ(start, c.start_after) << c.start << "," << c.count;
    EXPECT_EQ(count, c.count_after) << c.start << "," << c.count;
  }
  int32_t start = 1, count = 1;
  EXPECT_EQ(SubStrEx("", start, count), "");
}

TEST(SubStrEx, CapsTheCountAt32759) {
  std::string text(40000, 'a');
  text[32760] = 'b';
  struct Case { int32_t start, count; size_t size; int32_t count_after; } cases[] = {
      {1, 40000, 32759, 32759}, {1, 32759, 32759, 32759}, {1, 32758, 32758, 32758},
      {3, INT_MAX, 32759, 32759}, {7242, 40000, 32759, 32759}, {7243, 40000, 32758, 32758},
  };
  for (const auto& c : cases) {
    int32_t start = c.start, count = c.count;
    const std::string_view got = SubStrEx(text, start, count);
    EXPECT_EQ(got.size(), c.size) << c.start << "," << c.count;
    EXPECT_EQ(count, c.count_after) << c.start << "," << c.count;
    EXPECT_EQ(got.data(), text.data() + c.start - 1);
  }
}

TEST(CopyText, SameSubstringWithZeroBasedStart) {
  const SubCase cases[] = {
      {2, 3, "bcd", 1, 3},   {0, 2, "ab", 0, 2},   {-3, 2, "ab", 0, 2},
      {6, 5, "f", 5, 1},     {5, 40000, "ef", 4, 2}, {9, 1, "", 8, 1},
      {1, 0, "", 0, 0},      {2, INT_MAX, "bcdef", 1, 5}, {INT_MIN, 1, "a", 0, 1},
  };
  for (const auto& c : cases) {
    int32_t index = c.start, count = c.count;
    EXPECT_EQ(CopyText("abcdef", index, count), c.want) << c.start << "," << c.count;
    EXPECT_EQ(index, c.start_after) << c.start << "," << c.count;
    EXPECT_EQ(count, c.count_after) << c.start << "," << c.count;
  }
}

TEST(TrimInPlace, CutsTheArgumentAndPointsIntoIt) {
  struct Case { const char* in; size_t offset; std::string_view want; } cases[] = {
      {" a ", 1, "a"},         {"  a b\t\r\n", 2, "a b"}, {"ab", 0, "ab"},
      {" \t \x01", 0, ""},     {"", 0, ""},              {"\xA0x\xFF ", 0, "\xA0x\xFF"},
      {"\x1F!\x1F", 1, "!"},
  };
  for (const auto& c : cases) {
    std::string buf(c.in);
    buf.push_back('\0');
    buf.append("zz");  // bytes after the NUL are not looked at
    char* got = TrimInPlace(buf.data());
    EXPECT_EQ(got, buf.data() + c.offset) << c.in;
    EXPECT_EQ(std::string_view(got), c.want) << c.in;
  }
  EXPECT_EQ(TrimInPlace(nullptr), nullptr);
}

TEST(CaseInPlace, ChangesTheArgumentUpToItsNul) {
  char up[] = "a\xFC\xDF\xFFz\xF7\0b";
  EXPECT_EQ(UpperCaseInPlace(up), up);
  EXPECT_EQ(std::string(up, sizeof up - 1), std::string("A\xDC\xDFYZ\xF7\0b", 8));
  char low[] = "\xD7\xC4Z\xDE\xDF\0B";
  EXPECT_EQ(LowerCaseInPlace(low), low);
  EXPECT_EQ(std::string(low, sizeof low - 1), std::string("\xD7\xE4z\xFE\xDF\0B", 7));
  EXPECT_EQ(UpperCaseInPlace(nullptr), nullptr);
  EXPECT_EQ(LowerCaseInPlace(nullptr), nullptr);
}

TEST(PosText, FirstOccurrence) {
  struct Case { std::string_view search, text; int32_t want; } cases[] = {
      {"cd", "abcdcd", 3}, {"a", "abc", 1}, {"c", "abc", 3}, {"abc", "abc", 1},
      {"abcd", "abc", 0}, {"CD", "abcd", 0}, {"", "abc", 0}, {"", "", 0}, {"a", "", 0},
      {"aab", "aaaab", 3}, {std::string_view("\0b", 2), std::string_view("a\0\0b", 4), 3},
  };
  for (const auto& c : cases) EXPECT_EQ(PosText(c.search, c.text), c.want) << c.search << " in " << c.text;
}

TEST(ReplaceText, LeftToRightWithoutOverlap) {
  struct Case {
    std::string_view search, replacement, text;
    bool all, ignore_case;
    std::string_view want;
  } cases[] = {
      {"ab", "x", "abcabab", true, false, "xcxx"},
      {"aa", "b", "aaa", true, false, "ba"},
      {"a", "aa", "aba", true, false, "aabaa"},  // replaced parts are not scanned again
      {"b", "", "abcb", true, false, "ac"},
      {"", "x", "abc", true, true, "abc"},
      {"abc", "x", "ab", true, false, "ab"},
      {"A", "x", "abc", true, false, "abc"},
      {"x", "-", "aXbxc", true, true, "a-b-c"},
      {"x", "-", "aXbxc", false, true, "a-bxc"},
      {"x", "-", "aXbxc", true, false, "aXb-c"},
      {"x", "-", "axbxc", false, false, "a-bxc"},
      {"b", "X", "AbCB", true, true, "AXCX"},            // the rest keeps its own case
      {"\xE4", "ae", "\xC4pfel \xE4", true, true, "aepfel ae"},  // Latin-1 letters fold
      {"\xFF", "-", "Y\xFFy", true, true, "---"},         // 0xFF upper-cases to Y
      {"ss", "-", "\xDF", true, true, "\xDF"},
      {"aab", "-", "aaabaab", true, false, "a--"},
      {"b", "-", "ab", true, false, "a-"},  // a match that ends the text
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.search, c.replacement, c.text, c.all, c.ignore_case), c.want)
        << c.search << " -> " << c.replacement << " in " << c.text << " all=" << c.all
        << " ic=" << c.ignore_case;
  }
}

TEST(ReplaceText, GrowsBeyondTheInput) {
  const std::string text(1000, 'a');
  const std::string out = ReplaceText("a", std::string(100, 'b'), text, true, false);
  EXPECT_EQ(out, std::string(100000, 'b'));
}

// Past the limit the result stops at limit + 1 bytes; up to it, nothing is cut.
TEST(ReplaceText, StopsOneBytePastTheLimit) {
  struct Case {
    std::string_view search, replacement, text;
    bool all;
    size_t limit;
    std::string_view want;
  } cases[] = {
      {"a", "bb", "aaa", true, 6, "bbbbbb"},
      {"a", "bb", "aaa", true, 5, "bbbbbb"},
      {"a", "bb", "aaa", true, 4, "bbbbb"},
      {"a", "bbbbbbbb", "aaa", true, 3, "bbbb"},
      {"a", "b", "axyz", false, 2, "bxy"},   // the unreplaced rest counts too
      {"a", "b", "xyz", true, 1, "xy"},
      {"", "b", "xyz", true, 1, "xy"},
      {"q", "b", "xyz", true, 3, "xyz"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.search, c.replacement, c.text, c.all, false, c.limit), c.want)
        << c.search << " -> " << c.replacement << " in " << c.text << " limit " << c.limit;
  }
  const std::string text(32767, 'a');
  EXPECT_EQ(ReplaceText("a", text, text, true, false, 32767).size(), 32768u);
}

TEST(CrLfText, OneToAHundredPairs) {
  EXPECT_EQ(CrLfText(1), "\r\n");
  EXPECT_EQ(CrLfText(3), "\r\n\r\n\r\n");
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "\r\n";
  EXPECT_EQ(CrLfText(100), hundred);
  for (int32_t n : {0, -1, 101, INT_MIN, INT_MAX}) EXPECT_EQ(CrLfText(n), "") << n;
}

TEST(IntText, Decimal) {
  struct Case { int32_t value; std::string_view want; } cases[] = {
      {0, "0"}, {7, "7"}, {-42, "-42"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(IntText(c.value), c.want);
}

}  // namespace
}  // namespace qor
