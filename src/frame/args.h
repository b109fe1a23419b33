// Reading engine arguments.
#pragma once

#include <cstdint>
#include <string_view>

namespace qor {

// A CSTRING argument as text; nil reads as the empty text.
inline std::string_view ArgText(const char* s) noexcept {
  return s == nullptr ? std::string_view() : std::string_view(s);
}

// Numeric arguments: the server passes valid pointers, but a nil one (an
// argument declared NULL-able and given SQL NULL) reads as 0 instead of
// crashing the server.
template <typename T>
inline T ArgValue(const T* p) noexcept {
  return p == nullptr ? T{} : *p;
}

// Stores a value back into a numeric argument that the function changes (a
// start or count it clamped); a nil argument is left alone.
template <typename T, typename V>
inline void StoreBack(T* arg, V value) noexcept {
  if (arg != nullptr) *arg = static_cast<T>(value);
}

}  // namespace qor
