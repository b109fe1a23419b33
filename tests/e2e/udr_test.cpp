// The UDR front through the engine: every documented example gives the same
// answer (or the same statement failure) through the legacy and the UDR
// declaration of each function, for the library and for the test-only probe
// library that has a function of every argument and result kind; and a
// database with a procedure, a trigger and a view calling the functions
// switches to the UDR front and back again with the scripts in sql/, keeping
// its answers.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "catalog.h"
#include "engine.h"
#include "udr_catalog.h"
#include "udr_profile.h"

namespace fbtest {
namespace {

// The UDR forms are declared under this prefix beside the legacy ones, and
// the library's forms of the compact size profile under the second.
constexpr const char* kPrefix = "UDR_";
constexpr const char* kCompactPrefix = "UDC_";

struct Library {
  std::string module;
  catalog::Catalog cat;
  std::vector<catalog::Shape> shapes;
  std::vector<std::string> errors;
};

Library Load(const char* script, const char* module) {
  Library lib;
  lib.module = module;
  lib.cat = catalog::ParseForModule(catalog::ReadFile(script), module);
  lib.errors = lib.cat.errors;
  lib.shapes = catalog::Shapes(lib.cat, lib.errors);
  return lib;
}

const Library& Main() {
  static const Library lib = Load(QOR_SQL_SCRIPT, "qor_udf3.dll");
  return lib;
}

const Library& Probe() {
  static const Library lib = Load(QOR_UDR_PROBE_SQL, "qor_udr_probe.dll");
  return lib;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Declares the probe library's legacy functions, and the UDR forms of both
// libraries under kPrefix, once.
void DeclareFronts() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const auto& f : Probe().cat.functions) {
    Db().Execute(Replace(f.declaration, "MODULE_NAME 'qor_udf3.dll'", "MODULE_NAME 'qor_udr_probe.dll'"));
  }
  for (const Library* lib : {&Main(), &Probe()}) {
    for (size_t i = 0; i < lib->cat.functions.size(); ++i) {
      if (!lib->shapes[i].served) continue;  // reported by DeclarationsHaveShapesTheFrontServes
      Db().Execute(catalog::UdrCreate(lib->cat.functions[i], lib->shapes[i], kPrefix, lib->module));
    }
  }
  const std::vector<catalog::Shape> compact = catalog::CompactShapes(Main().shapes);
  for (size_t i = 0; i < Main().cat.functions.size(); ++i) {
    if (compact[i].served) Db().Execute(catalog::UdrCreate(Main().cat.functions[i], compact[i], kCompactPrefix));
  }
}

// The expression with every call of a declared function turned into a call
// of its UDR form (of the compact profile with kCompactPrefix).
std::string ToUdr(const std::string& expr, const char* prefix = kPrefix) {
  std::set<std::string> names;
  for (const Library* lib : {&Main(), &Probe()}) {
    for (size_t i = 0; i < lib->cat.functions.size(); ++i) {
      if (lib->shapes[i].served) names.insert(lib->cat.functions[i].name);
    }
  }
  static const std::regex kCall(R"(\b(fn_\w+)\s*\()");
  std::string out;
  auto begin = std::sregex_iterator(expr.begin(), expr.end(), kCall);
  size_t last = 0;
  for (auto it = begin; it != std::sregex_iterator(); ++it) {
    const auto& m = *it;
    out += expr.substr(last, static_cast<size_t>(m.position(0)) - last);
    out += (names.count(m[1]) != 0 ? prefix : "") + m[1].str() + "(";
    last = static_cast<size_t>(m.position(0) + m.length(0));
  }
  return out + expr.substr(last);
}

struct Outcome {
  bool failed = false;
  std::string error;
  SqlValue value;
  std::string show() const { return failed ? "failure: " + error : value.Show(); }
};

Outcome Evaluate(const std::string& expr) {
  Outcome o;
  try {
    o.value = Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE");
  } catch (const std::exception& e) {
    o.failed = true;
    o.error = e.what();
  }
  return o;
}

bool SameAnswer(const Outcome& a, const Outcome& b) {
  if (a.failed || b.failed) return a.failed && b.failed;
  const SqlValue& x = a.value;
  const SqlValue& y = b.value;
  if (x.is_null || y.is_null) return x.is_null == y.is_null;
  if (x.IsText() || y.IsText()) return x.IsText() && y.IsText() && x.text == y.text;
  if (x.type != y.type) return false;
  if (x.type == SQL_TIMESTAMP) {
    return x.timestamp.timestamp_date == y.timestamp.timestamp_date &&
           x.timestamp.timestamp_time == y.timestamp.timestamp_time;
  }
  return x.number == y.number && std::signbit(x.number) == std::signbit(y.number);
}

bool AsDocumented(const Outcome& got, const catalog::Expected& want) {
  if (got.failed) return false;
  switch (want.kind) {
    case 'N': return got.value.is_null;
    case 'T': return !got.value.is_null && got.value.IsText() && got.value.text == want.text;
    default:
      return !got.value.is_null && !got.value.IsText() && got.value.number == want.number &&
             std::signbit(got.value.number) == std::signbit(want.number);
  }
}

const std::string& ErrorLog() {
  static const std::string path = WorkDir() + "/qor_udf3.err";
  return path;
}

TEST(UdrFront, DeclarationsHaveShapesTheFrontServes) {
  for (const Library* lib : {&Main(), &Probe()}) {
    EXPECT_FALSE(lib->cat.functions.empty());
    for (const auto& e : lib->errors) ADD_FAILURE() << lib->module << ": " << e;
  }
}

// The error-log records written by one call, without their date-time stamps.
std::string LoggedBy(const std::function<void()>& call) {
  unlink(ErrorLog().c_str());
  call();
  std::string out;
  std::istringstream lines(catalog::ReadFile(ErrorLog()));
  std::string line;
  while (std::getline(lines, line)) {
    const size_t at = line.find(": ");
    out += (at == std::string::npos ? line : line.substr(at)) + "\n";
  }
  unlink(ErrorLog().c_str());
  return out;
}

// Whether the call of `name` in the expression (the first one) answers,
// through the full UDR front, a text longer than the compact profile admits.
bool LongerThanCompact(const std::string& expr, const std::string& name) {
  const size_t start = expr.find(name + "(");
  if (start == std::string::npos) return false;
  int depth = 0;
  bool quoted = false;
  for (size_t i = start + name.size(); i < expr.size(); ++i) {
    if (expr[i] == '\'') quoted = !quoted;  // '' inside a literal toggles twice
    if (quoted) continue;
    if (expr[i] == '(') ++depth;
    if (expr[i] == ')' && --depth == 0) {
      const Outcome length = Evaluate("OCTET_LENGTH(" + ToUdr(expr.substr(start, i + 1 - start)) + ")");
      return !length.failed && !length.value.is_null && length.value.integer > catalog::kCompactTextLimit;
    }
  }
  return false;
}

// Every example of both libraries gives the same answer and the same
// error-log records through both fronts. (The legacy answers are checked
// against the documented ones by the catalogue test, which has run the
// examples once already: an example that changes files answers here as on
// its second run, alike in both fronts.) The probe library's answers are
// checked against its documentation here. The library's forms of the compact
// profile give the same answers too, except that a result longer than the
// profile admits fails the statement.
TEST(UdrFront, EveryExampleAnswersAsThroughTheLegacyFront) {
  DeclareFronts();
  for (const Library* lib : {&Main(), &Probe()}) {
    for (size_t i = 0; i < lib->cat.functions.size(); ++i) {
      const catalog::Function& f = lib->cat.functions[i];
      if (!lib->shapes[i].served) continue;
      for (const auto& ex : f.examples) {
        const std::string udr = ToUdr(ex.expr);
        SCOPED_TRACE(lib->module + ": " + ex.expr + " / " + udr);
        ASSERT_NE(udr, ex.expr);
        Outcome legacy;
        Outcome front;
        const std::string legacy_log = LoggedBy([&] { legacy = Evaluate(ex.expr); });
        const std::string front_log = LoggedBy([&] { front = Evaluate(udr); });
        EXPECT_TRUE(SameAnswer(legacy, front)) << "legacy " << legacy.show() << ", UDR " << front.show();
        EXPECT_EQ(legacy_log, front_log);
        if (lib == &Main()) {
          // The compact profile answers alike, or refuses a result longer
          // than it admits.
          Outcome compact;
          const std::string compact_log = LoggedBy([&] { compact = Evaluate(ToUdr(ex.expr, kCompactPrefix)); });
          if (LongerThanCompact(ex.expr, f.name)) {
            EXPECT_NE(compact.error.find("string right truncation"), std::string::npos) << compact.show();
          } else {
            EXPECT_TRUE(SameAnswer(legacy, compact)) << "legacy " << legacy.show() << ", compact " << compact.show();
            EXPECT_EQ(legacy_log, compact_log);
          }
        }
        if (lib == &Probe()) {
          catalog::Expected want;
          ASSERT_TRUE(catalog::DecodeExpected(ex.expected, want));
          EXPECT_TRUE(AsDocumented(front, want)) << "UDR " << front.show() << ", want " << ex.expected;
          EXPECT_EQ(front_log, "");
        }
      }
    }
  }
}

// What the engine itself refuses fails the statement in both fronts alike:
// an argument longer than declared, a text result longer than declared, an
// infinite double result.
TEST(UdrFront, StatementFailuresAreTheLegacyFrontsFailures) {
  DeclareFronts();
  const char* const cases[] = {
      "fn_SHSoll('12345678901234567', 1)",  // 17 characters for CSTRING(16)
      "fn_ProbeLong(6)",                    // 6 characters for CSTRING(5)
      "fn_ProbeDouble(0)",                  // infinite
      "fn_ProbeDouble(NULL)",               // NULL reads as 0: infinite
  };
  for (const char* expr : cases) {
    SCOPED_TRACE(expr);
    const Outcome legacy = Evaluate(expr);
    const Outcome front = Evaluate(ToUdr(expr));
    EXPECT_TRUE(legacy.failed) << legacy.show();
    EXPECT_TRUE(front.failed) << front.show();
  }
  // A UDR declaration that does not fit its entry point is refused when it
  // is made, instead of reading past the message when called.
  auto declare = [](const std::string& ddl) -> std::string {
    try {
      Db().Execute(ddl);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "accepted";
  };
  EXPECT_NE(declare("CREATE OR ALTER FUNCTION UDR_BAD_ARITY (A VARCHAR(16) CHARACTER SET NONE)"
                    " RETURNS DOUBLE PRECISION EXTERNAL NAME 'qor_udf3.dll!fn_SHSoll' ENGINE UDR")
                .find("fn_SHSoll: the UDR declaration does not match"),
            std::string::npos);
  EXPECT_NE(declare("CREATE OR ALTER FUNCTION UDR_UNKNOWN (A DOUBLE PRECISION) RETURNS DOUBLE PRECISION"
                    " EXTERNAL NAME 'qor_udf3.dll!fn_NoSuchFunction' ENGINE UDR"),
            "accepted");
  // The longest accepted argument passes whole in both.
  EXPECT_TRUE(SameAnswer(Evaluate("fn_SHSoll('S234567890123456', 1)"), Evaluate(ToUdr("fn_SHSoll('S234567890123456', 1)"))));
  EXPECT_EQ(Evaluate(ToUdr("fn_ProbeUpper('" + std::string(50, 'a') + "')")).value.text, std::string(50, 'A'));
}

// A caught error writes the same record and gives the same valid result.
TEST(UdrFront, CaughtErrorsLeaveTheSameRecord) {
  DeclareFronts();
  struct Case {
    const char* expr;
    const char* record;
  };
  const Case cases[] = {
      {"fn_ProbeInt(2000000000)", "fn_ProbeInt: Arithmetic overflow"},
      {"fn_ProbeLong(-1)", "fn_ProbeLong: negative count"},
      {"fn_ProbeBig(9223372036854775807, 2)", "fn_ProbeBig: Arithmetic overflow"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expr);
    std::string logs[2];
    Outcome answers[2];
    const std::string exprs[2] = {c.expr, ToUdr(c.expr)};
    for (int i = 0; i < 2; ++i) {
      logs[i] = LoggedBy([&] { answers[i] = Evaluate(exprs[i]); });
      EXPECT_FALSE(answers[i].failed) << answers[i].show();
      EXPECT_EQ(logs[i], std::string(": ") + c.record + "\n");
    }
    EXPECT_TRUE(SameAnswer(answers[0], answers[1])) << answers[0].show() << " / " << answers[1].show();
  }
}

// Blobs larger than one segment, written and read back through both fronts,
// also from a table column.
TEST(UdrFront, BlobsTravelSegmentBySegment) {
  DeclareFronts();
  const Outcome big = Evaluate(ToUdr("fn_ProbeToBlob('0123456789', 2000)"));
  ASSERT_FALSE(big.failed) << big.show();
  ASSERT_EQ(big.value.text.size(), 20000u);
  EXPECT_EQ(big.value.text.substr(19990), "0123456789");
  EXPECT_TRUE(SameAnswer(big, Evaluate("fn_ProbeToBlob('0123456789', 2000)")));
  std::string abc40;
  for (int i = 0; i < 40; ++i) abc40 += "abc";
  for (const char* expr : {"fn_ProbeBlobRead(fn_ProbeToBlob('abc', 40), 7)",
                           "fn_ProbeBlobRead(fn_ProbeToBlob('abc', 40), 8192)"}) {
    const Outcome front = Evaluate(ToUdr(expr));
    EXPECT_EQ(front.value.text, "120:" + abc40) << expr;
    EXPECT_TRUE(SameAnswer(front, Evaluate(expr))) << expr;
  }
  Db().Execute("CREATE TABLE UDR_BLOBS (ID INTEGER, B BLOB SUB_TYPE TEXT)");
  Db().Execute("INSERT INTO UDR_BLOBS VALUES (1, 'stored text')");
  Db().Execute("INSERT INTO UDR_BLOBS VALUES (2, NULL)");
  const auto legacy = Db().Query("SELECT fn_ProbeBlobRead(B, 4), fn_ProbeBlobNil(B, 4) FROM UDR_BLOBS ORDER BY ID");
  const auto front = Db().Query(ToUdr("SELECT fn_ProbeBlobRead(B, 4), fn_ProbeBlobNil(B, 4) FROM UDR_BLOBS ORDER BY ID"));
  ASSERT_EQ(front.size(), 2u);
  EXPECT_EQ(front[0][0].text, "11:stored text");
  EXPECT_EQ(front[1][0].text, "none");
  EXPECT_EQ(front[1][1].text, "none");
  for (size_t r = 0; r < 2; ++r) {
    for (size_t c = 0; c < 2; ++c) EXPECT_EQ(front[r][c].text, legacy[r][c].text);
  }
}

// The UDR front frees the results it gets, which is sound only when every
// result comes through UdfAlloc (it takes the front's allocator during UDR
// calls); memory from ib_util_malloc itself would corrupt the server's heap
// when freed there.
TEST(UdrFront, ResultsAreAllocatedOnlyThroughUdfAlloc) {
  namespace fs = std::filesystem;
  const fs::path src = fs::path(QOR_SQL_DIR).parent_path() / "src";
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = entry.path().string();
    if (path.size() < 4 || (path.substr(path.size() - 4) != ".cpp" && path.substr(path.size() - 2) != ".h")) continue;
    ++files;
    if (entry.path().filename() == "udf_result.cpp") continue;
    EXPECT_EQ(catalog::ReadFile(path).find("ib_util_malloc("), std::string::npos)
        << path << " allocates a result with ib_util_malloc directly: use UdfAlloc";
  }
  EXPECT_GT(files, 10);
}

// ---------------------------------------------------------------------------
// Switching a database to the UDR front and back.

class SwitchFronts : public ::testing::Test {
 protected:
  static std::string Isql(const std::string& args) {
    std::string out;
    const int rc = IsqlRun(args, out);
    return rc == 0 ? std::string() : "isql " + args + " failed:\n" + out;
  }
  static int IsqlRun(const std::string& args, std::string& out) {
    return RunCommand(std::string(QOR_ISQL) + " -q -b -user SYSDBA " + args, out);
  }

