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
