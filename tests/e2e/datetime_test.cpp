// Date and time functions, and the due dates of the booking functions, over
// real timestamps, dates and NULLs.
#include <string>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

int64_t Int(const std::string& expr) { return Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE").integer; }

class DigitsTable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Db().Execute("CREATE TABLE digits (d INTEGER)");
    Db().Execute(
        "INSERT INTO digits SELECT 0 FROM RDB$DATABASE UNION ALL SELECT 1 FROM RDB$DATABASE UNION ALL "
        "SELECT 2 FROM RDB$DATABASE UNION ALL SELECT 3 FROM RDB$DATABASE UNION ALL SELECT 4 FROM RDB$DATABASE "
        "UNION ALL SELECT 5 FROM RDB$DATABASE UNION ALL SELECT 6 FROM RDB$DATABASE UNION ALL "
        "SELECT 7 FROM RDB$DATABASE UNION ALL SELECT 8 FROM RDB$DATABASE UNION ALL SELECT 9 FROM RDB$DATABASE");
  }
  static void TearDownTestSuite() { Db().Execute("DROP TABLE digits"); }
};

// Every day of 1970..2069, at a time of day, against the engine's own
// calendar: parts, weekday, ISO week number, JahrMo key, text and the way
// back from the week text to its Monday.
TEST_F(DigitsTable, DatePartsAgreeWithTheEngineCalendar) {
  auto rows = Db().Query(
      "SELECT COUNT(*), "
      "SUM(CASE WHEN fn_GetYear(t) = EXTRACT(YEAR FROM t) AND fn_GetMonth(t) = EXTRACT(MONTH FROM t) "
      "  AND fn_GetDay(t) = EXTRACT(DAY FROM t) AND fn_DayOfTheMonth(t) = EXTRACT(DAY FROM t) THEN 0 ELSE 1 END), "
      "SUM(CASE WHEN MOD(fn_DayOfTheWeek(t), 7) = EXTRACT(WEEKDAY FROM t) "
      "  AND fn_GetDayofWeek(t, 0) = CAST(fn_DayOfTheWeek(t) AS VARCHAR(2)) THEN 0 ELSE 1 END), "
      "SUM(CASE WHEN CAST(SUBSTRING(fn_WeekOfDate(t) FROM 1 FOR 2) AS INTEGER) = EXTRACT(WEEK FROM t) "
      "  THEN 0 ELSE 1 END), "
      "SUM(CASE WHEN fn_DateToJahrMo(t) = EXTRACT(YEAR FROM t) * 100 + EXTRACT(MONTH FROM t) THEN 0 ELSE 1 END), "
      "SUM(CASE WHEN fn_StrToDateTime(fn_DateTimeToStr(t)) = t THEN 0 ELSE 1 END), "
      "SUM(CASE WHEN SUBSTRING(fn_WeekOfDate(t) FROM 4) NOT IN ('1969', '2070') AND "
      "  fn_DateOfWeek(fn_WeekOfDate(t)) <> CAST(t AS DATE) - MOD(EXTRACT(WEEKDAY FROM t) + 6, 7) "
      "  THEN 1 ELSE 0 END) "
      "FROM (SELECT DATEADD(a.d + 10 * b.d + 100 * c.d + 1000 * e.d + 10000 * f.d DAY TO "
      "  TIMESTAMP '1970-01-01 13:45:30') AS t "
      "  FROM digits a, digits b, digits c, digits e, digits f) "
      "WHERE t < TIMESTAMP '2070-01-01 00:00:00'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].integer, 36525);
  EXPECT_EQ(rows[0][1].integer, 0) << "date parts";
  EXPECT_EQ(rows[0][2].integer, 0) << "weekdays";
  EXPECT_EQ(rows[0][3].integer, 0) << "week numbers";
  EXPECT_EQ(rows[0][4].integer, 0) << "JahrMo keys";
  EXPECT_EQ(rows[0][5].integer, 0) << "date texts";
  EXPECT_EQ(rows[0][6].integer, 0) << "Mondays of the weeks";
}

// A time of day before 30.12.1899 stays on its own day in every function
// that splits a timestamp.
TEST(DateTime, TimesBefore1899StayOnTheirDay) {
  EXPECT_EQ(Int("fn_GetDay(TIMESTAMP '1899-12-29 06:00:00')"), 29);
  EXPECT_EQ(Int("fn_GetYear(TIMESTAMP '1858-11-16 23:00:00')"), 1858);
  EXPECT_EQ(Int("fn_GetDay(TIMESTAMP '1858-11-16 23:00:00')"), 16);
  EXPECT_EQ(Int("fn_DayOfTheWeek(TIMESTAMP '1899-12-24 06:00:00')"), 7);
  EXPECT_EQ(Db().Scalar("SELECT fn_WeekOfDate(TIMESTAMP '1899-12-24 06:00:00') FROM RDB$DATABASE").text, "51-1899");
  EXPECT_EQ(Db().Scalar("SELECT fn_GetDayofWeek(TIMESTAMP '1800-01-05 12:00:00', 10) FROM RDB$DATABASE").text,
            "Sonntag");
  EXPECT_EQ(Db().Scalar("SELECT fn_DateTimeToStr(TIMESTAMP '1800-12-31 18:00:00') FROM RDB$DATABASE").text,
            "31.12.1800 18:00:00");
  EXPECT_EQ(Int("fn_DateToJahrMo(TIMESTAMP '1800-12-31 18:00:00')"), 180012);
  EXPECT_EQ(Int("fn_DateStrToJahrMo('31.12.1800 18:00')"), 180012);
  // The day count itself is the engine's: -0.75 for 29.12.1899 06:00, and
  // it still has no timestamp.
  EXPECT_DOUBLE_EQ(Db().Scalar("SELECT fn_GetDateTime(TIMESTAMP '1899-12-29 06:00:00') FROM RDB$DATABASE").number, -0.75);
}

TEST(DateTime, NullsAndRowsOfATable) {
  Db().Execute("CREATE TABLE stamps (id INTEGER, t TIMESTAMP, d DATE)");
  Db().Execute(
      "INSERT INTO stamps SELECT 1, TIMESTAMP '2023-02-01 12:30:00', DATE '2024-01-31' FROM RDB$DATABASE "
      "UNION ALL SELECT 2, NULL, NULL FROM RDB$DATABASE");
  auto rows = Db().Query(
      "SELECT fn_GetYear(t), fn_GetDayofWeek(t, -2), fn_GetTime(t), fn_GetDateTime(t), fn_TimeStampToFloat(t), "
      "fn_DateTimeToStr(t), fn_WeekOfDate(t), fn_DateToJahrMo(t), fn_SecondsBetween(t, TIMESTAMP '2023-02-01 12:00:00'), "
      "fn_GetDate(t), t, fn_Ablauf_Tag(d, -31, 0, 0, 0), fn_Ablauf_Tag(t, 0, 1, 0, 1) "
      "FROM stamps ORDER BY id");
  ASSERT_EQ(rows.size(), 2u);
  const Row& r = rows[0];
  EXPECT_EQ(r[0].integer, 2023);
  EXPECT_EQ(r[1].text, "MI");
  EXPECT_NEAR(r[2].number, 12.5 / 24, 1e-12);
  EXPECT_NEAR(r[3].number, 44958 + 12.5 / 24, 1e-9);
  EXPECT_EQ(r[4].number, r[3].number);
  EXPECT_EQ(r[5].text, "01.02.2023 12:30:00");
  EXPECT_EQ(r[6].text, "05-2023");
  EXPECT_EQ(r[7].integer, 202302);
  EXPECT_EQ(r[8].integer, 1800);
  EXPECT_EQ(r[9].timestamp.timestamp_date, 59976);  // fn_GetDate: the date kept, time 00:00
  EXPECT_EQ(r[9].timestamp.timestamp_time, 0u);
  EXPECT_EQ(r[10].timestamp.timestamp_time, 450000000u);  // the column itself is untouched
  EXPECT_EQ(r[11].timestamp.timestamp_date, 60369);  // 29.02.2024
  EXPECT_EQ(r[12].timestamp.timestamp_date, 59976 + 28);  // 1.3.2023
  EXPECT_EQ(r[12].timestamp.timestamp_time, 0u);
  const Row& n = rows[1];
  EXPECT_EQ(n[0].integer, 0);
  EXPECT_EQ(n[1].text, "");
  EXPECT_EQ(n[2].number, 0.0);
  EXPECT_EQ(n[3].number, 0.0);
  EXPECT_EQ(n[4].number, 0.0);
  EXPECT_EQ(n[5].text, "");
  EXPECT_EQ(n[6].text, "");
  EXPECT_EQ(n[7].integer, 0);
  EXPECT_EQ(n[8].integer, 0);
  EXPECT_TRUE(n[9].is_null);
  EXPECT_TRUE(n[11].is_null);
  EXPECT_TRUE(n[12].is_null);
  Db().Execute("DROP TABLE stamps");
}

// The longest texts a column can hold reach the text functions, and the
// longest results fit their declarations.
TEST(DateTime, LongTextsAndLongestResults) {
  const std::string blanks(32000, ' ');
  EXPECT_EQ(Int("fn_IsDate('" + blanks + "1.2.2023')"), 1);  // trimmed first
  EXPECT_EQ(Int("fn_IsDate('1.2.2023" + blanks + "')"), 1);
  EXPECT_EQ(Int("fn_DateStrToJahrMo('1.2.2023 " + blanks + "')"), 202302);
  EXPECT_EQ(Int("fn_GetYear(fn_StrToDateTime('1.2.2023" + blanks + "'))"), 2023);
  EXPECT_EQ(Int("fn_GetYear(fn_DateOfWeek('5-2023" + std::string(200, ' ') + "'))"), 2023);
  // The number reader gives up on a text beyond 255 characters: week 0 of 2000.
  EXPECT_EQ(Int("fn_GetYear(fn_DateOfWeek('5-2023" + blanks + "'))"), 1999);
  EXPECT_NEAR(Db().Scalar("SELECT fn_GetDateTimeStr('x" + blanks + "1.2.2023') FROM RDB$DATABASE").number, 0.0, 0);
  EXPECT_EQ(Db().Scalar("SELECT fn_JahrMoToDateStr(-2147483648) FROM RDB$DATABASE").text, "01.-48.-21474836");
  EXPECT_EQ(Db().Scalar("SELECT fn_GetDayofWeek(TIMESTAMP '2023-02-02 00:00:00', -10) FROM RDB$DATABASE").text,
            "DONNERSTAG");
}

// The rules that take the current month and year, against the engine's
// CURRENT_DATE in the same statement (tried again when midnight passes).
TEST(DateTime, CurrentDateRules) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto rows = Db().Query(
        "SELECT EXTRACT(YEAR FROM CURRENT_DATE), EXTRACT(MONTH FROM CURRENT_DATE), "
        "fn_StrToDateTime('15.3.  '), fn_StrToDateTime('15.  '), fn_StrToDateTime('15. 2023'), "
        "fn_IsDate('15. 23'), fn_WeekOfDate(fn_DateOfWeek('5')), fn_WeekOfDate(fn_DateOfWeek('5-1960')), "
        "EXTRACT(DAY FROM CURRENT_DATE) FROM RDB$DATABASE");
    ASSERT_EQ(rows.size(), 1u);
    const Row& r = rows[0];
    auto check = Db().Query("SELECT EXTRACT(DAY FROM CURRENT_DATE) FROM RDB$DATABASE");
    if (check[0][0].integer != r[8].integer) continue;
    const int year = static_cast<int>(r[0].integer), month = static_cast<int>(r[1].integer);
    auto date_of = [](int y, int m, int d) {
      char sql[128];
      std::snprintf(sql, sizeof sql, "SELECT CAST('%04d-%02d-%02d' AS TIMESTAMP) FROM RDB$DATABASE", y, m, d);
      return Db().Scalar(sql).timestamp.timestamp_date;
    };
    EXPECT_EQ(r[2].timestamp.timestamp_date, date_of(year, 3, 15));
    EXPECT_EQ(r[3].timestamp.timestamp_date, date_of(year, month, 15));
    EXPECT_EQ(r[4].timestamp.timestamp_date, date_of(2023, month, 15));
    EXPECT_EQ(r[5].integer, 1);
    EXPECT_EQ(r[6].text, "05-" + std::to_string(year));
    EXPECT_EQ(r[7].text, "05-" + std::to_string(year));
    return;
  }
}

