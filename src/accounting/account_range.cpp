// Account ranges.
//
// A range list is a comma list, upper-cased and then split by SplitList at ","
// with blanks separating items (so "4711 4712" is two items). Each item is
//   - an exclusion when it contains "!" anywhere, else an inclusion; a "!" in
//     the first position is dropped before the item is used, one elsewhere
//     stays in the text (and then usually matches nothing);
//   - a range when it contains "-": the lower bound is the text before the
//     first "-", the upper bound the text after it (at most 255 characters);
//     otherwise a single pattern.
// In the account list every pattern or bound without a "." gets ".XX", so an
// account listed without decimals covers all of its decimals. The account is
// compared as its text in the "0.00" format (KontoText):
//   - single pattern: MatchKontoPattern on the account text;
//   - range with an "X" anywhere (pattern range): the account matches the
//     lower or the upper bound as a pattern. The accounts between the bounds
//     are not considered: 4700-48XX admits 4700 and 4800 to 4899, not 4750;
//   - any other range (numeric range): "X" in the lower bound reads as 0 and
//     in the upper bound as 9, both bounds are read with ParseFloatText, and
//     the account hits when lower - 0.000001 <= account <= upper + 0.000001
//     (long double). 4700-4799 admits 4700.00 up to 4799.99.
// An exclusion that hits gives "no" at once, wherever it stands in the list;
// otherwise the account belongs when at least one inclusion hit.
//
// The decimals list then restricts the two digits after the point (the last
// two characters of the account text: 4711.05 has 05). An empty list (or one
// of blanks only) admits every decimals value. Its items follow the same "!"
// and "-" rules, without ".XX":
//   - single pattern: MatchKontoPattern on the two-digit text, so it must be
//     two characters long (05, 0X, X5);
//   - range: "X" in the lower bound reads as 0 and in the upper bound as 9,
//     both are read with ParseFloatText, and the item hits when
//     lower <= decimals <= upper with the decimals read as a number (05 is 5).
//     01-09 admits 01 to 09, 0X-2X admits 00 to 29, !50-59 excludes 50 to 59.
// Again an exclusion hit gives "no" at once, and otherwise an inclusion must
// hit.
#include "accounting/account_range.h"

#include <algorithm>
#include <cmath>

#include "frame/number_text.h"
#include "frame/strings.h"

namespace qor {

namespace {

constexpr int kSignificant = 15;
constexpr size_t kMaxUpperBound = 255;
constexpr long double kTolerance = 0.000001L;

bool IsWildcard(char c) { return c == 'X' || c == 'x'; }

// One item of a range or decimals list, taken apart.
struct RangeItem {
  bool exclusion = false;
  bool range = false;
  std::string_view lower;  // the whole pattern of a single item
  std::string_view upper;
};

RangeItem ReadItem(std::string_view item) {
  RangeItem r;
  r.exclusion = item.find('!') != std::string_view::npos;
  if (!item.empty() && item.front() == '!') item.remove_prefix(1);
  size_t dash = item.find('-');
  if (dash == std::string_view::npos) {
    r.lower = item;
  } else {
    r.range = true;
    r.lower = item.substr(0, dash);
    r.upper = item.substr(dash + 1, kMaxUpperBound);
  }
  return r;
}

// A bound or pattern of the account list: ".XX" appended when it has no ".".
std::string WithAnyDecimals(std::string_view bound) {
  std::string s(bound);
  if (s.find('.') == std::string::npos) s += ".XX";
  return s;
}

// A numeric bound: every wildcard replaced by `digit`, then read as a number.
long double BoundValue(std::string bound, char digit) {
  for (char& c : bound) {
    if (IsWildcard(c)) c = digit;
  }
  return ParseFloatText(bound);
}

bool AccountHits(double account, const std::string& text, std::string_view item,
                 const RangeItem& parts) {
  if (!parts.range) return MatchKontoPattern(text, WithAnyDecimals(parts.lower));
  std::string lower = WithAnyDecimals(parts.lower);
  std::string upper = WithAnyDecimals(parts.upper);
  if (std::any_of(item.begin(), item.end(), IsWildcard)) {
    return MatchKontoPattern(text, lower) || MatchKontoPattern(text, upper);
  }
  const long double value = account;
  return BoundValue(std::move(lower), '0') - kTolerance <= value &&
         value <= BoundValue(std::move(upper), '9') + kTolerance;
}

bool DecimalsHit(std::string_view digits, double value, const RangeItem& parts) {
  if (!parts.range) return MatchKontoPattern(digits, parts.lower);
  return BoundValue(std::string(parts.lower), '0') <= value &&
         value <= BoundValue(std::string(parts.upper), '9');
}

}  // namespace

bool MatchKontoPattern(std::string_view text, std::string_view pattern) {
  if (!pattern.empty() && pattern.front() == '!') pattern.remove_prefix(1);
  if (pattern.size() != text.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (IsWildcard(pattern[i])) continue;
    if (text[i] != pattern[i] && !IsWildcard(text[i])) return false;
  }
  return true;
}

std::string KontoText(double account) {
  if (std::isnan(account)) return "NAN";
  if (std::isinf(account)) return account < 0 ? "-INF" : "INF";

  // Read the value to 15 significant digits once, so that the binary noise
  // of 4711.05 (4711.0500000000002) or 4711.005 (4711.00499999999965) does
  // not decide the rounding.
  const Digits read = SignificantDigits(account, kSignificant);
  const std::string& digits = read.digits;
  const int exponent = read.exponent;

  // The digits from the highest whole place (at least the ones) down to the
  // thousandths; digits[k] has the place value 10^(exponent - k).
  const int top = std::max(exponent, 0);
  std::string out;
  out.reserve(static_cast<size_t>(top) + 6);
  for (int place = top; place >= -3; --place) {
    int k = exponent - place;
    out.push_back(k >= 0 && k < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(k)]
                                                                 : '0');
  }
  // Half away from zero: the magnitude goes up when the thousandths are 5 or more.
  const bool up = out.back() >= '5';
  out.pop_back();
  if (up) {
    size_t i = out.size();
    while (i > 0 && out[i - 1] == '9') out[--i] = '0';
    if (i == 0) {
      out.insert(out.begin(), '1');
    } else {
      ++out[i - 1];
    }
  }
  out.insert(out.end() - 2, '.');
  if (account < 0 && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
  return out;
}

bool Kontenbereich(double account, std::string_view ranges, std::string_view decimals) {
  // Not a number or infinite: belongs to no range.
  if (!std::isfinite(account)) return false;
  const std::string text = KontoText(account);

  TextList items;
  SplitList(AsciiUpperCopy(ranges), items, ',', BlanksSeparate);
  bool included = false;
  for (const std::string& item : items) {
    const RangeItem parts = ReadItem(item);
    if (!AccountHits(account, text, item, parts)) continue;
    if (parts.exclusion) return false;
    included = true;
  }
  if (!included) return false;

  SplitList(AsciiUpperCopy(decimals), items, ',', BlanksSeparate);
  if (items.empty()) return true;
  const std::string_view digits = std::string_view(text).substr(text.size() - 2);
  const double value = ParseFloatText(digits);
  included = false;
  for (const std::string& item : items) {
    const RangeItem parts = ReadItem(item);
    if (!DecimalsHit(digits, value, parts)) continue;
    if (parts.exclusion) return false;
    included = true;
  }
  return included;
}

}  // namespace qor
