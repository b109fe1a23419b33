// Blob functions on real blobs of the engine: stored text blobs beyond 64 KB,
// blobs made by the functions themselves (RETURNS PARAMETER n), and files in
// the test's working directory.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine.h"

namespace fbtest {
namespace {

// The trace lines of every trace file that mention `needle`.
std::string TraceLinesWith(const std::string& needle) {
  std::string found;
  DIR* dir = opendir("/tmp/QOR_UDF");
  if (dir == nullptr) return found;
  while (dirent* e = readdir(dir)) {
    const std::string text = ReadFileBytes(std::string("/tmp/QOR_UDF/") + e->d_name);
    size_t pos = 0;
    while ((pos = text.find(needle, pos)) != std::string::npos) {
      const size_t start = text.rfind('\n', pos);
      const size_t end = text.find('\n', pos);
      found += text.substr(start == std::string::npos ? 0 : start + 1,
                           end == std::string::npos ? std::string::npos : end - (start == std::string::npos ? 0 : start + 1));
      found += "\n";
      pos = end == std::string::npos ? text.size() : end;
    }
  }
  closedir(dir);
  return found;
}

class BlobTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Db().Execute("CREATE TABLE blob_docs (id INTEGER, body BLOB SUB_TYPE TEXT)");
    // A settings text of 1000 lines of 100 bytes (100000 bytes, beyond 64 KB),
    // loaded from a file so that the engine stores it as a real blob.
    std::string text;
    for (int i = 0; i < 1000; ++i) {
      std::string line = "key" + std::to_string(i) + "=";
      line += std::string(99 - line.size(), static_cast<char>('a' + i % 26));
      text += line + "\n";
    }
    text += "Last=Ende des Textes";  // no line break after the last line
    big_text_ = new std::string(text);
    ASSERT_TRUE(WriteFileBytes(WorkDir() + "/big_settings.txt", text));
    Db().Execute("INSERT INTO blob_docs VALUES (1, fn_BlobLoadFromFile('big_settings.txt'))");
  }
  static void TearDownTestSuite() {
    Db().Execute("DROP TABLE blob_docs");
    delete big_text_;
  }
  static const std::string& BigText() { return *big_text_; }
  static std::string OnBig(const std::string& expr) {
    return "SELECT " + expr + " FROM blob_docs WHERE id = 1";
  }

 private:
  static std::string* big_text_;
};
std::string* BlobTest::big_text_ = nullptr;

TEST_F(BlobTest, ABlobLoadedFromAFileHoldsItsBytes) {
  EXPECT_EQ(Db().Scalar(OnBig("fn_BlobSize(body)")).number, static_cast<double>(BigText().size()));
  EXPECT_EQ(Db().Scalar(OnBig("body")).text, BigText());
}

TEST_F(BlobTest, TextTransferOnALongBlob) {
  EXPECT_EQ(Db().Scalar(OnBig("fn_BlobToStr(body)")).text, BigText().substr(0, 32759));
  EXPECT_EQ(Db().Scalar(OnBig("fn_BlobToSubString(body, 90001, 30)")).text, BigText().substr(90000, 30));
  EXPECT_EQ(Db().Scalar(OnBig("fn_BlobToSubString(body, 99990, 32759)")).text, BigText().substr(99989));
}

TEST_F(BlobTest, LineListsSeeTheWholeBlob) {
  EXPECT_EQ(Db().Scalar(OnBig("fn_ListValue(body, 'LAST')")).text, "Ende des Textes");
  EXPECT_EQ(Db().Scalar(OnBig("fn_ListValue(body, 'KEY999')")).text, std::string(92, 'l'));  // at 99900
  EXPECT_EQ(Db().Scalar(OnBig("fn_ListLine(body, 'des', 1)")).text, "Last=Ende des Textes");
  EXPECT_EQ(Db().Scalar(OnBig("fn_ListLine(body, 'key99', 0)")).text.size(),
            11u * 99u + 10u * 2u);  // key99 and key990..key999, joined by two bytes
  EXPECT_EQ(Db().Scalar(OnBig("fn_ListLine(body, 'ENDE', -1)")).text, "Last=Ende des Textes");
  EXPECT_EQ(Db().Scalar(OnBig("fn_ScanBlob(body, 'ende DES')")).number,
            static_cast<double>(BigText().find("Ende des") + 1));
}

