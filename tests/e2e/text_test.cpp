// Text, list, Soundex and version functions through the engine. What they
// store back into their arguments is checked at the library's boundary
// (tests/unit/text_udf_test.cpp): the engine passes copies.
#include <cstdint>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "catalog.h"
#include "engine.h"

namespace fbtest {
namespace {

const char* const kInPlace[] = {"fn_UpperCase", "fn_LowerCase", "fn_Trim"};
const char* const kAllocated[] = {
    "fn_SubString", "fn_SubStrEx", "fn_Copy", "fn_ReplaceStr", "fn_StrReplace", "fn_CrLf",
    "fn_Ascii_Char2", "fn_IntToStr", "fn_FloatToStr", "fn_UUIDStr", "fn_GetPos", "fn_GetCommaPos",
    "fn_GetCommaPosition", "fn_CommaTextValue", "fn_Soundex", "fn_Version"};

// A result the library returns inside its argument must not be freed by the
// server (it would free a buffer it never allocated), and every allocated
// one must be, or each call leaks.
TEST(TextDeclarations, FreeItExactlyForAllocatedResults) {
  const catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  auto returns = [&](const std::string& name) {
    for (const auto& f : cat.functions)
      if (f.name == name) return f.returns;
    return std::string("<not declared>");
  };
  for (const char* fn : kInPlace) EXPECT_EQ(returns(fn), "CSTRING(32767)") << fn;
  for (const char* fn : kAllocated) {
    EXPECT_NE(returns(fn).find("FREE_IT"), std::string::npos) << fn << ": " << returns(fn);
  }
}

// Over many rows, the in-place results come back right and the server reads
// them from its own argument buffers without freeing them.
TEST(InPlaceResults, OverManyRows) {
  Db().Execute("CREATE TABLE t_inplace (id INTEGER, t VARCHAR(100))");
  Db().Execute(
      "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 300) DO BEGIN "
      "INSERT INTO t_inplace VALUES (:i, LPAD('', MOD(:i, 4), ' ') || 'aB' || :i || '\xE4\xC4' || "
      "LPAD('', MOD(:i, 3), ASCII_CHAR(9))); i = i + 1; END END");
  auto rows = Db().Query(
      "SELECT id, fn_Trim(t), fn_UpperCase(t), fn_LowerCase(t), fn_UpperCase(fn_Trim(t)), t "
      "FROM t_inplace ORDER BY id");
  ASSERT_EQ(rows.size(), 300u);
  for (const Row& r : rows) {
    const std::string core = "aB" + std::to_string(r[0].integer) + "\xE4\xC4";
    std::string upper = core, lower = core;
    upper[0] = 'A';
    upper[core.size() - 2] = '\xC4';
    lower[1] = 'b';
    lower[core.size() - 1] = '\xE4';
    const std::string lead(static_cast<size_t>(r[0].integer % 4), ' ');
    const std::string tail(static_cast<size_t>(r[0].integer % 3), '\t');
    EXPECT_EQ(r[1].text, core) << r[0].integer;
    EXPECT_EQ(r[2].text, lead + upper + tail) << r[0].integer;
    EXPECT_EQ(r[3].text, lead + lower + tail) << r[0].integer;
    EXPECT_EQ(r[4].text, upper) << r[0].integer;
    EXPECT_EQ(r[5].text, lead + core + tail) << r[0].integer;  // the column itself is untouched
  }
  Db().Execute("DROP TABLE t_inplace");
}

// The server hands each call copies of its numeric arguments: what the
// substring functions store back never reaches the caller's variables.
TEST(StoredBackArguments, CallerVariablesKeepTheirValues) {
  auto rows = Db().Query(
      "EXECUTE BLOCK RETURNS (r1 VARCHAR(10), r2 VARCHAR(10), s INTEGER, c INTEGER, m SMALLINT) AS "
      "BEGIN s = -3; c = 40; m = 32767; r1 = fn_Copy('abcdef', s, c); "
      "r2 = fn_GetCommaPosition('ab,cd', 1, ',', m); SUSPEND; END");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, "abcdef");
  EXPECT_EQ(rows[0][1].text, "cd");
  EXPECT_EQ(rows[0][2].integer, -3);
  EXPECT_EQ(rows[0][3].integer, 40);
  EXPECT_EQ(rows[0][4].integer, 32767);
}

// Whether the engine finds expr equal to want, and of want's length. Results
// beyond 32765 bytes cannot be fetched by a client (its VARCHAR limit), so
// long results are compared inside the engine.
bool EqualInEngine(const std::string& expr, const std::string& want) {
  SqlValue v = Db().Scalar("SELECT IIF(CHAR_LENGTH(" + expr + ") = CHAR_LENGTH(" + want + ") AND (" +
                           expr + ") = (" + want + "), 1, 0) FROM RDB$DATABASE");
  return v.integer == 1;
}

// The longest texts callers can pass go in, and the longest results come
// back within their declared sizes.
TEST(TextLimits, LongestTextsFitTheDeclarations) {
  const std::string a32767 = "LPAD('', 32767, 'a')";
  const std::string a32759 = "LPAD('', 32759, 'a')";
  struct Case { std::string expr, want; } cases[] = {
      {"fn_SubStrEx(" + a32767 + ", 1, 40000)", a32759},
      {"fn_SubString(" + a32767 + ", 1, 32767)", a32759},
      {"fn_Copy(" + a32767 + ", 9, 32767)", a32759},
      {"fn_UpperCase(" + a32767 + ")", "LPAD('', 32767, 'A')"},
      {"fn_LowerCase(LPAD('', 32767, 'A'))", a32767},
      {"fn_Trim(' ' || LPAD('', 32766, 'a'))", "LPAD('', 32766, 'a')"},
      {"fn_Trim(" + a32767 + ")", a32767},
      {"fn_GetCommaPos(" + a32767 + ", 0)", a32767},
      {"fn_GetPos(" + a32767 + ", 0, ';')", a32767},
      {"fn_GetCommaPosition(" + a32767 + ", 0, ',', 0)", a32767},
      {"fn_CommaTextValue('k=' || LPAD('', 32765, 'a'), 'K')", "LPAD('', 32765, 'a')"},
      {"fn_ReplaceStr('a', 'a', " + a32767 + ")", a32767},
      {"fn_StrReplace('A', 'bbb', LPAD('', 32765, 'a'), 0, 1)", "'bbb' || LPAD('', 32764, 'a')"},
      {"fn_ReplaceStr('x', LPAD('', 32767, 'y'), 'x')", "LPAD('', 32767, 'y')"},
      {"fn_Soundex(" + a32767 + ")", "'A0000'"},
      {"fn_CompareText(" + a32767 + ", " + a32767 + " || '')", "0"},
      {"fn_Pos('b', LPAD('', 32766, 'a') || 'b')", "32767"},
  };
  for (const auto& c : cases) EXPECT_TRUE(EqualInEngine(c.expr, c.want)) << c.expr;
}

// fn_ReplaceStr has no cap of its own: a result beyond its declared 32767
// bytes is refused by the server (the statement fails), never cut short.
TEST(TextLimits, LongerReplaceResultsFailTheStatement) {
  const size_t logged = ErrorLog().size();
  EXPECT_THROW(Db().Scalar("SELECT CHAR_LENGTH(fn_ReplaceStr('x', LPAD('', 32767, 'y'), 'xx')) FROM RDB$DATABASE"),
               std::runtime_error);
  EXPECT_THROW(Db().Scalar("SELECT CHAR_LENGTH(fn_StrReplace('a', 'bb', LPAD('', 32767, 'a'), 0, 0)) FROM RDB$DATABASE"),
               std::runtime_error);
  // The longest result the arguments allow (a gigabyte) is refused the same way.
  EXPECT_THROW(Db().Scalar("SELECT CHAR_LENGTH(fn_StrReplace('a', LPAD('', 32767, 'b'), LPAD('', 32767, 'a'), 1, 1)) "
                           "FROM RDB$DATABASE"),
               std::runtime_error);
  EXPECT_EQ(ErrorLog().size(), logged);
}

TEST(TextLimits, LongestNumberTexts) {
  EXPECT_EQ(Text("fn_FloatToStr(-1.23456789012345e-100)"), "-1.23456789012345E-100");
  EXPECT_EQ(Text("fn_FloatToStr(-1.7976931348623157e308)"), "-1.79769313486232E308");
  EXPECT_EQ(Text("fn_IntToStr(-2147483648)"), "-2147483648");
}

TEST(Uuid, DifferentOnEveryRow) {
  auto rows = Db().Query(
      "WITH RECURSIVE n (i) AS (SELECT 1 FROM RDB$DATABASE UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
      "SELECT fn_UUIDStr() FROM n");
  ASSERT_EQ(rows.size(), 500u);
  std::set<std::string> seen;
  for (const Row& r : rows) {
    const std::string& t = r[0].text;
    ASSERT_EQ(t.size(), 36u) << t;
    EXPECT_TRUE(t[8] == '-' && t[13] == '-' && t[18] == '-' && t[23] == '-') << t;
    EXPECT_EQ(t.find_first_not_of("0123456789ABCDEF-"), std::string::npos) << t;
    EXPECT_TRUE(seen.insert(t).second) << t;
  }
}

// No argument the engine can pass makes these functions fail (only a text
// beyond 2^31 bytes does, see text_udf_test.cpp): the most extreme ones
// leave the error log untouched.
TEST(TextErrors, ExtremeArgumentsLeaveNoRecord) {
  const size_t logged = ErrorLog().size();
  const char* exprs[] = {
      "fn_SubStrEx('abc', -2147483648, 2147483647)", "fn_SubString('abc', 2147483647, 2147483647)",
      "fn_Copy('abc', 2147483647, -2147483648)",     "fn_Copy('abc', -2147483648, 2147483647)",
      "fn_CrLf(-2147483648)",                        "fn_GetPos('a,b', -32768, '')",
      "fn_GetCommaPosition('a,b', 32767, '', -32768)", "fn_GetCommaPos('\"', 0)",
      "fn_CommaTextValue('\"', '')",                 "fn_Ascii_Char2(-1)",
      "fn_StrReplace('', '', '', -32768, 32767)",    "fn_Soundex(ASCII_CHAR(255) || ASCII_CHAR(1))",
  };
  for (const char* e : exprs) {
    EXPECT_NO_THROW(Db().Scalar(std::string("SELECT ") + e + " FROM RDB$DATABASE")) << e;
  }
  EXPECT_EQ(ErrorLog().size(), logged);
}

}  // namespace
}  // namespace fbtest
