// Debit (Soll, "S") and credit (Haben, "H") amounts of a booking. An amount
// that is NaN or infinite and would be the result throws (CheckFinite)
// instead of being passed through.
#pragma once

#include <string_view>

namespace qor {

// The amount when the side flag is exactly "S", else 0.
double SHSoll(std::string_view flag, double amount);
// The amount when the side flag is exactly "H", else 0.
double SHHaben(std::string_view flag, double amount);
// The amount signed by its side: negated for "H", unchanged otherwise.
double SHBetrag(std::string_view flag, double amount);
// The amount when the flag's first character is one of `positive`, the
// negated amount when it is one of `negative`, else 0.
double SHBetragExt(std::string_view flag, double amount, std::string_view positive,
                   std::string_view negative);

}  // namespace qor
