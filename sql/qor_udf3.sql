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
-- [end of section version]

-- [section text: its declarations go between these two lines]
-- [end of section text]

-- [section lists: its declarations go between these two lines]
-- [end of section lists]

-- [section soundex: its declarations go between these two lines]
-- [end of section soundex]

-- [section numeric: its declarations go between these two lines]
-- [end of section numeric]

-- [section blob: its declarations go between these two lines]
-- [end of section blob]

-- [section datetime: its declarations go between these two lines]
-- [end of section datetime]

-- [section mask: its declarations go between these two lines]
-- ## Masks

-- fn_MaskString(mask, value)
--   The text rendered by a mask: a command letter and its parameters, n the number that follows the letter. C: the first n characters (all for n < 1); S / s: as C, padded with blanks behind / in front to n; U u / L l: upper / lower case (of the first n characters); M m: unchanged; R<pattern>: the number in the text by a number pattern ("0" digit, "#" significant digit, "." decimals, "," thousands groups, E+00 exponent, positive;negative;zero sections, quoted text); F f N n [0]n.d: fixed-point number of width n with d decimals (rounded with 0.501), a leading 0 for zero fill, N and n trimmed, F and N empty for zero, 10 or more decimals fail; O n[,suffix]: the amount in hundredths as digits, zero-filled to n; o n[,suffix]: the digits of the text, zero-filled; W L[.F][,a[,b]]: line a (of at most b) of the integer part's digits as German words, "-" between and to F characters, F asterisks when b lines do not suffice; w k: the k-th digit from the right as a word; D n: the date in the layout of width n (4 YYYY, 5 MM.YY, 7 MM.YYYY, 8 DD.MM.YY, 10 DD.MM.YYYY, 16 and 19 with the time); T n: the time (2 HH, 5 HH:MM, 8 HH:MM:SS); Z k: the term date as DD.MM.YYYY, k days on for k >= 0, else the day -k of the next month. Dates and times are read from the text (day first, '1.2.23 12:30'). An empty mask or an unknown letter gives the text; a width above 32767 fails. A NULL mask or value counts as empty.
--   Example: fn_MaskString('s6', 'abc') -> '   abc'
--   Example: fn_MaskString('S5', 'abc') -> 'abc  '
--   Example: fn_MaskString('C2', 'abc') -> 'ab'
--   Example: fn_MaskString('U', 'abc') -> 'ABC'
--   Example: fn_MaskString('R#,##0.00', '1234,5') -> '1,234.50'
--   Example: fn_MaskString('o8', '12-34/5') -> '00012345'
--   Example: fn_MaskString('W30', '123') -> 'EINS-ZWEI-DREI----------------'
--   Example: fn_MaskString('W10,2,3', '12345') -> 'DREI-VIER-'
--   Example: fn_MaskString('w3', '123') -> 'EINS'
--   Example: fn_MaskString('X12', 'abc') -> 'abc'
--   Example: fn_MaskString('', 'abc') -> 'abc'
--   Example: fn_MaskString(NULL, 'abc') -> 'abc'
--   Example: fn_MaskString('S3', NULL) -> '   '
DECLARE EXTERNAL FUNCTION fn_MaskString
  CSTRING(255) NULL, CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_MaskString' MODULE_NAME 'qor_udf3.dll';

-- fn_MaskDouble(mask, value)
--   The number rendered by a mask of fn_MaskString, applied to the number's general text (up to 15 significant digits, '.' as decimal point). A NULL mask gives that text; a NULL number counts as 0.
--   Example: fn_MaskDouble('R0.00;(0.00);''nil''', -2.5) -> '(2.50)'
--   Example: fn_MaskDouble('R0.00E+00', 1234.5) -> '1.23E+03'
--   Example: fn_MaskDouble('s8', 12.5) -> '    12.5'
--   Example: fn_MaskDouble('', 12.5) -> '12.5'
--   Example: fn_MaskDouble(NULL, -3) -> '-3'
--   Example: fn_MaskDouble('R0.0', NULL) -> '0.0'
DECLARE EXTERNAL FUNCTION fn_MaskDouble
  CSTRING(255) NULL, DOUBLE PRECISION NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_MaskDouble' MODULE_NAME 'qor_udf3.dll';

-- fn_MaskDate(mask, value)
--   The timestamp rendered by a mask of fn_MaskString; the text the masks other than D, T and Z work on is the date as DD.MM.YYYY, or the time as HH:MM:SS when the day is 30.12.1899. The timestamp 30.12.1899 00:00 is no date: D and T give the empty text. A NULL timestamp counts as 30.12.1899 00:00.
--   Example: fn_MaskDate('S12', TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023  '
--   Example: fn_MaskDate('', TIMESTAMP '1899-12-30 12:30:00') -> '12:30:00'
--   Example: fn_MaskDate(NULL, TIMESTAMP '2023-02-01 12:30:00') -> '01.02.2023'
--   Example: fn_MaskDate('C2', NULL) -> '30'
DECLARE EXTERNAL FUNCTION fn_MaskDate
  CSTRING(255) NULL, TIMESTAMP NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_MaskDate' MODULE_NAME 'qor_udf3.dll';
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
