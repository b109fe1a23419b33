// Errors raised inside the library. They never leave it: the guard of every
// exported function turns them into an error-log line and a neutral result.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace qor {

// An error whose message is written to the log as it stands.
class UdfError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index or a value outside its declared range.
class RangeError : public UdfError {
 public:
  RangeError() : UdfError("Range check error") {}
};

// Integer overflow.
class OverflowError : public UdfError {
 public:
  OverflowError() : UdfError("Arithmetic overflow") {}
};

// A floating-point result beyond the double range.
class FloatOverflowError : public UdfError {
 public:
  FloatOverflowError() : UdfError("Floating point overflow") {}
};

// A NaN where a number was needed.
class InvalidFloatError : public UdfError {
 public:
  InvalidFloatError() : UdfError("Invalid floating point operation") {}
};

// value itself when it is finite; a NaN throws InvalidFloatError and an
// infinity FloatOverflowError. The engine refuses a NaN or an infinite result
// and fails the caller's statement, so a result that would be one is given
// up here: the guard logs it once and answers with its neutral value.
inline double CheckFinite(double value) {
  if (std::isnan(value)) throw InvalidFloatError();
  if (std::isinf(value)) throw FloatOverflowError();
  return value;
}

// A file or directory operation failed.
class IoError : public UdfError {
 public:
  using UdfError::UdfError;
};

// Narrows a 64-bit intermediate into the 32-bit variable that receives it.
inline int32_t CheckedInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max()) {
    throw RangeError();
  }
  return static_cast<int32_t>(value);
}

// Integer arithmetic that raises OverflowError instead of wrapping.
template <typename T>
inline T CheckedAdd(T a, T b) {
  T r;
  if (__builtin_add_overflow(a, b, &r)) throw OverflowError();
  return r;
}

template <typename T>
inline T CheckedMul(T a, T b) {
  T r;
  if (__builtin_mul_overflow(a, b, &r)) throw OverflowError();
  return r;
}

}  // namespace qor