  // A database with the legacy declarations and a table, a view, a
  // procedure and a trigger that call several functions.
  static std::string MakeDatabase(const std::string& db) {
    unlink(db.c_str());
    const std::string create = WorkDir() + "/create_switch.sql";
    FILE* f = std::fopen(create.c_str(), "wb");
    if (f == nullptr) return "cannot write " + create;
    std::fprintf(f, "CREATE DATABASE '%s' USER 'SYSDBA';\n", db.c_str());
    std::fclose(f);
    std::string failed = Isql("-i " + create);
    if (failed.empty()) failed = Isql("-i " QOR_SQL_SCRIPT " " + db);
    if (!failed.empty()) return failed;
    FbSession s(db);
    s.Execute("CREATE TABLE BOOKING (ID INTEGER, SIDE VARCHAR(4), AMOUNT DOUBLE PRECISION,"
              " SOLL DOUBLE PRECISION, IN_RANGE VARCHAR(2))");
    s.Execute("CREATE VIEW BOOKING_SIDES (ID, SOLL, HABEN, IN_RANGE) AS SELECT ID,"
              " fn_SHSoll(SIDE, AMOUNT), fn_SHHaben(SIDE, AMOUNT),"
              " fn_Kontenbereich(AMOUNT, '4700-4799,!4711', NULL) FROM BOOKING");
    s.Execute("CREATE DOMAIN D_SIDE AS VARCHAR(4) CHARACTER SET NONE");
    s.Execute("CREATE PROCEDURE BOOKING_TEXT (SIDE D_SIDE, AMOUNT TYPE OF COLUMN BOOKING.AMOUNT = 1,"
              " KST NUMERIC(9, 2) NOT NULL = 4711)"
              " RETURNS (SIGNED DOUBLE PRECISION, AUFTEILUNG VARCHAR(400) CHARACTER SET NONE) AS"
              " DECLARE VARIABLE EXT DOUBLE PRECISION;"
              " BEGIN"
              "   EXT = fn_SHBetragExt(SIDE, AMOUNT, 'S', 'H');"
              "   SIGNED = fn_SHBetrag(SIDE, AMOUNT) + EXT;"
              "   AUFTEILUNG = fn_KstToAufteilung(KST, 0, 400, AMOUNT, SIDE);"
              "   SUSPEND;"
              " END");
    s.Execute("CREATE TRIGGER BOOKING_BI FOR BOOKING BEFORE INSERT AS"
              " BEGIN"
              "   NEW.SOLL = fn_SHSoll(NEW.SIDE, NEW.AMOUNT);"
              "   NEW.IN_RANGE = fn_Kontenbereich(NEW.AMOUNT, '4700-4799', NULL);"
              " END");
    s.Execute("INSERT INTO BOOKING (ID, SIDE, AMOUNT) VALUES (1, 'S', 4712)");
    s.Execute("INSERT INTO BOOKING (ID, SIDE, AMOUNT) VALUES (2, 'H', 4711)");
    return {};
  }

