#include "accounting/aufteilung.h"

#include <gtest/gtest.h>

#include "accounting/kst_aufteilung.h"

namespace qor {
namespace {

using Lines = std::vector<std::string_view>;

TEST(Aufteilung, SplitsLinesAtAnySeparator) {
  struct Case {
    std::string_view text;
    Lines lines;
  } cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\n\n", {"a", ""}},  // two LF: an empty last line
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\n", {""}},
      {"", {}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two separators
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(Aufteilung, LinesSplitAtTheirFirstEquals) {
  EXPECT_EQ(LineKey("1=a=b"), "1");
  EXPECT_EQ(LineValue("1=a=b"), "a=b");
  EXPECT_EQ(LineKey("no equals"), "no equals");
  EXPECT_EQ(LineValue("no equals"), "");
}

TEST(Aufteilung, ReadsShareLineValues) {
  struct Case {
    std::string_view value;
    TextList items;
  } cases[] = {
      {"4711, 12 ,,400", {"4711", "12", "", "400"}},
      {"4711,A 1,,400", {"4711", "A", "1", "", "400"}},  // an unquoted blank splits
      {R"(4711,"A 1",,400,,100,123.45)", {"4711", "A 1", "", "400", "", "100", "123.45"}},
      {R"("A""B","x,y")", {"A\"B", "x,y"}},
      {"a,", {"a", ""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    TextList items{"stale"};
    ReadCommaText(c.value, items);
    EXPECT_EQ(items, c.items) << c.value;
  }
}

TEST(Aufteilung, CommaTextWritingReadsBackUnchanged) {
  struct Case {
    TextList items;
    std::string_view text;
  } cases[] = {
      {{"4711", "A 1", "", "400", "", "100", "123.45"}, R"(4711,"A 1",,400,,100,123.45)"},
      {{"A\"B"}, R"("A""B")"},
      {{"x,y", "tab\there", "\"", ""}, "\"x,y\",\"tab\there\",\"\"\"\","},
      {{""}, R"("")"},
      {{"", ""}, ","},
      {{}, ""},
      {{"-5", "12.5", "\xE4"}, "-5,12.5,\xE4"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinCommaText(c.items), c.text);
    TextList back;
    ReadCommaText(JoinCommaText(c.items), back);
    EXPECT_EQ(back, c.items) << c.text;
  }
}

TEST(Aufteilung, QuotesValuesThatAreNotPlainLettersAndDigits) {
  struct Case {
    std::string_view value;
    std::string_view text;
  } cases[] = {
      {"4711", "4711"},   {"Ab9", "Ab9"},       {"", ""},           {"12.5", R"("12.5")"},
      // the ends of the three ranges stay bare, their neighbours are quoted
      {"azAZ09", "azAZ09"}, {"a", "a"}, {"z", "z"}, {"A", "A"}, {"Z", "Z"}, {"0", "0"}, {"9", "9"},
      {"@", R"("@")"},    {"[", R"("[")"},      {"`", R"("`")"},    {"{", R"("{")"},
      {"/", R"("/")"},    {":", R"(":")"},      {"A\x7f", "\"A\x7f\""},
      {"-3", R"("-3")"},  {"A 1", R"("A 1")"},  {"\xE4", "\"\xE4\""},
      {"A\"B", R"("A""B")"},  // doubled, so that it reads back as one value
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuoteNonAlnum(c.value), c.text);
    TextList back;
    ReadCommaText(QuoteNonAlnum(c.value), back);
    EXPECT_EQ(back, c.value.empty() ? TextList{} : TextList{std::string(c.value)});
  }
}

TEST(Aufteilung, FindsFieldsByNameInAnyCase) {
  Lines lines = SplitLines("1=x\nfelder=kstnr,Betrag\nFELDER=BETRAG\n");
  FieldLine fields = FindFieldLine(lines);
  EXPECT_EQ(fields.index, 1);
  EXPECT_EQ(FieldPosition(fields.names, "BETRAG"), 1);
  EXPECT_EQ(FieldPosition(fields.names, "KstNr"), 0);
  EXPECT_EQ(FieldPosition(fields.names, "MENGE"), -1);
  // Two equal names: the first counts.
  EXPECT_EQ(FieldPosition({"KSTNR", "Betrag", "BETRAG"}, "betrag"), 1);
  EXPECT_EQ(FieldPosition({"betrag", "BETRAG"}, "BETRAG"), 0);

  FieldLine none = FindFieldLine(SplitLines("1=4711\nFELDERX=A\n"));
  EXPECT_EQ(none.index, -1);
  EXPECT_TRUE(none.names.empty());
}

TEST(KstToAufteilung, BothWritersReadBackToTheSameFields) {
  for (std::string text : {KstToAufteilung(4711, 0, 400, -123.45, "K \"1\", x"),
                           KstToAufteilung2(4711, 0, 400, -123.45, 2, "K \"1\", x")}) {
    auto lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 2u);
    FieldLine fields = FindFieldLine(lines);
    TextList share;
    ReadCommaText(LineValue(lines[1]), share);
    ASSERT_EQ(share.size(), 7u) << text;
    EXPECT_EQ(share[static_cast<size_t>(FieldPosition(fields.names, "KTRNR"))], "K \"1\", x");
    EXPECT_EQ(ParseFloatText(share[static_cast<size_t>(FieldPosition(fields.names, "Betrag"))]), -123.45);
    EXPECT_EQ(share[static_cast<size_t>(FieldPosition(fields.names, "Prozent"))], "100");
  }
}

TEST(KstToAufteilung, ShareLinesOfBothWriters) {
  struct Case {
    double kst, fallback, koart, betrag, menge;
    std::string_view ktr;
    std::string_view line1, line2;  // share lines; empty: no text at all
  } cases[] = {
      {4711, 0, 400, 123.45, 2, "A 1", "1=4711,\"A 1\",,400,,100,123.45", "1=4711,\"A 1\",,400,2,100,\"123.45\""},
      {4711, 0, 400, 99.9, 1, "", "1=4711,,,400,,100,99.9", "1=4711,,,400,1,100,\"99.9\""},
      {4711, 400, 0, 5, 1, "", "1=4711,,,400,,100,5", "1=4711,,,400,1,100,5"},  // fallback cost type
      {4711, 0, 0, 5, 1, "", "", ""},                      // no cost type at all
      {4711, 0.7, 0.5, 5, 1, "", "", ""},                  // both below 1
      {0, 0, 400, 5, 1, "  ", "", ""},                     // neither cost centre nor cost unit
      {0, 0, 400, 5, 1, "\t\r\n\x01\x1f", "", ""},           // control characters are blank too
      {0.99, 0, 400, 5, 1, "", "", ""},
      {1, 0, 1, 5, 1, "", "1=1,,,1,,100,5", "1=1,,,1,1,100,5"},  // 1 is enough for both
      {4711, 1, 0, 5, 1, "", "1=4711,,,1,,100,5", "1=4711,,,1,1,100,5"},
      {0, 0, 400, 5, 1, "\x01K", "1=0,\"\x01K\",,400,,100,5", "1=0,\"\x01K\",,400,1,100,5"},
      {0, 0, 400, 5, 1, "K1", "1=0,K1,,400,,100,5", "1=0,K1,,400,1,100,5"},
      {4711, 0, 400, -5, 1, "", "1=4711,,,400,,100,-5", "1=4711,,,400,1,100,\"-5\""},
      {4711, 0, 400, 5, 1, "A\"B", "1=4711,\"A\"\"B\",,400,,100,5", "1=4711,\"A\"\"B\",,400,1,100,5"},
      {4711, 0, 400, 5, 1, " K", "1=4711,\" K\",,400,,100,5", "1=4711,\" K\",,400,1,100,5"},
      // a line break would split the share line when it is read back
      {4711, 0, 400, 5, 1, "A\r\nB", "1=4711,\"A  B\",,400,,100,5", "1=4711,\"A  B\",,400,1,100,5"},
      {4711, 0, 400, 5, -2.5, "", "1=4711,,,400,,100,5", "1=4711,,,400,\"-2.5\",100,5"},
      // fractional cost centre and cost type: the second writer quotes them too
      {4711.5, 0, 400.25, 5, 1, "", "1=4711.5,,,400.25,,100,5", "1=\"4711.5\",,,\"400.25\",1,100,5"},
      {4711, 12.5, 0, 5, 1, "", "1=4711,,,12.5,,100,5", "1=4711,,,\"12.5\",1,100,5"},
      {0.5, 0, 400, 5, 1, "K", "1=0.5,K,,400,,100,5", "1=\"0.5\",K,,400,1,100,5"},
  };
  for (const auto& c : cases) {
    std::string one = KstToAufteilung(c.kst, c.fallback, c.koart, c.betrag, c.ktr);
    std::string two = KstToAufteilung2(c.kst, c.fallback, c.koart, c.betrag, c.menge, c.ktr);
    if (c.line1.empty()) {
      EXPECT_EQ(one, "");
      EXPECT_EQ(two, "");
      continue;
    }
    const std::string fields = "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG";
    EXPECT_EQ(one, fields + "\n" + std::string(c.line1) + "\n");
    EXPECT_EQ(two, fields + "\r\n" + std::string(c.line2) + "\r\n");
  }
}

}  // namespace
}  // namespace qor
