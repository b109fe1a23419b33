// Account ranges (Kontenbereiche): does an account number belong to a range
// text such as "4700-4799,!4711,48XX"?
#pragma once

#include <string>
#include <string_view>

namespace qor {

// Whether `text` matches `pattern`. A leading "!" of the pattern is dropped
// first. Texts of different lengths never match; at each position an "X" or
// "x" in the pattern matches any character, and any other pattern character
// matches itself (byte for byte) or an "X"/"x" in the text.
bool MatchKontoPattern(std::string_view text, std::string_view pattern);

// The account number written with exactly two decimals: "." as the decimal
// separator, no thousands separator, "-" for negative values (4711 gives
// "4711.00", 4711.05 gives "4711.05", -12.5 gives "-12.50"). Rounded half away
// from zero at the third decimal, after reading the value to 15 significant
// digits, so 4711.005 gives "4711.01". A value that rounds to zero is "0.00".
// Never depends on the process locale. NaN and the infinities give "NAN",
// "INF" and "-INF".
std::string KontoText(double account);

// Whether the account number belongs to the range list, restricted by the
// decimals list (see account_range.cpp for the item rules).
bool Kontenbereich(double account, std::string_view ranges, std::string_view decimals);

}  // namespace qor
