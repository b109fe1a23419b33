#include "text/soundex.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(SoundexCode, LetterAndFourDigits) {
  struct Case { std::string_view name, want; } cases[] = {
      {"Robert", "R1630"},   {"Rupert", "R1630"},   {"robert", "R1630"},
      {"ROBERT", "R1630"},   {"Ashcraft", "A2613"}, {"Pfister", "P1236"},  // 2nd letter is coded
      {"Lloyd", "L4300"},    {"Tymczak", "T5200"},  {"Washington", "W2523"},  // stops at four
      {"ab", "A1000"},       {"a", "A0000"},        {"", " 0000"},
      {"7b", "71000"},       {"1b", "10000"},       // an initial digit equal to the code
      {"Sch", "S2000"},      {"Papapa", "P1000"},   // equal codes with vowels between: once
      {"M\xFCller", "M4600"},  // a Latin-1 letter adds nothing
      {"\xE4" "bc", "\xE4" "1200"}, {"a-b c", "A1200"},
  };
  for (const auto& c : cases) EXPECT_EQ(SoundexCode(c.name), c.want) << c.name;
}

}  // namespace
}  // namespace qor
