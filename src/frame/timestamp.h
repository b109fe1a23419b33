// Conversions between engine timestamps and the working date type, a day
// count since 1899-12-30 with the time of day as its fraction.
#pragma once

#include <cstdint>

#include "frame/engine_types.h"

namespace qor {

using TDateTime = double;

// The time field of an engine timestamp in 1/10000-second units. The engine
// never sends a time of a whole day or more; should one arrive, it counts as
// the last unit of its day (23:59:59.9999), so that every function reads the
// day of the date field and a time below 24:00.
inline uint32_t TimeOfTimeStamp(const TFBTimeStamp& ts) noexcept {
  return ts.time > kMaxEngineTime ? kMaxEngineTime : ts.time;
}

// The day count of an engine timestamp, its time read by TimeOfTimeStamp.
TDateTime TimeStampToDateTime(const TFBTimeStamp& ts);

// Throws RangeError when the date leaves the 32-bit range, when the day count
// is not a number, or when its time part is negative (days before
// 1899-12-30 that carry a time of day).
TFBTimeStamp DateTimeToTimeStamp(TDateTime value);

// A time of day (fraction of a day) in 1/10000-second units, rounded to the
// nearest unit.
uint32_t TimeFractionToUnits(double fraction);

// A day count split into its calendar day and its time of day. The day is
// the engine's own: the whole part rounded down, so that a day count below 0
// with a time (-0.75 from the engine's 29.12.1899 06:00) stays on its day,
// 29.12.1899, with the time 0.25. (DateTimeToTimeStamp keeps cutting toward
// zero and refuses such values.)
struct DayAndTime {
  int64_t day;      // whole days since 1899-12-30
  double fraction;  // 0 <= fraction < 1
};

// Throws RangeError for a value that is not a number or lies beyond any
// calendar (|value| >= 2^40 days).
DayAndTime SplitDayCount(TDateTime value);

// The calendar day of an engine timestamp as a whole day count.
inline int64_t DayOfTimeStamp(const TFBTimeStamp& ts) noexcept {
  return static_cast<int64_t>(ts.date) + kEngineDayZero;
}

}  // namespace qor