  // The same database switched to the UDR front, with more objects that
  // call the functions.
  static std::string MakeUdrDatabase(const std::string& db, const std::vector<std::string>& statements) {
    std::string failed = MakeDatabase(db);
    if (failed.empty()) failed = Isql("-i " QOR_SQL_DIR "/qor_udf3_to_udr.sql " + db);
    if (!failed.empty()) return failed;
    FbSession s(db);
    for (const std::string& statement : statements) s.Execute(statement);
    return {};
  }

  // Everything the dependent objects answer; `id` is a fresh booking for the
  // trigger.
  static std::vector<std::string> Answers(const std::string& db, int id) {
    FbSession s(db);
    std::vector<std::string> out;
    auto add = [&](const std::vector<Row>& rows) {
      for (const Row& row : rows) {
        std::string line;
        for (const SqlValue& v : row) line += v.Show() + " | ";
        out.push_back(line);
      }
    };
    add(s.Query("SELECT * FROM BOOKING_SIDES ORDER BY ID"));
    add(s.Query("SELECT * FROM BOOKING_TEXT('H', 4712.5)"));
    add(s.Query("SELECT * FROM BOOKING_TEXT('S', 12.25, 17)"));
    s.Execute("INSERT INTO BOOKING (ID, SIDE, AMOUNT) VALUES (" + std::to_string(id) + ", 'S', 4799.5)");
    add(s.Query("SELECT SOLL, IN_RANGE FROM BOOKING WHERE ID = " + std::to_string(id)));
    s.Execute("DELETE FROM BOOKING WHERE ID = " + std::to_string(id));
    return out;
  }

