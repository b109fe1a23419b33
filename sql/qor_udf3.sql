-- Declarations of the qor_udf3 functions.
--
-- Apply to a database with
--   isql-fb -user SYSDBA -i qor_udf3.sql <database>
-- The server must find libqor_udf3.dll.so in a directory named by the
-- UdfAccess setting of its firebird.conf.
--
-- Each function is documented right above its declaration: what it answers
-- (and what NULL arguments give), a "Logs:" line when it logs other than the
-- usual "<function>: <message>" record in qor_udf3.err, and examples. The
-- function reference docs/functions.md and the README's overview and table
-- are made from these comments, and the tests run every example through the
-- engine.

-- [section version: its declarations go between these two lines]
-- ## Version information

-- fn_Version(key)
--   Which build of the library is installed: the value of the entry the key names (FileVersion, FileDatum, FileName, Platform; letter case and blanks around the key ignored), the empty text for any other key, or, for an empty, all-blank or NULL key, the whole table with each entry as name=value and LF. The key argument is trimmed in place.
--   Example: fn_Version('FileVersion') -> '3.4.0.874'
--   Example: fn_Version('  fileversion ') -> '3.4.0.874'
--   Example: fn_Version('FILEDATUM') -> '08.05.2014'
--   Example: fn_Version('Platform') -> 'Linux'
--   Example: fn_Version('File') -> ''
--   Example: fn_Version(' ') -> 'FileVersion=3.4.0.874\nFileDatum=08.05.2014\nFileName=qor_udf3\nPlatform=Linux\n'
--   Example: fn_Version(NULL) -> 'FileVersion=3.4.0.874\nFileDatum=08.05.2014\nFileName=qor_udf3\nPlatform=Linux\n'
DECLARE EXTERNAL FUNCTION fn_Version
  CSTRING(255) NULL
  RETURNS CSTRING(76) FREE_IT
  ENTRY_POINT 'fn_Version' MODULE_NAME 'qor_udf3.dll';
-- [end of section version]

-- [section text: its declarations go between these two lines]
-- ## Text: comparison, case, substrings, replacement and conversions

-- fn_CompareText(a, b)
--   Compares two texts with only a-z folded to A-Z: 0 when equal, else the difference of the byte values (0 to 255) at the first difference, or of the lengths when one text begins the other. NULL counts as the empty text.
--   Logs: nothing: the function cannot fail.
--   Example: fn_CompareText('abc', 'ABC') -> 0
--   Example: fn_CompareText('ab', 'abc') -> -1
--   Example: fn_CompareText('b', 'a') -> 1
--   Example: fn_CompareText('a', '_') -> -30
--   Example: fn_CompareText(NULL, 'xy') -> -2
DECLARE EXTERNAL FUNCTION fn_CompareText
  CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_CompareText' MODULE_NAME 'qor_udf3.dll';

-- fn_SubString(text, start, count)
--   The same function as fn_SubStrEx under its older name (its errors are logged as fn_SubStrEx). A NULL text gives the empty text; NULL numbers count as 0.
--   Logs: an error caught inside the function is written to the error log `qor_udf3.err` under the name of fn_SubStrEx, as `fn_SubStrEx: <message>`, and the call still returns a valid result.
--   Example: fn_SubString('abcdef', 2, 3) -> 'bcd'
--   Example: fn_SubString('abcdef', 0, 2) -> 'ab'
--   Example: fn_SubString(NULL, 1, 5) -> ''
DECLARE EXTERNAL FUNCTION fn_SubString
  CSTRING(32767) NULL, INTEGER, INTEGER
  RETURNS CSTRING(32759) FREE_IT
  ENTRY_POINT 'fn_SubString' MODULE_NAME 'qor_udf3.dll';

-- fn_SubStrEx(text, start, count)
--   The count characters from the 1-based start, at most 32759. A start below 1 counts as 1 and a count running past the end is shortened (both are stored back into the arguments); a count below 1, a start beyond the end or a NULL text give the empty text. NULL numbers count as 0.
--   Example: fn_SubStrEx('abcdef', 2, 3) -> 'bcd'
--   Example: fn_SubStrEx('abcdef', 0, 2) -> 'ab'
--   Example: fn_SubStrEx('abcdef', 6, 5) -> 'f'
--   Example: fn_SubStrEx('abcdef', 2, 2147483647) -> 'bcdef'
--   Example: fn_SubStrEx('abcdef', 7, 1) -> ''
--   Example: fn_SubStrEx('abcdef', 1, 0) -> ''
--   Example: fn_SubStrEx('abcdef', 1, -5) -> ''
--   Example: fn_SubStrEx(NULL, 1, 5) -> ''
--   Example: fn_SubStrEx('abc', NULL, 2) -> 'ab'
DECLARE EXTERNAL FUNCTION fn_SubStrEx
  CSTRING(32767) NULL, INTEGER, INTEGER
  RETURNS CSTRING(32759) FREE_IT
  ENTRY_POINT 'fn_SubStrEx' MODULE_NAME 'qor_udf3.dll';

-- fn_Copy(text, index, count)
--   The same substring as fn_SubStrEx; stores the 0-based start and the final count back into its arguments. Its error-log records end in " Count=" and the count. A NULL text gives the empty text; NULL numbers count as 0.
--   Logs: an error caught inside the function is written to the error log `qor_udf3.err` as `fn_Copy: <message> Count=<count>`, with the count argument as it stood when the error struck, and the call returns the empty text.
--   Example: fn_Copy('abcdef', 2, 3) -> 'bcd'
--   Example: fn_Copy('abcdef', -3, 2) -> 'ab'
--   Example: fn_Copy('abcdef', 5, 40000) -> 'ef'
--   Example: fn_Copy('abcdef', 9, 1) -> ''
--   Example: fn_Copy(NULL, 1, 1) -> ''
DECLARE EXTERNAL FUNCTION fn_Copy
  CSTRING(32767) NULL, INTEGER, INTEGER
  RETURNS CSTRING(32759) FREE_IT
  ENTRY_POINT 'fn_Copy' MODULE_NAME 'qor_udf3.dll';

