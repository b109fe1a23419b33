#include "udr_catalog.h"

#include <cctype>
#include <cstdlib>
#include <regex>

namespace catalog {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string TrimBlank(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// Splits at commas outside parentheses.
std::vector<std::string> SplitTopLevel(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  int depth = 0;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      out.push_back(TrimBlank(cur));
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!TrimBlank(cur).empty() || !out.empty()) out.push_back(TrimBlank(cur));
  return out;
}

// "<type> [(n)] [CHARACTER SET cs] <rest>": the kind, length and charset; the
// words after the type are left in `rest`.
bool ParseType(const std::string& text, ArgKind& kind, int& length, std::string& charset,
               std::string& rest, std::string& error) {
  static const std::regex kType(
      R"(^(CSTRING\s*\(\s*(\d+)\s*\)|DOUBLE PRECISION|INTEGER|INT|SMALLINT|BIGINT|TIMESTAMP|DATE|BLOB)(\s+CHARACTER SET\s+(\w+))?(.*)$)");
  std::smatch m;
  std::string u = Upper(TrimBlank(text));
  if (!std::regex_match(u, m, kType)) {
    error = "unsupported type: " + text;
    return false;
  }
  std::string t = m[1];
  length = 0;
  if (t.rfind("CSTRING", 0) == 0) {
    kind = ArgKind::Text;
    length = std::atoi(m[2].str().c_str());
    if (length < 1 || length > 32767) {
      error = "CSTRING length out of range: " + text;
      return false;
    }
  } else if (t == "DOUBLE PRECISION") {
    kind = ArgKind::Double;
  } else if (t == "INTEGER" || t == "INT") {
    kind = ArgKind::Integer;
  } else if (t == "SMALLINT") {
    kind = ArgKind::Smallint;
  } else if (t == "BIGINT") {
    kind = ArgKind::Bigint;
  } else if (t == "TIMESTAMP") {
    kind = ArgKind::TimeStamp;
  } else if (t == "DATE") {
    kind = ArgKind::Date;
  } else {
    kind = ArgKind::Blob;
  }
  charset = m[4];
  if (!charset.empty() && kind != ArgKind::Text) {
    error = "CHARACTER SET on a non-text type: " + text;
    return false;
  }
  rest = TrimBlank(m[5]);
  return true;
}

const char* KindName(ArgKind k) {
  switch (k) {
    case ArgKind::Text: return "Text";
    case ArgKind::Double: return "Double";
    case ArgKind::Integer: return "Integer";
    case ArgKind::Smallint: return "Smallint";
    case ArgKind::Bigint: return "Bigint";
    case ArgKind::TimeStamp: return "TimeStamp";
    case ArgKind::Date: return "Date";
    case ArgKind::Blob: return "Blob";
  }
  return "Double";
}

const char* ModeName(ReturnMode m) {
  switch (m) {
    case ReturnMode::ByValue: return "ByValue";
    case ReturnMode::ByReference: return "ByReference";
    case ReturnMode::FreeIt: return "FreeIt";
    case ReturnMode::Parameter: return "Parameter";
  }
  return "ByValue";
}

// The longest VARCHAR the engine has.
constexpr int kMaxVarchar = 32765;

std::string SqlType(ArgKind kind, int length, const std::string& charset) {
  switch (kind) {
    case ArgKind::Text: {
      // No set named: the database's default, as for the legacy CSTRING.
      int n = length < kMaxVarchar ? length : kMaxVarchar;
      return "VARCHAR(" + std::to_string(n) + ")" +
             (charset.empty() ? std::string() : " CHARACTER SET " + charset);
    }
    case ArgKind::Double: return "DOUBLE PRECISION";
    case ArgKind::Integer: return "INTEGER";
    case ArgKind::Smallint: return "SMALLINT";
    case ArgKind::Bigint: return "BIGINT";
    case ArgKind::TimeStamp: return "TIMESTAMP";
    case ArgKind::Date: return "DATE";
    case ArgKind::Blob: return "BLOB";
  }
  return "";
}

// The legacy arguments that are SQL parameters (all but a returned blob).
std::vector<size_t> SqlArguments(const Shape& s) {
  std::vector<size_t> out;
  for (size_t i = 0; i < s.args.size(); ++i) {
    if (s.mode == ReturnMode::Parameter && static_cast<int>(i) + 1 == s.parameter) continue;
    out.push_back(i);
  }
  return out;
}

// Parameter names from the documented signature when they fit, else P1..Pn.
std::vector<std::string> ParameterNames(const Function& f, size_t count) {
  std::vector<std::string> names;
  size_t open = f.signature.find('(');
  size_t close = f.signature.rfind(')');
  if (open != std::string::npos && close != std::string::npos && close > open) {
    static const std::regex kIdent(R"(^[A-Za-z][A-Za-z0-9_]*$)");
    for (const std::string& n : SplitTopLevel(f.signature.substr(open + 1, close - open - 1))) {
      if (!std::regex_match(n, kIdent)) {
        names.clear();
        break;
      }
      names.push_back("P_" + Upper(n));
    }
  }
  for (size_t i = 0; i < names.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (names[i] == names[j]) names.clear();
    }
  }
  if (names.size() != count) {
    names.clear();
    for (size_t i = 0; i < count; ++i) names.push_back("P" + std::to_string(i + 1));
  }
  return names;
}

// The character set the texts of a generated script are declared in (the
// first one named; the scripts name one set or none).
std::string TextCharset(const std::vector<Shape>& shapes) {
  for (const Shape& s : shapes) {
    if (!s.result_charset.empty()) return s.result_charset;
    for (const ArgShape& a : s.args) {
      if (!a.charset.empty()) return a.charset;
    }
  }
  return {};
}

// The header lines on character sets of a generated script.
std::string CharsetNote(const std::vector<Shape>& shapes) {
  const std::string cs = TextCharset(shapes);
  if (cs.empty()) {
    return "-- Texts are declared without a character set: they are in the database's\n"
           "-- default set, like those of qor_udf3.sql. For a database whose default set\n"
           "-- has several bytes per character (UTF8) use the *_" + LowerAscii(kMultiByteTextCharset) +
           ".sql scripts.\n";
  }
  return "-- For a database whose default character set has several bytes per\n"
         "-- character (UTF8): every text is declared in " + cs + ", like those of\n"
         "-- " + ScriptFileName("qor_udf3.sql", cs) + "; the engine converts texts on the way in and out,\n"
         "-- and a character " + cs + " cannot hold fails the statement.\n";
}

std::string SqlQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out + "'";
}

}  // namespace