  // How many of the catalogue's functions the database has as UDR and as
  // legacy declarations.
  static std::pair<int64_t, int64_t> Fronts(const std::string& db) {
    FbSession s(db);
    const Row row = s.Query(
        "SELECT SUM(IIF(RDB$ENGINE_NAME = 'UDR', 1, 0)), SUM(IIF(RDB$LEGACY_FLAG = 1, 1, 0))"
        " FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME STARTING WITH 'FN_'")[0];
    return {row[0].integer, row[1].integer};
  }
};

// How many functions the library declares, and how many of them have a UDR form.
std::pair<int64_t, int64_t> Counts() {
  int64_t served = 0;
  for (const auto& s : Main().shapes) served += s.served ? 1 : 0;
  return {static_cast<int64_t>(Main().cat.functions.size()), served};
}

TEST_F(SwitchFronts, ToUdrAndBackKeepsProceduresTriggersAndViews) {
  const std::string db = WorkDir() + "/switch.fdb";
  ASSERT_EQ(MakeDatabase(db), "");
  const auto [n, udr] = Counts();
  ASSERT_EQ(Fronts(db), std::make_pair(int64_t{0}, n));
  const std::vector<std::string> before = Answers(db, 10);
  ASSERT_EQ(before.size(), 5u);
  EXPECT_EQ(before[4], "4799.5 | '1' | ");
  // On a database that has the legacy front, the way back changes nothing.
  ASSERT_EQ(Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db), "");
  EXPECT_EQ(Fronts(db), std::make_pair(int64_t{0}, n));
  EXPECT_EQ(Answers(db, 9), before);