-- fn_UpperCase(text)
--   The text in upper case, byte by byte through the ISO-8859-1 table: a-z and the accented small letters (0xE0 to 0xFE except 0xF7) become capitals, 0xFF becomes Y, the sharp s stays. Changes the argument in place and returns it; NULL gives NULL.
--   Logs: nothing: the function cannot fail.
--   Example: fn_UpperCase('Abc-1xyz') -> 'ABC-1XYZ'
--   Example: ASCII_VAL(fn_UpperCase(ASCII_CHAR(252))) -> 220
--   Example: ASCII_VAL(fn_UpperCase(ASCII_CHAR(223))) -> 223
--   Example: fn_UpperCase(ASCII_CHAR(255)) -> 'Y'
--   Example: fn_UpperCase(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_UpperCase
  CSTRING(32767) NULL
  RETURNS CSTRING(32767)
  ENTRY_POINT 'fn_UpperCase' MODULE_NAME 'qor_udf3.dll';

-- fn_LowerCase(text)
--   The text in lower case, byte by byte through the ISO-8859-1 table: A-Z and the accented capitals (0xC0 to 0xDE except 0xD7) become small letters. Changes the argument in place and returns it; NULL gives NULL.
--   Logs: nothing: the function cannot fail.
--   Example: fn_LowerCase('AbC-1XYZ') -> 'abc-1xyz'
--   Example: ASCII_VAL(fn_LowerCase(ASCII_CHAR(196))) -> 228
--   Example: ASCII_VAL(fn_LowerCase(ASCII_CHAR(215))) -> 215
--   Example: fn_LowerCase(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_LowerCase
  CSTRING(32767) NULL
  RETURNS CSTRING(32767)
  ENTRY_POINT 'fn_LowerCase' MODULE_NAME 'qor_udf3.dll';

-- fn_Trim(text)
--   The text without the blanks and control characters (bytes 1 to 32) at both ends; bytes from 128 up are kept. Changes the argument in place and returns a pointer into it; NULL gives NULL.
--   Logs: nothing: the function cannot fail.
--   Example: fn_Trim('  a b  ') -> 'a b'
--   Example: fn_Trim(ASCII_CHAR(9) || ' x' || ASCII_CHAR(13) || ASCII_CHAR(10)) -> 'x'
--   Example: fn_Trim(' ' || ASCII_CHAR(9) || ' ') -> ''
--   Example: fn_Trim(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_Trim
  CSTRING(32767) NULL
  RETURNS CSTRING(32767)
  ENTRY_POINT 'fn_Trim' MODULE_NAME 'qor_udf3.dll';

-- fn_Pos(search, text)
--   The 1-based position of the first occurrence of search in text (case-sensitive); 0 when it does not occur or search is empty or NULL.
--   Logs: nothing: the function cannot fail.
--   Example: fn_Pos('cd', 'abcdcd') -> 3
--   Example: fn_Pos('CD', 'abcd') -> 0
--   Example: fn_Pos('', 'abc') -> 0
--   Example: fn_Pos(NULL, 'abc') -> 0
DECLARE EXTERNAL FUNCTION fn_Pos
  CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_Pos' MODULE_NAME 'qor_udf3.dll';

-- fn_ReplaceStr(search, replacement, text)
--   The text with every occurrence of search replaced, scanned from left to right without overlap (case-sensitive). An empty or NULL search leaves the text unchanged; NULL replacement or text count as empty. The result has no cap of its own, but a query can fetch at most 32765 bytes of a text result: a longer result fails the statement (string right truncation) rather than being cut.
--   Example: fn_ReplaceStr('ab', 'x', 'abcabab') -> 'xcxx'
--   Example: fn_ReplaceStr('aa', 'b', 'aaa') -> 'ba'
--   Example: fn_ReplaceStr('a', 'aa', 'aba') -> 'aabaa'
--   Example: fn_ReplaceStr('A', 'x', 'abc') -> 'abc'
--   Example: fn_ReplaceStr('', 'x', 'abc') -> 'abc'
--   Example: fn_ReplaceStr('b', NULL, 'abc') -> 'ac'
--   Example: fn_ReplaceStr(NULL, 'x', 'abc') -> 'abc'
DECLARE EXTERNAL FUNCTION fn_ReplaceStr
  CSTRING(32767) NULL, CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_ReplaceStr' MODULE_NAME 'qor_udf3.dll';

-- fn_StrReplace(search, replacement, text, all, ignore_case)
--   As fn_ReplaceStr, but only the first occurrence is replaced unless all is 1, and the search ignores letter case (ISO-8859-1 upper case table) when ignore_case is 1; any other value, NULL included, means off. The parts not replaced keep their letter case. NULL texts count as for fn_ReplaceStr, and the same 32765-byte limit of the result applies.
--   Example: fn_StrReplace('x', '-', 'aXbxc', 1, 1) -> 'a-b-c'
--   Example: fn_StrReplace('x', '-', 'aXbxc', 0, 1) -> 'a-bxc'
--   Example: fn_StrReplace('x', '-', 'aXbxc', 1, 0) -> 'aXb-c'
--   Example: fn_StrReplace('x', '-', 'axbxc', 2, 0) -> 'a-bxc'
--   Example: fn_StrReplace('x', '-', 'aXbxc', NULL, NULL) -> 'aXb-c'
DECLARE EXTERNAL FUNCTION fn_StrReplace
  CSTRING(32767) NULL, CSTRING(32767) NULL, CSTRING(32767) NULL, SMALLINT, SMALLINT
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_StrReplace' MODULE_NAME 'qor_udf3.dll';

-- fn_CrLf(count)
--   CR LF repeated count times for a count from 1 to 100; the empty text for any other count (NULL counts as 0).
--   Example: fn_CrLf(2) -> '\r\n\r\n'
--   Example: CHAR_LENGTH(fn_CrLf(100)) -> 200
--   Example: fn_CrLf(101) -> ''
--   Example: fn_CrLf(0) -> ''
--   Example: fn_CrLf(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_CrLf
  INTEGER
  RETURNS CSTRING(200) FREE_IT
  ENTRY_POINT 'fn_CrLf' MODULE_NAME 'qor_udf3.dll';

-- fn_Ascii_Char2(code)
--   The character with the given byte value; only the low byte of the code counts (321 gives A). A code of 0, and NULL, give the empty text.
--   Example: fn_Ascii_Char2(65) -> 'A'
--   Example: fn_Ascii_Char2(321) -> 'A'
--   Example: ASCII_VAL(fn_Ascii_Char2(228)) -> 228
--   Example: fn_Ascii_Char2(0) -> ''
--   Example: fn_Ascii_Char2(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_Ascii_Char2
  INTEGER
  RETURNS CSTRING(1) FREE_IT
  ENTRY_POINT 'fn_Ascii_Char2' MODULE_NAME 'qor_udf3.dll';

-- fn_IntToStr(value)
--   The integer in decimal, with '-' for negative values; NULL counts as 0.
--   Example: fn_IntToStr(-2147483648) -> '-2147483648'
--   Example: fn_IntToStr(42) -> '42'
--   Example: fn_IntToStr(NULL) -> '0'
DECLARE EXTERNAL FUNCTION fn_IntToStr
  INTEGER
  RETURNS CSTRING(11) FREE_IT
  ENTRY_POINT 'fn_IntToStr' MODULE_NAME 'qor_udf3.dll';

-- fn_FloatToStr(value)
--   The number as text with at most 15 significant digits, '.' as the decimal separator, no thousands separator and no trailing zeros; exponent form from 1E15 up and below 1E-5. NULL counts as 0.
--   Example: fn_FloatToStr(1234.5) -> '1234.5'
--   Example: fn_FloatToStr(-0.1) -> '-0.1'
--   Example: fn_FloatToStr(1e0 / 3) -> '0.333333333333333'
--   Example: fn_FloatToStr(1e15) -> '1E15'
--   Example: fn_FloatToStr(-1.5e-6) -> '-1.5E-6'
--   Example: fn_FloatToStr(NULL) -> '0'
DECLARE EXTERNAL FUNCTION fn_FloatToStr
  DOUBLE PRECISION
  RETURNS CSTRING(22) FREE_IT
  ENTRY_POINT 'fn_FloatToStr' MODULE_NAME 'qor_udf3.dll';

-- fn_UUIDStr()
--   A new random UUID (version 4) as 36 characters: upper-case hexadecimal digits in groups of 8-4-4-4-12 separated by '-', without braces. Every call gives a different one.
--   Example: CHAR_LENGTH(fn_UUIDStr()) -> 36
--   Example: SUBSTRING(fn_UUIDStr() FROM 15 FOR 1) -> '4'
DECLARE EXTERNAL FUNCTION fn_UUIDStr
  RETURNS CSTRING(36) FREE_IT
  ENTRY_POINT 'fn_UUIDStr' MODULE_NAME 'qor_udf3.dll';
-- [end of section text]

-- [section lists: its declarations go between these two lines]
-- ## Text: delimited lists

-- fn_GetCommaPos(text, n)
--   Item n (counted from 0) of a comma list; the empty text for a negative n, an n beyond the last item or a NULL text; a NULL n counts as 0. Blanks belong to the items; an item that starts with a double quote runs to the closing quote ("" inside stands for one quote).
--   Example: fn_GetCommaPos('a,b,c', 0) -> 'a'
--   Example: fn_GetCommaPos('a,b,c', 2) -> 'c'
--   Example: fn_GetCommaPos('a,b,c', 3) -> ''
--   Example: fn_GetCommaPos('a,b,c', -1) -> ''
--   Example: fn_GetCommaPos('a,,c', 1) -> ''
--   Example: fn_GetCommaPos('a, b', 1) -> ' b'
--   Example: fn_GetCommaPos('"x,y",z', 0) -> 'x,y'
--   Example: fn_GetCommaPos('"x,y",z', 1) -> 'z'
--   Example: fn_GetCommaPos(NULL, 0) -> ''
--   Example: fn_GetCommaPos('a,b', NULL) -> 'a'
DECLARE EXTERNAL FUNCTION fn_GetCommaPos
  CSTRING(32767) NULL, SMALLINT
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_GetCommaPos' MODULE_NAME 'qor_udf3.dll';

-- fn_GetPos(text, n, separator)
--   As fn_GetCommaPos, split at the first character of the separator, or at ',' when the separator is empty or NULL. A NULL text gives the empty text; a NULL n counts as 0.
--   Example: fn_GetPos('1;2;3', 1, ';') -> '2'
--   Example: fn_GetPos('1;2;3', 0, '') -> '1;2;3'
--   Example: fn_GetPos('1,2;3', 1, NULL) -> '2;3'
--   Example: fn_GetPos('a|b', 1, '|x') -> 'b'
--   Example: fn_GetPos(NULL, 0, ';') -> ''
DECLARE EXTERNAL FUNCTION fn_GetPos
  CSTRING(32767) NULL, SMALLINT, CSTRING(16) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_GetPos' MODULE_NAME 'qor_udf3.dll';

-- fn_GetCommaPosition(text, n, separator, maximum)
--   As fn_GetPos, with the item cut to the first maximum characters; a maximum of 0 gives the whole item. The maximum is clamped into 0 to 32759 and stored back into its argument. A NULL text gives the empty text; a NULL n counts as 0, a NULL separator as ',' and a NULL maximum as 0.
--   Example: fn_GetCommaPosition('abc,def', 1, ',', 2) -> 'de'
--   Example: fn_GetCommaPosition('abc,def', 1, ',', 0) -> 'def'
--   Example: fn_GetCommaPosition('abc,def', 1, ',', -4) -> 'def'
--   Example: fn_GetCommaPosition('abc;def', 0, ';', 32767) -> 'abc'
--   Example: fn_GetCommaPosition(NULL, 0, NULL, NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_GetCommaPosition
  CSTRING(32767) NULL, SMALLINT, CSTRING(16) NULL, SMALLINT
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_GetCommaPosition' MODULE_NAME 'qor_udf3.dll';

-- fn_CommaTextValue(text, name)
--   The value of the first name=value item of a comma list whose name equals the given name, letter case ignored; the empty text when there is none. Blanks around items are skipped and end an unquoted item; a double-quoted item may hold commas and blanks. A NULL text gives the empty text; a NULL name counts as the empty name.
--   Example: fn_CommaTextValue('a=1, B=2', 'b') -> '2'
--   Example: fn_CommaTextValue('a=1, B=2', 'z') -> ''
--   Example: fn_CommaTextValue('"x=1,2"', 'x') -> '1,2'
--   Example: fn_CommaTextValue('k=v=w', 'k') -> 'v=w'
--   Example: fn_CommaTextValue('ab=1,a=2', 'a') -> '2'
--   Example: fn_CommaTextValue(NULL, 'a') -> ''
DECLARE EXTERNAL FUNCTION fn_CommaTextValue
  CSTRING(32767) NULL, CSTRING(255) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_CommaTextValue' MODULE_NAME 'qor_udf3.dll';
-- [end of section lists]

-- [section soundex: its declarations go between these two lines]
-- ## Text: Soundex code

-- fn_Soundex(name)
--   A phonetic code of five characters: the first character of the name (a-z upper-cased), then four digits for the following letters (1 BFPV, 2 CGJKQSXZ, 3 DT, 4 L, 5 MN, 6 R), padded with 0. Vowels, H, W, Y and all other characters add nothing; a digit equal to the one written last is skipped, even with vowels between. NULL for a name of fewer than two characters, and for a NULL name.
--   Example: fn_Soundex('Robert') -> 'R1630'
--   Example: fn_Soundex('Rupert') -> 'R1630'
--   Example: fn_Soundex('Ashcraft') -> 'A2613'
--   Example: fn_Soundex('Pfister') -> 'P1236'
--   Example: fn_Soundex('tymczak') -> 'T5200'
--   Example: fn_Soundex('ab') -> 'A1000'
--   Example: fn_Soundex('7b') -> '71000'
--   Example: fn_Soundex('a') -> NULL
--   Example: fn_Soundex(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_Soundex
  CSTRING(32767) NULL
  RETURNS CSTRING(5) FREE_IT
  ENTRY_POINT 'fn_Soundex' MODULE_NAME 'qor_udf3.dll';
-- [end of section soundex]

-- [section numeric: its declarations go between these two lines]

-- ## Numeric: rounding, percentages, division, parts

-- fn_Runden(value, decimals)
--   The value rounded commercially to the given number of decimals (0 for fewer than 1): away from zero, with a bias of 0.501, so that 0.499 of the last place or more goes up (1.499 gives 2, and 1.005 gives 1.01 although its binary value lies just below). 10 or more decimals are an error: the result is 0 and the error log gets a line. NULL reads as 0.
--   Example: fn_Runden(2.345, 2) -> 2.35
--   Example: fn_Runden(-2.345, 2) -> -2.35
--   Example: fn_Runden(2.3449, 2) -> 2.34
--   Example: fn_Runden(1.499, 0) -> 2
--   Example: fn_Runden(1.4989, 0) -> 1
--   Example: fn_Runden(1.005, 2) -> 1.01
--   Example: fn_Runden(1234.5, -1) -> 1235
--   Example: fn_Runden(-0.004, 2) -> 0
--   Example: fn_Runden(NULL, 2) -> 0
--   Example: fn_Runden(2.5, NULL) -> 3
DECLARE EXTERNAL FUNCTION fn_Runden
  DOUBLE PRECISION, INTEGER
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Runden' MODULE_NAME 'qor_udf3.dll';

-- fn_Prozent(value, base)
--   The percentage change from base to value, rounded to 2 decimals as fn_Runden does and held within -9999 to 9999. A base of 0 gives 9999 for a positive value, -100 for a negative one and 0 for 0. NULL reads as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_Prozent(110, 100) -> 10
--   Example: fn_Prozent(50, 100) -> -50
--   Example: fn_Prozent(1, 3) -> -66.67
--   Example: fn_Prozent(1000000, 1) -> 9999
--   Example: fn_Prozent(-1000000, 1) -> -9999
--   Example: fn_Prozent(5, 0) -> 9999
--   Example: fn_Prozent(-5, 0) -> -100
--   Example: fn_Prozent(0, 0) -> 0
--   Example: fn_Prozent(NULL, 100) -> -100
DECLARE EXTERNAL FUNCTION fn_Prozent
  DOUBLE PRECISION, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Prozent' MODULE_NAME 'qor_udf3.dll';

-- fn_Division(dividend, divisor)
--   dividend / divisor, or 0 when the divisor is 0 or the quotient lies beyond the double range. NULL reads as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_Division(1, 4) -> 0.25
--   Example: fn_Division(-7, 2) -> -3.5
--   Example: fn_Division(1, 0) -> 0
--   Example: fn_Division(1e300, 1e-300) -> 0
--   Example: fn_Division(5, NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_Division
  DOUBLE PRECISION, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Division' MODULE_NAME 'qor_udf3.dll';

-- fn_Trunc(value)
--   The value truncated toward zero to an integer. A result outside the 32-bit range is an error: the result is 0 and the error log gets a line. NULL reads as 0.
--   Example: fn_Trunc(2.9) -> 2
--   Example: fn_Trunc(-2.9) -> -2
--   Example: fn_Trunc(2147483647.9) -> 2147483647
--   Example: fn_Trunc(-2147483648.5) -> -2147483648
--   Example: fn_Trunc(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_Trunc
  DOUBLE PRECISION
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_Trunc' MODULE_NAME 'qor_udf3.dll';

-- fn_Frac(value)
--   The value minus its whole part; the sign follows the value. NULL reads as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_Frac(2.75) -> 0.75
--   Example: fn_Frac(-1.25) -> -0.25
--   Example: fn_Frac(3) -> 0
--   Example: fn_Frac(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_Frac
  DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Frac' MODULE_NAME 'qor_udf3.dll';

-- ## Numeric: numbers read from text

-- fn_ValToInt(text)
--   The integer at the start of the text: the whole text when it is a number, else the part before the first character that does not fit, else 0. Leading blanks and tabs, a sign, and the prefixes $ or 0x (hexadecimal), % (binary) and & (octal) are allowed; decimal numbers beyond the 32-bit range wrap around. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_ValToInt('12abc') -> 12
--   Example: fn_ValToInt(' -7 ') -> -7
--   Example: fn_ValToInt('12,5') -> 12
--   Example: fn_ValToInt('$1F') -> 31
--   Example: fn_ValToInt('2147483648') -> -2147483648
--   Example: fn_ValToInt('abc') -> 0
--   Example: fn_ValToInt(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_ValToInt
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_ValToInt' MODULE_NAME 'qor_udf3.dll';

-- fn_ValToInt64(text)
--   As fn_ValToInt, in 64 bits; a decimal digit that would leave the 64-bit range ends the number. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_ValToInt64('2147483648') -> 2147483648
--   Example: fn_ValToInt64('-9223372036854775808') -> -9223372036854775808
--   Example: fn_ValToInt64('99999999999999999999') -> 999999999999999999
--   Example: fn_ValToInt64('0x10 Stueck') -> 16
--   Example: fn_ValToInt64(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_ValToInt64
  CSTRING(32767) NULL
  RETURNS BIGINT BY VALUE
  ENTRY_POINT 'fn_ValToInt64' MODULE_NAME 'qor_udf3.dll';

-- fn_ValToDouble(text)
--   The number at the start of the text, with ',' or '.' as the decimal separator: the whole text when it is a number, else the part before the first character that does not fit, else 0. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_ValToDouble('12,5') -> 12.5
--   Example: fn_ValToDouble('12.50 EUR') -> 12.5
--   Example: fn_ValToDouble('1.234,56') -> 1.234
--   Example: fn_ValToDouble('-,5') -> -0.5
--   Example: fn_ValToDouble('1e3') -> 1000
--   Example: fn_ValToDouble('x') -> 0
--   Example: fn_ValToDouble(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_ValToDouble
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_ValToDouble' MODULE_NAME 'qor_udf3.dll';

-- ## Numeric: character tests

-- fn_IsInteger(text)
--   1 when the text, trimmed of blanks and control characters at both ends, holds only the characters '+', '-' and the digits 0-9, else 0. A character test, not a syntax test: '+-+' gives 1, and so does an empty or blank text. NULL gives 1 (the empty text).
--   Logs: nothing: the function cannot fail.
--   Example: fn_IsInteger(' 12 ') -> 1
--   Example: fn_IsInteger('-12') -> 1
--   Example: fn_IsInteger('+-+') -> 1
--   Example: fn_IsInteger('1.5') -> 0
--   Example: fn_IsInteger('1 2') -> 0
--   Example: fn_IsInteger('') -> 1
--   Example: fn_IsInteger(NULL) -> 1
DECLARE EXTERNAL FUNCTION fn_IsInteger
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_IsInteger' MODULE_NAME 'qor_udf3.dll';

-- fn_IsFloat(text)
--   As fn_IsInteger, with ',' and '.' allowed as well; an exponent letter is not. NULL gives 1 (the empty text).
--   Logs: nothing: the function cannot fail.
--   Example: fn_IsFloat('1.5') -> 1
--   Example: fn_IsFloat(' 1,5 ') -> 1
--   Example: fn_IsFloat('1.234,56') -> 1
--   Example: fn_IsFloat('1E5') -> 0
--   Example: fn_IsFloat('12 EUR') -> 0
--   Example: fn_IsFloat(NULL) -> 1
DECLARE EXTERNAL FUNCTION fn_IsFloat
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_IsFloat' MODULE_NAME 'qor_udf3.dll';

-- [end of section numeric]

-- [section blob: its declarations go between these two lines]
-- ## Blobs: text transfer

-- fn_BlobSize(blob)
--   The length of the blob in bytes; 0 for NULL. The blob is not read.
--   Logs: nothing: the function cannot fail.
--   Example: fn_BlobSize(CAST('abc' AS BLOB SUB_TYPE TEXT)) -> 3
--   Example: fn_BlobSize(CAST('' AS BLOB SUB_TYPE TEXT)) -> 0
--   Example: fn_BlobSize(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_BlobSize
  BLOB
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_BlobSize' MODULE_NAME 'qor_udf3.dll';

-- fn_StrToBlob(text)
--   A new blob holding the text; an empty blob for NULL or the empty text.
--   Example: fn_StrToBlob('abc') -> 'abc'
--   Example: fn_BlobSize(fn_StrToBlob('abc')) -> 3
--   Example: fn_StrToBlob(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_StrToBlob
  CSTRING(32767) NULL, BLOB
  RETURNS PARAMETER 2
  ENTRY_POINT 'fn_StrToBlob' MODULE_NAME 'qor_udf3.dll';

-- fn_BlobToStr(blob)
--   The blob as text: its first 32759 bytes, ending early at a NUL byte; empty for NULL.
--   Example: fn_BlobToStr(CAST('abc' AS BLOB SUB_TYPE TEXT)) -> 'abc'
--   Example: fn_BlobToStr(CAST('ab' || ASCII_CHAR(0) || 'c' AS BLOB SUB_TYPE TEXT)) -> 'ab'
--   Example: CHAR_LENGTH(fn_BlobToStr(CAST(LPAD('', 40000, 'x') AS BLOB SUB_TYPE TEXT))) -> 32759
--   Example: fn_BlobToStr(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_BlobToStr
  BLOB
  RETURNS CSTRING(32759) FREE_IT
  ENTRY_POINT 'fn_BlobToStr' MODULE_NAME 'qor_udf3.dll';

-- fn_BlobAddStr(text)
--   A new blob holding the text. The function appends the text to the content of the blob it is given, but SQL can only give it the fresh result blob, which is empty: the result is the same as fn_StrToBlob's. (Declared with a blob argument of the caller's instead, the call fails with "cannot update old BLOB": the server does not let a function write to a blob it reads.) To append to a stored blob, write blob || text. NULL gives an empty blob.
--   Example: fn_BlobAddStr('tail') -> 'tail'
--   Example: fn_BlobToStr(CAST('head ' AS BLOB SUB_TYPE TEXT) || fn_BlobAddStr('tail')) -> 'head tail'
--   Example: fn_BlobAddStr(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_BlobAddStr
  CSTRING(32767) NULL, BLOB
  RETURNS PARAMETER 2
  ENTRY_POINT 'fn_BlobAddStr' MODULE_NAME 'qor_udf3.dll';

-- fn_BlobToSubString(blob, start, count)
--   count bytes of the blob from the 1-based position start, at most 32759 and ending early at a NUL byte; fewer when the blob ends first. A start below 1 counts as 1; empty when count is below 1, start lies beyond the end, or the blob is NULL (NULL numbers count as 0).
--   Example: fn_BlobToSubString(CAST('abcdef' AS BLOB SUB_TYPE TEXT), 2, 3) -> 'bcd'
--   Example: fn_BlobToSubString(CAST('abcdef' AS BLOB SUB_TYPE TEXT), 0, 2) -> 'ab'
--   Example: fn_BlobToSubString(CAST('abcdef' AS BLOB SUB_TYPE TEXT), 5, 10) -> 'ef'
--   Example: fn_BlobToSubString(CAST('abcdef' AS BLOB SUB_TYPE TEXT), 7, 1) -> ''
--   Example: fn_BlobToSubString(CAST('abcdef' AS BLOB SUB_TYPE TEXT), 2, -1) -> ''
--   Example: fn_BlobToSubString(CAST('ab' || ASCII_CHAR(0) || 'cd' AS BLOB SUB_TYPE TEXT), 2, 3) -> 'b'
--   Example: fn_BlobToSubString(CAST('ab' || ASCII_CHAR(0) || 'cd' AS BLOB SUB_TYPE TEXT), 4, 2) -> 'cd'
--   Example: fn_BlobToSubString(NULL, 1, 5) -> ''
--   Example: fn_BlobToSubString(CAST('abc' AS BLOB SUB_TYPE TEXT), NULL, 2) -> 'ab'
DECLARE EXTERNAL FUNCTION fn_BlobToSubString
  BLOB, INTEGER, INTEGER
  RETURNS CSTRING(32759) FREE_IT
  ENTRY_POINT 'fn_BlobToSubString' MODULE_NAME 'qor_udf3.dll';

-- ## Blobs: field lookup in an allocation

-- fn_BlobSubField(blob, field, line)
--   Answers from an allocation text (Aufteilung) stored in the blob: its first line FELDER=name,... names the fields, the further lines key=value,... are the share lines. Field '?': the number of fields. Line '?': the number of share lines. Empty field: the field names. Empty line: the keys of the share lines. Field '*': every value of the share lines whose key is line. A field name: its value in line '#n' (the n-th line, '#0' the field line), in every share line (line '*'), or in the share lines whose key is line. Names and keys are matched ignoring case, but untrimmed; lists end every entry with CR LF. At most 255 bytes; empty when the blob is NULL or does not start with FELDER= (any case), or nothing matches. A NULL field or line counts as empty.
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), '?', '') -> '3'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'BETRAG', '?') -> '2'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), '', '1') -> 'KSTNR\r\nKTRNR\r\nBETRAG\r\n'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'KSTNR', '') -> '1\r\n2\r\n'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), '*', '2') -> '4712\r\nB\r\n20\r\n'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'betrag', '#1') -> '10.5'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'betrag', '#0') -> 'BETRAG'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'BETRAG', '*') -> '10.5\r\n20\r\n'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), 'BETRAG', '2') -> '20\r\n'
--   Example: fn_BlobSubField(CAST('FELDER=KSTNR,KTRNR,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,A,10.5' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,B,20' AS BLOB SUB_TYPE TEXT), ' BETRAG', '2') -> ''
--   Example: fn_BlobSubField(CAST(fn_KstToAufteilung(4711, 0, 400, 123.45, 'A 1') AS BLOB SUB_TYPE TEXT), 'KTRNR', '#1') -> 'A 1'
--   Example: fn_BlobSubField(CAST('FELDER:KSTNR' AS BLOB SUB_TYPE TEXT), '?', '') -> ''
--   Example: fn_BlobSubField(NULL, '?', NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_BlobSubField
  BLOB, CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(255) FREE_IT
  ENTRY_POINT 'fn_BlobSubField' MODULE_NAME 'qor_udf3.dll';

-- ## Blobs: transfer to and from files

-- fn_BlobSaveToFile(blob, file, overwrite)
--   Writes the blob into the file (a path on the server) and returns the file's size; an existing file is replaced only when overwrite is 1. -1: no blob (NULL), nothing touched; -2: the file exists and overwrite is not 1, or it cannot be created; -3: writing failed part-way. A NULL file name counts as empty (-2), a NULL overwrite as 0.
--   Logs: a file that cannot be created or written goes to the trace log in `/tmp/QOR_UDF/` as `fn_BlobSaveToFile: Unable to create file "<file>"` or `fn_BlobSaveToFile: Unable to write file "<file>": <reason>`, and to the error log `qor_udf3.err` only when the trace log cannot be written. A NULL blob (-1) and an existing file kept because overwrite is not 1 (-2) log nothing.
--   Example: fn_BlobSaveToFile(CAST('abc' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'def' AS BLOB SUB_TYPE TEXT), 'qor_example.txt', 1) -> 8
--   Example: fn_BlobSaveToFile(CAST('xyz' AS BLOB SUB_TYPE TEXT), 'qor_example.txt', 0) -> -2
--   Example: fn_BlobSaveToFile(NULL, 'qor_example.txt', 1) -> -1
DECLARE EXTERNAL FUNCTION fn_BlobSaveToFile
  BLOB, CSTRING(32767) NULL, INTEGER
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_BlobSaveToFile' MODULE_NAME 'qor_udf3.dll';

-- fn_BlobLoadFromFile(file)
--   A new blob holding the bytes of the file (a path on the server); an empty blob when the file cannot be opened or is no regular file (a directory, a device, a pipe), which is written to the trace log. A NULL name gives an empty blob.
--   Logs: a file that cannot be opened (missing, no regular file, no permission, a NULL or empty name) goes to the trace log in `/tmp/QOR_UDF/` as `fn_BlobLoadFromFile: Unable to open file "<file>"`, and to the error log `qor_udf3.err` only when the trace log cannot be written. A file larger than a blob can hold (2147483647 bytes) gives an empty blob and the trace line `fn_BlobLoadFromFile: File "<file>" is too large for a blob: <size> bytes`; a file that reports no size (a pseudo file under `/proc` or `/sys`) is read up to 1 MiB, and when more follows the blob keeps that much and the trace log gets `fn_BlobLoadFromFile: File "<file>" reports no size and was cut after 1048576 bytes`.
--   Example: fn_BlobLoadFromFile('qor_example.txt') -> 'abc\r\ndef'
--   Example: fn_BlobSize(fn_BlobLoadFromFile('qor_example.txt')) -> 8
--   Example: fn_BlobLoadFromFile(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_BlobLoadFromFile
  BLOB, CSTRING(32767) NULL
  RETURNS PARAMETER 1
  ENTRY_POINT 'fn_BlobLoadFromFile' MODULE_NAME 'qor_udf3.dll';

-- fn_LoadFromFile(file)
--   The lines of the text file (a path on the server), each ended by LF whatever its line ends were (CR LF, LF or CR); empty when no file or directory of that name exists. A name that exists but cannot be read as a regular file (a directory, a device, a pipe, no permission) gives the empty text and an error-log record. A result longer than 32765 bytes (the most a query can fetch) is logged and gives the empty text. NULL counts as the empty name and gives the empty text.
--   Logs: a name that does not exist logs nothing. A name that exists but cannot be read as a regular file is written to the error log `qor_udf3.err` as `fn_LoadFromFile: Unable to open file "<file>": <reason>` (or `Unable to read file ...`), a result beyond 32765 bytes as `fn_LoadFromFile: Result longer than 32765 bytes`; the call returns the empty text. Nothing goes to the trace log.
--   Example: fn_LoadFromFile('qor_example.txt') -> 'abc\ndef\n'
--   Example: fn_LoadFromFile('qor_no_such_file.txt') -> ''
--   Example: fn_LoadFromFile(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_LoadFromFile
  CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_LoadFromFile' MODULE_NAME 'qor_udf3.dll';

-- ## Blobs: line lists

-- fn_ListValue(blob, name)
--   The value of a setting in a text blob of lines name=value (lines end with CR LF, LF or CR): the text after the first '=' of the first line whose name equals the given name ignoring case (ISO-8859-1 letters included); names are not trimmed. Empty when no line matches or the blob is NULL. The blob is read whole, without a size limit; a result longer than 32765 bytes (the most a query can fetch) is logged and gives the empty text. A NULL name counts as the empty name.
--   Example: fn_ListValue(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'host') -> 'alpha'
--   Example: fn_ListValue(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'Port') -> '5'
--   Example: fn_ListValue(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'Hostname') -> ''
--   Example: fn_ListValue(CAST('a = 1' AS BLOB SUB_TYPE TEXT), 'a ') -> ' 1'
--   Example: fn_ListValue(NULL, 'host') -> ''
DECLARE EXTERNAL FUNCTION fn_ListValue
  BLOB, CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_ListValue' MODULE_NAME 'qor_udf3.dll';

-- fn_ListLine(blob, key, mode)
--   The lines of a text blob that contain the key. Mode 0: every line containing it (case-sensitive), joined by the two bytes C2 A6 (a broken bar in UTF-8); mode n > 0: the n-th line containing it; mode -n: the n-th line containing it ignoring case (ISO-8859-1 letters included). Empty when fewer lines match, the key is empty or the blob is NULL. The blob is read whole, without a size limit; a result longer than 32765 bytes (the most a query can fetch) is logged and gives the empty text. A NULL mode counts as 0.
--   Example: fn_ListLine(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'Host', 0) -> 'Host=alpha¦Host=beta¦Hostname'
--   Example: fn_ListLine(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'Host', 2) -> 'Host=beta'
--   Example: fn_ListLine(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'Host', 4) -> ''
--   Example: fn_ListLine(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'host', 1) -> ''
--   Example: fn_ListLine(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' || ASCII_CHAR(10) || 'Host=beta' || ASCII_CHAR(10) || 'Hostname' AS BLOB SUB_TYPE TEXT), 'host', -1) -> 'Host=alpha'
--   Example: fn_ListLine(NULL, 'Host', 0) -> ''
--   Example: fn_ListLine(CAST('Host=alpha' AS BLOB SUB_TYPE TEXT), NULL, 0) -> ''
DECLARE EXTERNAL FUNCTION fn_ListLine
  BLOB, CSTRING(32767) NULL, SMALLINT
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_ListLine' MODULE_NAME 'qor_udf3.dll';

-- fn_ScanBlob(blob, text)
--   The 1-based position of the first occurrence of the text in a text blob, ignoring case (ISO-8859-1 letters included); 0 when absent, when the text is empty or NULL, or the blob is NULL. The blob is read whole, without a size limit, up to its first NUL byte.
--   Example: fn_ScanBlob(CAST('Host=alpha' || ASCII_CHAR(10) || 'port=5' AS BLOB SUB_TYPE TEXT), 'ALPHA') -> 6
--   Example: fn_ScanBlob(CAST('Host=alpha' AS BLOB SUB_TYPE TEXT), 'beta') -> 0
--   Example: fn_ScanBlob(CAST('ab' || ASCII_CHAR(0) || 'cd' AS BLOB SUB_TYPE TEXT), 'cd') -> 0
--   Example: fn_ScanBlob(CAST('Host=alpha' AS BLOB SUB_TYPE TEXT), '') -> 0
--   Example: fn_ScanBlob(NULL, 'a') -> 0
DECLARE EXTERNAL FUNCTION fn_ScanBlob
  BLOB, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_ScanBlob' MODULE_NAME 'qor_udf3.dll';

-- [end of section blob]

-- [section datetime: its declarations go between these two lines]

-- ## Date and time: date parts, day names and date tests

-- fn_GetYear(ts)
--   The year of the timestamp (proleptic Gregorian calendar). NULL gives 0.
--   Example: fn_GetYear(TIMESTAMP '2023-02-01 12:30:00') -> 2023
--   Example: fn_GetYear(TIMESTAMP '0001-01-01 00:00:00') -> 1
--   Example: fn_GetYear(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetYear
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_GetYear' MODULE_NAME 'qor_udf3.dll';

-- fn_GetMonth(ts)
--   The month of the timestamp, 1 to 12. NULL gives 0.
--   Example: fn_GetMonth(TIMESTAMP '2023-02-01 12:30:00') -> 2
--   Example: fn_GetMonth(TIMESTAMP '1899-12-29 06:00:00') -> 12
--   Example: fn_GetMonth(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetMonth
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_GetMonth' MODULE_NAME 'qor_udf3.dll';

-- fn_GetDay(ts)
--   The day of the month of the timestamp, 1 to 31. A time of day never moves the day, also before 30.12.1899. NULL gives 0.
--   Example: fn_GetDay(TIMESTAMP '2023-02-01 12:30:00') -> 1
--   Example: fn_GetDay(TIMESTAMP '1899-12-29 06:00:00') -> 29
--   Example: fn_GetDay(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetDay
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_GetDay' MODULE_NAME 'qor_udf3.dll';

-- fn_DayOfTheMonth(ts)
--   The day of the month of the timestamp, 1 to 31 (as fn_GetDay). NULL gives 0.
--   Example: fn_DayOfTheMonth(TIMESTAMP '2024-02-29 23:59:59') -> 29
--   Example: fn_DayOfTheMonth(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DayOfTheMonth
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DayOfTheMonth' MODULE_NAME 'qor_udf3.dll';

-- fn_DayOfTheWeek(ts)
--   The weekday of the timestamp, 1 (Monday) to 7 (Sunday). NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_DayOfTheWeek(TIMESTAMP '2023-02-01 12:30:00') -> 3
--   Example: fn_DayOfTheWeek(TIMESTAMP '2023-02-05 00:00:00') -> 7
--   Example: fn_DayOfTheWeek(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DayOfTheWeek
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DayOfTheWeek' MODULE_NAME 'qor_udf3.dll';

-- fn_GetDayofWeek(ts, style)
--   The weekday of the timestamp as a German day name or a digit: style 1 to 10 gives the first style characters of Montag ... Sonntag, -1 to -10 the first characters of MONTAG ... SONNTAG, any other style the digit 1 (Monday) to 7 (Sunday). A NULL timestamp gives the empty text; a NULL style reads as 0.
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', 2) -> 'Do'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', 10) -> 'Donnerstag'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', 3) -> 'Don'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', -4) -> 'DONN'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', 0) -> '4'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', 11) -> '4'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-01-30 00:00:00', 6) -> 'Montag'
--   Example: fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', NULL) -> '4'
--   Example: fn_GetDayofWeek(NULL, 2) -> ''
DECLARE EXTERNAL FUNCTION fn_GetDayofWeek
  TIMESTAMP NULL, INTEGER
  RETURNS CSTRING(10) FREE_IT
  ENTRY_POINT 'fn_GetDayofWeek' MODULE_NAME 'qor_udf3.dll';

-- fn_DaysOfMonth(month, year)
--   The number of days of the month, 0 for a month outside 1 to 12. Two-digit years count as 20xx below 70 and as 19xx from 70 to 99. NULL reads as 0: a NULL month gives 0, a NULL year is 2000 by the two-digit rule.
--   Example: fn_DaysOfMonth(2, 2024) -> 29
--   Example: fn_DaysOfMonth(2, 1900) -> 28
--   Example: fn_DaysOfMonth(2, 2000) -> 29
--   Example: fn_DaysOfMonth(2, 24) -> 29
--   Example: fn_DaysOfMonth(2, 99) -> 28
--   Example: fn_DaysOfMonth(4, 2023) -> 30
--   Example: fn_DaysOfMonth(13, 2023) -> 0
--   Example: fn_DaysOfMonth(NULL, 2023) -> 0
DECLARE EXTERNAL FUNCTION fn_DaysOfMonth
  SMALLINT, INTEGER
  RETURNS SMALLINT BY VALUE
  ENTRY_POINT 'fn_DaysOfMonth' MODULE_NAME 'qor_udf3.dll';

-- fn_IsDate(text)
--   1 when the text, without blanks and control characters at its ends, is a date day first with points ('1.2.2023', '01.02.23'), optionally with a time ('1.2.2023 12:30'), else 0. 30.12.1899 00:00 counts as no date. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_IsDate('1.2.2023') -> 1
--   Example: fn_IsDate(' 1.2.2023 ') -> 1
--   Example: fn_IsDate('1.2.2023 12:30') -> 1
--   Example: fn_IsDate('31.02.2023') -> 0
--   Example: fn_IsDate('2023-02-01') -> 0
--   Example: fn_IsDate('30.12.1899') -> 0
--   Example: fn_IsDate('abc') -> 0
--   Example: fn_IsDate(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_IsDate
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_IsDate' MODULE_NAME 'qor_udf3.dll';

-- ## Date and time: timestamp conversions

-- fn_StrToDateTime(text)
--   The timestamp of a date text day first with points and an optional time with colons. Years below 70 are 20xx, 70 to 99 are 19xx. A blank right after the first point takes the current month ('15. 2023'), an empty year before a blank the current year ('15.3.  '). A text that is no date, and NULL, give 30.12.1899 00:00. A date before 30.12.1899 with a time of day has no timestamp: it is logged and gives 30.12.1899 00:00.
--   Example: CAST(fn_StrToDateTime('1.2.2023 12:30') AS VARCHAR(30)) -> '2023-02-01 12:30:00.0000'
--   Example: CAST(fn_StrToDateTime('01.02.23') AS VARCHAR(30)) -> '2023-02-01 00:00:00.0000'
--   Example: CAST(fn_StrToDateTime('1.2.2023 12:30:45') AS VARCHAR(30)) -> '2023-02-01 12:30:45.0000'
--   Example: CAST(fn_StrToDateTime('1.1.1800') AS VARCHAR(30)) -> '1800-01-01 00:00:00.0000'
--   Example: CAST(fn_StrToDateTime('abc') AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
--   Example: CAST(fn_StrToDateTime(NULL) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
DECLARE EXTERNAL FUNCTION fn_StrToDateTime
  CSTRING(32767) NULL
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_StrToDateTime' MODULE_NAME 'qor_udf3.dll';

-- fn_ValToDateTime(text)
--   The same as fn_StrToDateTime (errors are logged under that name). NULL gives 30.12.1899 00:00.
--   Logs: an error caught inside the function is written to the error log `qor_udf3.err` under the name of fn_StrToDateTime, as `fn_StrToDateTime: <message>` (a date before 30.12.1899 with a time of day, say), and the call returns 30.12.1899 00:00.
--   Example: CAST(fn_ValToDateTime('29.02.2024 08:15') AS VARCHAR(30)) -> '2024-02-29 08:15:00.0000'
--   Example: CAST(fn_ValToDateTime('29.02.2023') AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
--   Example: CAST(fn_ValToDateTime(NULL) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
DECLARE EXTERNAL FUNCTION fn_ValToDateTime
  CSTRING(32767) NULL
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_ValToDateTime' MODULE_NAME 'qor_udf3.dll';

-- fn_GetDateTimeStr(text)
--   The day count (days since 30.12.1899, the time of day as fraction) of a date text, after every character other than blanks, points, digits and colons has been dropped. 0 when that is no date, and for NULL.
--   Example: fn_GetDateTimeStr('1.2.2023 12:00') -> 44958.5
--   Example: fn_GetDateTimeStr('am 1.2.2023') -> 44958
--   Example: fn_GetDateTimeStr('01/02/2023') -> 0
--   Example: fn_GetDateTimeStr('Datum: 1.2.2023') -> 0
--   Example: fn_GetDateTimeStr('29.12.1899 06:00') -> -0.75
--   Example: fn_GetDateTimeStr(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetDateTimeStr
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_GetDateTimeStr' MODULE_NAME 'qor_udf3.dll';

-- fn_GetDate(ts)
--   The timestamp with its time set to 00:00 (the argument changed in place). NULL gives NULL.
--   Logs: nothing: the function cannot fail.
--   Example: CAST(fn_GetDate(TIMESTAMP '2023-02-01 12:30:00') AS VARCHAR(30)) -> '2023-02-01 00:00:00.0000'
--   Example: CAST(fn_GetDate(TIMESTAMP '1800-01-01 23:59:59') AS VARCHAR(30)) -> '1800-01-01 00:00:00.0000'
--   Example: fn_GetDate(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_GetDate
  TIMESTAMP NULL
  RETURNS TIMESTAMP
  ENTRY_POINT 'fn_GetDate' MODULE_NAME 'qor_udf3.dll';

-- fn_GetTime(ts)
--   The time of day of the timestamp as a fraction of a day (0 to below 1). NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_GetTime(TIMESTAMP '2023-02-01 12:00:00') -> 0.5
--   Example: fn_GetTime(TIMESTAMP '2023-02-01 06:00:00') -> 0.25
--   Example: fn_GetTime(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetTime
  TIMESTAMP NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_GetTime' MODULE_NAME 'qor_udf3.dll';

-- fn_GetDateTime(ts)
--   The day count of the timestamp: days since 30.12.1899 plus the time of day as fraction. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_GetDateTime(TIMESTAMP '1899-12-31 12:00:00') -> 1.5
--   Example: fn_GetDateTime(TIMESTAMP '1899-12-29 06:00:00') -> -0.75
--   Example: fn_GetDateTime(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_GetDateTime
  TIMESTAMP NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_GetDateTime' MODULE_NAME 'qor_udf3.dll';

-- fn_TimeStampToFloat(ts)
--   The day count of the timestamp, as fn_GetDateTime. NULL gives 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_TimeStampToFloat(TIMESTAMP '1899-12-31 12:00:00') -> 1.5
--   Example: fn_TimeStampToFloat(TIMESTAMP '2023-02-01 00:00:00') -> 44958
--   Example: fn_TimeStampToFloat(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_TimeStampToFloat
  TIMESTAMP NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_TimeStampToFloat' MODULE_NAME 'qor_udf3.dll';

-- fn_FloatToTimeStamp(days)
--   The timestamp of a day count (days since 30.12.1899, the time of day as fraction). NULL reads as 0. A day count below 0 with a fraction, or one outside the years 1 to 9999, is logged and gives 30.12.1899 00:00.
--   Example: CAST(fn_FloatToTimeStamp(1.5) AS VARCHAR(30)) -> '1899-12-31 12:00:00.0000'
--   Example: CAST(fn_FloatToTimeStamp(44958.25) AS VARCHAR(30)) -> '2023-02-01 06:00:00.0000'
--   Example: CAST(fn_FloatToTimeStamp(-36522) AS VARCHAR(30)) -> '1800-01-01 00:00:00.0000'
--   Example: CAST(fn_FloatToTimeStamp(NULL) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
DECLARE EXTERNAL FUNCTION fn_FloatToTimeStamp
  DOUBLE PRECISION
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_FloatToTimeStamp' MODULE_NAME 'qor_udf3.dll';

-- fn_DateTimeToStr(ts)
--   The timestamp as 'DD.MM.YYYY HH:MM:SS' (fractions of a second are cut). NULL gives the empty text.
--   Example: fn_DateTimeToStr(TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023 12:30:00'
--   Example: fn_DateTimeToStr(TIMESTAMP '1899-12-29 06:00:00') -> '29.12.1899 06:00:00'
--   Example: fn_DateTimeToStr(TIMESTAMP '9999-12-31 23:59:59.9999') -> '31.12.9999 23:59:59'
--   Example: fn_DateTimeToStr(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_DateTimeToStr
  TIMESTAMP NULL
  RETURNS CSTRING(19) FREE_IT
  ENTRY_POINT 'fn_DateTimeToStr' MODULE_NAME 'qor_udf3.dll';

-- fn_SecondsBetween(a, b)
--   The whole seconds between two timestamps, never negative, rounded to the nearest second. A distance beyond 2147483647 seconds (about 68 years) is logged and gives 0; so does NULL.
--   Example: fn_SecondsBetween(TIMESTAMP '2023-02-01 12:00:00', TIMESTAMP '2023-02-01 12:01:30') -> 90
--   Example: fn_SecondsBetween(TIMESTAMP '2023-02-01 12:01:30', TIMESTAMP '2023-02-01 12:00:00') -> 90
--   Example: fn_SecondsBetween(TIMESTAMP '2023-02-01 12:00:00', TIMESTAMP '2023-02-01 12:00:01.6') -> 2
--   Example: fn_SecondsBetween(TIMESTAMP '2023-02-01 12:00:00', TIMESTAMP '2023-02-01 12:00:01.4') -> 1
--   Example: fn_SecondsBetween(NULL, TIMESTAMP '2023-02-01 12:00:00') -> 0
DECLARE EXTERNAL FUNCTION fn_SecondsBetween
  TIMESTAMP NULL, TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_SecondsBetween' MODULE_NAME 'qor_udf3.dll';

-- ## Date and time: calendar weeks

-- fn_WeekOfDate(ts)
--   The ISO 8601 week of the timestamp as 'WW-YYYY' (weeks from Monday to Sunday; week 1 holds the year's first Thursday). NULL gives the empty text.
--   Example: fn_WeekOfDate(TIMESTAMP '2023-02-01 00:00:00') -> '05-2023'
--   Example: fn_WeekOfDate(TIMESTAMP '2023-01-01 00:00:00') -> '52-2022'
--   Example: fn_WeekOfDate(TIMESTAMP '2021-01-03 00:00:00') -> '53-2020'
--   Example: fn_WeekOfDate(TIMESTAMP '2025-12-29 00:00:00') -> '01-2026'
--   Example: fn_WeekOfDate(TIMESTAMP '2024-12-31 00:00:00') -> '01-2025'
--   Example: fn_WeekOfDate(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_WeekOfDate
  TIMESTAMP NULL
  RETURNS CSTRING(12) FREE_IT
  ENTRY_POINT 'fn_WeekOfDate' MODULE_NAME 'qor_udf3.dll';

-- fn_DateOfWeek(week)
--   Monday 00:00 of a week text: week and year separated by anything but digits ('5-2023', '05/2023', '5 2023', '05.23'), or one number WWYY or YYYYWW ('0523', '202305'). Two-digit years are 20xx below 70 and 19xx from 70; without a year, or with one outside 1970 to 2069, the current year. Week 0 is the Monday before week 1; weeks above 53 run on into the next year. NULL, like a text without a number, gives the Monday before week 1 of the current year. A week outside the years 1 to 9999 is logged and gives 30.12.1899 00:00.
--   Example: CAST(fn_DateOfWeek('5-2023') AS VARCHAR(30)) -> '2023-01-30 00:00:00.0000'
--   Example: CAST(fn_DateOfWeek('05.23') AS VARCHAR(30)) -> '2023-01-30 00:00:00.0000'
--   Example: CAST(fn_DateOfWeek('202305') AS VARCHAR(30)) -> '2023-01-30 00:00:00.0000'
--   Example: CAST(fn_DateOfWeek('0523') AS VARCHAR(30)) -> '2023-01-30 00:00:00.0000'
--   Example: CAST(fn_DateOfWeek('1-2026') AS VARCHAR(30)) -> '2025-12-29 00:00:00.0000'
--   Example: CAST(fn_DateOfWeek('53-2020') AS VARCHAR(30)) -> '2020-12-28 00:00:00.0000'
--   Example: fn_DayOfTheWeek(fn_DateOfWeek(NULL)) -> 1
DECLARE EXTERNAL FUNCTION fn_DateOfWeek
  CSTRING(32767) NULL
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_DateOfWeek' MODULE_NAME 'qor_udf3.dll';

-- ## Date and time: year-month keys

-- fn_DateToJahrMo(ts)
--   The JahrMo key of the timestamp: year * 100 + month. NULL gives 0.
--   Example: fn_DateToJahrMo(TIMESTAMP '2023-02-15 10:00:00') -> 202302
--   Example: fn_DateToJahrMo(TIMESTAMP '1999-12-31 23:59:59') -> 199912
--   Example: fn_DateToJahrMo(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DateToJahrMo
  TIMESTAMP NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DateToJahrMo' MODULE_NAME 'qor_udf3.dll';

-- fn_DateStrToJahrMo(text)
--   The JahrMo key (year * 100 + month) of a date text as fn_StrToDateTime reads it. A text that is no date, and NULL, give 189912 (30.12.1899).
--   Example: fn_DateStrToJahrMo('15.02.2023') -> 202302
--   Example: fn_DateStrToJahrMo('15.02.23') -> 202302
--   Example: fn_DateStrToJahrMo('31.12.1800 12:00') -> 180012
--   Example: fn_DateStrToJahrMo('abc') -> 189912
--   Example: fn_DateStrToJahrMo(NULL) -> 189912
DECLARE EXTERNAL FUNCTION fn_DateStrToJahrMo
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DateStrToJahrMo' MODULE_NAME 'qor_udf3.dll';

-- fn_JahrMoToDate(key)
--   The first day of the key's month at 00:00. Years below 100 follow the two-digit rule (2302 is February 2023). A key with a month outside 1 to 12, and NULL, give 30.12.1899 00:00.
--   Example: CAST(fn_JahrMoToDate(202302) AS VARCHAR(30)) -> '2023-02-01 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(202312) AS VARCHAR(30)) -> '2023-12-01 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(2302) AS VARCHAR(30)) -> '2023-02-01 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(7502) AS VARCHAR(30)) -> '1975-02-01 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(202313) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(202300) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
--   Example: CAST(fn_JahrMoToDate(NULL) AS VARCHAR(30)) -> '1899-12-30 00:00:00.0000'
DECLARE EXTERNAL FUNCTION fn_JahrMoToDate
  INTEGER
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_JahrMoToDate' MODULE_NAME 'qor_udf3.dll';

-- fn_JahrMoToDateStr(key)
--   The key as the text '01.MM.YYYY' of its first day, unchecked. NULL reads as 0.
--   Example: fn_JahrMoToDateStr(202302) -> '01.02.2023'
--   Example: fn_JahrMoToDateStr(202313) -> '01.13.2023'
--   Example: fn_JahrMoToDateStr(2302) -> '01.02.0023'
--   Example: fn_JahrMoToDateStr(0) -> '01.00.0000'
--   Example: fn_JahrMoToDateStr(NULL) -> '01.00.0000'
DECLARE EXTERNAL FUNCTION fn_JahrMoToDateStr
  INTEGER
  RETURNS CSTRING(16) FREE_IT
  ENTRY_POINT 'fn_JahrMoToDateStr' MODULE_NAME 'qor_udf3.dll';

-- [end of section datetime]

-- [section mask: its declarations go between these two lines]
-- ## Masks: mask functions

-- fn_MaskString(mask, value)
--   The text rendered by a mask: a command letter and its parameters, n the number that follows the letter. C: the first n characters (all for n < 1); S / s: as C, padded with blanks behind / in front to n; U u / L l: upper / lower case (of the first n characters); M m: unchanged; R<pattern>: the number in the text by a number pattern ("0" digit, "#" significant digit, "." decimals, "," thousands groups, E+00 exponent, positive;negative;zero sections, quoted text); F f N n [0]n.d: fixed-point number of width n with d decimals (rounded with 0.501), a leading 0 for zero fill, N and n trimmed, F and N empty for zero, 10 or more decimals fail; O n[,suffix]: the amount in hundredths as digits, zero-filled to n; o n[,suffix]: the digits of the text, zero-filled; W L[.F][,a[,b]]: line a (of at most b) of the integer part's digits as German words, "-" between and to F characters, F asterisks when b lines do not suffice; w k: the k-th digit from the right as a word; D n: the date in the layout of width n (4 YYYY, 5 MM.YY, 7 MM.YYYY, 8 DD.MM.YY, 10 DD.MM.YYYY, 16 and 19 with the time); T n: the time (2 HH, 5 HH:MM, 8 HH:MM:SS); Z k: the term date as DD.MM.YYYY, k days on for k >= 0, else the day -k of the next month. Dates and times are read from the text (day first, '1.2.23 12:30'). An empty mask or an unknown letter gives the text; a width or result above 32765 characters gives the empty text and an error-log record. A NULL mask or value counts as empty.
--   Example: fn_MaskString('s6', 'abc') -> '   abc'
--   Example: fn_MaskString('S5', 'abc') -> 'abc  '
--   Example: fn_MaskString('C2', 'abc') -> 'ab'
--   Example: fn_MaskString('U', 'abc') -> 'ABC'
--   Example: fn_MaskString('R#,##0.00', '1234,5') -> '1,234.50'
--   Example: fn_MaskString('o8', '12-34/5') -> '00012345'
--   Example: fn_MaskString('W30', '123') -> 'EINS-ZWEI-DREI----------------'
--   Example: fn_MaskString('W10,2,3', '12345') -> 'DREI-VIER-'
--   Example: fn_MaskString('w3', '123') -> 'EINS'
--   Example: fn_MaskString('N010.2', '-12,5') -> '-000012.50'
--   Example: fn_MaskString('F10.2', '2.345') -> '      2.35'
--   Example: fn_MaskString('O11,EUR', '12.34') -> '00000001234EUR'
--   Example: fn_MaskString('D10', '1.2.23') -> '01.02.2023'
--   Example: fn_MaskString('D16', '1.2.2023 12:30') -> '01.02.2023 12:30'
--   Example: fn_MaskString('T5', '9') -> '09:00'
--   Example: fn_MaskString('Z-31', '15.1.2023') -> '28.02.2023'
--   Example: fn_MaskString('X12', 'abc') -> 'abc'
--   Example: fn_MaskString('', 'abc') -> 'abc'
--   Example: fn_MaskString(NULL, 'abc') -> 'abc'
--   Example: fn_MaskString('S3', NULL) -> '   '
DECLARE EXTERNAL FUNCTION fn_MaskString
  CSTRING(255) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(32765) FREE_IT
  ENTRY_POINT 'fn_MaskString' MODULE_NAME 'qor_udf3.dll';

-- fn_MaskDouble(mask, value)
--   The number rendered by a mask of fn_MaskString, applied to the number's general text (up to 15 significant digits, '.' as decimal point). A NULL mask gives that text; a NULL number counts as 0.
--   Example: fn_MaskDouble('R0.00;(0.00);''nil''', -2.5) -> '(2.50)'
--   Example: fn_MaskDouble('R0.00E+00', 1234.5) -> '1.23E+03'
--   Example: fn_MaskDouble('s8', 12.5) -> '    12.5'
--   Example: fn_MaskDouble('N010.2', 12.5) -> '0000012.50'
--   Example: fn_MaskDouble('N10.2', 1.00499) -> '1.01'
--   Example: fn_MaskDouble('F10.2', 0) -> ''
--   Example: fn_MaskDouble('O11', 12.34) -> '00000001234'
--   Example: fn_MaskDouble('', 12.5) -> '12.5'
--   Example: fn_MaskDouble(NULL, -3) -> '-3'
--   Example: fn_MaskDouble('R0.0', NULL) -> '0.0'
DECLARE EXTERNAL FUNCTION fn_MaskDouble
  CSTRING(255) NULL, DOUBLE PRECISION NULL
  RETURNS CSTRING(32765) FREE_IT
  ENTRY_POINT 'fn_MaskDouble' MODULE_NAME 'qor_udf3.dll';

-- fn_MaskDate(mask, value)
--   The timestamp rendered by a mask of fn_MaskString; the text the masks other than D, T and Z work on is the date as DD.MM.YYYY, or the time as HH:MM:SS when the day is 30.12.1899. The timestamp 30.12.1899 00:00 is no date: D and T give the empty text. A NULL timestamp counts as 30.12.1899 00:00.
--   Example: fn_MaskDate('D10', TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023'
--   Example: fn_MaskDate('D19', TIMESTAMP '2023-02-01 12:30:45') -> '01.02.2023 12:30:45'
--   Example: fn_MaskDate('T5', TIMESTAMP '2023-02-01 12:30:00') -> '12:30'
--   Example: fn_MaskDate('Z-15', TIMESTAMP '2023-02-01 12:30:00') -> '15.03.2023'
--   Example: fn_MaskDate('Z14', TIMESTAMP '2023-02-01 00:00:00') -> '15.02.2023'
--   Example: fn_MaskDate('D10', TIMESTAMP '1899-12-30 00:00:00') -> ''
--   Example: fn_MaskDate('S12', TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023  '
--   Example: fn_MaskDate('', TIMESTAMP '1899-12-30 12:30:00') -> '12:30:00'
--   Example: fn_MaskDate('', TIMESTAMP '1899-12-29 06:00:00') -> '29.12.1899'
--   Example: fn_MaskDate(NULL, TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023'
--   Example: fn_MaskDate('C2', NULL) -> '30'
--   Example: fn_MaskDate('T5', NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_MaskDate
  CSTRING(255) NULL, TIMESTAMP NULL
  RETURNS CSTRING(32765) FREE_IT
  ENTRY_POINT 'fn_MaskDate' MODULE_NAME 'qor_udf3.dll';

-- ## Masks: date-time patterns

-- fn_FormatDate(pattern, date)
--   The date text, read day first ('1.2.2023', '1.2.23 12:30'), written by a date-time pattern; a text that is no date writes 30.12.1899 00:00. Tokens, in either case: d dd day, ddd dddd English day name (Wed, Wednesday), ddddd the short date d/m/y, dddddd the long date dd mmmm yyyy; m mm month, or minute right after an hour token (a ':' between allowed); mmm mmmm English month name; yy yyyy year; h hh hour; n nn minute; s ss second; z zzz milliseconds; t hh:nn; tt hh:nn:ss; c short date and long time; am/pm and a/p the 12-hour clock with the marker in the pattern's letter case, ampm with AM or PM; / writes '-', : writes ':'; text in single or double quotes is copied (an unbalanced quote copies the rest); other characters stand as written. A NULL pattern gives the empty text, a NULL date 30.12.1899.
--   Example: fn_FormatDate('yyyy-mm-dd', '1.2.2023') -> '2023-02-01'
--   Example: fn_FormatDate('dd.mm.yyyy hh:nn', '1.2.2023 12:30') -> '01.02.2023 12:30'
--   Example: fn_FormatDate('dddd, d. mmmm yy', '1.2.2023') -> 'Wednesday, 1. February 23'
--   Example: fn_FormatDate('h:mm am/pm', '1.2.2023 0:05') -> '12:05 am'
--   Example: fn_FormatDate('hh:nn A/P', '1.2.2023 13:05') -> '01:05 P'
--   Example: fn_FormatDate('c', '1.2.2023 12:30') -> '1-2-23 12:30:00'
--   Example: fn_FormatDate('d/m "at" t', '1.2.2023 12:30') -> '1-2 at 12:30'
--   Example: fn_FormatDate('dd.mm.yyyy', 'abc') -> '30.12.1899'
--   Example: fn_FormatDate(NULL, '1.2.2023') -> ''
--   Example: fn_FormatDate('dd.mm.yyyy', NULL) -> '30.12.1899'
DECLARE EXTERNAL FUNCTION fn_FormatDate
  CSTRING(255) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(4335) FREE_IT
  ENTRY_POINT 'fn_FormatDate' MODULE_NAME 'qor_udf3.dll';
-- [end of section mask]

-- [section files: its declarations go between these two lines]
-- ## Files, directories and database paths

-- fn_Filepath(location)
--   The server path of a database location with a leading status character: '5' the file or directory exists (also when only the letter case of a file name with a point differs; the name as stored on disk is given), '6' only its directory exists, '0' neither, '1' and '2' as '5' and '6' for a location through a Samba share (host:share\dir\file or \\host\share\dir\file), '8' followed by a message when the location cannot be resolved. Forms: host:/path, host:alias (from aliases.conf in the server's working directory), host:share\... and \\host\share\... (from the server's smb.conf), host:C:\... (kept). Never longer than 250 characters. Path arguments of this section are declared CSTRING(32767), so that the longest text a column can hold (32765 characters) fits. NULL counts as the empty text.
--   Logs: an `aliases.conf` in the server's working directory that exists but cannot be read is written to the error log `qor_udf3.err` as `fn_Filepath: Cannot read ./aliases.conf: <reason>`, and the call returns the empty text. An alias file that is no regular file, belongs to another user than the server's or root, or that anyone may write is ignored, and the error log says so once per server process: `Alias file <path> ignored: <why>`. A missing file or directory, an unknown share and a missing smb.conf are answers ('0', '6', '8...'), not log records. Should the resolution fail part-way (out of memory), the trace log in `/tmp/QOR_UDF/` gets `GetAbsolutePfad EXCEPT: <answer so far>` (the error log when the trace log cannot be written) and that answer is returned.
--   Example: fn_Filepath('dbhost:/') -> '5/'
--   Example: fn_Filepath('dbhost:/qor_no_such_file.fdb') -> '6/qor_no_such_file.fdb'
--   Example: fn_Filepath('dbhost:/qor_no_such_dir/x.fdb') -> '0/qor_no_such_dir/x.fdb'
--   Example: fn_Filepath('dbhost:C:\daten\x.fdb') -> '0C:\\daten\\x.fdb'
--   Example: fn_Filepath('firma.fdb') -> '8Ungueltige Pfadangabe'
--   Example: fn_Filepath('dbhost:firma.fdb') -> '8Keine Pfadangabe vorhanden!'
--   Example: fn_Filepath('\\dbhost\daten') -> '8Keine Pfadangabe vorhanden!'
--   Example: fn_Filepath(NULL) -> '8Ungueltige Pfadangabe'
DECLARE EXTERNAL FUNCTION fn_Filepath
  CSTRING(32767) NULL
  RETURNS CSTRING(256) FREE_IT
  ENTRY_POINT 'fn_Filepath' MODULE_NAME 'qor_udf3.dll';

-- fn_FileExists(location)
--   1 when the file or directory of a database location (any form of fn_Filepath) exists, else 0. NULL gives 0.
--   Logs: the location is resolved as by fn_Filepath (see there); an `aliases.conf` in the server's working directory that exists but cannot be read is written to the error log `qor_udf3.err` as `fn_FileExists: Cannot read ./aliases.conf: <reason>`, and the call returns 0. A location that does not exist logs nothing.
--   Example: fn_FileExists('dbhost:/') -> 1
--   Example: fn_FileExists('dbhost:/qor_no_such_file.fdb') -> 0
--   Example: fn_FileExists('firma.fdb') -> 0
--   Example: fn_FileExists(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileExists
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileExists' MODULE_NAME 'qor_udf3.dll';

-- fn_DirectoryExists(location)
--   1 when the database location does not exist but its directory does (status '6' or '2' of fn_Filepath), else 0. NULL gives 0.
--   Logs: the location is resolved as by fn_Filepath (see there); an `aliases.conf` in the server's working directory that exists but cannot be read is written to the error log `qor_udf3.err` as `fn_DirectoryExists: Cannot read ./aliases.conf: <reason>`, and the call returns 0. A location that does not exist logs nothing.
--   Example: fn_DirectoryExists('dbhost:/qor_no_such_file.fdb') -> 1
--   Example: fn_DirectoryExists('dbhost:/') -> 0
--   Example: fn_DirectoryExists('dbhost:/qor_no_such_dir/x.fdb') -> 0
--   Example: fn_DirectoryExists(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DirectoryExists
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DirectoryExists' MODULE_NAME 'qor_udf3.dll';

-- fn_CreateDir(location)
--   1 when the directory of a database location exists or was created, with every missing parent (mode 0777 less the server's umask), else 0. Only a location whose own directory is missing creates anything: host:/data/neu/ creates /data/neu, host:/data/neu with an existing /data creates nothing and gives 1. Relative paths (drive paths, shares that are not configured) are never created. NULL gives 0.
--   Logs: the location is resolved as by fn_Filepath (see there); an `aliases.conf` in the server's working directory that exists but cannot be read is written to the error log `qor_udf3.err` as `fn_CreateDir: Cannot read ./aliases.conf: <reason>`, and the call returns 0. A location that does not exist, or a directory that cannot be made, logs nothing.
--   Example: fn_CreateDir('dbhost:/') -> 1
--   Example: fn_CreateDir('dbhost:C:\daten\neu\') -> 0
--   Example: fn_CreateDir('firma') -> 0
--   Example: fn_CreateDir(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_CreateDir
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_CreateDir' MODULE_NAME 'qor_udf3.dll';

-- fn_FileGetAttr(location)
--   Always 0 (no attribute is defined); the location is resolved as by fn_Filepath. NULL gives 0 as well.
--   Logs: the location is resolved as by fn_Filepath (see there); an `aliases.conf` in the server's working directory that exists but cannot be read is written to the error log `qor_udf3.err` as `fn_FileGetAttr: Cannot read ./aliases.conf: <reason>`, and the call returns 0. A location that does not exist logs nothing.
--   Example: fn_FileGetAttr('dbhost:/') -> 0
--   Example: fn_FileGetAttr(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileGetAttr
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileGetAttr' MODULE_NAME 'qor_udf3.dll';

-- fn_FileSetRight(path)
--   Gives read and write rights to everybody on the server path (chmod guo+rw, run without a shell; the whole text is one file name, no shell character acts) and waits for it. Always 0. NULL or an empty path changes nothing.
--   Logs: a chmod that cannot be started is written to the error log `qor_udf3.err` as `fn_FileSetRight: Cannot start chmod: <reason>`, a chmod still running after 5 seconds is stopped and logged as `fn_FileSetRight: chmod did not end within 5000 ms and was stopped`; a chmod that runs but fails (no such file, not permitted) logs nothing.
--   Example: fn_FileSetRight('/qor_no_such_file.fdb') -> 0
--   Example: fn_FileSetRight(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileSetRight
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileSetRight' MODULE_NAME 'qor_udf3.dll';

-- fn_DropDatabase(path)
--   Deletes the file at the server path when its name ends in .fdb, .gdb, .fbk or .gbk (any case) and gives 1 when it was deleted, else 0. The path is used as it stands (no alias or share). NULL gives 0.
--   Logs: a file that is not a database or backup file, or that cannot be deleted, is the answer 0 and logs nothing; only an error caught inside the function (out of memory) is written to the error log `qor_udf3.err` as `fn_DropDatabase: <message>`.
--   Example: fn_DropDatabase('/qor_no_such_dir/x.fdb') -> 0
--   Example: fn_DropDatabase('/qor_no_such_dir/x.txt') -> 0
--   Example: fn_DropDatabase(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DropDatabase
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DropDatabase' MODULE_NAME 'qor_udf3.dll';

-- fn_RenameDatabase(old_path, new_path)
--   Renames a database or backup file (both names ending in .fdb, .gdb, .fbk or .gbk, any case; an existing file of the new name is replaced; both on one file system) and gives 1 when it now bears the new name, else 0. The paths are used as they stand. NULL gives 0.
--   Logs: a file that is not a database or backup file, or that cannot be renamed, is the answer 0 and logs nothing; only an error caught inside the function (out of memory) is written to the error log `qor_udf3.err` as `fn_RenameDatabase: <message>`.
--   Example: fn_RenameDatabase('/qor_no_such_dir/a.fdb', '/qor_no_such_dir/b.fdb') -> 0
--   Example: fn_RenameDatabase('/qor_no_such_dir/a.fdb', '/qor_no_such_dir/b.txt') -> 0
--   Example: fn_RenameDatabase(NULL, NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_RenameDatabase
  CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_RenameDatabase' MODULE_NAME 'qor_udf3.dll';

-- fn_DiskFree(location)
--   The space available, in MiB with fractions, on the file system that holds a database location (any form of fn_Filepath), as the df program reports it; an unusable location (status '8') measures the root file system, and so does NULL. 0 when df names no file system beginning with '/' (tmpfs, overlay) or reports nothing.
--   Logs: an `aliases.conf` in the server's working directory that exists but cannot be read, or a df that cannot be started, is written to the error log `qor_udf3.err` as `fn_DiskFree: Cannot read ./aliases.conf: <reason>` or `fn_DiskFree: Cannot start df: <reason>`, and the call returns 0. So do a path that is neither a directory nor a regular file (a device, a pipe: df is not run on it), logged as `fn_DiskFree: Cannot measure <path>: no directory or regular file`, and a df still running after 5 seconds, which is stopped and logged as `fn_DiskFree: df did not end within 5000 ms and was stopped`. An alias file that is no regular file, belongs to another user than the server's or root, or that anyone may write is ignored, and the error log says so once per server process: `Alias file <path> ignored: <why>`.
--   Example: IIF(fn_DiskFree(NULL) BETWEEN 0 AND fn_DiskSize(NULL), 1, 0) -> 1
--   Example: fn_DiskFree('dbhost:/qor_no_such_dir/x.fdb') -> 0
DECLARE EXTERNAL FUNCTION fn_DiskFree
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_DiskFree' MODULE_NAME 'qor_udf3.dll';

-- fn_DiskSize(location)
--   The size, in MiB with fractions, of the file system that holds a database location, as fn_DiskFree measures it. NULL measures the root file system.
--   Logs: an `aliases.conf` in the server's working directory that exists but cannot be read, or a df that cannot be started, is written to the error log `qor_udf3.err` as `fn_DiskSize: Cannot read ./aliases.conf: <reason>` or `fn_DiskSize: Cannot start df: <reason>`, and the call returns 0. So do a path that is neither a directory nor a regular file (a device, a pipe: df is not run on it), logged as `fn_DiskSize: Cannot measure <path>: no directory or regular file`, and a df still running after 5 seconds, which is stopped and logged as `fn_DiskSize: df did not end within 5000 ms and was stopped`. An alias file that is no regular file, belongs to another user than the server's or root, or that anyone may write is ignored, and the error log says so once per server process: `Alias file <path> ignored: <why>`.
--   Example: IIF(fn_DiskSize('dbhost:/') = fn_DiskSize(NULL), 1, 0) -> 1
--   Example: fn_DiskSize('dbhost:/qor_no_such_dir/x.fdb') -> 0
DECLARE EXTERNAL FUNCTION fn_DiskSize
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_DiskSize' MODULE_NAME 'qor_udf3.dll';

-- fn_UNCpath(path)
--   The network path \\host\share\... of a server path (/srv/daten/x.fdb), a drive path (C:\daten\x.fdb) or an alias of /opt/firebird/aliases.conf, through the most specific share of the server's smb.conf that contains it and the server's host name (from the hostname program). A path already in the network form is returned as it stands. Empty when no share contains the path, for the host:path form, for NULL, and when the network path would be longer than 32765 characters.
--   Logs: an `/opt/firebird/aliases.conf` that exists but cannot be read, or a hostname program that cannot be started, is written to the error log `qor_udf3.err` as `fn_UNCpath: Cannot read /opt/firebird/aliases.conf: <reason>` or `fn_UNCpath: Cannot start hostname: <reason>`, and the call returns the empty text; so does a hostname still running after 5 seconds, which is stopped and logged as `fn_UNCpath: hostname did not end within 5000 ms and was stopped`. An alias file that is no regular file, belongs to another user than the server's or root, or that anyone may write is ignored, and the error log says so once per server process: `Alias file <path> ignored: <why>`. For a server or drive path when none of the smb.conf files is readable, the trace log in `/tmp/QOR_UDF/` gets the line `smb.conf nicht gefunden` (the error log when the trace log cannot be written).
--   Example: fn_UNCpath('\\dbhost\daten\x.fdb') -> '\\\\dbhost\\daten\\x.fdb'
--   Example: fn_UNCpath('dbhost:/srv/daten/x.fdb') -> ''
--   Example: fn_UNCpath(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_UNCpath
  CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_UNCpath' MODULE_NAME 'qor_udf3.dll';
-- [end of section files]

-- ## Accounting: debit and credit amounts

-- fn_SHSoll(side, amount)
--   The amount when the side flag is exactly 'S' (Soll, debit), else 0. A NULL side gives 0; a NULL amount counts as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_SHSoll('S', 100.5) -> 100.5
--   Example: fn_SHSoll('H', 100.5) -> 0
--   Example: fn_SHSoll('s', 100.5) -> 0
--   Example: fn_SHSoll(NULL, 100.5) -> 0
DECLARE EXTERNAL FUNCTION fn_SHSoll
  CSTRING(16) NULL, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHSoll' MODULE_NAME 'qor_udf3.dll';

-- fn_SHHaben(side, amount)
--   The amount when the side flag is exactly 'H' (Haben, credit), else 0. A NULL side gives 0; a NULL amount counts as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_SHHaben('H', 100.5) -> 100.5
--   Example: fn_SHHaben('S', 100.5) -> 0
--   Example: fn_SHHaben('H ', 100.5) -> 0
--   Example: fn_SHHaben(NULL, 100.5) -> 0
DECLARE EXTERNAL FUNCTION fn_SHHaben
  CSTRING(16) NULL, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHHaben' MODULE_NAME 'qor_udf3.dll';

-- fn_SHBetrag(side, amount)
--   The signed amount: negated when the side flag is exactly 'H', else unchanged. A NULL side leaves the amount unchanged; a NULL amount counts as 0.
--   Logs: nothing: the function cannot fail.
--   Example: fn_SHBetrag('H', 100.5) -> -100.5
--   Example: fn_SHBetrag('S', 100.5) -> 100.5
--   Example: fn_SHBetrag('H', -3) -> 3
--   Example: fn_SHBetrag('H', 0) -> -0
--   Example: fn_SHBetrag(NULL, 7) -> 7
DECLARE EXTERNAL FUNCTION fn_SHBetrag
  CSTRING(16) NULL, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHBetrag' MODULE_NAME 'qor_udf3.dll';

-- fn_SHBetragExt(side, amount, positive, negative)
--   The amount when the first character of the side flag is one of the positive characters, else the negated amount when it is one of the negative characters, else 0 (case-sensitive; positive wins). A NULL side gives 0; a NULL amount counts as 0, NULL character lists as empty.
--   Logs: nothing: the function cannot fail.
--   Example: fn_SHBetragExt('Soll', 100.5, 'SD', 'HC') -> 100.5
--   Example: fn_SHBetragExt('C', 100.5, 'SD', 'HC') -> -100.5
--   Example: fn_SHBetragExt('h', 100.5, 'SD', 'HC') -> 0
--   Example: fn_SHBetragExt('S', 100.5, 'S', 'S') -> 100.5
--   Example: fn_SHBetragExt(NULL, 100.5, NULL, NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_SHBetragExt
  CSTRING(32) NULL, DOUBLE PRECISION, CSTRING(64) NULL, CSTRING(64) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHBetragExt' MODULE_NAME 'qor_udf3.dll';

-- ## Accounting: account ranges

-- fn_Kontenbereich(account, ranges, decimals)
--   '1' when the account number belongs to the range list, else '0'. Items, separated by commas or blanks: accounts (4711), patterns with X for any one character (47XX), from-to ranges (4700-4799 admits 4700.00 to 4799.99) and exclusions marked with '!' (!4711). An exclusion that hits gives '0' wherever it stands; otherwise an inclusion must hit. An item without a decimal point covers all decimals of its account, one with a point (4711.05) only those. A range with an X admits only the accounts matching one of its ends (4700-48XX admits 4700 and 48XX, not 4750). The optional decimals list narrows the two digits after the point with two-character patterns (05, 0X), ranges (01-09) and exclusions (!50-59); an empty or NULL list admits all. A NULL account belongs to no range.
--   Example: fn_Kontenbereich(4712, '4700-4799,!4711', NULL) -> '1'
--   Example: fn_Kontenbereich(4711, '4700-4799,!4711', NULL) -> '0'
--   Example: fn_Kontenbereich(4711, '!4711, 4700-4799', '') -> '0'
--   Example: fn_Kontenbereich(4799.99, '4700-4799', NULL) -> '1'
--   Example: fn_Kontenbereich(4800, '4700-4799', NULL) -> '0'
--   Example: fn_Kontenbereich(4711.05, '47xx', NULL) -> '1'
--   Example: fn_Kontenbereich(47110, '47xx', NULL) -> '0'
--   Example: fn_Kontenbereich(4750, '4700-48XX', NULL) -> '0'
--   Example: fn_Kontenbereich(4711, '4711.05', NULL) -> '0'
--   Example: fn_Kontenbereich(4711.05, '4711.05', NULL) -> '1'
--   Example: fn_Kontenbereich(4712, '4711 4712', NULL) -> '1'
--   Example: fn_Kontenbereich(4711.05, '4711', '05') -> '1'
--   Example: fn_Kontenbereich(4711.05, '4711', '06') -> '0'
--   Example: fn_Kontenbereich(4711.05, '4711', '!05') -> '0'
--   Example: fn_Kontenbereich(4711.05, '4711', '01-09') -> '1'
--   Example: fn_Kontenbereich(4711.55, '4711', '5X, !50-59') -> '0'
--   Example: fn_Kontenbereich(4711.005, '4711.01', NULL) -> '1'
--   Example: fn_Kontenbereich(4711.6, '4711', '0X-6X, !50-59') -> '1'
--   Example: fn_Kontenbereich(4711, NULL, NULL) -> '0'
--   Example: fn_Kontenbereich(NULL, '0-999', NULL) -> '0'
--   Example: fn_Kontenbereich(0, '0-999', NULL) -> '1'
--   Example: fn_Kontenbereich(4711, '!4711', NULL) -> '0'
DECLARE EXTERNAL FUNCTION fn_Kontenbereich
  DOUBLE PRECISION NULL, CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(1) FREE_IT
  ENTRY_POINT 'fn_Kontenbereich' MODULE_NAME 'qor_udf3.dll';

-- ## Accounting: cost-centre allocation texts

-- fn_KstToAufteilung(kst, fallback_koart, koart, betrag, ktr)
--   The allocation (Aufteilung) text of an amount that goes wholly to one cost centre (KSTNR) or cost unit (KTRNR): the field line and one share line of 100 percent, each ended by LF. Values holding blanks, commas or quotes are quoted, inner quotes doubled; a CR or LF in the cost unit is written as a blank, so that the share line stays one line. The cost type (KOART) falls back to fallback_koart when below 1; the result is empty when there is still no cost type of at least 1, or neither a cost centre of at least 1 nor a non-blank cost unit. NULL numbers count as 0 and a NULL cost unit as empty.
--   Example: fn_KstToAufteilung(4711, 0, 400, 123.45, 'A 1') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=4711,"A 1",,400,,100,123.45\n'
--   Example: fn_KstToAufteilung(4711, 0, 400, 1, 'A' || ASCII_CHAR(10) || 'B') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=4711,"A B",,400,,100,1\n'
--   Example: fn_KstToAufteilung(4711, 400, 0, -5, NULL) -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=4711,,,400,,100,-5\n'
--   Example: fn_KstToAufteilung(0, 0, 400, 99.9, 'K1') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=0,K1,,400,,100,99.9\n'
--   Example: fn_KstToAufteilung(4711, 0, 0, 99.9, NULL) -> ''
--   Example: fn_KstToAufteilung(0, 0, 400, 99.9, '  ') -> ''
--   Example: fn_KstToAufteilung(NULL, NULL, NULL, NULL, NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_KstToAufteilung
  DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, CSTRING(80) NULL
  RETURNS CSTRING(400) FREE_IT
  ENTRY_POINT 'fn_KstToAufteilung' MODULE_NAME 'qor_udf3.dll';

-- fn_KstToAufteilung2(kst, fallback_koart, koart, betrag, menge, ktr)
--   As fn_KstToAufteilung, with the quantity (MENGE), CR LF line ends, and every value that is not made only of the letters A-Z, a-z and the digits 0-9 in double quotes (inner quotes doubled). NULL numbers count as 0 and a NULL cost unit as empty.
--   Example: fn_KstToAufteilung2(4711, 0, 400, 123.45, 2, 'A 1') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\r\n1=4711,"A 1",,400,2,100,"123.45"\r\n'
--   Example: fn_KstToAufteilung2(4711, 0, 400, -5, 1, NULL) -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\r\n1=4711,,,400,1,100,"-5"\r\n'
--   Example: fn_KstToAufteilung2(4711, 0, 400, 5, 1, 'A"B') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\r\n1=4711,"A""B",,400,1,100,5\r\n'
--   Example: fn_KstToAufteilung2(4711, 0.7, 0.5, 5, 1, NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_KstToAufteilung2
  DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION,
  CSTRING(80) NULL
  RETURNS CSTRING(400) FREE_IT
  ENTRY_POINT 'fn_KstToAufteilung2' MODULE_NAME 'qor_udf3.dll';

-- [section distribution: its declarations go between these two lines]

-- ## Accounting: distribution of amounts and quantity reversal

-- fn_KstBetragVerteilen(aufteilung, amount)
--   The allocation (Aufteilung) text with a new amount spread over its share lines (every line after the first except the field line FELDER=..., which is never rewritten wherever it stands) by their PROZENT values: each BETRAG becomes its share rounded to cents as fn_Runden does, and the last share line takes whatever the others leave, whatever its own percentage, rounded to the decimal places of the amount (at least cents), so that the shares written as text add up to the amount. Rewritten lines are keyed 1, 2, ... by their position and every line ends in LF. The text comes back byte for byte unchanged when its BETRAG values already add up to the amount (closer than 0.001), when the field line lacks BETRAG or PROZENT, and when the amount is NULL. A share line without a PROZENT or BETRAG item (an empty line, say) logs 'List index (n) out of bounds', and a rewrite longer than 32765 bytes logs as well: the text then comes back unchanged. A NULL text gives ''.
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(10) || '1=4711,50,40' || ASCII_CHAR(10) || '2=4712,30,30' || ASCII_CHAR(10) || '9=4713,30,20' || ASCII_CHAR(10), 10) -> 'FELDER=KSTNR,PROZENT,BETRAG\n1=4711,50,5\n2=4712,30,3\n3=4713,30,2\n'
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,33.3333,30' || ASCII_CHAR(13) || ASCII_CHAR(10) || '2=4712,33.3333,30' || ASCII_CHAR(13) || ASCII_CHAR(10) || '3=4713,33.3333,30', 100) -> 'FELDER=KSTNR,PROZENT,BETRAG\n1=4711,33.3333,33.33\n2=4712,33.3333,33.33\n3=4713,33.3333,33.34\n'
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '1=4711,"A 1",,400,2,100,"123.45"' || ASCII_CHAR(13) || ASCII_CHAR(10), 99.9) -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=4711,"A 1",,400,2,100,99.9\n'
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '5=4711,60,60' || ASCII_CHAR(13) || ASCII_CHAR(10) || '9=4712,40,40' || ASCII_CHAR(13) || ASCII_CHAR(10), 100.0005) -> 'FELDER=KSTNR,PROZENT,BETRAG\r\n5=4711,60,60\r\n9=4712,40,40\r\n'
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,BETRAG' || ASCII_CHAR(10) || '1=4711,60', 100) -> 'FELDER=KSTNR,BETRAG\n1=4711,60'
--   Example: fn_KstBetragVerteilen('FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(10) || '1=4711,100,60', NULL) -> 'FELDER=KSTNR,PROZENT,BETRAG\n1=4711,100,60'
--   Example: fn_KstBetragVerteilen(NULL, 100) -> ''
DECLARE EXTERNAL FUNCTION fn_KstBetragVerteilen
  CSTRING(32767) NULL, DOUBLE PRECISION NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_KstBetragVerteilen' MODULE_NAME 'qor_udf3.dll';

-- fn_KstMengenStorno(aufteilung)
--   The allocation (Aufteilung) text with the MENGE (quantity) of every share line (every line after the first except the field line FELDER=..., which is never rewritten) negated; keys and all other values stay, a line without a MENGE item stays as it was, an empty MENGE becomes 0, and every line ends in LF (also when there is no MENGE field). A result longer than 32765 bytes is logged and the text comes back unchanged. A NULL text gives ''.
--   Example: fn_KstMengenStorno('FELDER=KSTNR,MENGE,BETRAG' || ASCII_CHAR(13) || ASCII_CHAR(10) || '5=4711,2,10' || ASCII_CHAR(13) || ASCII_CHAR(10) || '9=4712,-1.5,"5.5"' || ASCII_CHAR(13) || ASCII_CHAR(10) || '3=4713' || ASCII_CHAR(13) || ASCII_CHAR(10)) -> 'FELDER=KSTNR,MENGE,BETRAG\n5=4711,-2,10\n9=4712,1.5,5.5\n3=4713\n'
--   Example: fn_KstMengenStorno('FELDER=KSTNR,MENGE' || ASCII_CHAR(10) || '1=4711,') -> 'FELDER=KSTNR,MENGE\n1=4711,0\n'
--   Example: fn_KstMengenStorno('FELDER=KSTNR,BETRAG' || ASCII_CHAR(13) || '1=4711,5') -> 'FELDER=KSTNR,BETRAG\n1=4711,5\n'
--   Example: fn_KstMengenStorno(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_KstMengenStorno
  CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_KstMengenStorno' MODULE_NAME 'qor_udf3.dll';

-- [end of section distribution]

-- [section booking: its declarations go between these two lines]

-- ## Accounting: booking sums and due dates

-- fn_Buchungssumme(side, amount, condition, first, second)
--   The signed amount of a booking line: negated when the side flag is exactly 'H'; when the condition value is 0 the two addends are added with their own signs. NULL reads as the empty flag or 0. A sum beyond the double range gives 0 and is logged.
--   Logs: a sum beyond the double range as `fn_Buchungssumme: Floating point overflow`.
--   Example: fn_Buchungssumme('H', 100, 0, 19, 1) -> -80
--   Example: fn_Buchungssumme('S', 100, 0, 19, 1) -> 120
--   Example: fn_Buchungssumme('H', 100, 1, 19, 1) -> -100
--   Example: fn_Buchungssumme('h', 100, 1, 19, 1) -> 100
--   Example: fn_Buchungssumme(NULL, 100, NULL, 19, 1) -> 120
DECLARE EXTERNAL FUNCTION fn_Buchungssumme
  CSTRING(16) NULL, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Buchungssumme' MODULE_NAME 'qor_udf3.dll';

-- fn_Ablauf_Tag(start, days, mode, mode1_days, mode1_months)
--   The due date (00:00) of a start date. Mode 1: the start plus mode1_days days, then plus mode1_months months, where a day beyond the month's end moves to the first of the next month (31.1. plus one month is 1.3.); days is not used. Any other mode: with days below 0 the fixed day -days of the following month, a 29th to 31st that the month lacks becoming its last day and a day above 31 counted on from the first of that month; otherwise the start plus days. A NULL start date gives NULL; other NULLs read as 0. A due date outside the years 1 to 9999 is logged and gives 30.12.1899 00:00.
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-15', 30, 0, 0, 0) AS VARCHAR(30)) -> '2024-02-14 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-31', -15, 0, 0, 0) AS VARCHAR(30)) -> '2024-02-15 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-12-03', -15, 0, 0, 0) AS VARCHAR(30)) -> '2025-01-15 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-10', -31, 0, 0, 0) AS VARCHAR(30)) -> '2024-02-29 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-10', -45, 0, 0, 0) AS VARCHAR(30)) -> '2024-03-16 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-31', 0, 1, 0, 1) AS VARCHAR(30)) -> '2024-03-01 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-29', 0, 1, 0, 1) AS VARCHAR(30)) -> '2024-02-29 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-15', 99, 1, 10, 0) AS VARCHAR(30)) -> '2024-01-25 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-05-10', 0, 1, 0, 14) AS VARCHAR(30)) -> '2025-07-10 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(CAST('2024-01-15 18:30' AS TIMESTAMP), 1, 0, 0, 0) AS VARCHAR(30)) -> '2024-01-16 00:00:00.0000'
--   Example: CAST(fn_Ablauf_Tag(DATE '2024-01-15', NULL, NULL, NULL, NULL) AS VARCHAR(30)) -> '2024-01-15 00:00:00.0000'
--   Example: fn_Ablauf_Tag(NULL, 30, 0, 0, 0) -> NULL
DECLARE EXTERNAL FUNCTION fn_Ablauf_Tag
  DATE NULL, INTEGER, INTEGER, INTEGER, INTEGER
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_Ablauf_Tag' MODULE_NAME 'qor_udf3.dll';

-- [end of section booking]

COMMIT;
