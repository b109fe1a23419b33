// Shared string helpers: forgiving number readers, text cutters and the list
// splitter that nearly every function uses. All work on bytes (one byte per
// character, no encoding, no locale) and hold no state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

using TextList = std::vector<std::string>;

// How SplitList treats blanks (bytes 1 to 32) outside quotes.
enum BlankRule : bool {
  BlanksInItems = false,  // blanks belong to the items
  BlanksSeparate = true,  // blanks around items are skipped, and a blank ends an item
};

// Reads an integer from the start of text: the whole text when it is a valid
// number, else the part before the first invalid character, else 0 (the part
// is tried once; nothing is tried a third time).
// Syntax: blanks/tabs, optional sign, optional base prefix ($, x, X, 0x, 0X
// hexadecimal, digits in either case; % binary; & octal), at least one digit
// of that base; nothing after, not even a blank.
// Range: a decimal digit that would carry the value beyond the signed 64-bit
// range (-9223372036854775808 included) is an invalid character. Hexadecimal,
// octal and binary digits fill 64 bits as a two's-complement bit pattern
// ($FFFFFFFFFFFFFFFF is -1); a digit that would need a 65th bit is an invalid
// character; a minus sign negates the pattern modulo 2^64.
// A text longer than 255 characters is invalid at position 256, so only its
// first 255 are read, and only when they form a valid number.
// ParseLeadingInt keeps the low 32 bits of the 64-bit value (two's-complement
// wrap: "2147483648" gives -2147483648, "$FFFFFFFF" gives -1).
// Neither allocates.
int32_t ParseLeadingInt(std::string_view text) noexcept;
int64_t ParseLeadingInt64(std::string_view text) noexcept;

// Reads a floating-point number with "," or "." as the decimal separator.
// Syntax: blanks/tabs, optional sign, digits with an optional "." and more
// digits (at least one digit in all, so "5." and ".5" are numbers), an
// optional exponent ("E" or "e", optional sign, at least one digit); nothing
// after. The first invalid character is the first one that cannot continue a
// valid number (the end of the text when the text stops half-way). When the
// whole text is not a number and that character is "," or ".", it is swapped
// for the other and the text is read again; when that fails too, the part
// before the first invalid character of the (swapped) text is read, or 0.0
// when that part is no number either. So "1,5" gives 1.5, "12,50 EUR" 12.5,
// "1.234,56" 1.234, "-,5" -0.5 and "." 0.0.
// An "E" may still start an exponent, so it is never the invalid character
// itself: in "5EUR" the "U" is, the part before it ("5E") is no number, and
// the answer is 0.0; "12,50EUR", "1e", "1e+" and "2e-x" give 0.0 as well.
// A value beyond the double range reads as 0.0, one too small for it as
// zero. Does not allocate.
double ParseFloatText(std::string_view text) noexcept;

// The part of text after the first `c`, or the empty text when there is none.
std::string_view TextAfter(std::string_view text, char c) noexcept;
// The part of text before the first `c`, or the whole text when there is none.
std::string_view TextBefore(std::string_view text, char c) noexcept;

// Splits text into `list` (cleared first) at `separator`. A NUL in text ends
// it; an empty text gives an empty list. An item that starts with a double
// quote runs to the next lone double quote (or the end), a doubled quote
// inside stands for one, and the quotes are dropped; whatever follows the
// closing quote up to the separator starts another item. A separator at the
// very end gives a final empty item. With BlanksSeparate, blanks around items
// are skipped and a blank also ends an unquoted item, so a text of only blanks
// gives an empty list; with BlanksInItems blanks are item characters.
void SplitList(std::string_view text, TextList& list, char separator, BlankRule blanks);

// The items of SplitList's result one at a time, without building the list:
// calls visit with each item in order and stops early when it returns false.
// The item passed is reused for the next one.
void ForEachListItem(std::string_view text, char separator, BlankRule blanks,
                     const std::function<bool(const std::string& item)>& visit);

// Item n (0-based) of SplitList's result; empty when n < 0 or beyond the end.
// Builds only that item, not the whole list.
std::string ListItem(std::string_view text, int32_t n, char separator, BlankRule blanks);

// ASCII-only case helpers (only a-z and A-Z are folded).
inline char AsciiUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
std::string AsciiUpperCopy(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) noexcept;

}  // namespace qor