  ASSERT_EQ(Isql("-i " QOR_SQL_DIR "/qor_udf3_to_udr.sql " + db), "");
  EXPECT_EQ(Fronts(db), std::make_pair(udr, n - udr));
  EXPECT_EQ(Answers(db, 11), before);

  ASSERT_EQ(Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db), "");
  EXPECT_EQ(Fronts(db), std::make_pair(int64_t{0}, n));
  EXPECT_EQ(Answers(db, 12), before);
  {
    FbSession s(db);
    EXPECT_EQ(s.Scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'QOR$WAY_BACK'").integer, 0);
    // The procedure kept its header: the domain, the column type, the NOT
    // NULL input and the defaults.
    const auto params = s.Query(
        "SELECT TRIM(RDB$PARAMETER_NAME), TRIM(RDB$FIELD_SOURCE), COALESCE(RDB$NULL_FLAG, 0),"
        " TRIM(RDB$RELATION_NAME), CAST(RDB$DEFAULT_SOURCE AS VARCHAR(100))"
        " FROM RDB$PROCEDURE_PARAMETERS WHERE RDB$PROCEDURE_NAME = 'BOOKING_TEXT'"
        " AND RDB$PARAMETER_TYPE = 0 ORDER BY RDB$PARAMETER_NUMBER");
    ASSERT_EQ(params.size(), 3u);
    EXPECT_EQ(params[0][1].text, "D_SIDE");
    EXPECT_EQ(params[1][3].text, "BOOKING");
    EXPECT_EQ(params[1][4].text, "= 1");
    EXPECT_EQ(params[2][2].integer, 1);
    EXPECT_EQ(params[2][4].text, "= 4711");
  }
  // And once more: the way there again after the way back.
  ASSERT_EQ(Isql("-i " QOR_SQL_DIR "/qor_udf3_to_udr.sql " + db), "");
  EXPECT_EQ(Answers(db, 13), before);
}

