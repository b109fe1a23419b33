#include "frame/log.h"

#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <regex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "test_util.h"

namespace qor {
namespace {

using qortest::ReadFile;
using qortest::TempDir;
using qortest::WriteFile;

std::tm Tm(int year, int month, int day, int h, int m, int s) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  return t;
}

TEST(LogDateTimeText, DayFirstWithoutLeadingZerosOnDayAndMonth) {
  struct Case {
    std::tm t;
    const char* text;
  } cases[] = {
      {Tm(2026, 2, 8, 7, 5, 9), "8-2-26 07:05:09"},
      {Tm(2026, 12, 31, 23, 59, 59), "31-12-26 23:59:59"},
      {Tm(2005, 10, 1, 0, 0, 1), "1-10-05 00:00:01"},
      {Tm(2026, 2, 8, 0, 5, 0), "8-2-26 00:05:00"},  // only 00:00:00 drops the time
      {Tm(2000, 1, 1, 0, 0, 0), "1-1-00"},  // midnight: no time part
      {Tm(1999, 6, 15, 12, 0, 0), "15-6-99 12:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(LogDateTimeText(c.t), c.text);
}

const char kStamp[] = "8-2-26 07:05:09";

TEST(ErrorLog, AppendsAndCutsToTheLast4000BytesFromARecordBoundary) {
  const std::string kNew = "\r8-2-26 07:05:09: new";
  // The kept 4000 bytes of a 4001-byte log start inside a record whose
  // beginning is lost, so the file restarts at the next record.
  const std::string cutMidRecord =
      "\rXpartial" + std::string(1992, 'p') + "\rfirst whole" + std::string(1988, 'w');
  const struct {
    const char* name;
    bool exists;
    std::string old;
    std::string expected;
  } cases[] = {
      {"no file yet", false, "", kNew},
      {"empty file", true, "", kNew},
      {"short log", true, "\r9-2-26: old", "\r9-2-26: old" + kNew},
      {"exactly 4000 bytes: not cut", true, "\rold" + std::string(3996, 'o'),
       "\rold" + std::string(3996, 'o') + kNew},
      {"4001 bytes, cut inside a record", true, cutMidRecord,
       "first whole" + std::string(1988, 'w') + kNew},
      {"4001 bytes, cut right before a record", true, "x\rfirst" + std::string(3994, 'f'),
       "first" + std::string(3994, 'f') + kNew},
      {"4001 bytes, no CR in the last 4000", true, "\r" + std::string(4000, 'a'),
       std::string(4000, 'a') + kNew},
      {"long log, cut at the first CR of the last 4000", true,
       std::string(9000, 'z') + "\r" + std::string(2000, 'b') + "\r" + std::string(1500, 'c'),
       std::string(2000, 'b') + "\r" + std::string(1500, 'c') + kNew},
  };
  ASSERT_EQ(cutMidRecord.size(), 4001u);
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.File("qor_udf3.err");
    if (c.exists) WriteFile(path, c.old);
    AppendErrorRecord(path, kStamp, "new");
    EXPECT_EQ(ReadFile(path), c.expected) << c.name;
  }
}

TEST(ErrorLog, LogErrorWritesIntoTheWorkingDirectory) {
  TempDir dir;
  {
    qortest::ScopedCwd cwd(dir.path());
    LogError("fn_Test: hello");
  }
  std::string text = ReadFile(dir.File("qor_udf3.err"));
  EXPECT_TRUE(std::regex_match(text, std::regex("\r\\d{1,2}-\\d{1,2}-\\d\\d( \\d\\d:\\d\\d:\\d\\d)?: fn_Test: hello")))
      << text;
}

TEST(ErrorLog, UnwritableLocationIsSilentlyIgnored) {
  TempDir dir;
  // The directory of the log does not exist: nothing is created.
  AppendErrorRecord(dir.File("missing/qor_udf3.err"), kStamp, "lost");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  // The log's name is taken by a directory: it stays an empty directory.
  std::filesystem::create_directory(dir.File("qor_udf3.err"));
  {
    qortest::ScopedCwd cwd(dir.path());
    LogError("fn_Test: lost");
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("qor_udf3.err")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("qor_udf3.err")));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

// Writers in several processes, each with several threads, log at once.
// Each record names its writer and a running number. Afterwards the log must
// hold whole records only, and each writer's surviving records must be an
// unbroken run up to its last one: a cut only ever drops the oldest records.
void ConcurrentWriters(int processes, int threads, int records, size_t padding,
                       const std::string& path) {
  std::vector<pid_t> children;
  for (int p = 0; p < processes; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::vector<std::thread> workers;
      for (int t = 0; t < threads; ++t) {
        workers.emplace_back([=] {
          for (int r = 0; r < records; ++r) {
            std::string msg = "P" + std::to_string(p) + "T" + std::to_string(t) + "R" +
                              std::to_string(r) + ":" + std::string(padding, 'x') + ";";
            AppendErrorRecord(path, kStamp, msg);
          }
        });
      }
      for (auto& w : workers) w.join();
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

struct Parsed {
  bool whole = true;
  std::map<std::string, std::vector<int>> by_writer;
  size_t count = 0;
};

Parsed ParseLog(const std::string& text, bool starts_with_cr) {
  Parsed out;
  static const std::regex kRecord(R"(8-2-26 07:05:09: (P\d+T\d+)R(\d+):x*;)");
  size_t pos = 0;
  if (starts_with_cr) {
    if (text.empty() || text[0] != '\r') out.whole = false;
    pos = 1;
  }
  while (pos <= text.size()) {
    size_t end = text.find('\r', pos);
    if (end == std::string::npos) end = text.size();
    std::string rec = text.substr(pos, end - pos);
    std::smatch m;
    if (!std::regex_match(rec, m, kRecord)) {
      out.whole = false;
    } else {
      out.by_writer[m[1]].push_back(std::stoi(m[2]));
      ++out.count;
    }
    pos = end + 1;
  }
  return out;
}

TEST(ErrorLog, ConcurrentWritersWithoutCutKeepEveryRecord) {
  TempDir dir;
  std::string path = dir.File("qor_udf3.err");
  ConcurrentWriters(3, 3, 5, 0, path);  // 45 short records, well below the cut
  std::string text = ReadFile(path);
  Parsed parsed = ParseLog(text, true);
  EXPECT_TRUE(parsed.whole);
  EXPECT_EQ(parsed.count, 45u);
  for (auto& [writer, numbers] : parsed.by_writer) {
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4})) << writer;
  }
}

TEST(ErrorLog, ConcurrentWritersAcrossCutsLeaveWholeRecordsOnly) {
  TempDir dir;
  std::string path = dir.File("qor_udf3.err");
  ConcurrentWriters(4, 4, 150, 40, path);  // far beyond 4000 bytes: many cuts
  std::string text = ReadFile(path);
  ASSERT_GT(text.size(), 3000u);
  EXPECT_LE(text.size(), 4000u + 80u);
  // After a cut the file starts with a record's text, without its CR.
  Parsed parsed = ParseLog(text, false);
  EXPECT_TRUE(parsed.whole) << text;
  for (auto& [writer, numbers] : parsed.by_writer) {
    for (size_t i = 0; i < numbers.size(); ++i) {
      EXPECT_EQ(numbers[i], 150 - static_cast<int>(numbers.size()) + static_cast<int>(i)) << writer;
    }
  }
}

class TraceLog : public ::testing::Test {
 protected:
  void SetUp() override { ResetTraceFileName(); }
  void TearDown() override {
    ResetTraceFileName();
    TraceLevel = 0;
  }
  TempDir dir_;
};

TEST_F(TraceLog, LinesOfOneProcessGoToTheFileNamedAtTheFirstLine) {
  std::string traces = dir_.File("a/b/QOR_UDF");  // missing parents are made
  WriteTraceLine(traces, "first", Tm(2026, 2, 8, 7, 5, 9));
  WriteTraceLine(traces, "", Tm(2026, 2, 8, 7, 6, 9));
  WriteTraceLine(traces, "third", Tm(2026, 2, 9, 0, 0, 0));
  EXPECT_EQ(TraceFileName(), "8-2-26_07_05_09.log");
  EXPECT_EQ(ReadFile(traces + "/8-2-26_07_05_09.log"),
            "8-2-26 07:05:09 : first\n---\n9-2-26 : third\n");
}

TEST_F(TraceLog, NameAtMidnightHasNoTimePart) {
  WriteTraceLine(dir_.path(), "x", Tm(2026, 2, 8, 0, 0, 0));
  EXPECT_EQ(TraceFileName(), "8-2-26.log");
}

TEST_F(TraceLog, WritesNothingBelowLevelZero) {
  TraceLevel = -1;
  WriteTraceLine(dir_.path(), "x", Tm(2026, 2, 8, 1, 0, 0));
  EXPECT_EQ(TraceFileName(), "");
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(TraceLog, UncreatableDirectoryRaisesAnIoError) {
  WriteFile(dir_.File("plain"), "not a directory");
  EXPECT_THROW(WriteTraceLine(dir_.File("plain/QOR_UDF"), "x", Tm(2026, 2, 8, 1, 0, 0)), IoError);
}

}  // namespace
}  // namespace qor
