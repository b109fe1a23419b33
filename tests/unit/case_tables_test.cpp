#include "frame/case_tables.h"

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

// The in-place forms work on long texts a block of bytes at a time and on
// the rest byte by byte: every byte value at every place of a block, and
// every length of a rest, gives the table's byte.
TEST(CaseTables, InPlaceFormsMatchTheTablesAtEveryOffsetAndLength) {
  for (size_t offset = 0; offset < 17; ++offset) {
    std::string text(offset, 'a');
    for (int i = 0; i < 256; ++i) text.push_back(static_cast<char>(i));
    for (size_t length = text.size() - 16; length <= text.size(); ++length) {
      std::string upper = text.substr(0, length);
      std::string lower = upper;
      UpperInPlace(upper.data(), upper.size());
      LowerInPlace(lower.data(), lower.size());
      for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        ASSERT_EQ(static_cast<unsigned char>(upper[i]), kUpperTable[c]) << offset << " " << length << " " << i;
        ASSERT_EQ(static_cast<unsigned char>(lower[i]), kLowerTable[c]) << offset << " " << length << " " << i;
      }
    }
  }
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