// A caught error leaves one record under the function's exported name and a
// valid result.
TEST(DateTime, ErrorsAreLoggedWithAValidResult) {
  struct Case {
    std::string expr;
    std::string result;  // the value as text
    std::string record;
  } cases[] = {
      {"CAST(fn_StrToDateTime('1.1.1800 12:00') AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_StrToDateTime: Range check error"},
      {"CAST(fn_ValToDateTime('29.12.1899 06:00') AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_StrToDateTime: Range check error"},
      {"CAST(fn_FloatToTimeStamp(-0.5) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_FloatToTimeStamp: Range check error"},
      {"CAST(fn_FloatToTimeStamp(1e300) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_FloatToTimeStamp: Range check error"},
      {"CAST(fn_DateOfWeek('999999999-2023') AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_DateOfWeek: Range check error"},
      {"CAST(fn_SecondsBetween(TIMESTAMP '1970-01-01 00:00:00', TIMESTAMP '2040-01-01 00:00:00') AS VARCHAR(30))",
       "0", "fn_SecondsBetween: Range check error"},
      {"CAST(fn_DaysOfMonth(2, 65536) AS VARCHAR(30))", "0", "fn_DaysOfMonth: Range check error"},
      {"CAST(fn_Ablauf_Tag(DATE '9999-12-10', -5, 0, 0, 0) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: 10000-1-5 is not a valid date specification"},
      {"CAST(fn_Ablauf_Tag(DATE '2024-01-10', -65536, 0, 0, 0) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: Range check error"},
      {"CAST(fn_Ablauf_Tag(DATE '2024-01-10', 0, 1, 0, 65535) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: Range check error"},
      {"CAST(fn_Ablauf_Tag(DATE '2024-01-10', 2147483647, 0, 0, 0) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: Range check error"},
      // Beyond 9999-12-31 the server would refuse the timestamp and fail the statement.
      {"CAST(fn_Ablauf_Tag(DATE '9999-12-31', 10, 0, 0, 0) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: Range check error"},
      {"CAST(fn_Ablauf_Tag(DATE '0001-01-01', 0, 1, -1, 0) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_Ablauf_Tag: Range check error"},
      {"CAST(fn_FloatToTimeStamp(3000000) AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_FloatToTimeStamp: Range check error"},
      {"CAST(fn_DateOfWeek('600000-2023') AS VARCHAR(30))", "1899-12-30 00:00:00.0000",
       "fn_DateOfWeek: Range check error"},
      // An infinite sum would fail the caller's statement.
      {"CAST(fn_Buchungssumme('S', 1e308, 0, 1e308, 0) AS VARCHAR(30))", "0.000000000000000",
       "fn_Buchungssumme: Floating point overflow"},
  };
  for (const auto& c : cases) {
    std::string logged;
    SqlValue v;
    ASSERT_NO_THROW(v = ScalarLogged(c.expr, logged)) << c.expr;
    EXPECT_EQ(v.text, c.result) << c.expr;
    ASSERT_FALSE(logged.empty()) << c.expr;
    EXPECT_EQ(logged.front(), '\r') << c.expr;
    EXPECT_EQ(logged.find('\r', 1), std::string::npos) << "one record: " << c.expr;
    const std::string suffix = ": " + c.record;
    EXPECT_TRUE(logged.size() >= suffix.size() && logged.compare(logged.size() - suffix.size(), suffix.size(), suffix) == 0)
        << c.expr << " logged " << logged.substr(1);
  }
}

}  // namespace
}  // namespace fbtest
