#include "text/soundex.h"

#include "frame/strings.h"

namespace qor {

namespace {

char LetterCode(char c) noexcept {
  switch (AsciiUpper(c)) {
    case 'B': case 'F': case 'P': case 'V':
      return '1';
    case 'C': case 'G': case 'J': case 'K': case 'Q': case 'S': case 'X': case 'Z':
      return '2';
    case 'D': case 'T':
      return '3';
    case 'L':
      return '4';
    case 'M': case 'N':
      return '5';
    case 'R':
      return '6';
    default:
      return '0';
  }
}

}  // namespace

std::string SoundexCode(std::string_view name) {
  std::string code = " 0000";
  if (name.empty()) return code;
  code[0] = AsciiUpper(name[0]);
  size_t j = 1;  // next digit
  for (size_t i = 1; i < name.size() && j < code.size(); ++i) {
    const char d = LetterCode(name[i]);
    // The first digit is compared with the initial character itself: after
    // a letter it is always written, after an initial digit only when it
    // differs from that digit.
    if (d != '0' && d != code[j - 1]) code[j++] = d;
  }
  return code;
}

}  // namespace qor
