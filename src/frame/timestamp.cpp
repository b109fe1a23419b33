#include "frame/timestamp.h"

#include <cmath>

#include "frame/errors.h"

namespace qor {

TDateTime TimeStampToDateTime(const TFBTimeStamp& ts) {
  return (static_cast<double>(ts.date) + kEngineDayZero) + TimeOfTimeStamp(ts) / kTimeUnitsPerDay;
}

// Rounded to the nearest unit, not cut: a day count is binary, and the
// nearest double to 13:45:30 on a day of this century lies a fraction of a
// unit below it; cutting would store 13:45:29.9999. For days of the years 1
// to 9999 a double is always within half a unit of the time it stands for.
uint32_t TimeFractionToUnits(double fraction) {
  const double exact = fraction * kTimeUnitsPerDay;
  // Negative times are refused as before: anything a whole unit or more below 0.
  if (!(std::trunc(exact) >= 0.0)) throw RangeError();
  double units = std::floor(exact + 0.5);
  if (units < 0.0) units = 0.0;
  // A fraction a hair below 1 may round up to a whole day.
  if (units > kMaxEngineTime) return kMaxEngineTime;
  return static_cast<uint32_t>(units);
}

TFBTimeStamp DateTimeToTimeStamp(TDateTime value) {
  double whole = std::trunc(value);
  double date = whole - kEngineDayZero;
  if (!(date >= -2147483648.0 && date <= 2147483647.0)) throw RangeError();
  TFBTimeStamp ts;
  ts.date = static_cast<int32_t>(date);
  ts.time = TimeFractionToUnits(value - whole);
  return ts;
}

DayAndTime SplitDayCount(TDateTime value) {
  constexpr double kLimit = 1099511627776.0;  // 2^40
  if (!(value > -kLimit && value < kLimit)) throw RangeError();
  const double whole = std::floor(value);
  DayAndTime out;
  out.day = static_cast<int64_t>(whole);
  out.fraction = value - whole;
  // A value a hair below a whole day (-1e-20) rounds up to that day.
  if (out.fraction >= 1.0) {
    out.day += 1;
    out.fraction = 0.0;
  }
  return out;
}

}  // namespace qor
