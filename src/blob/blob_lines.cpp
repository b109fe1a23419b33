#include "blob/blob_lines.h"

#include <functional>
#include <string>

#include "accounting/aufteilung.h"
#include "frame/errors.h"
#include "text/case_tables.h"

namespace qor {

namespace {

bool EqualsLower(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

// A search for one fixed text in many texts, linear in each of them however
// the texts look (a plain search can take time proportional to the product of
// the two lengths).
class Finder {
 public:
  explicit Finder(std::string_view needle)
      : needle_(needle), searcher_(needle_.begin(), needle_.end()) {}
  // The offset of the first occurrence in text, or npos.
  size_t In(std::string_view text) const {
    if (needle_.size() > text.size()) return std::string_view::npos;
    const auto found = searcher_(text.begin(), text.end()).first;
    return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
  }

 private:
  std::string_view needle_;
  std::boyer_moore_searcher<std::string_view::const_iterator> searcher_;
};

}  // namespace

std::string_view ListValue(std::string_view text, std::string_view name) {
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && EqualsLower(line.substr(0, equals), name)) {
      return line.substr(equals + 1);
    }
  }
  return {};
}

std::string ListLine(std::string_view text, std::string_view key, int16_t mode) {
  std::string result;
  if (key.empty()) return result;
  const int32_t wanted = mode < 0 ? -static_cast<int32_t>(mode) : mode;
  const Finder exact(key);
  const std::string upper_key = mode < 0 ? UpperCopy(key) : std::string();
  const Finder folded(upper_key);
  std::string upper_line;
  int32_t found = 0;
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) {
    bool match = exact.In(line) != std::string_view::npos;
    if (!match && mode < 0) {
      upper_line.assign(line);
      UpperInPlace(upper_line.data(), upper_line.size());
      match = folded.In(upper_line) != std::string_view::npos;
    }
    if (!match) continue;
    ++found;
    if (wanted <= found) {
      if (!result.empty()) result.append(kListLineSeparator);
      result.append(line);
      if (mode != 0) break;
    }
  }
  return result;
}

int32_t ScanText(char* text, size_t size, std::string_view needle) {
  if (needle.empty() || size == 0) return 0;
  UpperInPlace(text, size);
  const std::string upper_needle = UpperCopy(needle);
  const size_t at = Finder(upper_needle).In(std::string_view(text, size));
  return at == std::string_view::npos ? 0 : CheckedInt32(static_cast<int64_t>(at) + 1);
}

}  // namespace qor
