// Picking one item out of a list stored in a single text: comma lists, lists
// with another separator, and comma lists of name=value pairs. Items count
// from 0; a negative number or one beyond the last item gives the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qor {

// The separator a list function uses: the first character of `separator`,
// or "," when it is empty.
char ListSeparator(std::string_view separator) noexcept;

// Item n of text split at the separator character; blanks belong to the
// items and a double quote opens a quoted item only as its first character.
std::string ListItemAt(std::string_view text, int32_t n, char separator);

// Item n of text split at the separator character, cut to `maximum` bytes.
// maximum is first clamped into 0 to 32759 (the value the entry point
// stores back); 0 means the whole item.
std::string ListItemCut(std::string_view text, int32_t n, char separator, int32_t& maximum);

// The value of the first name=value item of a comma text (blanks around
// items skipped, double-quote quoting) whose name equals `name` through the
// lower case table; empty when there is none.
std::string CommaTextValue(std::string_view text, std::string_view name);

}  // namespace qor
