// The Aufteilung text: how a booking amount is allocated to cost centres.
//
//   FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG
//   1=4711,"A 1",,400,,100,123.45
//
// Every line is key "=" value. The field line names the fields; each share
// line holds one value per field, as a comma text. Readers find fields by
// name, never by position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/strings.h"

namespace qor {

// The field line both writers produce.
inline constexpr std::string_view kAufteilungFieldLine =
    "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG";
inline constexpr std::string_view kFieldLineKey = "Felder";

// Splits a text into lines at CR LF, LF or CR. A separator at the very end
// adds no empty line; an empty text has no lines. The views point into text.
std::vector<std::string_view> SplitLines(std::string_view text);

// The same lines one at a time, for texts too long to hold a list of their
// lines: start with pos 0; each call gives the line at pos and moves pos past
// its separator, or returns false when no line is left.
bool NextLine(std::string_view text, size_t& pos, std::string_view& line) noexcept;

// Key and value of a line, split at its first "=" (no "=": all key, no value).
inline std::string_view LineKey(std::string_view line) { return TextBefore(line, '='); }
inline std::string_view LineValue(std::string_view line) { return TextAfter(line, '='); }

// The values of a comma text: blanks around items are dropped, a blank ends
// an unquoted item, "..." quotes with "" for a quote inside.
inline void ReadCommaText(std::string_view value, TextList& items) {
  SplitList(value, items, ',', BlanksSeparate);
}

// Writes items as a comma text that ReadCommaText reads back unchanged: an
// item holding a byte of 32 or below, a double quote or a comma is enclosed
// in double quotes with inner quotes doubled; a list of one empty item is
// written as "".
std::string JoinCommaText(const TextList& items);

// Quotes a single value unless it is empty or made only of the ASCII letters
// and digits. Inner double quotes are doubled so that the value reads back
// as it was.
std::string QuoteNonAlnum(std::string_view value);

// The field names of the first line whose key is "Felder" in any letter
// case, and that line's index; -1 and no names when there is none.
struct FieldLine {
  int index = -1;
  TextList names;
};
FieldLine FindFieldLine(const std::vector<std::string_view>& lines);

// The position of the first field named `name` (any letter case), or -1.
int FieldPosition(const TextList& names, std::string_view name);

}  // namespace qor