bool ParseShape(const Function& f, Shape& out, std::string& error) {
  out = Shape{};
  for (const std::string& a : SplitTopLevel(f.arguments)) {
    ArgShape arg;
    std::string rest;
    if (!ParseType(a, arg.kind, arg.length, arg.charset, rest, error)) return false;
    if (rest == "NULL") {
      arg.nullable = true;
    } else if (!rest.empty()) {
      error = "unsupported argument passing: " + a;
      return false;
    }
    out.args.push_back(arg);
  }
  if (out.args.size() > 15) {
    error = "more than 15 arguments";
    return false;
  }
  std::string r = Upper(TrimBlank(f.returns));
  static const std::regex kParameter(R"(^PARAMETER\s+(\d+)$)");
  std::smatch m;
  if (std::regex_match(r, m, kParameter)) {
    out.mode = ReturnMode::Parameter;
    out.parameter = std::atoi(m[1].str().c_str());
    if (out.parameter < 1 || out.parameter > static_cast<int>(out.args.size()) ||
        out.args[static_cast<size_t>(out.parameter - 1)].kind != ArgKind::Blob) {
      error = "RETURNS PARAMETER must name a BLOB argument";
      return false;
    }
    out.result = ArgKind::Blob;
    return true;
  }
  std::string rest;
  if (!ParseType(r, out.result, out.result_length, out.result_charset, rest, error)) return false;
  if (out.result == ArgKind::Blob) {
    error = "a BLOB result must be RETURNS PARAMETER n";
    return false;
  }
  if (rest == "BY VALUE") {
    out.mode = ReturnMode::ByValue;
    if (out.result == ArgKind::Text || out.result == ArgKind::TimeStamp ||
        out.result == ArgKind::Date) {
      error = "texts, timestamps and dates cannot be returned by value";
      return false;
    }
  } else if (rest == "FREE_IT") {
    out.mode = ReturnMode::FreeIt;
  } else if (rest.empty()) {
    out.mode = ReturnMode::ByReference;
  } else {
    error = "unsupported RETURNS clause: " + f.returns;
    return false;
  }
  return true;
}

std::vector<Shape> Shapes(const Catalog& cat, std::vector<std::string>& errors) {
  std::vector<Shape> out;
  for (const Function& f : cat.functions) {
    Shape s;
    std::string error;
    if (!ParseShape(f, s, error)) {
      errors.push_back(f.name + ": " + error);
      s = Shape{};
      s.served = false;
    }
    out.push_back(s);
  }
  return out;
}

std::string UdrTable(const Catalog& cat, const std::vector<Shape>& shapes) {
  std::string out =
      "// Generated by qor_udrgen from the declaration script; do not edit.\n"
      "// {name, {result kind, mode, length, parameter}, argument count, {{kind, length, nullable}...}}\n";
  for (size_t i = 0; i < cat.functions.size() && i < shapes.size(); ++i) {
    const Shape& s = shapes[i];
    if (!s.served) continue;
    out += "{\"" + cat.functions[i].name + "\", {Kind::" + KindName(s.result) +
           ", ResultMode::" + ModeName(s.mode) + ", " + std::to_string(s.result_length) + ", " +
           std::to_string(s.parameter) + "}, " + std::to_string(s.args.size()) + ", {";
    for (size_t a = 0; a < s.args.size(); ++a) {
      if (a > 0) out += ", ";
      out += std::string("{Kind::") + KindName(s.args[a].kind) + ", " +
             std::to_string(s.args[a].length) + ", " + (s.args[a].nullable ? "true" : "false") +
             "}";
    }
    out += "}},\n";
  }
  return out;
}

std::string UdrHeader(const Function& f, const Shape& s) {
  std::vector<size_t> params = SqlArguments(s);
  std::vector<std::string> names = ParameterNames(f, params.size());
  std::string out = "(";
  for (size_t i = 0; i < params.size(); ++i) {
    const ArgShape& a = s.args[params[i]];
    if (i > 0) out += ", ";
    out += names[i] + " " + SqlType(a.kind, a.length, a.charset);
  }
  out += ")\n  RETURNS ";
  out += s.mode == ReturnMode::Parameter ? "BLOB"
                                         : SqlType(s.result, s.result_length, s.result_charset);
  return out;
}

std::string UdrCreate(const Function& f, const Shape& s, const std::string& prefix,
                      const std::string& module) {
  return "CREATE OR ALTER FUNCTION " + prefix + f.name + " " + UdrHeader(f, s) +
         "\n  EXTERNAL NAME '" + module + "!" + f.name + "' ENGINE UDR;\n";
}

std::string UdrScript(const Catalog& cat, const std::vector<Shape>& shapes,
                      const std::string& module) {
  const std::string cs = TextCharset(shapes);
  std::string out =
      "-- Generated by qor_udrgen from qor_udf3.sql; do not edit (build target 'udr_sql').\n"
      "--\n"
      "-- The functions of the library as UDR routines, for a database that has\n"
      "-- not declared them yet (a database with the legacy declarations switches\n"
      "-- with " + ScriptFileName("qor_udf3_to_udr.sql", cs) + " instead). Apply with\n"
      "--   isql-fb -user SYSDBA -i " + ScriptFileName("qor_udf3_udr.sql", cs) + " <database>\n"
      "-- The server's UDR engine must find libqor_udf3.dll.so in a directory of\n"
      "-- its UDR_config path (plugins.conf), e.g. <firebird>/plugins/udr.\n"
      "-- Each function is documented in qor_udf3.sql; the answers are the same.\n" +
      CharsetNote(shapes) + "\n";
  for (size_t i = 0; i < cat.functions.size() && i < shapes.size(); ++i) {
    if (shapes[i].served) out += UdrCreate(cat.functions[i], shapes[i], "", module) + "\n";
  }
  out += "COMMIT;\n";
  return out;
}

std::string ToUdrScript(const Catalog& cat, const std::vector<Shape>& shapes,
                        const std::string& module) {
  const std::string cs = TextCharset(shapes);
  std::string out =
      "-- Generated by qor_udrgen from qor_udf3.sql; do not edit (build target 'udr_sql').\n"
      "--\n"
      "-- Switches a database whose functions were declared with " + ScriptFileName("qor_udf3.sql", cs) + " (or\n"
      "-- with the application's own declarations of the same names) to the UDR\n"
      "-- front in place. Every function the database has declared is changed with\n"
      "-- ALTER FUNCTION, which keeps the procedures, triggers and views that call\n"
      "-- it; functions it has not declared stay undeclared. Connections opened\n"
      "-- before the switch keep their compiled procedures and triggers until they\n"
      "-- reconnect. The way back is " + ScriptFileName("qor_udf3_to_legacy.sql", cs) + ".\n"
      "--   isql-fb -user SYSDBA -i " + ScriptFileName("qor_udf3_to_udr.sql", cs) + " <database>\n" +
      CharsetNote(shapes) + "\n"
      "SET TERM ^ ;\n"
      "EXECUTE BLOCK AS\n"
      "BEGIN\n";
  for (size_t i = 0; i < cat.functions.size() && i < shapes.size(); ++i) {
    const Function& f = cat.functions[i];
    if (!shapes[i].served) continue;
    std::string alter = "ALTER FUNCTION " + f.name + " " + UdrHeader(f, shapes[i]) +
                        " EXTERNAL NAME '" + module + "!" + f.name + "' ENGINE UDR";
    std::string flat;
    for (size_t c = 0; c < alter.size(); ++c) {
      if (alter[c] != '\n') {
        flat.push_back(alter[c]);
        continue;
      }
      flat.push_back(' ');
      while (c + 1 < alter.size() && alter[c + 1] == ' ') ++c;
    }
    out += "  IF (EXISTS (SELECT 1 FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME = " +
           SqlQuote(Upper(f.name)) + " AND RDB$PACKAGE_NAME IS NULL)) THEN\n    EXECUTE STATEMENT " +
           SqlQuote(flat) + ";\n";
  }
  out += "END^\nSET TERM ; ^\nCOMMIT;\n";
  return out;
}

