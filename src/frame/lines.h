// Texts made of lines, lines of the form key "=" value, and comma texts: the
// generic readers and writers behind blob lines, configuration files, list
// functions and the allocation texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/strings.h"

namespace qor {

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

}  // namespace qor
