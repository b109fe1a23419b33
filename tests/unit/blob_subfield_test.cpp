#include "blob/blob_subfield.h"

#include <string>

#include <gtest/gtest.h>

#include "fake_blob.h"

namespace qor {
namespace {

using qortest::FakeBlob;

const std::string kText = "FELDER=KSTNR,KTRNR,BETRAG\r\n1=4711,A,10.5\r\n2=4712,B,20";

TEST(BlobSubField, AnswersTheQuestionTheSelectorsChoose) {
  struct Case {
    const char* field;
    const char* line;
    const char* answer;
  } cases[] = {
      {"?", "", "3"},
      {" ? ", "?", "3"},  // the field count wins over the line count
      {"KSTNR", "?", "2"},
      {"", "?", "2"},
      {"", "1", "KSTNR\r\nKTRNR\r\nBETRAG\r\n"},
      {"  ", "", "KSTNR\r\nKTRNR\r\nBETRAG\r\n"},
      {"NOSUCH", "", "1\r\n2\r\n"},
      {"KSTNR", " ", "1\r\n2\r\n"},
      {"*", "2", "4712\r\nB\r\n20\r\n"},
      {"*", "3", ""},
      {"betrag", "#1", "10.5"},
      {"betrag", "#0", "BETRAG"},
      {"betrag", "#3", ""},
      {"betrag", "#-1", ""},
      {"betrag", "#2x", "20"},  // the number is read leniently
      {"betrag", "#0000000002", "20"},
      {"betrag", "#00000000002", "BETRAG"},  // from the first 10 characters only
      {"BETRAG", "*", "10.5\r\n20\r\n"},
      {"BETRAG", " * ", "10.5\r\n20\r\n"},
      {"BETRAG", "2", "20\r\n"},
      {"BETRAG", " 2", ""},  // keys are matched untrimmed
      {" BETRAG", "2", ""},  // so are field names
      {"NOSUCH", "2", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SubFieldAnswer(kText, c.field, c.line), c.answer) << "[" << c.field << "] [" << c.line << "]";
  }
}

TEST(BlobSubField, MissingValuesGiveEmptyEntries) {
  const std::string text = "felder=A,B,C\n1=x\n2=y,z,w\n1=p,q";
  EXPECT_EQ(SubFieldAnswer(text, "C", "*"), "\r\nw\r\n\r\n");
  EXPECT_EQ(SubFieldAnswer(text, "b", "1"), "\r\nq\r\n");  // every line with key 1
  EXPECT_EQ(SubFieldAnswer(text, "C", "#1"), "");
}

TEST(BlobSubField, FieldNamesAreSearchedUpToTheFirstEmptyOne) {
  const std::string text = "FELDER=A,,B, \" \" \n1=1,2,3,4";
  EXPECT_EQ(SubFieldAnswer(text, "A", "#1"), "1");
  EXPECT_EQ(SubFieldAnswer(text, "B", "#1"), "");
  EXPECT_EQ(SubFieldAnswer(text, "?", ""), "2");  // empty and blank names do not count
}

TEST(BlobSubField, OnlyAllocationTextsAreRead) {
  EXPECT_EQ(SubFieldAnswer("FELDER:KSTNR\n1=1", "?", ""), "");
  EXPECT_EQ(SubFieldAnswer("FELDER", "?", ""), "");
  EXPECT_EQ(SubFieldAnswer("FELDER=", "?", ""), "0");
  EXPECT_EQ(SubFieldAnswer("x FELDER=A", "?", ""), "");
}

// Lines end at CR LF, LF or CR; a separator at the very end adds no line,
// an empty line in between is a line.
TEST(BlobSubField, LinesAsTheSeparatorsMakeThem) {
  struct Case {
    const char* text;
    const char* field;
    const char* line;
    const char* answer;
  } cases[] = {
      {"FELDER=A\r\n1=x\r\n2=y\r\n", "A", "?", "2"},
      {"FELDER=A\r\n1=x\r\n2=y\r\n\r\n", "A", "?", "3"},
      {"FELDER=A\n\n2=y", "A", "?", "2"},
      {"FELDER=A\n1=x\r2=y\r\n3=z", "A", "#2", "y"},
      {"FELDER=A\n1=x\r2=y\r\n3=z", "A", "#3", "z"},
      {"FELDER=A\n1=x\r2=y\r\n3=z", "A", "#4", ""},
      {"FELDER=A\n1=x\r\r3=z", "A", "#2", ""},
      {"FELDER=A\n1=x\r\r3=z", "A", "", "1\r\n\r\n3\r\n"},
      {"FELDER=A\n1=x\r\r3=z", "A", "*", "x\r\n\r\nz\r\n"},
      {"FELDER=A", "A", "*", ""},
      {"FELDER=A", "A", "#1", ""},
      {"FELDER=A\n", "A", "?", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SubFieldAnswer(c.text, c.field, c.line), c.answer) << c.text << " [" << c.field << "] [" << c.line << "]";
  }
}

TEST(BlobSubField, ReadsTheWholeBlobAndCutsTheAnswer) {
  std::string text = "FELDER=A\n";
  for (int i = 1; i <= 2000; ++i) text += std::to_string(i) + "=v" + std::to_string(i) + "\n";
  FakeBlob blob(text);
  const std::string answer = BlobSubField(blob.source(), "A", "*");
  ASSERT_EQ(answer.size(), 255u);
  EXPECT_EQ(answer.substr(0, 8), "v1\r\nv2\r\n");
  FakeBlob last(text);
  EXPECT_EQ(BlobSubField(last.source(), "A", "#2000"), "v2000");  // beyond the first 32759 bytes

  FakeBlob with_nul(std::string("FELDER=A\n1=x\0\n2=y", 17));
  EXPECT_EQ(BlobSubField(with_nul.source(), "", "?"), "1");  // the text ends at the NUL
  EXPECT_EQ(BlobSubField(BlobSourceOf(nullptr), "?", ""), "");
}

}  // namespace
}  // namespace qor