std::string NoopSource(const Catalog& cat, const std::vector<Shape>& shapes) {
  std::string out =
      "// Generated by qor_udrgen: no-op entry points with the catalogue's signatures.\n"
      "#include <cstdint>\n\n"
      "#define QOR_NOOP extern \"C\" __attribute__((visibility(\"default\")))\n\n";
  for (size_t i = 0; i < cat.functions.size() && i < shapes.size(); ++i) {
    const Shape& s = shapes[i];
    if (!s.served) continue;
    std::string type = "void*";
    std::string value = "nullptr";
    if (s.mode == ReturnMode::ByValue) {
      switch (s.result) {
        case ArgKind::Double: type = "double"; value = "0"; break;
        case ArgKind::Integer: type = "int32_t"; value = "0"; break;
        case ArgKind::Smallint: type = "int16_t"; value = "0"; break;
        default: type = "int64_t"; value = "0"; break;
      }
    } else if (s.mode == ReturnMode::Parameter) {
      value = "a" + std::to_string(s.parameter);
    }
    std::string params;
    for (size_t a = 0; a < s.args.size(); ++a) {
      if (a > 0) params += ", ";
      params += "void* a" + std::to_string(a + 1);
    }
    out += "QOR_NOOP " + type + " " + cat.functions[i].name + "(" + params + ") {\n";
    for (size_t a = 0; a < s.args.size(); ++a) {
      if (s.mode != ReturnMode::Parameter || static_cast<int>(a) + 1 != s.parameter) {
        out += "  (void)a" + std::to_string(a + 1) + ";\n";
      }
    }
    out += "  return " + value + ";\n}\n\n";
  }
  return out;
}

std::string ScriptFileName(const std::string& base, const std::string& charset) {
  if (charset.empty()) return base;
  const size_t dot = base.rfind('.');
  return base.substr(0, dot) + "_" + LowerAscii(charset) + base.substr(dot);
}

std::string ScriptInCharset(const std::string& script, const std::string& charset) {
  if (charset.empty()) return script;
  static const std::regex kText(R"((CSTRING\s*\(\s*\d+\s*\))(?!\s+CHARACTER\s+SET))", std::regex::icase);
  const std::string name = ScriptFileName("qor_udf3.sql", charset);
  std::string out =
      "-- Generated by qor_udrgen from qor_udf3.sql; do not edit (build target 'udr_sql').\n"
      "--\n"
      "-- Declarations of the qor_udf3 functions for a database whose default\n"
      "-- character set has several bytes per character (UTF8): the declarations\n"
      "-- of qor_udf3.sql with every text argument and result in " + charset + ". The\n"
      "-- library works on one byte per character; the engine converts texts into\n"
      "-- " + charset + " on the way in and back on the way out, and a character " + charset + "\n"
      "-- cannot hold fails the statement. (For another one-byte set, replace\n"
      "-- " + charset + " throughout this file.) Apply to a database with\n"
      "--   isql-fb -user SYSDBA -i " + name + " <database>\n"
      "-- The server must find libqor_udf3.dll.so in a directory named by the\n"
      "-- UdfAccess setting of its firebird.conf.\n";
  // The source's own header (up to its first blank line) gives way to this one.
  size_t at = 0;
  while (at < script.size() && script.compare(at, 2, "--") == 0) {
    const size_t end = script.find('\n', at);
    at = end == std::string::npos ? script.size() : end + 1;
  }
  size_t line_start = at;
  while (line_start < script.size()) {
    size_t end = script.find('\n', line_start);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(line_start, end - line_start);
    // Comments (documentation and examples) stay as they are.
    if (line.compare(0, 2, "--") != 0) line = std::regex_replace(line, kText, "$1 CHARACTER SET " + charset);
    out += line;
    if (end < script.size()) out += '\n';
    line_start = end + 1;
  }
  return out;
}

Catalog ParseForModule(const std::string& script, const std::string& module) {
  std::string text = script;
  const std::string from = "MODULE_NAME '" + module + "'";
  const std::string to = std::string("MODULE_NAME '") + kModule + "'";
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return Parse(text);
}

}  // namespace catalog

namespace catalog {

namespace {

// The way back, before anything: the connection set. The way back
// recompiles procedures and triggers from their source text (kept in UTF-8)
// through EXECUTE STATEMENT, which reads it in the connection's set: in a
// NONE connection a literal such as 'grüße' would come back as its UTF-8
// bytes. UTF8 gives every literal its characters back; in a NONE database,
// whose texts are the bytes the clients sent, the clients' own set does.
const char* kWayBackCharset = R"SQL(
CREATE OR ALTER EXCEPTION QOR$WAY_BACK_STOP 'qor_udf3: way back stopped';
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE CS SMALLINT;
BEGIN
  CS = (SELECT MON$CHARACTER_SET_ID FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION);
  IF (CS = 0 OR (CS NOT IN (3, 4) AND
      (SELECT COALESCE(TRIM(RDB$CHARACTER_SET_NAME), 'NONE') FROM RDB$DATABASE) <> 'NONE')) THEN
    EXCEPTION QOR$WAY_BACK_STOP 'connect with the character set UTF8 (isql-fb -ch UTF8; in a NONE database the set your clients use): the way back recompiles procedures and triggers from their source text';
END^
SET TERM ; ^
)SQL";

// The way back, step 1: remembers every procedure, trigger and view that
// calls one of the UDR-declared functions, and replaces each with a stub of
// the same header that calls nothing (a function in use cannot be dropped).
// Every other caller (a computed column, a check constraint, an expression
// index, a domain, a PSQL function, a package, ...) is noted as a blocker
// (KIND -1) under the name an administrator knows it by, with what to do;
// with any blocker nothing is stubbed, and the next step lists them all and
// stops the script. QOR$WAY_BACK survives a run that stopped: the next run
// goes on from there.
const char* kWayBackCollect = R"SQL(
CREATE OR ALTER EXCEPTION QOR$WAY_BACK_STOP 'qor_udf3: way back stopped';
SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'QOR$WAY_BACK')) THEN
    EXECUTE STATEMENT 'CREATE TABLE QOR$WAY_BACK (
      SEQ INTEGER NOT NULL,
      KIND SMALLINT NOT NULL,
      OBJ_NAME VARCHAR(63) CHARACTER SET UTF8 NOT NULL,
      DDL_STUB BLOB SUB_TYPE TEXT CHARACTER SET UTF8,
      DDL_BACK BLOB SUB_TYPE TEXT CHARACTER SET UTF8)';
