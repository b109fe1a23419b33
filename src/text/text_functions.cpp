#include "text/text_functions.h"

#include <string.h>

#include <cstring>

#include "frame/errors.h"
#include "frame/strings.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

// The offset of the first needle in text at or after `from`, or npos. The C
// library's memmem stays linear in both lengths whatever the texts hold,
// where a plain search can take time proportional to their product.
size_t FindText(std::string_view text, std::string_view needle, size_t from) noexcept {
  if (from > text.size() || needle.size() > text.size() - from) return std::string_view::npos;
  const void* at = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return at == nullptr ? std::string_view::npos
                       : static_cast<size_t>(static_cast<const char*>(at) - text.data());
}

}  // namespace

int32_t CompareText(std::string_view a, std::string_view b) noexcept {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
    const int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (ca != cb) return ca - cb;
  }
  // Texts from the server are far below 2^31 bytes; longer ones saturate.
  const int64_t diff = static_cast<int64_t>(a.size()) - static_cast<int64_t>(b.size());
  if (diff > INT32_MAX) return INT32_MAX;
  if (diff < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(diff);
}

std::string_view SubStrEx(std::string_view text, int32_t& start, int32_t& count) {
  if (start < 1) start = 1;
  const int64_t n = CheckedInt32(static_cast<int64_t>(text.size()));
  if (count <= 0 || start > n) return {};
  // In 64 bits: a count up to the end of the 32-bit range still means "the
  // rest of the text".
  if (int64_t{start} - 1 + count > n) count = static_cast<int32_t>(n - (start - 1));
  if (count > kMaxSubStrCount) count = kMaxSubStrCount;
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

std::string_view CopyText(std::string_view text, int32_t& index, int32_t& count) {
  std::string_view out = SubStrEx(text, index, count);
  index -= 1;
  return out;
}

char* UpperCaseInPlace(char* text) noexcept {
  if (text != nullptr) UpperInPlace(text, std::strlen(text));
  return text;
}

char* LowerCaseInPlace(char* text) noexcept {
  if (text != nullptr) LowerInPlace(text, std::strlen(text));
  return text;
}

int32_t PosText(std::string_view search, std::string_view text) noexcept {
  if (search.empty()) return 0;
  const size_t at = FindText(text, search, 0);
  if (at == std::string_view::npos || at >= INT32_MAX) return 0;
  return static_cast<int32_t>(at + 1);
}

std::string ReplaceText(std::string_view search, std::string_view replacement,
                        std::string_view text, bool all, bool ignore_case, size_t limit) {
  const size_t keep = limit == std::string::npos ? limit : limit + 1;
  if (search.empty()) return std::string(text.substr(0, keep));
  // Finding happens in the upper-cased copies; the table keeps every byte in
  // its place, so positions in them are positions in text.
  std::string upper_search, upper_text;
  std::string_view find_in = text, find_what = search;
  if (ignore_case) {
    upper_search = UpperCopy(search);
    upper_text = UpperCopy(text);
    find_what = upper_search;
    find_in = upper_text;
  }
  std::string out;
  size_t from = 0;
  for (;;) {
    const size_t at = FindText(find_in, find_what, from);
    if (at == std::string_view::npos) break;
    out.append(text, from, at - from).append(replacement);
    from = at + search.size();
    if (out.size() >= keep) {
      out.resize(keep);
      return out;
    }
    if (!all) break;
  }
  out.append(text, from);
  if (out.size() > keep) out.resize(keep);
  return out;
}

std::string CrLfText(int32_t count) {
  std::string out;
  if (count < 1 || count > 100) return out;
  out.reserve(static_cast<size_t>(count) * 2);
  for (int32_t i = 0; i < count; ++i) out.append("\r\n");
  return out;
}

std::string IntText(int32_t value) { return std::to_string(value); }

}  // namespace qor
