// Booking sums and due dates of the accounting application.
#pragma once

#include <cstdint>
#include <string_view>

namespace qor {

// The signed amount of a booking line: negated when the side flag is exactly
// "H"; when the condition value is 0.0 the two addends are added as they are
// (not negated for "H"). A result that is not a finite double (a sum beyond
// the double range, or a NaN or infinite amount or addend that reaches it)
// throws through CheckFinite: the server would refuse it and fail the
// caller's statement.
double Buchungssumme(std::string_view side, double amount, double condition, double first,
                     double second);

// The due date of a start day: mode 1 adds mode1_days and then
// mode1_months months (a day beyond the target month's end moves to the first
// of the month after: 31 January plus one month is 1 March); any other mode
// takes the fixed day -days of the following month when days < 0, else adds
// days. Raises RangeError or DateError outside the calendar.
int64_t AblaufTag(int64_t start, int32_t days, int32_t mode, int32_t mode1_days,
                  int32_t mode1_months);

}  // namespace qor
