// Accounting functions over real rows.
#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

TEST(DebitCredit, SumsOverBookings) {
  Db().Execute("CREATE TABLE bookings (side CHAR(1), amount DOUBLE PRECISION)");
  Db().Execute(
      "INSERT INTO bookings SELECT 'S', 100.5 FROM RDB$DATABASE UNION ALL "
      "SELECT 'H', 40.25 FROM RDB$DATABASE UNION ALL SELECT 'H', 10 FROM RDB$DATABASE UNION ALL "
      "SELECT NULL, 3 FROM RDB$DATABASE UNION ALL SELECT 'X', NULL FROM RDB$DATABASE");
  auto rows = Db().Query(
      "SELECT SUM(fn_SHSoll(side, amount)), SUM(fn_SHHaben(side, amount)), "
      "SUM(fn_SHBetrag(side, amount)), SUM(fn_SHBetragExt(side, amount, 'S', 'H')) FROM bookings");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_DOUBLE_EQ(rows[0][0].number, 100.5);
  EXPECT_DOUBLE_EQ(rows[0][1].number, 50.25);
  EXPECT_DOUBLE_EQ(rows[0][2].number, 53.25);  // the NULL side counts as debit
  EXPECT_DOUBLE_EQ(rows[0][3].number, 50.25);
  Db().Execute("DROP TABLE bookings");
}

// The longest texts the allocation writers can make still fit their declared
// result: a longer one would fail the caller's statement.
TEST(KstToAufteilung, LongestResultsFitTheDeclaration) {
  std::string ktr(80, '"');
  std::string quoted;
  for (char c : ktr) quoted += c == '\'' ? "''" : std::string(1, c);
  const std::string big = "1.2345678901234567e308";
  for (const char* fn : {"fn_KstToAufteilung", "fn_KstToAufteilung2"}) {
    std::string args = big + ", 0, " + big + ", -" + big + ", " +
                       (std::string(fn) == "fn_KstToAufteilung2" ? "-" + big + ", " : "") + "'" + quoted + "'";
    SqlValue v;
    ASSERT_NO_THROW(v = Db().Scalar(std::string("SELECT ") + fn + "(" + args + ") FROM RDB$DATABASE")) << fn;
    EXPECT_NE(v.text.find(std::string(162, '"')), std::string::npos) << fn << ": " << v.Show();
  }
}

// Range lists are stored in text columns of any length: a long list read
// from a column reaches the function instead of failing the statement.
TEST(Kontenbereich, LongRangeListsFromColumns) {
  Db().Execute("CREATE TABLE range_rules (ranges VARCHAR(30000), decimals VARCHAR(20000))");
  // 4000 single accounts (about 24000 characters), the last one 4711, and a
  // decimals list just as long with 05 at its end.
  Db().Execute(
      "EXECUTE BLOCK AS DECLARE i INTEGER = 0; DECLARE r VARCHAR(32765) = ''; "
      "DECLARE d VARCHAR(32765) = ''; BEGIN WHILE (i < 4000) DO BEGIN "
      "r = r || (10000 + i) || ','; d = d || '9X, '; i = i + 1; END "
      "INSERT INTO range_rules VALUES (:r || '4711', :d || '05'); END");
  auto rows = Db().Query(
      "SELECT CHAR_LENGTH(ranges), fn_Kontenbereich(4711.05, ranges, decimals), "
      "fn_Kontenbereich(4711.06, ranges, decimals), fn_Kontenbereich(4712, ranges, NULL) "
      "FROM range_rules");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_GT(rows[0][0].integer, 20000);
  EXPECT_EQ(rows[0][1].text, "1");
  EXPECT_EQ(rows[0][2].text, "0");
  EXPECT_EQ(rows[0][3].text, "0");
  Db().Execute("DROP TABLE range_rules");
}

}  // namespace
}  // namespace fbtest