// The compact size profile switches a database in place from the legacy
// front and from the full profile, and back to either: the dependent
// objects keep their answers, and only a text longer than the profile
// admits is refused (the statement fails as for a text beyond a legacy
// declaration) until the full profile is back.
TEST_F(SwitchFronts, CompactProfileSwitchesInPlaceAndRefusesOnlyLongerTexts) {
  const std::string db = WorkDir() + "/switch_compact.fdb";
  ASSERT_EQ(MakeDatabase(db), "");
  const auto [n, udr] = Counts();
  const std::vector<std::string> before = Answers(db, 10);
  const int limit = catalog::kCompactTextLimit;
  // fn_UpperCase of `length` letters and `blanks` blanks: the length of its
  // answer, or "refused".
  auto upper = [&](int length, int blanks = 0) -> std::string {
    try {
      FbSession s(db);
      const SqlValue v = s.Scalar("SELECT CHAR_LENGTH(fn_UpperCase(CAST(LPAD('', " + std::to_string(length) +
                                  ", 'a') || LPAD('', " + std::to_string(blanks) +
                                  ") AS VARCHAR(8000)))) FROM RDB$DATABASE");
      return std::to_string(v.integer);
    } catch (const std::exception& e) {
      return std::strstr(e.what(), "string right truncation") != nullptr ? "refused" : e.what();
    }
  };
  const std::string at_limit = std::to_string(limit);
  const std::string beyond = std::to_string(limit + 1);
  // The server drops blanks beyond a VARCHAR's length without an error: the
  // one answer that differs between the profiles without a failure.
  const std::string blanks_kept = std::to_string(limit + 3);
  struct Step {
    const char* script;
    std::string at_limit, beyond, blanks;
  };
  const Step steps[] = {
      {"qor_udf3_to_udr_compact.sql", at_limit, "refused", at_limit},  // from the legacy front
      {"qor_udf3_to_udr.sql", at_limit, beyond, blanks_kept},          // compact to full
      {"qor_udf3_to_udr_compact.sql", at_limit, "refused", at_limit},  // full to compact
      {"qor_udf3_to_legacy.sql", at_limit, beyond, blanks_kept},       // and the way back
  };
  int id = 11;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.script);
    const bool legacy = std::string(step.script) == "qor_udf3_to_legacy.sql";
    ASSERT_EQ(Isql(std::string(legacy ? "-ch UTF8 " : "") + "-i " QOR_SQL_DIR "/" + step.script + " " + db), "");
    EXPECT_EQ(Fronts(db), legacy ? std::make_pair(int64_t{0}, n) : std::make_pair(udr, n - udr));
    EXPECT_EQ(Answers(db, id++), before);
    EXPECT_EQ(upper(limit), step.at_limit);
    EXPECT_EQ(upper(limit + 1), step.beyond);
    EXPECT_EQ(upper(limit, 3), step.blanks);
  }
}