// A query fetches at most 32765 bytes of a text result, and the server keeps
// the length of a result in 16 bits: a longer one would fail the statement,
// and one of 65536 bytes or more would arrive cut to its length modulo 65536
// (70000 bytes as 4464). Beyond 32765 bytes the result is logged and empty
// instead.
TEST_F(BlobTest, TextResultsBeyondWhatAQueryFetchesAreLoggedAndEmpty) {
  const std::string path = WorkDir() + "/long_value.txt";
  struct Case {
    size_t value_length;
    std::string expr;
    double expected;
  } cases[] = {
      {32765, "fn_ListValue(body, 'k')", 32765},
      {32766, "fn_ListValue(body, 'k')", 0},
      {32768, "fn_ListValue(body, 'k')", 0},
      {70000, "fn_ListValue(body, 'k')", 0},
      {32763, "fn_ListLine(body, 'k=', 1)", 32765},
      {70000, "fn_ListLine(body, 'k=', 0)", 0},
      {32762, "fn_LoadFromFile(" + Quote(path) + ")", 32765},  // k=, the value and LF
      {32763, "fn_LoadFromFile(" + Quote(path) + ")", 0},
      {70000, "fn_LoadFromFile(" + Quote(path) + ")", 0},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileBytes(path, "k=" + std::string(c.value_length, 'v') + "\n"));
    Db().Execute("DELETE FROM blob_docs WHERE id = 4");
    Db().Execute("INSERT INTO blob_docs VALUES (4, fn_BlobLoadFromFile(" + Quote(path) + "))");
    std::remove(ErrorLogPath().c_str());
    const SqlValue v = Db().Scalar("SELECT CHAR_LENGTH(" + c.expr + ") FROM blob_docs WHERE id = 4");
    EXPECT_EQ(v.number, c.expected) << c.expr << " on a value of " << c.value_length;
    const std::string function = c.expr.substr(0, c.expr.find('('));
    EXPECT_EQ(ErrorLog().find(function + ": Result longer than 32765 bytes") != std::string::npos,
              c.expected == 0)
        << c.expr << " on a value of " << c.value_length << ": " << ErrorLog();
  }
  Db().Execute("DELETE FROM blob_docs WHERE id = 4");
}

TEST_F(BlobTest, BlobResultsAreNewBlobsForTheCaller) {
  const std::string text(20000, 'z');
  Db().Execute("INSERT INTO blob_docs VALUES (2, fn_StrToBlob('" + text + "'))");
  Db().Execute("INSERT INTO blob_docs VALUES (3, fn_BlobAddStr('" + text + "'))");
  auto rows = Db().Query("SELECT fn_BlobSize(body), body FROM blob_docs WHERE id IN (2, 3) ORDER BY id");
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& row : rows) {
    EXPECT_EQ(row[0].number, 20000);
    EXPECT_EQ(row[1].text, text);
  }
  // Appending in SQL: the function's own result is the text alone.
  EXPECT_EQ(Db().Scalar("SELECT body || fn_BlobAddStr('!') FROM blob_docs WHERE id = 2").text, text + "!");
  Db().Execute("DELETE FROM blob_docs WHERE id IN (2, 3)");
}

