#include "text/list_functions.h"

#include <string>

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(ListItemAt, BlanksBelongToItems) {
  struct Case { std::string_view text; int32_t n; char sep; std::string_view want; } cases[] = {
      {"a,b,c", 0, ',', "a"},        {"a,b,c", 2, ',', "c"},     {"a,b,c", 3, ',', ""},
      {"a,b,c", -1, ',', ""},        {"a,,c", 1, ',', ""},       {"a,,c", 2, ',', "c"},
      {"a, b", 1, ',', " b"},        {"a,", 1, ',', ""},         {"", 0, ',', ""},
      {"\"x,y\",z", 0, ',', "x,y"},  {"\"x,y\",z", 1, ',', "z"},
      {"\"a\"\"b\"", 0, ',', "a\"b"},
      {" \"q,r\"", 0, ',', " \"q"},  // a quote opens an item only as its first character
      {"1;2;3", 1, ';', "2"},        {"1,2;3", 1, ';', "3"},     {"1;2;3", 0, ',', "1;2;3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListItemAt(c.text, c.n, c.sep), c.want) << c.text << " #" << c.n << " at " << c.sep;
  }
}

TEST(ListSeparator, FirstCharacterOrComma) {
  EXPECT_EQ(ListSeparator(""), ',');
  EXPECT_EQ(ListSeparator(";"), ';');
  EXPECT_EQ(ListSeparator("|;"), '|');
  EXPECT_EQ(ListSeparator(" "), ' ');
}

TEST(ListItemCut, ClampsTheMaximumAndCuts) {
  struct Case { int32_t maximum; std::string_view want; int32_t stored; } cases[] = {
      {2, "de", 2}, {3, "def", 3}, {0, "def", 0}, {10, "def", 10}, {-4, "def", 0},
      {32759, "def", 32759}, {32760, "def", 32759}, {40000, "def", 32759},
  };
  for (const auto& c : cases) {
    int32_t maximum = c.maximum;
    EXPECT_EQ(ListItemCut("abc,def", 1, ',', maximum), c.want) << c.maximum;
    EXPECT_EQ(maximum, c.stored) << c.maximum;
  }
  const std::string long_item(40000, 'x');
  int32_t maximum = 32767;
  EXPECT_EQ(ListItemCut(long_item, 0, ',', maximum).size(), 32759u);
  maximum = 0;
  EXPECT_EQ(ListItemCut(long_item, 0, ',', maximum).size(), 40000u);
}

TEST(CommaTextValue, FirstMatchingName) {
  struct Case { std::string_view text, name, want; } cases[] = {
      {"a=1, B=2", "b", "2"},
      {"a=1, B=2", "z", ""},
      {"\"x=1,2\"", "x", "1,2"},
      {"k=v=w", "k", "v=w"},       // split at the first "="
      {"ab=1,a=2", "a", "2"},      // names compare whole
      {"a,a=3", "a", "3"},         // an item without "=" is no pair
      {"a=1,a=2", "A", "1"},
      {"\xC4=1", "\xE4", "1"},     // Latin-1 letters fold
      {"=5", "", "5"},
      {"a = 1", "a", ""},          // a blank ends an unquoted item
      {"  a=1 ,  b=2  ", "b", "2"},
      {"", "a", ""},
      {"a=", "a", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommaTextValue(c.text, c.name), c.want) << c.text << " / " << c.name;
}

}  // namespace
}  // namespace qor
