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

// A range list or decimals list of a long column is accepted: a declared
// argument shorter than the column would fail the caller's statement.
TEST(Kontenbereich, LongRangeListsFromColumns) {
  Db().Execute("CREATE TABLE ranges (r VARCHAR(30000), d VARCHAR(30000))");
  Db().Execute("INSERT INTO ranges VALUES (LPAD('4711', 30000, ' '), LPAD('05', 30000, ' '))");
  auto rows = Db().Query(
      "SELECT fn_Kontenbereich(4711.05, r, d), fn_Kontenbereich(4711.06, r, d), "
      "fn_Kontenbereich(4712, r, NULL) FROM ranges");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, "1");
  EXPECT_EQ(rows[0][1].text, "0");
  EXPECT_EQ(rows[0][2].text, "0");
  Db().Execute("DROP TABLE ranges");
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

}  // namespace
}  // namespace fbtest