END^
SET TERM ; ^
COMMIT;

SET TERM ^ ;
EXECUTE BLOCK AS
  -- The SQL type of a field source (domain) in RDB$FIELDS.
  DECLARE FUNCTION BASE_TYPE(FS VARCHAR(63) CHARACTER SET UTF8) RETURNS VARCHAR(300) CHARACTER SET UTF8 AS
    DECLARE T SMALLINT;
    DECLARE ST SMALLINT;
    DECLARE LEN INTEGER;
    DECLARE SC SMALLINT;
    DECLARE PR SMALLINT;
    DECLARE CL INTEGER;
    DECLARE CS SMALLINT;
    DECLARE SEG SMALLINT;
    DECLARE CSN VARCHAR(63) CHARACTER SET UTF8;
  BEGIN
    SELECT RDB$FIELD_TYPE, COALESCE(RDB$FIELD_SUB_TYPE, 0), RDB$FIELD_LENGTH,
           COALESCE(RDB$FIELD_SCALE, 0), COALESCE(RDB$FIELD_PRECISION, 0),
           RDB$CHARACTER_LENGTH, RDB$CHARACTER_SET_ID, RDB$SEGMENT_LENGTH
      FROM RDB$FIELDS WHERE RDB$FIELD_NAME = :FS
      INTO T, ST, LEN, SC, PR, CL, CS, SEG;
    CSN = (SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$CHARACTER_SETS
           WHERE RDB$CHARACTER_SET_ID = :CS);
    IF (T IN (7, 8, 16)) THEN
    BEGIN
      IF (ST = 0 AND SC = 0) THEN RETURN DECODE(T, 7, 'SMALLINT', 8, 'INTEGER', 'BIGINT');
      IF (PR = 0) THEN PR = DECODE(T, 7, 4, 8, 9, 18);
      RETURN IIF(ST = 2, 'DECIMAL(', 'NUMERIC(') || PR || ', ' || (-SC) || ')';
    END
    IF (T = 10) THEN RETURN 'FLOAT';
    IF (T = 27) THEN RETURN 'DOUBLE PRECISION';
    IF (T = 12) THEN RETURN 'DATE';
    IF (T = 13) THEN RETURN 'TIME';
    IF (T = 35) THEN RETURN 'TIMESTAMP';
    IF (T = 23) THEN RETURN 'BOOLEAN';
    IF (T IN (14, 37)) THEN
      RETURN IIF(T = 14, 'CHAR(', 'VARCHAR(') || COALESCE(CL, LEN) || ')' ||
             COALESCE(' CHARACTER SET ' || CSN, '');
    IF (T = 261) THEN
      RETURN 'BLOB SUB_TYPE ' || ST || COALESCE(' SEGMENT SIZE ' || SEG, '') ||
             IIF(ST = 1, COALESCE(' CHARACTER SET ' || CSN, ''), '');
    EXCEPTION QOR$WAY_BACK_STOP 'field type ' || T || ' of ' || TRIM(FS) || ' is not known';
  END

  DECLARE SEQ INTEGER = 0;
  DECLARE DT SMALLINT;
  DECLARE DN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE FN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE HEAD VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE INS VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE OUTS VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE COLS VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE CASTS VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE CN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE CFS VARCHAR(63) CHARACTER SET UTF8;
  DECLARE SRC BLOB SUB_TYPE TEXT CHARACTER SET UTF8;
  DECLARE STUB BLOB SUB_TYPE TEXT CHARACTER SET UTF8;
  DECLARE FIRST_NEW INTEGER;
  DECLARE PT SMALLINT;
  DECLARE R VARCHAR(8000) CHARACTER SET UTF8;
  DECLARE T VARCHAR(1000) CHARACTER SET UTF8;
  DECLARE PN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE FS VARCHAR(63) CHARACTER SET UTF8;
  DECLARE MECH SMALLINT;
  DECLARE REL VARCHAR(63) CHARACTER SET UTF8;
  DECLARE FLD VARCHAR(63) CHARACTER SET UTF8;
  DECLARE COLL SMALLINT;
  DECLARE NN SMALLINT;
  DECLARE DEF VARCHAR(1000) CHARACTER SET UTF8;
  DECLARE COLLN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE WHAT VARCHAR(300) CHARACTER SET UTF8;
  DECLARE TODO BLOB SUB_TYPE TEXT CHARACTER SET UTF8;
  DECLARE AGAIN VARCHAR(200) CHARACTER SET UTF8;
