#include "blob/blob_lines.h"

#include <string.h>

#include <string>

#include "accounting/aufteilung.h"
#include "frame/errors.h"
#include "text/case_tables.h"

namespace qor {

namespace {

// The offset of the first occurrence of needle in text, or npos. The C
// library's memmem stays linear in both lengths however the texts look
// (a plain search can take time proportional to their product) and needs no
// preparation that would cost per line.
size_t Find(std::string_view text, std::string_view needle) noexcept {
  if (needle.size() > text.size()) return std::string_view::npos;
  const void* at = memmem(text.data(), text.size(), needle.data(), needle.size());
  return at == nullptr ? std::string_view::npos
                       : static_cast<size_t>(static_cast<const char*>(at) - text.data());
}

}  // namespace

std::string_view ListValue(std::string_view text, std::string_view name) {
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && EqualsIgnoreCase(line.substr(0, equals), name)) {
      return line.substr(equals + 1);
    }
  }
  return {};
}

std::string ListLine(std::string_view text, std::string_view key, int16_t mode) {
  std::string result;
  if (key.empty()) return result;
  const int32_t wanted = mode < 0 ? -static_cast<int32_t>(mode) : mode;
  const std::string upper_key = mode < 0 ? UpperCopy(key) : std::string();
  std::string upper_line;
  int32_t found = 0;
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) {
    bool match = Find(line, key) != std::string_view::npos;
    if (!match && mode < 0) {
      upper_line.assign(line);
      UpperInPlace(upper_line.data(), upper_line.size());
      match = Find(upper_line, upper_key) != std::string_view::npos;
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
  const size_t at = Find(std::string_view(text, size), upper_needle);
  return at == std::string_view::npos ? 0 : CheckedInt32(static_cast<int64_t>(at) + 1);
}

}  // namespace qor
