// Numeric functions through the engine: values exact to the last bit, caught
// errors in the error log, texts as long as a column holds.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "catalog.h"
#include "engine.h"

namespace fbtest {
namespace {

std::string ErrorLogPath() { return WorkDir() + "/qor_udf3.err"; }

// Runs a one-value query on an empty error log; `log` gets what it wrote.
SqlValue ScalarLogged(const std::string& expr, std::string& log) {
  std::remove(ErrorLogPath().c_str());
  SqlValue v = Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE");
  log = catalog::ReadFile(ErrorLogPath());
  return v;
}

// The log holds exactly one record and it ends with `record`.
void ExpectOneRecord(const std::string& log, const std::string& record) {
  EXPECT_EQ(std::count(log.begin(), log.end(), '\r'), 1) << log;
  ASSERT_GE(log.size(), record.size()) << log;
  EXPECT_EQ(log.substr(log.size() - record.size()), record) << log;
}

TEST(NumericEngine, CaughtErrorsLogOneRecordAndGiveZero) {
  std::string log;
  SqlValue v = ScalarLogged("fn_Runden(1.5, 10)", log);
  EXPECT_EQ(v.number, 0.0);
  ExpectOneRecord(log, ": fn_Runden: Range check error");

  v = ScalarLogged("fn_Trunc(3e9)", log);
  EXPECT_FALSE(v.is_null);
  EXPECT_EQ(v.integer, 0);
  ExpectOneRecord(log, ": fn_Trunc: Range check error");

  v = ScalarLogged("fn_Trunc(-2147483649)", log);
  EXPECT_EQ(v.integer, 0);
  ExpectOneRecord(log, ": fn_Trunc: Range check error");

  // No error: nothing logged.
  v = ScalarLogged("fn_Runden(1.5, 9) + fn_Trunc(-2147483648) + fn_Prozent(1e300, 1e-300)", log);
  EXPECT_EQ(v.number, 1.5 - 2147483648.0 + 9999.0);
  EXPECT_EQ(log, "");
}

// Double arguments arrive bit for bit, so the boundary cases of the rounding
// hold through the engine as well.
TEST(NumericEngine, RoundingBoundariesBitForBit) {
  auto rows = Db().Query(
      "SELECT fn_Runden(0.01499e0, 2), fn_Runden(0.499e0, 0), fn_Runden(0.0028765e0, 6), "
      "fn_Runden(-0.004e0, 2), fn_Prozent(2, 3), fn_Runden(1e308, 2) FROM RDB$DATABASE");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].number, 0.01);
  EXPECT_EQ(rows[0][1].number, 1.0);
  EXPECT_EQ(rows[0][2].number, std::nextafter(0.002877, 1.0));
  EXPECT_FALSE(std::signbit(rows[0][3].number));
  EXPECT_EQ(rows[0][4].number, -33.33);
  EXPECT_EQ(rows[0][5].number, 1e308);
}

TEST(NumericEngine, IntegersFromTextAtTheirLimits) {
  auto rows = Db().Query(
      "SELECT fn_ValToInt64('9223372036854775807'), fn_ValToInt64('-9223372036854775808'), "
      "fn_ValToInt64('$FFFFFFFFFFFFFFFF'), fn_ValToInt('4294967297'), fn_ValToInt(' -12 ') "
      "FROM RDB$DATABASE");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].integer, INT64_MAX);
  EXPECT_EQ(rows[0][1].integer, INT64_MIN);
  EXPECT_EQ(rows[0][2].integer, -1);
  EXPECT_EQ(rows[0][3].integer, 1);
  EXPECT_EQ(rows[0][4].integer, -12);
}

// A column as long as a VARCHAR holds is accepted by every text argument.
TEST(NumericEngine, TextArgumentsTakeTheLongestColumn) {
  Db().Execute("CREATE TABLE numtexts (t VARCHAR(32765))");
  Db().Execute("INSERT INTO numtexts VALUES (' ' || LPAD('', 32763, '7') || ' ')");
  auto rows = Db().Query(
      "SELECT fn_IsInteger(t), fn_IsFloat(t), fn_ValToInt(t), fn_ValToDouble(t) FROM numtexts");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].integer, 1);
  EXPECT_EQ(rows[0][1].integer, 1);
  EXPECT_EQ(rows[0][2].integer, 0);  // longer than 255 characters: no number
  EXPECT_EQ(rows[0][3].number, 0.0);
  Db().Execute("DROP TABLE numtexts");
}

}  // namespace
}  // namespace fbtest