BEGIN
  DELETE FROM QOR$WAY_BACK WHERE KIND = -1;
  AGAIN = ', run this script again';
  SEQ = (SELECT COALESCE(MAX(SEQ), 0) FROM QOR$WAY_BACK);
  FIRST_NEW = SEQ + 1;
  FOR SELECT DISTINCT D.RDB$DEPENDENT_TYPE, TRIM(D.RDB$DEPENDENT_NAME)
        FROM RDB$DEPENDENCIES D
        JOIN RDB$FUNCTIONS F ON F.RDB$FUNCTION_NAME = D.RDB$DEPENDED_ON_NAME
             AND F.RDB$PACKAGE_NAME IS NULL AND F.RDB$ENGINE_NAME = 'UDR'
       WHERE D.RDB$DEPENDED_ON_TYPE = 15 AND D.RDB$PACKAGE_NAME IS NULL
         AND D.RDB$DEPENDED_ON_NAME IN (@NAMES@)
        INTO DT, DN DO
  BEGIN
    FN = (SELECT FIRST 1 TRIM(RDB$DEPENDED_ON_NAME) FROM RDB$DEPENDENCIES
          WHERE RDB$DEPENDENT_NAME = :DN AND RDB$DEPENDENT_TYPE = :DT AND RDB$DEPENDED_ON_TYPE = 15
            AND RDB$DEPENDED_ON_NAME IN (@NAMES@));
    -- A view's expression column shows as a computed field: the view stands for it.
    IF (DT = 3) THEN
    BEGIN
      CN = (SELECT FIRST 1 TRIM(RF.RDB$RELATION_NAME) FROM RDB$RELATION_FIELDS RF
              JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME
             WHERE RF.RDB$FIELD_SOURCE = :DN AND R.RDB$VIEW_SOURCE IS NOT NULL);
      IF (CN IS NOT NULL) THEN
      BEGIN
        DT = 1;
        DN = CN;
      END
    END
    IF (EXISTS (SELECT 1 FROM QOR$WAY_BACK WHERE KIND = :DT AND OBJ_NAME = :DN)) THEN CONTINUE;
    SEQ = SEQ + 1;
    WHAT = NULL;
    IF (DT = 5) THEN
    BEGIN
      IF (NOT EXISTS (SELECT 1 FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = :DN
                      AND RDB$PACKAGE_NAME IS NULL AND RDB$PROCEDURE_SOURCE IS NOT NULL)) THEN
      BEGIN
        WHAT = 'procedure ' || DN || ' (stored without its source text)';
        TODO = 'drop it or change it not to call ' || FN || AGAIN || ', then restore it';
      END
      ELSE
      BEGIN
      -- The parameter lists: inputs (PT 0), then outputs (PT 1).
      INS = '';
      OUTS = '';
      PT = 0;
      WHILE (PT <= 1) DO
      BEGIN
        R = '';
        FOR SELECT PP.RDB$PARAMETER_NAME, PP.RDB$FIELD_SOURCE, COALESCE(PP.RDB$PARAMETER_MECHANISM, 0),
                   PP.RDB$RELATION_NAME, PP.RDB$FIELD_NAME, PP.RDB$COLLATION_ID,
                   COALESCE(PP.RDB$NULL_FLAG, 0),
                   CAST(PP.RDB$DEFAULT_SOURCE AS VARCHAR(1000) CHARACTER SET UTF8)
              FROM RDB$PROCEDURE_PARAMETERS PP
             WHERE PP.RDB$PROCEDURE_NAME = :DN AND PP.RDB$PACKAGE_NAME IS NULL
               AND PP.RDB$PARAMETER_TYPE = :PT
             ORDER BY PP.RDB$PARAMETER_NUMBER
              INTO PN, FS, MECH, REL, FLD, COLL, NN, DEF DO
        BEGIN
          IF (REL IS NOT NULL AND FLD IS NOT NULL) THEN
            T = 'TYPE OF COLUMN ' || Q(REL) || '.' || Q(FLD);
          ELSE IF (FS NOT STARTING WITH 'RDB$') THEN
            T = IIF(MECH = 1, 'TYPE OF ', '') || Q(FS);
          ELSE
            T = BASE_TYPE(FS);
          IF (NN = 1) THEN T = T || ' NOT NULL';
          IF (COLL IS NOT NULL AND COLL <> 0) THEN
          BEGIN
            COLLN = (SELECT TRIM(C.RDB$COLLATION_NAME) FROM RDB$COLLATIONS C JOIN RDB$FIELDS F
                       ON F.RDB$CHARACTER_SET_ID = C.RDB$CHARACTER_SET_ID
                     WHERE F.RDB$FIELD_NAME = :FS AND C.RDB$COLLATION_ID = :COLL);
            IF (COLLN IS NOT NULL) THEN T = T || ' COLLATE ' || COLLN;
          END
          IF (DEF IS NOT NULL) THEN T = T || ' ' || DEF;
          R = R || IIF(R = '', '', ', ') || Q(PN) || ' ' || T;
        END
        IF (PT = 0) THEN INS = R; ELSE OUTS = R;
        PT = PT + 1;
      END
      HEAD = 'ALTER PROCEDURE ' || Q(DN) || IIF(INS = '', '', ' (' || INS || ')') ||
             IIF(OUTS = '', '', ' RETURNS (' || OUTS || ')');
      SRC = (SELECT RDB$PROCEDURE_SOURCE FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = :DN
             AND RDB$PACKAGE_NAME IS NULL);
      INSERT INTO QOR$WAY_BACK VALUES (:SEQ, 5, :DN, :HEAD || ' AS BEGIN END', :HEAD || ' AS ' || :SRC);
      END
    END
    ELSE IF (DT = 2) THEN
    BEGIN
      -- A check constraint is carried out by system triggers of its own:
      -- the constraint's name and table come from RDB$CHECK_CONSTRAINTS and
      -- RDB$RELATION_CONSTRAINTS, its CHECK (...) from the trigger's source.
      CN = NULL;
      SELECT FIRST 1 TRIM(CC.RDB$CONSTRAINT_NAME), TRIM(RC.RDB$RELATION_NAME)
        FROM RDB$CHECK_CONSTRAINTS CC
        LEFT JOIN RDB$RELATION_CONSTRAINTS RC ON RC.RDB$CONSTRAINT_NAME = CC.RDB$CONSTRAINT_NAME
       WHERE CC.RDB$TRIGGER_NAME = :DN
        INTO CN, REL;
      SRC = (SELECT RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = :DN);
      IF (CN IS NOT NULL) THEN
      BEGIN
        DN = CN;
        WHAT = 'check constraint ' || CN || ' of table ' || COALESCE(REL, '?');
        TODO = 'ALTER TABLE ' || Q(REL) || ' DROP CONSTRAINT ' || Q(CN) || AGAIN ||
               ', then ALTER TABLE ' || Q(REL) || ' ADD CONSTRAINT ' || Q(CN) || ' ' || COALESCE(SRC, '');
      END
      ELSE IF (SRC IS NULL OR EXISTS (SELECT 1 FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = :DN
                                      AND COALESCE(RDB$SYSTEM_FLAG, 0) <> 0)) THEN
      BEGIN
        WHAT = 'trigger ' || DN || ' (a system trigger or stored without its source text)';
        TODO = 'drop it or change it not to call ' || FN || AGAIN || ', then restore it';
      END
      ELSE
        INSERT INTO QOR$WAY_BACK VALUES (:SEQ, 2, :DN, 'ALTER TRIGGER ' || Q(:DN) || ' AS BEGIN END',
                                         'ALTER TRIGGER ' || Q(:DN) || ' ' || :SRC);
    END
    ELSE IF (DT = 1) THEN
    BEGIN
      COLS = '';
      CASTS = '';
      FOR SELECT RDB$FIELD_NAME, RDB$FIELD_SOURCE FROM RDB$RELATION_FIELDS
           WHERE RDB$RELATION_NAME = :DN ORDER BY RDB$FIELD_POSITION INTO CN, CFS DO
      BEGIN
        COLS = COLS || IIF(COLS = '', '', ', ') || Q(CN);
        CASTS = CASTS || IIF(CASTS = '', '', ', ') || 'CAST(NULL AS ' || BASE_TYPE(CFS) || ')';
      END
      SRC = (SELECT RDB$VIEW_SOURCE FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :DN);
      IF (SRC IS NULL) THEN
      BEGIN
        WHAT = 'view ' || DN || ' (stored without its source text)';
        TODO = 'drop it or change it not to call ' || FN || AGAIN || ', then restore it';
      END
      ELSE
        INSERT INTO QOR$WAY_BACK VALUES (:SEQ, 1, :DN,
          'ALTER VIEW ' || Q(:DN) || ' (' || :COLS || ') AS SELECT ' || :CASTS || ' FROM RDB$DATABASE',
          'ALTER VIEW ' || Q(:DN) || ' (' || :COLS || ') AS ' || :SRC);
    END
    ELSE IF (DT = 3) THEN
    BEGIN
      -- A computed column of a table: DN is its field source.
      REL = NULL;
      SELECT FIRST 1 TRIM(RDB$RELATION_NAME), TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS
       WHERE RDB$FIELD_SOURCE = :DN INTO REL, CN;
      SRC = (SELECT RDB$COMPUTED_SOURCE FROM RDB$FIELDS WHERE RDB$FIELD_NAME = :DN);
      DN = COALESCE(REL || '.' || CN, DN);
      WHAT = 'computed column ' || DN;
      TODO = 'ALTER TABLE ' || Q(REL) || ' DROP ' || Q(CN) || AGAIN || ', then ALTER TABLE ' ||
             Q(REL) || ' ADD ' || Q(CN) || ' COMPUTED BY ' || COALESCE(SRC, '(...)');
    END
    ELSE IF (DT = 6) THEN
    BEGIN
      -- An expression index.
      SELECT TRIM(RDB$RELATION_NAME), RDB$EXPRESSION_SOURCE, COALESCE(RDB$UNIQUE_FLAG, 0),
             COALESCE(RDB$INDEX_TYPE, 0)
        FROM RDB$INDICES WHERE RDB$INDEX_NAME = :DN INTO REL, SRC, PT, NN;
      WHAT = 'expression index ' || DN || ' of table ' || COALESCE(REL, '?');
      T = 'INDEX';
      IF (NN = 1) THEN T = 'DESCENDING ' || T;
      IF (PT = 1) THEN T = 'UNIQUE ' || T;
      TODO = 'DROP INDEX ' || Q(DN) || AGAIN || ', then CREATE ' || T || ' ' || Q(DN) || ' ON ' ||
             Q(REL) || ' COMPUTED BY ' || COALESCE(SRC, '(...)');
    END
    ELSE IF (DT IN (4, 9)) THEN
    BEGIN
      -- A domain whose CHECK (4) or default calls the function.
      WHAT = 'domain ' || DN;
      SRC = (SELECT RDB$VALIDATION_SOURCE FROM RDB$FIELDS WHERE RDB$FIELD_NAME = :DN);
      TODO = IIF(SRC IS NULL, 'change its default not to call ' || FN || AGAIN || ', then restore it',
                 'ALTER DOMAIN ' || Q(DN) || ' DROP CONSTRAINT' || AGAIN || ', then ALTER DOMAIN ' ||
                 Q(DN) || ' ADD ' || SRC);
    END
    ELSE IF (DT = 15) THEN
    BEGIN
      WHAT = 'function ' || DN;
      TODO = 'change it not to call ' || FN || ' (or drop it after the objects that use it)' || AGAIN ||
             ', then restore it';
    END
    ELSE IF (DT IN (18, 19)) THEN
    BEGIN
      WHAT = 'package ' || DN;
      TODO = 'change its body not to call ' || FN || ' (ALTER PACKAGE or RECREATE PACKAGE BODY)' || AGAIN ||
             ', then restore it';
    END
    ELSE
    BEGIN
      WHAT = 'object ' || DN || ' (RDB$DEPENDENCIES type ' || DT || ')';
      TODO = 'change it not to call ' || FN || ' or drop it' || AGAIN || ', then restore it';
    END
    IF (WHAT IS NOT NULL AND NOT EXISTS (SELECT 1 FROM QOR$WAY_BACK WHERE KIND = -1 AND OBJ_NAME = :DN)) THEN
      INSERT INTO QOR$WAY_BACK VALUES (:SEQ, -1, :DN, :WHAT || ' calls ' || :FN, :TODO);
  END
  IF (EXISTS (SELECT 1 FROM QOR$WAY_BACK WHERE KIND = -1)) THEN
    DELETE FROM QOR$WAY_BACK WHERE SEQ >= :FIRST_NEW AND KIND <> -1;
  ELSE
    FOR SELECT DDL_STUB FROM QOR$WAY_BACK WHERE SEQ >= :FIRST_NEW ORDER BY SEQ INTO STUB DO
      EXECUTE STATEMENT STUB;
