// Conversions between engine timestamps and the working date type, a day
// count since 1899-12-30 with the time of day as its fraction.
#pragma once

#include "frame/engine_types.h"

namespace qor {

using TDateTime = double;

TDateTime TimeStampToDateTime(const TFBTimeStamp& ts);

// Throws RangeError when the date leaves the 32-bit range, when the day count
// is not a number, or when its time part is negative (days before
// 1899-12-30 that carry a time of day).
TFBTimeStamp DateTimeToTimeStamp(TDateTime value);

// A time of day (fraction of a day) in 1/10000-second units.
uint32_t TimeFractionToUnits(double fraction);

}  // namespace qor
