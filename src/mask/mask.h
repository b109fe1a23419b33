// The mask engine: one value rendered as text by a short mask such as 'S20',
// 'N010.2', 'O11,EUR', 'W30', 'D10', 'T5' or 'Z-15'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/timestamp.h"
#include "frame/udf_result.h"

namespace qor {

// Which input of ApplyMask holds the value.
enum MaskKind : int32_t { MaskText = 1, MaskNumber = 2, MaskDateTime = 3 };

// The longest text a mask writes, and the widest field it fills: anything
// longer raises a range error, so that no call builds a huge text and no
// result outgrows the longest text the server hands back (32765 bytes, the
// longest VARCHAR; a longer result would fail the caller's statement).
inline constexpr int32_t kMaxMaskResult = static_cast<int32_t>(kMaxTextResult);

// The upper-case German digit words, 0 to 9 ("FÜNF" in UTF-8, five bytes).
std::string_view DigitWords(int digit) noexcept;

// The term date of mask Z: k >= 0 gives date + k days; k < 0 the day -k of
// the month after date's, at 00:00 (the month's last day when -k <= 31 is
// beyond it; counted on from the first of that month when -k > 31). Raises
// an error for -k above 65535 and for a result outside the years 1..9999.
TDateTime DueDate(TDateTime date, int32_t k);

// Renders the value by mask. `kind` says which input holds the value:
// MaskText the text, MaskNumber the number, MaskDateTime the date-time; the
// others are empty or 0. Masks: first letter the command, the rest its
// parameters, n the leading integer of them:
//   (empty), unknown letters  the default text: the text itself, the number's
//                       general text, or the date-time as "DD.MM.YYYY" (as
//                       "hh:nn:ss" when it holds only a time of day)
//   C  S  s             first n characters; S, s padded with blanks behind /
//                       in front to n
//   L l  U u            lower / upper case (of the first n characters)
//   M m                 the text unchanged
//   R<pattern>          the number read from the text by a number pattern
//   F f N n [0]n[.d]    fixed-point number, width n, d decimals, "0" for
//                       zero fill; N/n trimmed; F/N give "" for zero
//   O o n[,suffix]      amount in hundredths / digits of the text, zero
//                       filled to n, suffix appended
//   W L[.F][,a[,b]]     line a of at most b lines of the digits as words
//   w k                 the k-th digit from the right as a word
//   D d n, T t n        date / time in the layout of width n
//   Z k                 the term date DueDate(date, k) as "DD.MM.YYYY"
// Raises an error for 10 or more decimals with F/f/N/n, an impossible term
// date, and a width or result beyond kMaxMaskResult.
std::string ApplyMask(std::string_view mask, std::string_view text, int32_t kind, double number,
                      TDateTime datetime);

}  // namespace qor