// A caller the way back cannot set aside (a computed column) stops it before
// anything is changed: the database stays on the UDR front and answers.
TEST_F(SwitchFronts, WayBackStopsUntouchedAtAComputedColumn) {
  const std::string db = WorkDir() + "/switch_computed.fdb";
  ASSERT_EQ(MakeUdrDatabase(db, {"ALTER TABLE BOOKING ADD HABEN COMPUTED BY (fn_SHHaben(SIDE, AMOUNT))"}), "");
  const std::vector<std::string> before = Answers(db, 20);
  const std::string failed = Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db);
  EXPECT_NE(failed.find("computed column BOOKING.HABEN calls FN_SHHABEN"), std::string::npos) << failed;
  const auto [n, udr] = Counts();
  EXPECT_EQ(Fronts(db), std::make_pair(udr, n - udr));
  EXPECT_EQ(Answers(db, 21), before);
  {
    FbSession s(db);
    EXPECT_EQ(s.Scalar("SELECT HABEN FROM BOOKING WHERE ID = 2").number, 4711);
    s.Execute("ALTER TABLE BOOKING DROP HABEN");
  }
  // With the column set aside, the next run goes through.
  ASSERT_EQ(Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db), "");
  EXPECT_EQ(Fronts(db), std::make_pair(int64_t{0}, n));
  EXPECT_EQ(Answers(db, 22), before);
}

// Every caller the way back cannot set aside is named in the same run, as
// the administrator knows it (the check constraint by its own name, not its
// system trigger's; the computed column as table.column), with statements
// that set it aside and restore it: following them gets the way through.
TEST_F(SwitchFronts, WayBackNamesEveryBlockerAtOnceWithWhatToDo) {
  const std::string db = WorkDir() + "/switch_blockers.fdb";
  ASSERT_EQ(MakeUdrDatabase(db, {"ALTER TABLE BOOKING ADD HABEN COMPUTED BY (fn_SHHaben(SIDE, AMOUNT))",
                                 "ALTER TABLE BOOKING ADD CONSTRAINT CHK_T CHECK (fn_SHSoll(SIDE, AMOUNT) < 1000000)"}),
            "");
  const std::vector<std::string> before = Answers(db, 30);
  const std::string failed = Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db);
  EXPECT_NE(failed.find("check constraint CHK_T of table BOOKING calls FN_SHSOLL"), std::string::npos)
      << failed;
  EXPECT_NE(failed.find("computed column BOOKING.HABEN calls FN_SHHABEN"), std::string::npos) << failed;
  EXPECT_NE(failed.find("2 object(s)"), std::string::npos) << failed;
  EXPECT_EQ(failed.find("CHECK_"), std::string::npos) << failed;  // no system trigger name
  EXPECT_EQ(failed.find("RDB$"), std::string::npos) << failed;    // no field source name
  const auto [n, udr] = Counts();
  EXPECT_EQ(Fronts(db), std::make_pair(udr, n - udr));
  EXPECT_EQ(Answers(db, 31), before);

  // WHAT_TO_DO: "<set aside>, run this script again, then <restore>".
  static const std::regex kToDo(R"(WHAT_TO_DO +(.*), run this script again, then (.*))");
  std::vector<std::string> aside, restore;
  std::istringstream lines(failed);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, kToDo)) {
      aside.push_back(m[1]);
      restore.push_back(m[2]);
    }
  }
  ASSERT_EQ(aside.size(), 2u) << failed;
  {
    FbSession s(db);
    for (const std::string& statement : aside) s.Execute(statement);
  }
  ASSERT_EQ(Isql("-ch UTF8 -i " QOR_SQL_DIR "/qor_udf3_to_legacy.sql " + db), "");
  EXPECT_EQ(Fronts(db), std::make_pair(int64_t{0}, n));
  FbSession s(db);
  for (const std::string& statement : restore) s.Execute(statement);
  EXPECT_EQ(s.Scalar("SELECT HABEN FROM BOOKING WHERE ID = 2").number, 4711);
  EXPECT_THROW(s.Execute("INSERT INTO BOOKING (ID, SIDE, AMOUNT) VALUES (40, 'S', 2000000)"),
               std::exception);
  EXPECT_EQ(s.Scalar("SELECT TRIM(RDB$CONSTRAINT_NAME) FROM RDB$RELATION_CONSTRAINTS"
                     " WHERE RDB$CONSTRAINT_TYPE = 'CHECK' AND RDB$RELATION_NAME = 'BOOKING'").text,
            "CHK_T");
}

