#include "accounting/debit_credit.h"

#include "frame/errors.h"

namespace qor {

double SHSoll(std::string_view flag, double amount) {
  return CheckFinite(flag == "S" ? amount : 0.0);
}

double SHHaben(std::string_view flag, double amount) {
  return CheckFinite(flag == "H" ? amount : 0.0);
}

double SHBetrag(std::string_view flag, double amount) {
  return CheckFinite(flag == "H" ? -amount : amount);
}

double SHBetragExt(std::string_view flag, double amount, std::string_view positive,
                   std::string_view negative) {
  if (flag.empty()) return 0.0;
  char side = flag.front();
  if (positive.find(side) != std::string_view::npos) return CheckFinite(amount);
  if (negative.find(side) != std::string_view::npos) return CheckFinite(-amount);
  return 0.0;
}

}  // namespace qor
