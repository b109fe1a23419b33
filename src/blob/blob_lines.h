// Line lists in blob texts: named values, lines holding a key, positions.
// Each works through the text in one pass without a list of its lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qor {

// Between the lines that ListLine joins: the two bytes of U+00A6 (broken bar)
// in UTF-8.
inline constexpr std::string_view kListLineSeparator = "\xC2\xA6";

// The value (text after the first "=") of the first line whose name (text
// before it) equals `name` after the lower case table; empty when none.
// Lines without "=" have no name; names are not trimmed.
std::string_view ListValue(std::string_view text, std::string_view name);

// The lines that contain `key`. mode 0: every line containing it exactly,
// joined by kListLineSeparator; mode n > 0: the n-th such line; mode -n: the
// n-th line containing it exactly or, failing that, after the upper case
// table on both sides. An empty key matches no line.
std::string ListLine(std::string_view text, std::string_view key, int16_t mode);

// The 1-based position of the first occurrence of `needle` in the first
// `size` bytes of text, both taken through the upper case table; 0 when
// absent or when needle is empty. Changes text in place to its upper case
// form.
int32_t ScanText(char* text, size_t size, std::string_view needle);

}  // namespace qor
