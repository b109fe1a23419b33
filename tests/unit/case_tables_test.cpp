#include "text/case_tables.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

// Every byte value against the table rules written out independently.
TEST(CaseTables, EveryByte) {
  for (int i = 0; i < 256; ++i) {
    int up = i, low = i;
    if ((i >= 'a' && i <= 'z') || (i >= 0xE0 && i <= 0xFE && i != 0xF7)) up = i - 0x20;
    if (i == 0xFF) up = 'Y';
    if ((i >= 'A' && i <= 'Z') || (i >= 0xC0 && i <= 0xDE && i != 0xD7)) low = i + 0x20;
    EXPECT_EQ(kUpperTable[i], up) << i;
    EXPECT_EQ(kLowerTable[i], low) << i;
  }
  EXPECT_EQ(UpperCopy("a\xFC\xDF\xFFz"), "A\xDC\xDFYZ");
  EXPECT_EQ(LowerCopy("\xD7\xC4Z"), "\xD7\xE4z");
}

TEST(TrimText, Cases) {
  struct Case { std::string_view in, out; } cases[] = {
      {"", ""}, {" \t\r\n", ""}, {" a ", "a"}, {"\x01" "a b\x1F", "a b"},
      {"\xA0x\xA0", "\xA0x\xA0"}, {"x", "x"}, {std::string_view("\0a\0", 3), "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimText(c.in), c.out) << c.in;
}

TEST(EqualsIgnoreCase, SameLengthAndLowerCaseBytes) {
  struct Case { std::string_view a, b; bool want; } cases[] = {
      {"Felder", "FELDER", true}, {"\xC4x", "\xE4X", true}, {"", "", true},
      {"ab", "abc", false},       {"\xDF", "SS", false},     {"\xD7", "\xF7", false},
      {"Y", "\xFF", false},  // only the upper table maps 0xFF to Y
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.want) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace qor
