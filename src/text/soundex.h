// A short phonetic code of a name, so that names that sound alike get the
// same code although spelled differently.
#pragma once

#include <string>
#include <string_view>

namespace qor {

// The 5-character code: the name's first byte (a-z upper-cased), then four
// digits, "0" where no more digit was found. Each later ASCII letter with a
// code (1 BFPV, 2 CGJKQSXZ, 3 DT, 4 L, 5 MN, 6 R) adds its digit unless that
// digit equals the character written last; other bytes (vowels, H, W, Y,
// non-letters) add nothing and do not separate equal digits. An empty name
// gives " 0000".
std::string SoundexCode(std::string_view name);

}  // namespace qor
