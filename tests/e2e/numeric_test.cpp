// Numeric functions and the distribution of allocation texts through the
// engine: values exact to the last bit, caught errors in the error log, and
// allocation texts as long as a column holds.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

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

const std::string kFields = "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG";

// A short share line stops the spread: the text comes back exactly as it was
// and the log names the missing position.
TEST(DistributionEngine, ShortLineKeepsTheTextAndLogs) {
  struct Case {
    std::string text;
    std::string record;
  } cases[] = {
      // an empty line in the middle: no PROZENT item (position 5)
      {kFields + "\r\n1=4711,,,400,,50,10\r\n\r\n3=4712,,,400,,50,10\r\n",
       ": fn_KstBetragVerteilen: List index (5) out of bounds"},
      // a second line break at the end adds an empty last line
      {kFields + "\n1=4711,,,400,,100,10\n\n", ": fn_KstBetragVerteilen: List index (5) out of bounds"},
      // PROZENT present, BETRAG (position 6) missing on the last line
      {kFields + "\n1=4711,,,400,,50,10\n2=4712,,,400,,50\n",
       ": fn_KstBetragVerteilen: List index (6) out of bounds"},
  };
  for (const auto& c : cases) {
    std::string log;
    SqlValue v = ScalarLogged("fn_KstBetragVerteilen(" + SqlText(c.text) + ", 100)", log);
    EXPECT_EQ(v.text, c.text);
    ExpectOneRecord(log, c.record);
  }
}

// The spread over rows of a table: every allocation adds up to its new
// amount to the cent, the remainder on its last line.
TEST(DistributionEngine, SpreadOverTableRows) {
  Db().Execute("CREATE TABLE allocs (id INTEGER, amount DOUBLE PRECISION, t VARCHAR(32765))");
  const std::string thirds = kFields + "\n1=1,,,400,,33.3333,1\n2=2,,,400,,33.3333,1\n3=3,,,400,,33.3333,1\n";
  const std::string sevenths = kFields + "\n1=1,,,400,,14.2857,0\n2=2,,,400,,14.2857,0\n"
                               "3=3,,,400,,14.2857,0\n4=4,,,400,,14.2857,0\n5=5,,,400,,14.2857,0\n"
                               "6=6,,,400,,14.2857,0\n7=7,,,400,,14.2857,0\n";
  Db().Execute("INSERT INTO allocs VALUES (1, 100, " + SqlText(thirds) + ")");
  Db().Execute("INSERT INTO allocs VALUES (2, 1000, " + SqlText(sevenths) + ")");
  std::remove(ErrorLogPath().c_str());
  Db().Execute("UPDATE allocs SET t = fn_KstBetragVerteilen(t, amount)");
  auto rows = Db().Query("SELECT t FROM allocs ORDER BY id");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0].text,
            kFields + "\n1=1,,,400,,33.3333,33.33\n2=2,,,400,,33.3333,33.33\n3=3,,,400,,33.3333,33.34\n");
  // 1000 * 14.2857 / 100 = 142.857 -> 142.86 six times; the last line 142.84
  EXPECT_EQ(rows[1][0].text,
            kFields + "\n1=1,,,400,,14.2857,142.86\n2=2,,,400,,14.2857,142.86\n"
                      "3=3,,,400,,14.2857,142.86\n4=4,,,400,,14.2857,142.86\n"
                      "5=5,,,400,,14.2857,142.86\n6=6,,,400,,14.2857,142.86\n"
                      "7=7,,,400,,14.2857,142.84\n");
  // A second spread of the same amounts changes nothing.
  Db().Execute("UPDATE allocs SET t = fn_KstBetragVerteilen(t, amount)");
  auto again = Db().Query("SELECT t FROM allocs ORDER BY id");
  EXPECT_EQ(again[0][0].text, rows[0][0].text);
  EXPECT_EQ(again[1][0].text, rows[1][0].text);
  EXPECT_EQ(ErrorLog(), "");
  Db().Execute("DROP TABLE allocs");
}

// Texts as long as a column holds go in; a rewrite that would outgrow the
// declared result keeps the text and logs instead of failing the statement.
TEST(DistributionEngine, LongestTexts) {
  Db().Execute("CREATE TABLE longallocs (t VARCHAR(32765))");
  // 3761 share lines "k=,1" with CR LF: 32765 bytes in all, the longest a
  // VARCHAR column holds.
  std::string text = "FELDER=BETRAG,PROZENT\r\n";
  int k = 1;
  while (true) {
    std::string line = std::to_string(k) + "=,1\r\n";
    if (text.size() + line.size() > 32765) break;
    text += line;
    ++k;
  }
  ASSERT_EQ(text.size(), 32765u);
  Db().Execute("INSERT INTO longallocs VALUES (" + SqlText(text) + ")");

  std::remove(ErrorLogPath().c_str());
  auto rows = Db().Query("SELECT fn_KstMengenStorno(t), fn_KstBetragVerteilen(t, 0) FROM longallocs");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text.size(), text.size() - static_cast<size_t>(k));  // k lines: CR LF -> LF
  EXPECT_EQ(rows[0][1].text, text);  // the BETRAG values add up to 0 already
  EXPECT_EQ(ErrorLog(), "");

  // Spreading 1 million puts "10000" into every BETRAG: far too long.
  rows = Db().Query("SELECT fn_KstBetragVerteilen(t, 1000000) FROM longallocs");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, text);
  ExpectOneRecord(ErrorLog(),
                  ": fn_KstBetragVerteilen: Result longer than 32765 bytes");
  Db().Execute("DROP TABLE longallocs");
}

// The reversal turns each "5" into "-5": a 32763-byte text with two share
// lines gives the longest result a query can fetch (32765 bytes, the most a
// text value holds); one byte more keeps the text and logs.
TEST(DistributionEngine, ReversalAtTheResultLimit) {
  for (size_t size : {32763u, 32764u}) {
    std::string text = "FELDER=MENGE,X\n1=5,\n2=5,\n";
    text.insert(text.size() - 1, size - text.size(), 'x');  // pad the last line
    ASSERT_EQ(text.size(), size);
    std::string log;
    SqlValue v = ScalarLogged("fn_KstMengenStorno(" + SqlText(text) + ")", log);
    if (size == 32763u) {
      EXPECT_EQ(v.text.size(), 32765u);
      EXPECT_EQ(v.text.substr(0, 27), "FELDER=MENGE,X\n1=-5,\n2=-5,x");
      EXPECT_EQ(log, "");
    } else {
      EXPECT_EQ(v.text, text);
      ExpectOneRecord(log, ": fn_KstMengenStorno: Result longer than 32765 bytes");
    }
  }
}

}  // namespace
}  // namespace fbtest
