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

COMMIT;
