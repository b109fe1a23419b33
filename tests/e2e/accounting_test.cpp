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

// The shares written into the text add up, as decimals, to the amount: the
// last one is the remainder rounded to the places of the amount.
TEST(KstBetragVerteilen, SharesAddUpAsWritten) {
  const std::string four = "'FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(10) || '1=1,25,0' || ASCII_CHAR(10) || "
                           "'2=2,25,0' || ASCII_CHAR(10) || '3=3,25,0' || ASCII_CHAR(10) || '4=4,25,0'";
  const std::string halves = "'FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(10) || '1=1,50,0' || ASCII_CHAR(10) || '2=2,50,0'";
  std::string twenty = "'FELDER=KSTNR,PROZENT,BETRAG'";
  for (int i = 1; i <= 20; ++i) twenty += " || ASCII_CHAR(10) || '" + std::to_string(i) + "=" + std::to_string(i) + ",5,0'";
  auto rows = Db().Query("SELECT fn_KstBetragVerteilen(" + four + ", 4.02), fn_KstBetragVerteilen(" + halves +
                         ", 24.98999), fn_KstBetragVerteilen(" + twenty + ", 0.19), fn_KstBetragVerteilen(" +
                         halves + ", 0.10) FROM RDB$DATABASE");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, "FELDER=KSTNR,PROZENT,BETRAG\n1=1,25,1.01\n2=2,25,1.01\n3=3,25,1.01\n4=4,25,0.99\n");
  EXPECT_EQ(rows[0][1].text, "FELDER=KSTNR,PROZENT,BETRAG\n1=1,50,12.5\n2=2,50,12.48999\n");
  std::string want = "FELDER=KSTNR,PROZENT,BETRAG\n";
  // 5 % of 0.19 is 0.0095, rounded up to a cent: the first 19 lines take
  // 0.01 each and the last line what is left, exactly 0.
  for (int i = 1; i <= 19; ++i) want += std::to_string(i) + "=" + std::to_string(i) + ",5,0.01\n";
  want += "20=20,5,0\n";
  EXPECT_EQ(rows[0][2].text, want);
  EXPECT_EQ(rows[0][3].text, "FELDER=KSTNR,PROZENT,BETRAG\n1=1,50,0.05\n2=2,50,0.05\n");
  // (A * P) / 100: 0.10 over 24.99 % and 75.01 % gives 0.03 and 0.07.
  EXPECT_EQ(Db().Scalar("SELECT fn_KstBetragVerteilen('FELDER=KSTNR,PROZENT,BETRAG' || ASCII_CHAR(10) || "
                        "'1=1,24.99,0' || ASCII_CHAR(10) || '2=2,75.01,0', 0.10) FROM RDB$DATABASE").text,
            "FELDER=KSTNR,PROZENT,BETRAG\n1=1,24.99,0.03\n2=2,75.01,0.07\n");
}

}  // namespace
}  // namespace fbtest