END^
SET TERM ; ^
COMMIT;
)SQL";

// Step 1, end: the blockers, if any, each with what to do, and a stop that
// names them all (isql -b ends the script there).
const char* kWayBackBlockers = R"SQL(
SET LIST ON;
SELECT CAST(DDL_STUB AS VARCHAR(1000) CHARACTER SET UTF8) AS "CANNOT_SWITCH",
       CAST(DDL_BACK AS VARCHAR(8000) CHARACTER SET UTF8) AS "WHAT_TO_DO"
  FROM QOR$WAY_BACK WHERE KIND = -1 ORDER BY SEQ;
SET LIST OFF;
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE N INTEGER = 0;
  DECLARE NAMES VARCHAR(700) CHARACTER SET UTF8 = '';
  DECLARE ONE VARCHAR(63) CHARACTER SET UTF8;
BEGIN
  FOR SELECT OBJ_NAME FROM QOR$WAY_BACK WHERE KIND = -1 ORDER BY SEQ INTO ONE DO
  BEGIN
    N = N + 1;
    IF (CHAR_LENGTH(NAMES) < 600) THEN NAMES = IIF(NAMES = '', ONE, NAMES || ', ' || ONE);
    ELSE IF (NAMES NOT LIKE '%, ...') THEN NAMES = NAMES || ', ...';
  END
  IF (N > 0) THEN
    EXCEPTION QOR$WAY_BACK_STOP 'qor_udf3: way back stopped, nothing changed: ' || N ||
      ' object(s) call the functions and must be set aside by hand (CANNOT_SWITCH and WHAT_TO_DO above): ' || NAMES;
END^
SET TERM ; ^
)SQL";

// Step 2: the UDR forms, now unused, are dropped; their names are noted.
const char* kWayBackDrop = R"SQL(
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE FN VARCHAR(63) CHARACTER SET UTF8;
  DECLARE SEQ INTEGER;
BEGIN
  -- Nothing is dropped while blockers are listed (a run without -b).
  IF (EXISTS (SELECT 1 FROM QOR$WAY_BACK WHERE KIND = -1)) THEN EXIT;
  SEQ = (SELECT COALESCE(MAX(SEQ), 0) FROM QOR$WAY_BACK);
  FOR SELECT TRIM(RDB$FUNCTION_NAME) FROM RDB$FUNCTIONS
       WHERE RDB$PACKAGE_NAME IS NULL AND RDB$ENGINE_NAME = 'UDR'
         AND RDB$FUNCTION_NAME IN (@NAMES@)
        INTO FN DO
  BEGIN
    SEQ = SEQ + 1;
    INSERT INTO QOR$WAY_BACK (SEQ, KIND, OBJ_NAME) VALUES (:SEQ, 15, :FN);
    EXECUTE STATEMENT 'DROP FUNCTION "' || FN || '"';
  END
END^
SET TERM ; ^
COMMIT;
)SQL";

// Step 4: the remembered procedures, triggers and views get their own
// definitions back, now calling the legacy declarations.
const char* kWayBackRestore = R"SQL(
SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE DDL BLOB SUB_TYPE TEXT CHARACTER SET UTF8;
BEGIN
  FOR SELECT DDL_BACK FROM QOR$WAY_BACK WHERE KIND NOT IN (15, -1) ORDER BY SEQ INTO DDL DO
    EXECUTE STATEMENT DDL;
