-- Test-only declarations of the probe library (tests/udr_probe): one
-- function for each argument and result kind. The engine tests declare them
-- in both fronts and compare the answers of every example.

-- ## Probe: numbers

-- fn_ProbeInt(a)
--   Twice a; -1 for NULL; overflow is a caught error giving 0.
--   Example: fn_ProbeInt(21) -> 42
--   Example: fn_ProbeInt(NULL) -> -1
--   Example: fn_ProbeInt(-7) -> -14
DECLARE EXTERNAL FUNCTION fn_ProbeInt
  INTEGER NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_ProbeInt' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeSmall(a)
--   a + 1; NULL reads as 0.
--   Example: fn_ProbeSmall(41) -> 42
--   Example: fn_ProbeSmall(NULL) -> 1
--   Example: fn_ProbeSmall(-32768) -> -32767
DECLARE EXTERNAL FUNCTION fn_ProbeSmall
  SMALLINT
  RETURNS SMALLINT BY VALUE
  ENTRY_POINT 'fn_ProbeSmall' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeBig(a, b)
--   a * b; NULL reads as 0; overflow is a caught error giving 0.
--   Example: fn_ProbeBig(4000000000, 3) -> 12000000000
--   Example: fn_ProbeBig(NULL, 3) -> 0
--   Example: fn_ProbeBig(-5, NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_ProbeBig
  BIGINT, INTEGER
  RETURNS BIGINT BY VALUE
  ENTRY_POINT 'fn_ProbeBig' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeDouble(a)
--   1 / a; NULL reads as 0, which fails the statement (infinite result).
--   Example: fn_ProbeDouble(4) -> 0.25
--   Example: fn_ProbeDouble(-0.5) -> -2
DECLARE EXTERNAL FUNCTION fn_ProbeDouble
  DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_ProbeDouble' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeSum10(a, b, c, d, e, f, g, h, i, j)
--   a + 10 b + 100 c + ... + 10^9 j; NULL reads as 0.
--   Example: fn_ProbeSum10(1, 2, 3, 4, 5, 6, 7, 8, 9, 1) -> 1987654321
--   Example: fn_ProbeSum10(1, NULL, 3, NULL, 5, NULL, 7, NULL, 9, NULL) -> 907050301
DECLARE EXTERNAL FUNCTION fn_ProbeSum10
  DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION,
  DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION, DOUBLE PRECISION
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_ProbeSum10' MODULE_NAME 'qor_udr_probe.dll';

-- ## Probe: timestamps

-- fn_ProbeStamp(t, days)
--   The timestamp moved by whole days (a fresh result); NULL for NULL.
--   Example: IIF(fn_ProbeStamp(TIMESTAMP '2023-02-01 10:30:00', 3) = TIMESTAMP '2023-02-04 10:30:00', 1, 0) -> 1
--   Example: fn_ProbeStamp(NULL, 3) -> NULL
DECLARE EXTERNAL FUNCTION fn_ProbeStamp
  TIMESTAMP NULL, INTEGER
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_ProbeStamp' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeMidnight(t)
--   The timestamp at midnight, changed in place; NULL reads as day 0.
--   Example: IIF(fn_ProbeMidnight(TIMESTAMP '2023-02-01 10:30:00') = TIMESTAMP '2023-02-01 00:00:00', 1, 0) -> 1
--   Example: IIF(fn_ProbeMidnight(NULL) = TIMESTAMP '1858-11-17 00:00:00', 1, 0) -> 1
DECLARE EXTERNAL FUNCTION fn_ProbeMidnight
  TIMESTAMP
  RETURNS TIMESTAMP
  ENTRY_POINT 'fn_ProbeMidnight' MODULE_NAME 'qor_udr_probe.dll';

-- ## Probe: texts

-- fn_ProbeUpper(s)
--   ASCII upper case, changed in place; NULL reads as the empty text.
--   Example: fn_ProbeUpper('abc Xyz') -> 'ABC XYZ'
--   Example: fn_ProbeUpper(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_ProbeUpper
  CSTRING(50)
  RETURNS CSTRING(50)
  ENTRY_POINT 'fn_ProbeUpper' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeNil(s)
--   A copy of the text; NULL for NULL and for the text 'nil'.
--   Example: fn_ProbeNil('abc') -> 'abc'
--   Example: fn_ProbeNil('nil') -> NULL
--   Example: fn_ProbeNil(NULL) -> NULL
--   Example: fn_ProbeNil('') -> ''
DECLARE EXTERNAL FUNCTION fn_ProbeNil
  CSTRING(10) NULL
  RETURNS CSTRING(10) FREE_IT
  ENTRY_POINT 'fn_ProbeNil' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeLong(n)
--   n times 'x'; more than 5 fail the statement; a negative count is a caught error giving ''.
--   Example: fn_ProbeLong(5) -> 'xxxxx'
--   Example: fn_ProbeLong(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_ProbeLong
  INTEGER
  RETURNS CSTRING(5) FREE_IT
  ENTRY_POINT 'fn_ProbeLong' MODULE_NAME 'qor_udr_probe.dll';

-- ## Probe: blobs

-- fn_ProbeBlobRead(b, piece)
--   'total:content' of the blob read in pieces of at most piece bytes; 'none' for NULL.
--   Example: fn_ProbeBlobRead(CAST('abcdefg' AS BLOB), 3) -> '7:abcdefg'
--   Example: fn_ProbeBlobRead(CAST('' AS BLOB), 3) -> '0:'
--   Example: fn_ProbeBlobRead(NULL, 3) -> 'none'
DECLARE EXTERNAL FUNCTION fn_ProbeBlobRead
  BLOB, INTEGER
  RETURNS CSTRING(200) FREE_IT
  ENTRY_POINT 'fn_ProbeBlobRead' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeBlobNil(b, piece)
--   As fn_ProbeBlobRead, declared NULL: a NULL blob still arrives as a record without a handle.
--   Example: fn_ProbeBlobNil(CAST('abc' AS BLOB), 2) -> '3:abc'
--   Example: fn_ProbeBlobNil(NULL, 2) -> 'none'
DECLARE EXTERNAL FUNCTION fn_ProbeBlobNil
  BLOB NULL, INTEGER
  RETURNS CSTRING(200) FREE_IT
  ENTRY_POINT 'fn_ProbeBlobNil' MODULE_NAME 'qor_udr_probe.dll';

-- fn_ProbeToBlob(text, count)
--   A blob holding the text count times; NULL for a NULL text.
--   Example: fn_ProbeToBlob('ab', 3) -> 'ababab'
--   Example: fn_ProbeToBlob('ab', 0) -> ''
--   Example: fn_ProbeToBlob(NULL, 2) -> NULL
DECLARE EXTERNAL FUNCTION fn_ProbeToBlob
  CSTRING(100) NULL, INTEGER, BLOB
  RETURNS PARAMETER 3
  ENTRY_POINT 'fn_ProbeToBlob' MODULE_NAME 'qor_udr_probe.dll';

COMMIT;
