// Entry points of the date and time functions: thin adapters that read the
// engine arguments, run the internal function inside the error guard and hand
// the result back as the SQL declaration promises.
//
// Timestamp arguments are declared NULL-able: SQL NULL arrives as nil and
// gives 0, 0.0 or the empty text (fn_GetDate gives NULL back). Timestamp
// results after a caught error are 30.12.1899 00:00, the library's answer
// for "no date".

#include "datetime/calendar.h"
#include "datetime/date_functions.h"
#include "datetime/date_parse.h"
#include "frame/args.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/timestamp.h"

using namespace qor;

namespace {

constexpr TFBTimeStamp kNoDate{-kEngineDayZero, 0};

int32_t DatePart(const char* function, const TFBTimeStamp* ts, int32_t CivilDate::*part) {
  if (ts == nullptr) return 0;
  return Guard(function, int32_t{0}, [&] { return CivilFromDays(DayOfTimeStamp(*ts)).*part; });
}

}  // namespace

// ---------------------------------------------------------------------------
// Date parts, day names and date tests

QOR_EXPORT int32_t fn_GetYear(const TFBTimeStamp* ts) { return DatePart(__func__, ts, &CivilDate::year); }

QOR_EXPORT int32_t fn_GetMonth(const TFBTimeStamp* ts) { return DatePart(__func__, ts, &CivilDate::month); }

QOR_EXPORT int32_t fn_GetDay(const TFBTimeStamp* ts) { return DatePart(__func__, ts, &CivilDate::day); }

QOR_EXPORT int32_t fn_DayOfTheMonth(const TFBTimeStamp* ts) {
  return DatePart(__func__, ts, &CivilDate::day);
}

QOR_EXPORT int32_t fn_DayOfTheWeek(const TFBTimeStamp* ts) {
  return ts == nullptr ? 0 : DayOfWeek(DayOfTimeStamp(*ts));
}

QOR_EXPORT char* fn_GetDayofWeek(const TFBTimeStamp* ts, const int32_t* style) {
  return GuardText(__func__, [&] {
    return ts == nullptr ? std::string() : DayNameText(DayOfTimeStamp(*ts), ArgValue(style));
  });
}

QOR_EXPORT int16_t fn_DaysOfMonth(const int16_t* month, const int32_t* year) {
  return Guard(__func__, int16_t{0}, [&] { return DaysOfMonth(ArgValue(month), ArgValue(year)); });
}

QOR_EXPORT int32_t fn_IsDate(const char* text) {
  return Guard(__func__, int32_t{0}, [&] { return IsDateText(ArgText(text)); });
}

// ---------------------------------------------------------------------------
// Timestamp conversions

QOR_EXPORT TFBTimeStamp* fn_StrToDateTime(const char* text) {
  return GuardTimeStamp(
      __func__, [&] { return DateTimeToTimeStamp(ParseDateTimeText(ArgText(text))); }, kNoDate);
}

// Forwards to fn_StrToDateTime, whose guard covers it.
QOR_EXPORT TFBTimeStamp* fn_ValToDateTime(const char* text) { return fn_StrToDateTime(text); }

QOR_EXPORT double fn_GetDateTimeStr(const char* text) {
  return Guard(__func__, 0.0, [&] { return DateTimeTextValue(ArgText(text)); });
}

// The argument itself, with its time set to 00:00; declared without FREE_IT.
QOR_EXPORT TFBTimeStamp* fn_GetDate(TFBTimeStamp* ts) {
  if (ts != nullptr) ts->time = 0;
  return ts;
}

QOR_EXPORT double fn_GetTime(const TFBTimeStamp* ts) {
  return ts == nullptr ? 0.0 : TimeOfTimeStamp(*ts) / kTimeUnitsPerDay;
}

QOR_EXPORT double fn_GetDateTime(const TFBTimeStamp* ts) {
  return ts == nullptr ? 0.0 : TimeStampToDateTime(*ts);
}

QOR_EXPORT double fn_TimeStampToFloat(const TFBTimeStamp* ts) {
  return ts == nullptr ? 0.0 : TimeStampToDateTime(*ts);
}

QOR_EXPORT TFBTimeStamp* fn_FloatToTimeStamp(const double* value) {
  return GuardTimeStamp(__func__, [&] { return DateTimeToTimeStamp(ArgValue(value)); }, kNoDate);
}

QOR_EXPORT char* fn_DateTimeToStr(const TFBTimeStamp* ts) {
  return GuardText(__func__, [&] {
    return ts == nullptr ? std::string() : DateTimeText(DayOfTimeStamp(*ts), TimeOfTimeStamp(*ts));
  });
}

QOR_EXPORT int32_t fn_SecondsBetween(const TFBTimeStamp* first, const TFBTimeStamp* second) {
  if (first == nullptr || second == nullptr) return 0;
  return Guard(__func__, int32_t{0}, [&] {
    return SecondsBetween(TimeStampToDateTime(*first), TimeStampToDateTime(*second));
  });
}

// ---------------------------------------------------------------------------
// Calendar weeks

QOR_EXPORT char* fn_WeekOfDate(const TFBTimeStamp* ts) {
  return GuardText(__func__, [&] {
    return ts == nullptr ? std::string() : WeekOfDateText(DayOfTimeStamp(*ts));
  });
}

QOR_EXPORT TFBTimeStamp* fn_DateOfWeek(const char* text) {
  return GuardTimeStamp(
      __func__,
      [&] { return DateTimeToTimeStamp(static_cast<double>(DateOfWeek(ArgText(text)))); }, kNoDate);
}

// ---------------------------------------------------------------------------
// Year-month keys

QOR_EXPORT int32_t fn_DateToJahrMo(const TFBTimeStamp* ts) {
  if (ts == nullptr) return 0;
  return Guard(__func__, int32_t{0}, [&] { return JahrMoOfDay(DayOfTimeStamp(*ts)); });
}

QOR_EXPORT int32_t fn_DateStrToJahrMo(const char* text) {
  return Guard(__func__, int32_t{0}, [&] { return DateStrToJahrMo(ArgText(text)); });
}

QOR_EXPORT TFBTimeStamp* fn_JahrMoToDate(const int32_t* key) {
  return GuardTimeStamp(
      __func__, [&] { return DateTimeToTimeStamp(JahrMoToDate(ArgValue(key))); }, kNoDate);
}

QOR_EXPORT char* fn_JahrMoToDateStr(const int32_t* key) {
  return GuardText(__func__, [&] { return JahrMoToDateStr(ArgValue(key)); });
}