END^
SET TERM ; ^
COMMIT;
DROP TABLE QOR$WAY_BACK;
DROP EXCEPTION QOR$WAY_BACK_STOP;
COMMIT;
)SQL";

// Q(x) in the texts above stands for x as a quoted identifier.
std::string ExpandQuote(const std::string& text) {
  static const std::regex kQ(R"(\bQ\(([^()]*)\))");
  return std::regex_replace(text, kQ, "'\"' || REPLACE(TRIM($1), '\"', '\"\"') || '\"'");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

std::string ToLegacyScript(const Catalog& cat, const std::vector<Shape>& shapes,
                           const std::string& module) {
  const std::string cs = TextCharset(shapes);
  std::string names;
  for (const Function& f : cat.functions) {
    if (!names.empty()) names += ", ";
    names += SqlQuote(Upper(f.name));
  }
  if (names.empty()) names = "''";
  std::string out =
      "-- Generated by qor_udrgen from qor_udf3.sql; do not edit (build target 'udr_sql').\n"
      "--\n"
      "-- The way back: switches a database from the UDR front (" + ScriptFileName("qor_udf3_to_udr.sql", cs) + "\n"
      "-- or " + ScriptFileName("qor_udf3_udr.sql", cs) + ") to the legacy declarations of " + ScriptFileName("qor_udf3.sql", cs) + ", keeping\n"
      "-- the procedures, triggers and views that call the functions. A function in\n"
      "-- use cannot be dropped, and the engine has no ALTER from a UDR to a legacy\n"
      "-- declaration, so the script\n"
      "--   1. remembers each calling procedure, trigger and view in the table\n"
      "--      QOR$WAY_BACK and replaces it by a stub with the same header;\n"
      "--   2. drops the UDR forms of the functions;\n"
      "--   3. declares the same functions with the legacy declarations;\n"
      "--   4. gives every remembered object its own definition back and drops\n"
      "--      QOR$WAY_BACK.\n"
      "-- Objects of other kinds that call the functions (computed columns, check\n"
      "-- constraints, expression indices, domains, PSQL functions, packages) stop\n"
      "-- the script at the end of step 1, before anything is changed: it lists\n"
      "-- them all (CANNOT_SWITCH: the object under its own name, as table.column\n"
      "-- for a computed column; WHAT_TO_DO: the statements that set it aside and\n"
      "-- restore it). After they have been set aside, run the script again (a run\n"
      "-- that stopped is taken up where it stopped). Run it with -b so that isql\n"
      "-- stops at an error, and in a UTF8 connection (it recompiles the objects\n"
      "-- from their source text, read in that set; in a NONE database use the set\n"
      "-- your clients use instead):\n"
      "--   isql-fb -b -ch UTF8 -user SYSDBA -i " + ScriptFileName("qor_udf3_to_legacy.sql", cs) + " <database>\n"
      "-- and with no other connection using the objects.\n" + CharsetNote(shapes);
  out += kWayBackCharset;
  out += ExpandQuote(Replace(kWayBackCollect, "@NAMES@", names));
  out += kWayBackBlockers;
  out += Replace(kWayBackDrop, "@NAMES@", names);
  out += "\nSET TERM ^ ;\nEXECUTE BLOCK AS\nBEGIN\n";
  for (const Function& f : cat.functions) {
    std::string decl = f.declaration;
    if (!decl.empty() && decl.back() == ';') decl.pop_back();
    decl = Replace(decl, std::string("MODULE_NAME '") + kModule + "'", "MODULE_NAME '" + module + "'");
    const std::string name = SqlQuote(Upper(f.name));
    out += "  IF (EXISTS (SELECT 1 FROM QOR$WAY_BACK WHERE KIND = 15 AND OBJ_NAME = " + name +
           ") AND NOT EXISTS (SELECT 1 FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME = " + name +
           " AND RDB$PACKAGE_NAME IS NULL)) THEN\n    EXECUTE STATEMENT " + SqlQuote(decl) + ";\n";
  }
  out += "END^\nSET TERM ; ^\nCOMMIT;\n";
  out += kWayBackRestore;
  return out;
}

}  // namespace catalog