// What SQL can get from fn_BlobAddStr: declared as in the script, the blob
// is the fresh result blob (above). Declared with a stored blob as its input
// instead, the server refuses the write ("cannot update old BLOB") and fails
// the statement; the stored blob stays as it was and nothing reaches the
// error log.
TEST_F(BlobTest, AStoredBlobCannotBeAppendedToInPlace) {
  Db().Execute(
      "DECLARE EXTERNAL FUNCTION probe_BlobAddStr CSTRING(100), BLOB RETURNS BIGINT BY VALUE "
      "ENTRY_POINT 'fn_BlobAddStr' MODULE_NAME 'qor_udf3.dll'");
  const size_t logged = ErrorLog().size();
  try {
    Db().Scalar(OnBig("probe_BlobAddStr('tail', body)"));
    ADD_FAILURE() << "the server let the function write to an input blob";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("cannot update old BLOB"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Db().Scalar(OnBig("body")).text, BigText());
  EXPECT_EQ(ErrorLog().size(), logged);
  Db().Execute("DROP EXTERNAL FUNCTION probe_BlobAddStr");
}

TEST_F(BlobTest, AllocationFieldsFromStoredBlobs) {
  Db().Execute("CREATE TABLE blob_alloc (id INTEGER, aufteilung BLOB SUB_TYPE TEXT)");
  Db().Execute(
      "INSERT INTO blob_alloc SELECT 1, fn_KstToAufteilung(4711, 0, 400, 123.45, 'A 1') FROM RDB$DATABASE "
      "UNION ALL SELECT 2, fn_KstToAufteilung2(4712, 0, 400, 7.5, 2, 'B') FROM RDB$DATABASE "
      "UNION ALL SELECT 3, 'no allocation' FROM RDB$DATABASE UNION ALL SELECT 4, NULL FROM RDB$DATABASE");
  auto rows = Db().Query(
      "SELECT fn_BlobSubField(aufteilung, 'BETRAG', '#1'), fn_BlobSubField(aufteilung, 'ktrnr', '1'), "
      "fn_BlobSubField(aufteilung, '?', '') FROM blob_alloc ORDER BY id");
  ASSERT_EQ(rows.size(), 4u);
  const char* want[4][3] = {{"123.45", "A 1\r\n", "7"}, {"7.5", "B\r\n", "7"}, {"", "", ""}, {"", "", ""}};
  for (size_t i = 0; i < 4; ++i) {
    for (size_t j = 0; j < 3; ++j) EXPECT_EQ(rows[i][j].text, want[i][j]) << i << "," << j;
  }
  Db().Execute("DROP TABLE blob_alloc");
}

// An allocation blob of many short share lines is read line by line: the
// count, a line near the end and keys compared untrimmed.
TEST_F(BlobTest, SubFieldOverManyShortLines) {
  std::string text = "FELDER=KSTNR,KTRNR,BETRAG\r\n";
  constexpr int kLines = 200000;
  for (int i = 1; i <= kLines; ++i) text += std::to_string(i) + "=" + std::to_string(i % 97) + ",A,1.5\n";
  ASSERT_TRUE(WriteFileBytes(WorkDir() + "/short_lines.txt", text));
  Db().Execute("CREATE TABLE blob_short (aufteilung BLOB SUB_TYPE TEXT)");
  Db().Execute("INSERT INTO blob_short VALUES (fn_BlobLoadFromFile('short_lines.txt'))");
  auto rows = Db().Query(
      "SELECT fn_BlobSubField(aufteilung, 'x', '?'), fn_BlobSubField(aufteilung, 'kstnr', '#200000'), "
      "fn_BlobSubField(aufteilung, 'KSTNR', '#200001'), fn_BlobSubField(aufteilung, 'KSTNR', '2'), "
      "fn_BlobSubField(aufteilung, 'KSTNR', ' 2'), fn_BlobSubField(aufteilung, 'KSTNR', 'none'), "
      "CHAR_LENGTH(fn_BlobSubField(aufteilung, 'BETRAG', '*')) FROM blob_short");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].text, std::to_string(kLines));
  EXPECT_EQ(rows[0][1].text, std::to_string(kLines % 97));
  EXPECT_EQ(rows[0][2].text, "");
  EXPECT_EQ(rows[0][3].text, "2\r\n");
  EXPECT_EQ(rows[0][4].text, "");  // the line selector is not trimmed
  EXPECT_EQ(rows[0][5].text, "");
  EXPECT_EQ(rows[0][6].integer, 255);
  Db().Execute("DROP TABLE blob_short");
}

