// Rewriting an existing Aufteilung text: a changed booking amount spread
// over its share lines by their percentages, and the quantities reversed.
#pragma once

#include <string>
#include <string_view>

namespace qor {

// Spreads `amount` over the share lines (every line after the first) by
// their PROZENT values: each line's BETRAG becomes its share rounded to cents
// by RoundDecimals, and the last share line takes whatever the others leave
// (its own percentage does not count), rounded to the decimal places the
// amount's number text has and at least to cents, so that the shares written
// as text add up to the amount. Rewritten share lines are keyed 1, 2, ... by their position in the
// text, written as comma texts, and every line ends in LF.
//
// The text comes back byte for byte as it was when it has no field line
// naming both BETRAG and PROZENT, or when its BETRAG values already add up
// to the amount (closer than 0.001).
//
// A share line without a PROZENT or BETRAG item makes the spread impossible:
// throws UdfError "List index (<position>) out of bounds" before anything is
// returned, so that the caller can keep the text as it was. A share or
// remainder beyond the double range throws UdfError "Floating point overflow"
// the same way.
//
// The field line itself is never taken for a share line, wherever it stands.
std::string KstBetragVerteilen(std::string_view text, double amount);

// Negates the MENGE value of every share line that has one and keeps every
// key; all other values and lines stay as they were. Every line comes back
// ending in LF, also when there is no MENGE field. An empty or unreadable
// MENGE becomes "0".
std::string KstMengenStorno(std::string_view text);

}  // namespace qor
