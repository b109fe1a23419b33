#include "frame/timestamp.h"

#include <cmath>

#include "frame/errors.h"

namespace qor {

TDateTime TimeStampToDateTime(const TFBTimeStamp& ts) {
  return (static_cast<double>(ts.date) + kEngineDayZero) + ts.time / kTimeUnitsPerDay;
}

uint32_t TimeFractionToUnits(double fraction) {
  double units = std::trunc(fraction * kTimeUnitsPerDay);
  if (!(units >= 0.0)) throw RangeError();
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
