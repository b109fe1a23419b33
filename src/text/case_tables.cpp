#include "text/case_tables.h"

namespace qor {

void UpperInPlace(char* text, size_t length) noexcept {
  for (size_t i = 0; i < length; ++i) text[i] = UpperChar(text[i]);
}

void LowerInPlace(char* text, size_t length) noexcept {
  for (size_t i = 0; i < length; ++i) text[i] = LowerChar(text[i]);
}

std::string UpperCopy(std::string_view text) {
  std::string out(text);
  UpperInPlace(out.data(), out.size());
  return out;
}

std::string LowerCopy(std::string_view text) {
  std::string out(text);
  LowerInPlace(out.data(), out.size());
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

namespace {
inline bool NonBlank(char c) noexcept { return static_cast<unsigned char>(c) > 32; }
}  // namespace

std::string_view TrimText(std::string_view text) noexcept {
  size_t first = 0;
  while (first < text.size() && !NonBlank(text[first])) ++first;
  if (first == text.size()) return {};
  size_t last = text.size() - 1;
  while (!NonBlank(text[last])) --last;
  return text.substr(first, last - first + 1);
}

}  // namespace qor