TEST_F(BlobTest, SavesAndLoadsFiles) {
  const std::string path = WorkDir() + "/saved_big.txt";
  EXPECT_EQ(Db().Scalar(OnBig("fn_BlobSaveToFile(body, " + Quote(path) + ", 0)")).number,
            static_cast<double>(BigText().size()));
  EXPECT_EQ(ReadFileBytes(path), BigText());
  // An existing file stays as it is unless overwriting is asked for.
  EXPECT_EQ(Db().Scalar("SELECT fn_BlobSaveToFile(CAST('new' AS BLOB SUB_TYPE TEXT), " + Quote(path) +
                        ", 0) FROM RDB$DATABASE").number, -2);
  EXPECT_EQ(ReadFileBytes(path), BigText());
  EXPECT_EQ(Db().Scalar("SELECT fn_BlobSaveToFile(CAST('new' AS BLOB SUB_TYPE TEXT), " + Quote(path) +
                        ", 1) FROM RDB$DATABASE").number, 3);
  EXPECT_EQ(ReadFileBytes(path), "new");
  EXPECT_EQ(Db().Scalar("SELECT fn_BlobSaveToFile(CAST('' AS BLOB SUB_TYPE TEXT), " + Quote(path) +
                        ", 1) FROM RDB$DATABASE").number, 0);
  EXPECT_EQ(ReadFileBytes(path), "");

  // The whole file comes back through LoadFromFile with LF line ends.
  ASSERT_TRUE(WriteFileBytes(path, "a\r\nb\rc"));
  EXPECT_EQ(Db().Scalar("SELECT fn_LoadFromFile(" + Quote(path) + ") FROM RDB$DATABASE").text, "a\nb\nc\n");
}

TEST_F(BlobTest, FileProblemsGoToTheTraceLog) {
  const size_t logged = ErrorLog().size();
  const std::string missing = WorkDir() + "/no_dir/out.txt";
  EXPECT_EQ(Db().Scalar("SELECT fn_BlobSaveToFile(CAST('x' AS BLOB SUB_TYPE TEXT), " + Quote(missing) +
                        ", 1) FROM RDB$DATABASE").number, -2);
  EXPECT_NE(TraceLinesWith("fn_BlobSaveToFile: Unable to create file \"" + missing + "\""), "");

  const std::string unreadable = WorkDir() + "/no_such_input.txt";
  SqlValue v = Db().Scalar("SELECT fn_BlobLoadFromFile(" + Quote(unreadable) + ") FROM RDB$DATABASE");
  EXPECT_FALSE(v.is_null);
  EXPECT_EQ(v.text, "");
  EXPECT_NE(TraceLinesWith("fn_BlobLoadFromFile: Unable to open file \"" + unreadable + "\""), "");

  // A directory is not a file to load.
  v = Db().Scalar("SELECT fn_BlobLoadFromFile(" + Quote(WorkDir()) + ") FROM RDB$DATABASE");
  EXPECT_EQ(v.text, "");
  EXPECT_NE(TraceLinesWith("fn_BlobLoadFromFile: Unable to open file \"" + WorkDir() + "\""), "");
  EXPECT_EQ(ErrorLog().size(), logged) << "the trace log, not the error log";
}

// fn_LoadFromFile has no guard of its own in the design: a name that exists
// but is no readable file (a directory, a device) gives the empty text and an
// error-log record.
TEST_F(BlobTest, LoadFromFileOfADirectoryIsAnEmptyTextAndARecord) {
  for (const std::string& name : {WorkDir(), std::string("/dev/null")}) {
    std::remove(ErrorLogPath().c_str());
    EXPECT_EQ(Db().Scalar("SELECT fn_LoadFromFile(" + Quote(name) + ") FROM RDB$DATABASE").text, "");
    const std::string log = ErrorLog();
    EXPECT_NE(log.find("fn_LoadFromFile: Unable to open file \"" + name + "\""), std::string::npos) << log;
  }
  // Nor is a device a file to load into a blob.
  SqlValue v = Db().Scalar("SELECT fn_BlobLoadFromFile('/dev/null') FROM RDB$DATABASE");
  EXPECT_EQ(v.text, "");
  EXPECT_NE(TraceLinesWith("fn_BlobLoadFromFile: Unable to open file \"/dev/null\""), "");
}

}  // namespace
}  // namespace fbtest
