// Every function declared by the SQL script answers its documented examples
// through the engine, and the library exports exactly those functions (and
// the UDR front's entry point).
#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "catalog.h"
#include "engine.h"

namespace fbtest {
namespace {

const catalog::Catalog& Script() {
  static const catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  return cat;
}

TEST(Catalog, ScriptIsSound) {
  EXPECT_FALSE(Script().functions.empty());
  for (const auto& e : Script().errors) ADD_FAILURE() << e;
}

// Every example answers as documented, and none of them leaves a record in
// the error log (a function that hides a caught error behind a plausible
// answer shows up here).
TEST(Catalog, ExamplesAnswerThroughTheEngine) {
  for (const auto& f : Script().functions) {
    for (const auto& ex : f.examples) {
      SCOPED_TRACE(std::string(QOR_SQL_SCRIPT) + ":" + std::to_string(ex.line) + ": " + ex.expr);
      const size_t logged_before = ErrorLog().size();
      catalog::Expected want;
      ASSERT_TRUE(catalog::DecodeExpected(ex.expected, want)) << "bad expected value " << ex.expected;
      SqlValue got;
      try {
        got = Db().Scalar("SELECT " + ex.expr + " FROM RDB$DATABASE");
      } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
        continue;
      }
      switch (want.kind) {
        case 'N':
          EXPECT_TRUE(got.is_null) << "got " << got.Show();
          break;
        case 'T':
          EXPECT_TRUE(!got.is_null && got.IsText() && got.text == want.text)
              << "got " << got.Show() << ", want " << ex.expected;
          break;
        default:
          EXPECT_TRUE(!got.is_null && !got.IsText() && got.number == want.number &&
                      std::signbit(got.number) == std::signbit(want.number))
              << "got " << got.Show() << ", want " << ex.expected;
      }
      const std::string log = ErrorLog();
      EXPECT_EQ(log.size(), logged_before) << "error log: " << log.substr(std::min(logged_before, log.size()));
    }
  }
}

// SQL NULL reaches every function that takes arguments in at least one
// example.
TEST(Catalog, EveryFunctionIsTriedWithNull) {
  for (const auto& f : Script().functions) {
    if (f.arguments.empty()) continue;
    bool tried = false;
    for (const auto& ex : f.examples) {
      if (ex.expr.find("NULL") != std::string::npos) tried = true;
    }
    EXPECT_TRUE(tried) << f.name << " has no example with a NULL argument";
  }
}

// The text results of fixed form are declared exactly as long as their
// longest answer: a shorter declaration fails the caller's statement
// ("string right truncation"), a longer one makes the rows of views and
// tables with several such columns needlessly long. Each case is the longest
// answer its function can give. (fn_WeekOfDate keeps room for the years a
// timestamp outside the engine's range would give, as the fuzz target
// passes them.)
TEST(Catalog, FixedFormResultsAreDeclaredForTheirLongestAnswer) {
  struct Case {
    const char* function;
    const char* longest;
  };
  const Case cases[] = {
      {"fn_Version", "fn_Version('')"},
      {"fn_CrLf", "fn_CrLf(100)"},
      {"fn_Ascii_Char2", "fn_Ascii_Char2(255)"},
      {"fn_IntToStr", "fn_IntToStr(-2147483648)"},
      {"fn_FloatToStr", "fn_FloatToStr(-1.23456789012345E-100)"},
      {"fn_UUIDStr", "fn_UUIDStr()"},
      {"fn_Soundex", "fn_Soundex('Robert')"},
      {"fn_GetDayofWeek", "fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', -10)"},
      {"fn_DateTimeToStr", "fn_DateTimeToStr(TIMESTAMP '9999-12-31 23:59:59.9999')"},
      {"fn_JahrMoToDateStr", "fn_JahrMoToDateStr(-2147483648)"},
      {"fn_Kontenbereich", "fn_Kontenbereich(4711, '4711', NULL)"},
  };
  std::set<std::string> tried;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.longest);
    tried.insert(c.function);
    const catalog::Function* f = nullptr;
    for (const auto& g : Script().functions) {
      if (g.name == c.function) f = &g;
    }
    ASSERT_NE(f, nullptr);
    const std::string returns = f->returns;
    const size_t open = returns.find("CSTRING(");
    ASSERT_NE(open, std::string::npos) << returns;
    const size_t declared = std::stoul(returns.substr(open + 8));
    SqlValue got;
    try {
      got = Db().Scalar("SELECT " + std::string(c.longest) + " FROM RDB$DATABASE");
    } catch (const std::exception& e) {
      ADD_FAILURE() << "declared " << returns << ": " << e.what();
      continue;
    }
    EXPECT_EQ(got.text.size(), declared) << "declared " << returns << ", longest answer " << got.Show();
  }
  EXPECT_EQ(tried.size(), std::size(cases));
  // All of them fit in one view, together with long results cast as the
  // README says (uncast, three of those alone make the row too long).
  std::string columns;
  auto add = [&](const std::string& expr) {
    columns += (columns.empty() ? "" : ", ") + expr + " AS C" + std::to_string(columns.size());
  };
  for (const Case& c : cases) add(c.longest);
  for (const char* f : {"fn_ReplaceStr('x', 'y', 'axb')", "fn_UpperCase('abc')", "fn_LowerCase('ABC')"}) {
    add(std::string("CAST(") + f + " AS VARCHAR(100))");
  }
  ASSERT_NO_THROW(Db().Execute("CREATE VIEW QOR_FIXED_FORM AS SELECT " + columns + " FROM RDB$DATABASE"));
  const auto rows = Db().Query("SELECT * FROM QOR_FIXED_FORM");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].back().text, "abc");
  std::string too_long;
  try {
    Db().Execute("CREATE VIEW QOR_TOO_LONG AS SELECT fn_ReplaceStr('x', 'y', 'axb') AS A,"
                 " fn_UpperCase('abc') AS B, fn_LowerCase('ABC') AS C FROM RDB$DATABASE");
  } catch (const std::exception& e) {
    too_long = e.what();
  }
  EXPECT_NE(too_long.find("is too big"), std::string::npos) << too_long;
  Db().Execute("DROP VIEW QOR_FIXED_FORM");
}

TEST(Exports, AreExactlyTheDeclaredFunctions) {
  std::string out;
  ASSERT_EQ(RunCommand(std::string(QOR_NM) + " -D --defined-only --format=posix " + QOR_LIBRARY_FILE, out), 0)
      << out;
  std::set<std::string> exported;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::string name = line.substr(0, line.find(' '));
    exported.insert(name);
  }
  std::set<std::string> declared;
  for (const auto& f : Script().functions) declared.insert(f.name);
  declared.insert("firebird_udr_plugin");  // the UDR front's entry point
  EXPECT_EQ(exported, declared);
}

}  // namespace
}  // namespace fbtest
