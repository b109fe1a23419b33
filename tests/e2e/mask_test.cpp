// Mask and date-pattern functions through the engine: rows of a table,
// caught errors logged under the function that was called, and the longest
// arguments and results their declarations allow.
#include <algorithm>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

TEST(MaskEngine, MasksOverRows) {
  Db().Execute(
      "CREATE TABLE mask_rows (id INTEGER, mask VARCHAR(40), txt VARCHAR(40), amount DOUBLE PRECISION, "
      "ts TIMESTAMP)");
  for (const char* values : {"1, 'N010.2', '-12,5', -12.5, TIMESTAMP '2023-02-01 12:30:45'",
                             "2, 'D19', '1.2.2023 12:30:45', 1.5, TIMESTAMP '2023-02-01 12:30:45'",
                             "3, 'Z-31', '15.1.2023', 20230115, TIMESTAMP '2023-01-15 08:00:00'",
                             "4, NULL, NULL, NULL, NULL",
                             "5, 'T8', '7:05', 0, TIMESTAMP '1899-12-30 07:05:00'"}) {
    Db().Execute(std::string("INSERT INTO mask_rows VALUES (") + values + ")");
  }
  auto rows = Db().Query(
      "SELECT fn_MaskString(mask, txt), fn_MaskDouble(mask, amount), fn_MaskDate(mask, ts) "
      "FROM mask_rows ORDER BY id");
  Db().Execute("DROP TABLE mask_rows");
  const char* want[5][3] = {
      {"-000012.50", "-000012.50", "0000001.02"},  // the date text reads as 1.02
      {"01.02.2023 12:30:45", "", "01.02.2023 12:30:45"},
      {"28.02.2023", "31.01.1900", "28.02.2023"},  // a number is no date: 30.12.1899
      {"", "0", "30.12.1899"},
      {"07:05:00", "", "07:05:00"},
  };
  ASSERT_EQ(rows.size(), 5u);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < 3; ++c) {
      EXPECT_FALSE(rows[r][c].is_null) << r << "," << c;
      EXPECT_EQ(rows[r][c].text, want[r][c]) << "row " << r + 1 << ", column " << c;
    }
  }
}

TEST(MaskEngine, DigitWordsKeepTheirUtf8Bytes) {
  SqlValue v = Db().Scalar("SELECT fn_MaskDouble('w1', 5) FROM RDB$DATABASE");
  EXPECT_EQ(v.text, "F\xC3\x9CNF");
  auto rows = Db().Query("SELECT fn_MaskString('W9', '5') FROM RDB$DATABASE");
  EXPECT_EQ(rows[0][0].text, "F\xC3\x9CNF----");
}

TEST(MaskEngine, FailuresAreLoggedUnderTheCalledName) {
  struct Case {
    const char* expr;
    const char* record;
  } cases[] = {
      {"fn_MaskString('N10.10', '1.5')", ": fn_MaskString: Range check error"},
      {"fn_MaskDouble('F10.10', 1.5)", ": fn_MaskDouble: Range check error"},
      {"fn_MaskDate('f10.12', TIMESTAMP '2023-02-01 00:00:00')", ": fn_MaskDate: Range check error"},
      {"fn_MaskDate('Z-65536', TIMESTAMP '2023-02-01 00:00:00')", ": fn_MaskDate: Range check error"},
      {"fn_MaskDate('Z-1', TIMESTAMP '9999-12-31 00:00:00')",
       ": fn_MaskDate: 10000-1-1 is not a valid date specification"},
      {"fn_MaskString('Z1', '31.12.9999')", ": fn_MaskString: Range check error"},
      {"fn_MaskString('S40000', 'x')", ": fn_MaskString: Range check error"},
  };
  for (const auto& c : cases) {
    std::string log;
    SqlValue v = ScalarLogged(c.expr, log);
    EXPECT_FALSE(v.is_null) << c.expr;
    EXPECT_EQ(v.text, "") << c.expr;
    ExpectOneRecord(log, c.record);
  }
}

TEST(MaskEngine, LongestArgumentsAndResults) {
  std::string log;
  // A value as long as a column holds passes whole through a short mask.
  SqlValue v = ScalarLogged("fn_MaskString('M', LPAD('', 32765, 'ab'))", log);
  EXPECT_EQ(v.text.size(), 32765u);
  EXPECT_EQ(log, "");
  v = ScalarLogged("fn_MaskString('s32765', 'x')", log);
  EXPECT_EQ(v.text, std::string(32764, ' ') + "x");
  // So is a value longer than the longest result that an empty mask or an
  // unknown letter hands back unchanged.
  for (const char* mask : {"", "X"}) {
    v = ScalarLogged(std::string("fn_MaskString('") + mask + "', '" + std::string(32766, 'a') + "')", log);
    EXPECT_EQ(v.text, "") << mask;
    ExpectOneRecord(log, ": fn_MaskString: Range check error");
  }
  // A composed result beyond the longest text is a logged error, not a failed statement.
  v = ScalarLogged("fn_MaskString('o5,EUR', LPAD('', 32765, '1'))", log);
  EXPECT_EQ(v.text, "");
  ExpectOneRecord(log, ": fn_MaskString: Range check error");
  // A pattern as long as its declaration, of the tokens that write the most.
  std::string pattern, want;
  for (int i = 0; i < 127; ++i) {
    pattern += "ct";
    want += "31-12-23 12:30:4512:30";
  }
  pattern += "c";
  want += "31-12-23 12:30:45";
  v = ScalarLogged("fn_FormatDate('" + pattern + "', '31.12.2023 12:30:45')", log);
  EXPECT_EQ(v.text, want);
  EXPECT_EQ(log, "");
  v = ScalarLogged("fn_FormatDate('dd.mm.yyyy', LPAD('', 32765, ' '))", log);
  EXPECT_EQ(v.text, "30.12.1899");
}

TEST(MaskEngine, FormatDateOverRows) {
  Db().Execute("CREATE TABLE date_rows (id INTEGER, pattern VARCHAR(40), txt VARCHAR(40))");
  for (const char* values : {"1, 'yyyy-mm-dd hh:mm', '1.2.2023 12:30'", "2, 'ddd d mmm, h:nn am/pm', '31.12.23 0:15'",
                             "3, NULL, '1.2.2023'", "4, 'dddddd', NULL",
                             "5, 'tt ''o''''clock', '15.3.2024 9:05:07'"}) {
    Db().Execute(std::string("INSERT INTO date_rows VALUES (") + values + ")");
  }
  auto rows = Db().Query("SELECT fn_FormatDate(pattern, txt) FROM date_rows ORDER BY id");
  Db().Execute("DROP TABLE date_rows");
  const char* want[] = {"2023-02-01 12:30", "Sun 31 Dec, 12:15 am", "", "30 December 1899", "09:05:07 oclock"};
  ASSERT_EQ(rows.size(), 5u);
  for (size_t r = 0; r < rows.size(); ++r) {
    EXPECT_FALSE(rows[r][0].is_null) << r;
    EXPECT_EQ(rows[r][0].text, want[r]) << "row " << r + 1;
  }
}

}  // namespace
}  // namespace fbtest
