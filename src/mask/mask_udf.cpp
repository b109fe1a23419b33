// Entry points of the mask functions: thin adapters that read the engine
// arguments, run the mask engine inside the error guard and hand the text
// back in a buffer the server frees.

#include "frame/args.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/timestamp.h"
#include "mask/date_pattern.h"
#include "mask/mask.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Masks

QOR_EXPORT char* fn_MaskString(const char* mask, const char* value) {
  return GuardText(__func__, [&] { return ApplyMask(ArgText(mask), ArgText(value), MaskText, 0.0, 0.0); });
}

// A nil number (SQL NULL) renders as 0.
QOR_EXPORT char* fn_MaskDouble(const char* mask, const double* value) {
  return GuardText(__func__, [&] { return ApplyMask(ArgText(mask), "", MaskNumber, ArgValue(value), 0.0); });
}

// A nil timestamp (SQL NULL) is the missing date, day count 0.0, as is
// 30.12.1899 00:00.
QOR_EXPORT char* fn_MaskDate(const char* mask, const TFBTimeStamp* value) {
  return GuardText(__func__, [&] {
    const TDateTime datetime = value == nullptr ? 0.0 : TimeStampToDateTime(*value);
    return ApplyMask(ArgText(mask), "", MaskDateTime, 0.0, datetime);
  });
}

// ---------------------------------------------------------------------------
// Date-time patterns

QOR_EXPORT char* fn_FormatDate(const char* pattern, const char* date) {
  return GuardText(__func__, [&] { return FormatDateText(ArgText(pattern), ArgText(date)); });
}
