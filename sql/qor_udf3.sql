-- Declarations of the qor_udf3 functions.
--
-- Apply to a database with
--   isql-fb -user SYSDBA -i qor_udf3.sql <database>
-- The server must find libqor_udf3.dll.so in a directory named by the
-- UdfAccess setting of its firebird.conf.
--
-- Each function is documented right above its declaration: the README's
-- function table is made from these comments, and the tests run every
-- example through the engine.

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
-- ## Text functions

-- fn_CompareText(a, b)
--   Compares two texts with only a-z folded to A-Z: 0 when equal, else the difference of the byte values (0 to 255) at the first difference, or of the lengths when one text begins the other. NULL counts as the empty text.
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
--   The same function as fn_SubStrEx under its older name (its errors are logged as fn_SubStrEx).
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
--   The same substring as fn_SubStrEx; stores the 0-based start and the final count back into its arguments. Its error-log records end in " Count=" and the count.
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
--   Example: fn_Pos('cd', 'abcdcd') -> 3
--   Example: fn_Pos('CD', 'abcd') -> 0
--   Example: fn_Pos('', 'abc') -> 0
--   Example: fn_Pos(NULL, 'abc') -> 0
DECLARE EXTERNAL FUNCTION fn_Pos
  CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_Pos' MODULE_NAME 'qor_udf3.dll';

-- fn_ReplaceStr(search, replacement, text)
--   The text with every occurrence of search replaced, scanned from left to right without overlap (case-sensitive). An empty or NULL search leaves the text unchanged; NULL replacement or text count as empty. The result has no cap of its own, but the declared result holds 32767 bytes: a longer result fails the statement (string right truncation) rather than being cut.
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
--   As fn_ReplaceStr, but only the first occurrence is replaced unless all is 1, and the search ignores letter case (ISO-8859-1 upper case table) when ignore_case is 1; any other value, NULL included, means off. The parts not replaced keep their letter case. The same 32767-byte limit of the declared result applies.
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
-- ## Delimited list functions

-- fn_GetCommaPos(text, n)
--   Item n (counted from 0) of a comma list; the empty text for a negative n, an n beyond the last item or a NULL text. Blanks belong to the items; an item that starts with a double quote runs to the closing quote ("" inside stands for one quote).
--   Example: fn_GetCommaPos('a,b,c', 0) -> 'a'
--   Example: fn_GetCommaPos('a,b,c', 2) -> 'c'
--   Example: fn_GetCommaPos('a,b,c', 3) -> ''
--   Example: fn_GetCommaPos('a,b,c', -1) -> ''
--   Example: fn_GetCommaPos('a,,c', 1) -> ''
--   Example: fn_GetCommaPos('a, b', 1) -> ' b'
--   Example: fn_GetCommaPos('"x,y",z', 0) -> 'x,y'
--   Example: fn_GetCommaPos('"x,y",z', 1) -> 'z'
--   Example: fn_GetCommaPos(NULL, 0) -> ''
DECLARE EXTERNAL FUNCTION fn_GetCommaPos
  CSTRING(32767) NULL, SMALLINT
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_GetCommaPos' MODULE_NAME 'qor_udf3.dll';

-- fn_GetPos(text, n, separator)
--   As fn_GetCommaPos, split at the first character of the separator, or at ',' when the separator is empty or NULL.
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
--   As fn_GetPos, with the item cut to the first maximum characters; a maximum of 0 gives the whole item. The maximum is clamped into 0 to 32759 and stored back into its argument.
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
--   The value of the first name=value item of a comma list whose name equals the given name, letter case ignored; the empty text when there is none. Blanks around items are skipped and end an unquoted item; a double-quoted item may hold commas and blanks.
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
-- ## Soundex code

-- fn_Soundex(name)
--   A phonetic code of five characters: the first character of the name (a-z upper-cased), then four digits for the following letters (1 BFPV, 2 CGJKQSXZ, 3 DT, 4 L, 5 MN, 6 R), padded with 0. Vowels, H, W, Y and all other characters add nothing; a digit equal to the one written last is skipped, even with vowels between. NULL for a name of fewer than two characters.
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
-- [end of section numeric]

-- [section blob: its declarations go between these two lines]
-- [end of section blob]

-- [section datetime: its declarations go between these two lines]
-- [end of section datetime]

-- [section mask: its declarations go between these two lines]
-- [end of section mask]

-- [section files: its declarations go between these two lines]
-- [end of section files]

-- ## Accounting: debit and credit amounts

-- fn_SHSoll(side, amount)
--   The amount when the side flag is exactly 'S' (Soll, debit), else 0.
--   Example: fn_SHSoll('S', 100.5) -> 100.5
--   Example: fn_SHSoll('H', 100.5) -> 0
--   Example: fn_SHSoll('s', 100.5) -> 0
--   Example: fn_SHSoll(NULL, 100.5) -> 0
DECLARE EXTERNAL FUNCTION fn_SHSoll
  CSTRING(16) NULL, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHSoll' MODULE_NAME 'qor_udf3.dll';

-- fn_SHHaben(side, amount)
--   The amount when the side flag is exactly 'H' (Haben, credit), else 0.
--   Example: fn_SHHaben('H', 100.5) -> 100.5
--   Example: fn_SHHaben('S', 100.5) -> 0
--   Example: fn_SHHaben('H ', 100.5) -> 0
--   Example: fn_SHHaben(NULL, 100.5) -> 0
DECLARE EXTERNAL FUNCTION fn_SHHaben
  CSTRING(16) NULL, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_SHHaben' MODULE_NAME 'qor_udf3.dll';

-- fn_SHBetrag(side, amount)
--   The signed amount: negated when the side flag is exactly 'H', else unchanged.
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
--   The amount when the first character of the side flag is one of the positive characters, else the negated amount when it is one of the negative characters, else 0 (case-sensitive; positive wins).
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
  DOUBLE PRECISION NULL, CSTRING(2000) NULL, CSTRING(500) NULL
  RETURNS CSTRING(2) FREE_IT
  ENTRY_POINT 'fn_Kontenbereich' MODULE_NAME 'qor_udf3.dll';

-- ## Accounting: cost-centre allocation texts

-- fn_KstToAufteilung(kst, fallback_koart, koart, betrag, ktr)
--   The allocation (Aufteilung) text of an amount that goes wholly to one cost centre (KSTNR) or cost unit (KTRNR): the field line and one share line of 100 percent, each ended by LF. Values holding blanks, commas or quotes are quoted, inner quotes doubled. The cost type (KOART) falls back to fallback_koart when below 1; the result is empty when there is still no cost type of at least 1, or neither a cost centre of at least 1 nor a non-blank cost unit.
--   Example: fn_KstToAufteilung(4711, 0, 400, 123.45, 'A 1') -> 'FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\n1=4711,"A 1",,400,,100,123.45\n'
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
--   As fn_KstToAufteilung, with the quantity (MENGE), CR LF line ends, and every value that is not made only of the letters A-Z, a-z and the digits 0-9 in double quotes (inner quotes doubled).
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
-- [end of section distribution]

-- [section booking: its declarations go between these two lines]
-- [end of section booking]

COMMIT;