namespace catalog {

namespace {

// The upgrade check: for every declared function of the catalogue, its
// stored signature next to the shipped one, in the same spelling:
// "(<argument>, ...) RETURNS <result>", each type with its length and
// character set, legacy arguments with NULL, BY VALUE or FREE_IT as declared.
// "<default>" in a shipped signature is the database's default character
// set, which a CSTRING or VARCHAR without a CHARACTER SET clause takes.
const char* kUpgradeCheckHead = R"SQL(
SET LIST ON;
SET TERM ^ ;
EXECUTE BLOCK RETURNS (FUNCTION_NAME VARCHAR(63) CHARACTER SET UTF8, FRONT VARCHAR(6),
                       STORED VARCHAR(8000) CHARACTER SET UTF8,
                       SHIPPED VARCHAR(8000) CHARACTER SET UTF8) AS
  -- The front and stored signature of a function (both NULL when the
  -- database has not declared it) and the shipped signature for that front.
  DECLARE PROCEDURE CHECK_ONE(FN VARCHAR(63) CHARACTER SET UTF8,
                              LEGACY VARCHAR(4000) CHARACTER SET UTF8,
                              UDR VARCHAR(4000) CHARACTER SET UTF8)
    RETURNS (FRONT VARCHAR(6), STORED VARCHAR(8000) CHARACTER SET UTF8,
             SHIPPED VARCHAR(8000) CHARACTER SET UTF8) AS
    DECLARE RA SMALLINT;
    DECLARE LF SMALLINT;
    DECLARE ENG VARCHAR(63) CHARACTER SET UTF8;
    DECLARE POS SMALLINT;
    DECLARE MECH SMALLINT;
    DECLARE FT SMALLINT;
    DECLARE ST SMALLINT;
    DECLARE CL INTEGER;
    DECLARE LEN INTEGER;
    DECLARE CS SMALLINT;
    DECLARE T VARCHAR(400) CHARACTER SET UTF8;
    DECLARE ARGS VARCHAR(8000) CHARACTER SET UTF8 = '';
    DECLARE RES VARCHAR(400) CHARACTER SET UTF8 = '';
  BEGIN
    SELECT COALESCE(RDB$RETURN_ARGUMENT, 0), COALESCE(RDB$LEGACY_FLAG, 0), TRIM(RDB$ENGINE_NAME)
      FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME = :FN AND RDB$PACKAGE_NAME IS NULL
      INTO RA, LF, ENG;
    IF (ROW_COUNT = 0) THEN EXIT;
    FRONT = IIF(LF = 1, 'legacy', IIF(ENG = 'UDR', 'UDR', 'PSQL'));
    FOR SELECT A.RDB$ARGUMENT_POSITION, COALESCE(A.RDB$MECHANISM, 0),
               COALESCE(A.RDB$FIELD_TYPE, F.RDB$FIELD_TYPE),
               COALESCE(A.RDB$FIELD_SUB_TYPE, F.RDB$FIELD_SUB_TYPE),
               COALESCE(A.RDB$CHARACTER_LENGTH, F.RDB$CHARACTER_LENGTH),
               COALESCE(A.RDB$FIELD_LENGTH, F.RDB$FIELD_LENGTH),
               COALESCE(A.RDB$CHARACTER_SET_ID, F.RDB$CHARACTER_SET_ID)
          FROM RDB$FUNCTION_ARGUMENTS A
          LEFT JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = A.RDB$FIELD_SOURCE
         WHERE A.RDB$FUNCTION_NAME = :FN AND A.RDB$PACKAGE_NAME IS NULL
         ORDER BY A.RDB$ARGUMENT_POSITION
          INTO POS, MECH, FT, ST, CL, LEN, CS DO
    BEGIN
      -- The SQL type of the argument or result.
      IF (FT IN (14, 37, 40)) THEN
        T = DECODE(FT, 14, 'CHAR(', 37, 'VARCHAR(', 'CSTRING(') || COALESCE(CL, LEN) ||
            ') CHARACTER SET ' || COALESCE((SELECT TRIM(RDB$CHARACTER_SET_NAME)
                                            FROM RDB$CHARACTER_SETS
                                           WHERE RDB$CHARACTER_SET_ID = :CS), 'NONE');
      ELSE IF (FT = 261) THEN
        T = 'BLOB' || IIF(COALESCE(ST, 0) = 0, '', ' SUB_TYPE ' || ST);
      ELSE
        T = DECODE(FT, 7, 'SMALLINT', 8, 'INTEGER', 16, 'BIGINT', 10, 'FLOAT',
                   27, 'DOUBLE PRECISION', 12, 'DATE', 13, 'TIME', 35, 'TIMESTAMP',
                   23, 'BOOLEAN', 'type ' || FT);
      IF (LF = 1 AND POS = 0) THEN
        T = T || DECODE(MECH, 0, ' BY VALUE', 1, '', IIF(MECH < 0, ' FREE_IT', ' mechanism ' || MECH));
      ELSE IF (LF = 1) THEN
        T = T || DECODE(MECH, 0, ' BY VALUE', 2, ' BY DESCRIPTOR', 5, ' NULL', '');
      IF (POS = 0) THEN RES = T;
      ELSE ARGS = IIF(ARGS = '', T, ARGS || ', ' || T);
    END
    STORED = '(' || ARGS || ') RETURNS ' || IIF(LF = 1 AND RA > 0, 'PARAMETER ' || RA, RES);
    SHIPPED = REPLACE(IIF(FRONT = 'UDR', UDR, LEGACY), '<default>',
                      (SELECT COALESCE(TRIM(RDB$CHARACTER_SET_NAME), 'NONE') FROM RDB$DATABASE));
  END
BEGIN
)SQL";

// A legacy argument or result type as the check above spells it.
std::string LegacyTypeText(ArgKind kind, int length, const std::string& charset) {
  if (kind != ArgKind::Text) return SqlType(kind, length, charset);
  return "CSTRING(" + std::to_string(length) + ") CHARACTER SET " +
         (charset.empty() ? std::string("<default>") : charset);
}

std::string LegacySignature(const Shape& s) {
  std::string out = "(";
  for (size_t i = 0; i < s.args.size(); ++i) {
    if (i > 0) out += ", ";
    out += LegacyTypeText(s.args[i].kind, s.args[i].length, s.args[i].charset);
    if (s.args[i].nullable) out += " NULL";
  }
  out += ") RETURNS ";
  if (s.mode == ReturnMode::Parameter) return out + "PARAMETER " + std::to_string(s.parameter);
  out += LegacyTypeText(s.result, s.result_length, s.result_charset);
  if (s.mode == ReturnMode::ByValue) out += " BY VALUE";
  if (s.mode == ReturnMode::FreeIt) out += " FREE_IT";
  return out;
}

// A UDR text type as the check above spells it: a VARCHAR that names no
// character set is in the database's default one.
std::string UdrTypeText(const std::string& type) {
  if (type.rfind("VARCHAR(", 0) != 0 || type.find("CHARACTER SET") != std::string::npos) return type;
  return type + " CHARACTER SET <default>";
}

// The UDR declaration's header without the parameter names.
std::string UdrSignature(const Function& f, const Shape& s) {
  const std::string header = UdrHeader(f, s);
  const size_t returns = header.rfind(")\n  RETURNS ");
  if (header.empty() || header[0] != '(' || returns == std::string::npos) return header;
  std::string out = "(";
  for (const std::string& p : SplitTopLevel(header.substr(1, returns - 1))) {
    if (out.size() > 1) out += ", ";
    const size_t blank = p.find(' ');
    out += UdrTypeText(blank == std::string::npos ? p : p.substr(blank + 1));
  }
  return out + ") RETURNS " + UdrTypeText(TrimBlank(header.substr(returns + 12)));
}

}  // namespace

std::string UpgradeCheckScript(const Catalog& cat, const std::vector<Shape>& shapes) {
  std::string out =
      "-- Generated by qor_udrgen from qor_udf3.sql; do not edit (build target 'udr_sql').\n"
      "--\n"
      "-- Before an upgrade: lists the functions of the library that a database has\n"
      "-- declared (through either front) with a signature other than the one this\n"
      "-- version ships: other arguments, argument or result types, text sizes or\n"
      "-- character sets, NULL, BY VALUE or FREE_IT. It changes nothing:\n"
      "--   isql-fb -user SYSDBA -i qor_udf3_upgrade_check.sql <database>\n"
      "-- Each row shows FUNCTION_NAME, FRONT (legacy, UDR, or PSQL for a function of\n"
      "-- that name that is neither), the STORED and the SHIPPED signature. No row:\n"
      "-- the stored declarations are the shipped ones. Functions the database has\n"
      "-- not declared are not listed. A CSTRING or VARCHAR without a character set\n"
      "-- takes the database's default set and is shown with it.\n";
  out += kUpgradeCheckHead;
  for (size_t i = 0; i < cat.functions.size() && i < shapes.size(); ++i) {
    // A declaration the generator cannot read has no signature to compare.
    if (!shapes[i].served) continue;
    const Function& f = cat.functions[i];
    out += "  FUNCTION_NAME = " + SqlQuote(Upper(f.name)) +
           ";\n  EXECUTE PROCEDURE CHECK_ONE(:FUNCTION_NAME,\n    " +
           SqlQuote(LegacySignature(shapes[i])) + ",\n    " + SqlQuote(UdrSignature(f, shapes[i])) +
           ")\n    RETURNING_VALUES :FRONT, :STORED, :SHIPPED;\n"
           "  IF (STORED <> SHIPPED) THEN SUSPEND;\n";
  }
  out += "END^\nSET TERM ; ^\nSET LIST OFF;\n";
  return out;
}

}  // namespace catalog
