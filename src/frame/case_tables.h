// The single-byte (ISO-8859-1) case tables behind fn_UpperCase and
// fn_LowerCase, and behind every rule of the library that ignores letter case
// beyond ASCII. Texts are handled byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qor {

namespace case_detail {

constexpr std::array<unsigned char, 256> MakeUpper() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'a'; i <= 'z'; ++i) t[i] = static_cast<unsigned char>(i - 0x20);
  for (int i = 0xE0; i <= 0xFE; ++i)
    if (i != 0xF7) t[i] = static_cast<unsigned char>(i - 0x20);
  t[0xFF] = 'Y';
  return t;
}

constexpr std::array<unsigned char, 256> MakeLower() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'A'; i <= 'Z'; ++i) t[i] = static_cast<unsigned char>(i + 0x20);
  for (int i = 0xC0; i <= 0xDE; ++i)
    if (i != 0xD7) t[i] = static_cast<unsigned char>(i + 0x20);
  return t;
}

}  // namespace case_detail

inline constexpr std::array<unsigned char, 256> kUpperTable = case_detail::MakeUpper();
inline constexpr std::array<unsigned char, 256> kLowerTable = case_detail::MakeLower();

inline char UpperChar(char c) noexcept {
  return static_cast<char>(kUpperTable[static_cast<unsigned char>(c)]);
}
inline char LowerChar(char c) noexcept {
  return static_cast<char>(kLowerTable[static_cast<unsigned char>(c)]);
}

// Changes the bytes of text in place through the upper or lower table.
void UpperInPlace(char* text, size_t length) noexcept;
void LowerInPlace(char* text, size_t length) noexcept;

// Copies of text through the upper or lower table.
std::string UpperCopy(std::string_view text);
std::string LowerCopy(std::string_view text);

// Whether a and b have the same length and the same bytes after the lower
// case table.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;

// The part of text between its first and last byte above 32 (blank); bytes
// from 128 up count as non-blank. Empty when there is no such byte.
std::string_view TrimText(std::string_view text) noexcept;

// Trims a NUL-terminated text in place: a NUL goes right after its last byte
// above 32, and the result points to its first such byte. A text without one
// becomes empty at its first byte. Nil stays nil.
char* TrimInPlace(char* text) noexcept;

}  // namespace qor
