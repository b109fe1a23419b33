#include "frame/case_tables.h"

#include <cstring>

namespace qor {

namespace {

// Long texts (a blob of lines searched ignoring case) go through the tables
// 16 bytes at a time: the tables' rules as arithmetic on a vector of bytes,
// which the compiler turns into vector instructions where a lookup per byte
// would not be.
using Bytes = unsigned char __attribute__((vector_size(16)));

Bytes UpperBytes(Bytes c) noexcept {
  const auto small = reinterpret_cast<Bytes>(static_cast<Bytes>(c - 'a') < 26) |
                     (reinterpret_cast<Bytes>(static_cast<Bytes>(c - 0xE0) < 31) &
                      reinterpret_cast<Bytes>(c != 0xF7));
  const auto y_dots = reinterpret_cast<Bytes>(c == 0xFF);
  const Bytes upper = c - (small & 0x20);
  return (upper & ~y_dots) | (y_dots & static_cast<unsigned char>('Y'));
}

Bytes LowerBytes(Bytes c) noexcept {
  const auto capital = reinterpret_cast<Bytes>(static_cast<Bytes>(c - 'A') < 26) |
                       (reinterpret_cast<Bytes>(static_cast<Bytes>(c - 0xC0) < 31) &
                        reinterpret_cast<Bytes>(c != 0xD7));
  return c + (capital & 0x20);
}

template <Bytes (*kVector)(Bytes), char (*kByte)(char)>
void MapInPlace(char* text, size_t length) noexcept {
  size_t i = 0;
  for (; i + sizeof(Bytes) <= length; i += sizeof(Bytes)) {
    Bytes v;
    std::memcpy(&v, text + i, sizeof v);
    v = kVector(v);
    std::memcpy(text + i, &v, sizeof v);
  }
  for (; i < length; ++i) text[i] = kByte(text[i]);
}

}  // namespace

void UpperInPlace(char* text, size_t length) noexcept { MapInPlace<UpperBytes, UpperChar>(text, length); }

void LowerInPlace(char* text, size_t length) noexcept { MapInPlace<LowerBytes, LowerChar>(text, length); }

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

char* TrimInPlace(char* text) noexcept {
  if (text == nullptr) return nullptr;
  const std::string_view whole(text);
  const std::string_view kept = TrimText(whole);
  if (kept.empty()) {
    text[0] = '\0';
    return text;
  }
  char* first = text + (kept.data() - whole.data());
  first[kept.size()] = '\0';
  return first;
}

}  // namespace qor
