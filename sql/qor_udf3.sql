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
-- [end of section mask]

-- [section files: its declarations go between these two lines]
-- ## Files, directories and database paths

-- fn_Filepath(location)
--   The server path of a database location with a leading status character: '5' the file or directory exists (also when only the letter case of a file name with a point differs; the name as stored on disk is given), '6' only its directory exists, '0' neither, '1' and '2' as '5' and '6' for a location through a Samba share (host:share\dir\file or \\host\share\dir\file), '8' followed by a message when the location cannot be resolved. Forms: host:/path, host:alias (from aliases.conf in the server's working directory), host:share\... and \\host\share\... (from the server's smb.conf), host:C:\... (kept). Never longer than 250 characters. Path arguments of this section are declared CSTRING(32767), so that the longest text a column can hold (32765 characters) fits. NULL counts as the empty text.
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
--   1 when the file or directory of a database location (any form of fn_Filepath) exists, else 0.
--   Example: fn_FileExists('dbhost:/') -> 1
--   Example: fn_FileExists('dbhost:/qor_no_such_file.fdb') -> 0
--   Example: fn_FileExists('firma.fdb') -> 0
--   Example: fn_FileExists(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileExists
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileExists' MODULE_NAME 'qor_udf3.dll';

-- fn_DirectoryExists(location)
--   1 when the database location does not exist but its directory does (status '6' or '2' of fn_Filepath), else 0.
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
--   Example: fn_CreateDir('dbhost:/') -> 1
--   Example: fn_CreateDir('dbhost:C:\daten\neu\') -> 0
--   Example: fn_CreateDir('firma') -> 0
--   Example: fn_CreateDir(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_CreateDir
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_CreateDir' MODULE_NAME 'qor_udf3.dll';

-- fn_FileGetAttr(location)
--   Always 0 (no attribute is defined); the location is resolved as by fn_Filepath.
--   Example: fn_FileGetAttr('dbhost:/') -> 0
--   Example: fn_FileGetAttr(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileGetAttr
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileGetAttr' MODULE_NAME 'qor_udf3.dll';

-- fn_FileSetRight(path)
--   Gives read and write rights to everybody on the server path (chmod guo+rw, run without a shell; the whole text is one file name, no shell character acts) and waits for it. Always 0. NULL or an empty path changes nothing.
--   Example: fn_FileSetRight('/qor_no_such_file.fdb') -> 0
--   Example: fn_FileSetRight(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_FileSetRight
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_FileSetRight' MODULE_NAME 'qor_udf3.dll';

-- fn_DropDatabase(path)
--   Deletes the file at the server path when its name ends in .fdb, .gdb, .fbk or .gbk (any case) and gives 1 when it was deleted, else 0. The path is used as it stands (no alias or share). NULL gives 0.
--   Example: fn_DropDatabase('/qor_no_such_dir/x.fdb') -> 0
--   Example: fn_DropDatabase('/qor_no_such_dir/x.txt') -> 0
--   Example: fn_DropDatabase(NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_DropDatabase
  CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_DropDatabase' MODULE_NAME 'qor_udf3.dll';

-- fn_RenameDatabase(old_path, new_path)
--   Renames a database or backup file (both names ending in .fdb, .gdb, .fbk or .gbk, any case; an existing file of the new name is replaced; both on one file system) and gives 1 when it now bears the new name, else 0. The paths are used as they stand. NULL gives 0.
--   Example: fn_RenameDatabase('/qor_no_such_dir/a.fdb', '/qor_no_such_dir/b.fdb') -> 0
--   Example: fn_RenameDatabase('/qor_no_such_dir/a.fdb', '/qor_no_such_dir/b.txt') -> 0
--   Example: fn_RenameDatabase(NULL, NULL) -> 0
DECLARE EXTERNAL FUNCTION fn_RenameDatabase
  CSTRING(32767) NULL, CSTRING(32767) NULL
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_RenameDatabase' MODULE_NAME 'qor_udf3.dll';

-- fn_DiskFree(location)
--   The space available, in MiB with fractions, on the file system that holds a database location (any form of fn_Filepath), as the df program reports it; an unusable location (status '8', NULL) measures the root file system. 0 when df names no file system beginning with '/' (tmpfs, overlay) or reports nothing.
--   Example: IIF(fn_DiskFree(NULL) BETWEEN 0 AND fn_DiskSize(NULL), 1, 0) -> 1
--   Example: fn_DiskFree('dbhost:/qor_no_such_dir/x.fdb') -> 0
DECLARE EXTERNAL FUNCTION fn_DiskFree
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_DiskFree' MODULE_NAME 'qor_udf3.dll';

-- fn_DiskSize(location)
--   The size, in MiB with fractions, of the file system that holds a database location, as fn_DiskFree measures it.
--   Example: IIF(fn_DiskSize('dbhost:/') = fn_DiskSize(NULL), 1, 0) -> 1
--   Example: fn_DiskSize('dbhost:/qor_no_such_dir/x.fdb') -> 0
DECLARE EXTERNAL FUNCTION fn_DiskSize
  CSTRING(32767) NULL
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_DiskSize' MODULE_NAME 'qor_udf3.dll';

-- fn_UNCpath(path)
--   The network path \\host\share\... of a server path (/srv/daten/x.fdb), a drive path (C:\daten\x.fdb) or an alias of /opt/firebird/aliases.conf, through the most specific share of the server's smb.conf that contains it and the server's host name (from the hostname program). A path already in the network form is returned as it stands. Empty when no share contains the path, for the host:path form, for NULL, and when the network path would be longer than 32765 characters.
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
