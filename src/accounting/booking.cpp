#include "accounting/booking.h"

#include "datetime/calendar.h"

#include "frame/errors.h"

namespace qor {

double Buchungssumme(std::string_view side, double amount, double condition, double first,
                     double second) {
  double result = side == "H" ? -amount : amount;
  if (condition == 0.0) result = (result + first) + second;
  return CheckFinite(result);
}

int64_t AblaufTag(int64_t start, int32_t days, int32_t mode, int32_t mode1_days,
                  int32_t mode1_months) {
  if (mode == 1) {
    const int64_t d = start + mode1_days;
    if (mode1_months <= 0) return d;
    const CivilDate c = CivilFromDays(d);
    int64_t year = c.year;
    int64_t month = int64_t{c.month} + mode1_months;
    int64_t day = c.day;
    if (month > 65535) throw RangeError();
    if (month > 12) {
      year += (month - 1) / 12;
      month = (month - 1) % 12 + 1;
    }
    if (day > DaysInMonth(year, month)) {
      day = 1;
      ++month;
    }
    return EncodeDate(year, month, day);
  }
  if (days < 0) return FixedDayOfNextMonth(start, -int64_t{days});
  return start + days;
}

}  // namespace qor
