// The everyday text functions: comparing, substrings, trimming, searching and
// replacing, line breaks, single characters and numbers as text. Positions
// are 1-based byte positions; one byte is one character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qor {

// The longest substring the substring functions return.
inline constexpr int32_t kMaxSubStrCount = 32759;

// Compares a and b with only a-z folded to A-Z: 0 when equal, else the
// difference of the folded bytes (0 to 255) at the first difference, or the
// difference of the lengths when one is a prefix of the other.
int32_t CompareText(std::string_view a, std::string_view b) noexcept;

// The substring of `count` bytes from the 1-based `start`. Updates start and
// count the way the entry points store them back: a start below 1 becomes 1;
// unless the result is empty (count <= 0 or start beyond the end), a count
// running past the end becomes the rest of the text and a count above
// kMaxSubStrCount becomes kMaxSubStrCount. The view points into text.
std::string_view SubStrEx(std::string_view text, int32_t& start, int32_t& count);

// Same substring as SubStrEx; `index` is updated to the 0-based start
// (after a start below 1 counted as 1), `count` to the final count.
std::string_view CopyText(std::string_view text, int32_t& index, int32_t& count);

// Upper- or lower-cases a NUL-terminated text in place through the case
// tables and returns it. Nil stays nil.
char* UpperCaseInPlace(char* text) noexcept;
char* LowerCaseInPlace(char* text) noexcept;

// 1-based position of the first `search` in text (case-sensitive); 0 when
// absent or when search is empty.
int32_t PosText(std::string_view search, std::string_view text) noexcept;

// Replaces occurrences of search in text from left to right without overlap;
// replaced parts are not scanned again. `all` replaces every occurrence, else
// only the first; `ignore_case` finds search through the upper case table
// (the result keeps the text's own bytes outside the replaced parts). An
// empty search leaves text unchanged.
// A result longer than `limit` bytes is not built to its end: it stops at
// limit + 1 bytes, enough for a caller that refuses longer texts (the
// server refuses results beyond their declared size) without making a
// result of up to a gigabyte first.
std::string ReplaceText(std::string_view search, std::string_view replacement,
                        std::string_view text, bool all, bool ignore_case,
                        size_t limit = std::string::npos);

// CR LF repeated count times for a count from 1 to 100, else empty.
std::string CrLfText(int32_t count);

// The decimal text of an integer, "-" for negative values.
std::string IntText(int32_t value);

}  // namespace qor
