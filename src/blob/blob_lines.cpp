#include "blob/blob_lines.h"

#include <string.h>

#include <string>

#include "frame/lines.h"
#include "frame/errors.h"
#include "frame/case_tables.h"

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
  // A line never holds a line end, so no line holds a key that has one.
  if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos) return result;
  const int32_t wanted = mode < 0 ? -static_cast<int32_t>(mode) : mode;
  // The key is searched for in the whole text, not line by line: a blob of
  // many lines is passed at the speed of the search. Ignoring case, a line
  // matches when its upper case form holds the key's (every line that holds
  // the key itself does): the upper case form of the text is searched, and
  // the lines are taken from the text.
  std::string upper_text;
  std::string upper_key;
  std::string_view haystack = text;
  std::string_view needle = key;
  if (mode < 0) {
    upper_text = UpperCopy(text);
    upper_key = UpperCopy(key);
    haystack = upper_text;
    needle = upper_key;
  }
  auto line_end = [](char c) { return c == '\r' || c == '\n'; };
  int32_t found = 0;
  size_t pos = 0;  // the start of a line
  while (pos < haystack.size()) {
    const size_t at = Find(haystack.substr(pos), needle);
    if (at == std::string_view::npos) break;
    // The line that holds the key: between the line ends around it.
    size_t begin = pos + at;
    while (begin > pos && !line_end(haystack[begin - 1])) --begin;
    size_t end = pos + at + needle.size();
    while (end < haystack.size() && !line_end(haystack[end])) ++end;
    ++found;
    if (wanted <= found) {
      if (!result.empty()) result.append(kListLineSeparator);
      result.append(text.substr(begin, end - begin));
      if (mode != 0) break;
    }
    pos = end;  // a line end: the key, which has none, cannot start there
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