// The upgrade check lists exactly the functions whose stored declaration
// differs from the shipped one, through either front, and nothing for a
// database declared with the shipped scripts.
TEST_F(SwitchFronts, UpgradeCheckListsExactlyTheChangedDeclarations) {
  const std::string db = WorkDir() + "/upgrade_check.fdb";
  ASSERT_EQ(MakeDatabase(db), "");
  auto listed = [&db]() {
    std::string out;
    EXPECT_EQ(IsqlRun("-i " QOR_SQL_DIR "/qor_udf3_upgrade_check.sql " + db, out), 0) << out;
    static const std::regex kName(R"(FUNCTION_NAME +(\S+))");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(out.begin(), out.end(), kName); it != std::sregex_iterator(); ++it) {
      names.push_back((*it)[1]);
    }
    return names;
  };
  const std::vector<std::string> none, version{"FN_VERSION"};
  EXPECT_EQ(listed(), none);

  const catalog::Function* shipped = nullptr;
  size_t index = 0;
  for (; index < Main().cat.functions.size(); ++index) {
    if (Main().cat.functions[index].name == "fn_Version") {
      shipped = &Main().cat.functions[index];
      break;
    }
  }
  ASSERT_NE(shipped, nullptr);
  ASSERT_EQ(shipped->arguments, "CSTRING(255) NULL");
  ASSERT_EQ(shipped->returns, "CSTRING(76) FREE_IT");
  const std::string tail = " ENTRY_POINT 'fn_Version' MODULE_NAME 'qor_udf3.dll'";
  struct Case {
    const char* what;
    std::string declaration;
  };
  const Case legacy[] = {
      {"a smaller result", "CSTRING(255) NULL RETURNS CSTRING(40) FREE_IT"},
      {"a smaller argument", "CSTRING(80) NULL RETURNS CSTRING(76) FREE_IT"},
      {"an argument character set", "CSTRING(255) CHARACTER SET WIN1252 NULL RETURNS CSTRING(76) FREE_IT"},
      {"a result character set", "CSTRING(255) NULL RETURNS CSTRING(76) CHARACTER SET WIN1252 FREE_IT"},
      {"no NULL", "CSTRING(255) RETURNS CSTRING(76) FREE_IT"},
      {"no FREE_IT", "CSTRING(255) NULL RETURNS CSTRING(76)"},
      {"another argument count", "CSTRING(255) NULL, INTEGER RETURNS CSTRING(76) FREE_IT"},
      {"another argument type", "DOUBLE PRECISION RETURNS CSTRING(76) FREE_IT"},
  };
  for (const Case& c : legacy) {
    {
      FbSession s(db);
      s.Execute("DROP EXTERNAL FUNCTION fn_Version");
      s.Execute("DECLARE EXTERNAL FUNCTION fn_Version " + c.declaration + tail);
    }
    EXPECT_EQ(listed(), version) << c.what;
    {
      FbSession s(db);
      s.Execute("DROP EXTERNAL FUNCTION fn_Version");
      s.Execute(shipped->declaration);
    }
    EXPECT_EQ(listed(), none) << "after " << c.what;
  }

  ASSERT_EQ(Isql("-i " QOR_SQL_DIR "/qor_udf3_to_udr.sql " + db), "");
  EXPECT_EQ(listed(), none);
  const std::string udr[] = {
      "(P VARCHAR(100) CHARACTER SET NONE) RETURNS VARCHAR(76) CHARACTER SET NONE",
      "(P VARCHAR(255) CHARACTER SET NONE) RETURNS VARCHAR(30) CHARACTER SET NONE",
      "(P VARCHAR(255) CHARACTER SET WIN1252) RETURNS VARCHAR(76) CHARACTER SET NONE",
      "(P VARCHAR(255) CHARACTER SET NONE) RETURNS VARCHAR(76) CHARACTER SET WIN1252",
  };  // (the front refuses another argument count or kind itself)
  for (const std::string& header : udr) {
    {
      FbSession s(db);
      s.Execute("ALTER FUNCTION fn_Version " + header +
                " EXTERNAL NAME 'qor_udf3.dll!fn_Version' ENGINE UDR");
    }
    EXPECT_EQ(listed(), version) << header;
    {
      FbSession s(db);
      std::string create = catalog::UdrCreate(*shipped, Main().shapes[index]);
      create.pop_back();  // the newline
      create.pop_back();  // the semicolon
      s.Execute(create);
    }
    EXPECT_EQ(listed(), none) << "after " << header;
  }
}

}  // namespace
}  // namespace fbtest
