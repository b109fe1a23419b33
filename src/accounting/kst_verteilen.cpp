#include "accounting/kst_verteilen.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "accounting/aufteilung.h"
#include "frame/errors.h"
#include "frame/number_text.h"
#include "frame/strings.h"
#include "numeric/rounding.h"

namespace qor {

namespace {

// Sums closer than this count as equal.
constexpr long double kSumTolerance = 0.001L;

[[noreturn]] void ThrowListIndex(int position) {
  throw UdfError("List index (" + std::to_string(position) + ") out of bounds");
}

// The decimal places of an amount as its number text shows them, at least
// 2; 10 or more (more than RoundDecimals takes) come back as -1.
int AmountDecimals(double amount) {
  int places = 2;
  if (amount != 0.0) {
    const Digits digits = SignificantDigits(amount, 15);
    const size_t last = digits.digits.find_last_not_of('0');
    places = std::max(places, static_cast<int>(last) - digits.exponent);
  }
  return places < 10 ? places : -1;
}

// The comma text of a rewritten line, without trailing bytes of 32 or below.
std::string JoinedValue(const TextList& items) {
  std::string joined = JoinCommaText(items);
  while (!joined.empty() && static_cast<unsigned char>(joined.back()) <= 32) joined.pop_back();
  return joined;
}

bool IsShareLine(size_t index, const FieldLine& fields) {
  return index > 0 && static_cast<int>(index) != fields.index;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 1;
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) out.append(line).push_back('\n');
  return out;
}

}  // namespace

std::string KstBetragVerteilen(std::string_view text, double amount) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const FieldLine fields = FindFieldLine(lines);
  const int betrag = FieldPosition(fields.names, "BETRAG");
  const int prozent = FieldPosition(fields.names, "Prozent");
  if (betrag < 0 || prozent < 0) return std::string(text);
  const auto betrag_at = static_cast<size_t>(betrag);
  const auto prozent_at = static_cast<size_t>(prozent);

  TextList items;
  double sum = 0.0;
  size_t last_share = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsShareLine(i, fields)) continue;
    last_share = i;
    ReadCommaText(LineValue(lines[i]), items);
    if (items.size() > betrag_at) sum += ParseFloatText(items[betrag_at]);
  }
  if (std::fabs(sum - amount) < kSumTolerance) return std::string(text);

  std::vector<std::string> out(lines.begin(), lines.end());
  const int remainder_places = std::isfinite(amount) ? AmountDecimals(amount) : -1;
  sum = 0.0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsShareLine(i, fields)) continue;
    ReadCommaText(LineValue(lines[i]), items);
    if (items.size() <= prozent_at) ThrowListIndex(prozent);
    const double percent = ParseFloatText(items[prozent_at]);
    if (items.size() <= betrag_at) ThrowListIndex(betrag);
    // The last line takes what the others leave, rounded to the places of
    // the amount: the binary difference (4.02 less three times 1.01 is
    // 0.98999999...) would not add up once the shares are read as text.
    double value = amount - sum;
    if (i == last_share && remainder_places > 0) value = RoundDecimals(value, remainder_places);
    if (i < last_share) {
      const double product = amount * percent;
      CheckFinite(product);
      value = RoundDecimals(product / 100.0, 2);
      sum += value;
    }
    CheckFinite(value);
    items[betrag_at] = NumberText(value);
    out[i] = std::to_string(i) + "=" + JoinedValue(items);
  }
  return JoinLines(out);
}

std::string KstMengenStorno(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const FieldLine fields = FindFieldLine(lines);
  const int menge = FieldPosition(fields.names, "MENGE");

  std::vector<std::string> out(lines.begin(), lines.end());
  if (menge >= 0) {
    const auto menge_at = static_cast<size_t>(menge);
    TextList items;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!IsShareLine(i, fields)) continue;
      ReadCommaText(LineValue(lines[i]), items);
      if (items.size() <= menge_at) continue;
      items[menge_at] = NumberText(-ParseFloatText(items[menge_at]));
      out[i] = std::string(LineKey(lines[i])) + "=" + JoinedValue(items);
    }
  }
  return JoinLines(out);
}

}  // namespace qor
