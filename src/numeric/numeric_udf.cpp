// Entry points of the numeric functions: thin adapters that read the engine
// arguments, run the internal function inside the error guard and hand the
// result back as the SQL declaration promises.

#include "frame/args.h"
#include "frame/case_tables.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/strings.h"
#include "numeric/numeric.h"
#include "numeric/rounding.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Numeric: rounding, percentages, division, parts

QOR_EXPORT double fn_Runden(const double* value, const int32_t* decimals) {
  return Guard(__func__, 0.0, [&] { return RoundDecimals(ArgValue(value), ArgValue(decimals)); });
}

QOR_EXPORT double fn_Prozent(const double* value, const double* base) {
  return Guard(__func__, 0.0, [&] { return Prozent(ArgValue(value), ArgValue(base)); });
}

QOR_EXPORT double fn_Division(const double* dividend, const double* divisor) {
  return Guard(__func__, 0.0, [&] { return Division(ArgValue(dividend), ArgValue(divisor)); });
}

// A value outside the 32-bit range logs a range error and gives 0.
QOR_EXPORT int32_t fn_Trunc(const double* value) {
  return Guard(__func__, int32_t{0}, [&] { return TruncInt32(ArgValue(value)); });
}

QOR_EXPORT double fn_Frac(const double* value) {
  return Guard(__func__, 0.0, [&] { return FracPart(ArgValue(value)); });
}

// ---------------------------------------------------------------------------
// Numeric: numbers read from text

QOR_EXPORT int32_t fn_ValToInt(const char* text) {
  return Guard(__func__, int32_t{0}, [&] { return ParseLeadingInt(ArgText(text)); });
}

QOR_EXPORT int64_t fn_ValToInt64(const char* text) {
  return Guard(__func__, int64_t{0}, [&] { return ParseLeadingInt64(ArgText(text)); });
}

QOR_EXPORT double fn_ValToDouble(const char* text) {
  return Guard(__func__, 0.0, [&] { return ParseFloatText(ArgText(text)); });
}

// ---------------------------------------------------------------------------
// Numeric: character tests (the argument is left trimmed)

QOR_EXPORT int32_t fn_IsInteger(char* text) {
  return Guard(__func__, int32_t{0},
               [&] { return IsIntegerChars(ArgText(TrimInPlace(text))) ? int32_t{1} : int32_t{0}; });
}

QOR_EXPORT int32_t fn_IsFloat(char* text) {
  return Guard(__func__, int32_t{0},
               [&] { return IsFloatChars(ArgText(TrimInPlace(text))) ? int32_t{1} : int32_t{0}; });
}
