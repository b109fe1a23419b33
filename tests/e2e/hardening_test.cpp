// The library under the load of a server: many attachments calling every
// declared function at once, several processes sharing one working
// directory, memory over many calls, and descriptors and child processes
// after the file functions. The calls are the documented examples of the
// declaration script, so every function declared there takes part.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "catalog.h"
#include "engine.h"

namespace fbtest {
namespace {

const catalog::Catalog& Script() {
  static const catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  return cat;
}

bool Declared(const std::string& name) {
  for (const auto& f : Script().functions) {
    if (f.name == name) return true;
  }
  return false;
}

// Whether an expression calls a function that acts on files, directories,
// disks or paths: those answer after what earlier calls left on the disk.
bool TouchesFiles(const std::string& expr) {
  static const std::regex kFileFunction(R"(fn_\w*(File|Dir|Database|Disk|[Pp]ath)\w*\s*\()");
  return std::regex_search(expr, kFileFunction);
}

// The answer of one expression as a comparable text; a failed statement
// answers with its message.
std::string Answer(FbSession& db, const std::string& expr) {
  try {
    return db.Scalar("SELECT " + expr + " FROM RDB$DATABASE").Show();
  } catch (const std::exception& e) {
    return std::string("statement failed: ") + e.what();
  }
}

// A query that evaluates the expression once on every row of `rows` and
// counts the rows (NULL answers included).
std::string OnEveryRow(const std::string& expr, const std::string& rows) {
  return "SELECT SUM(IIF((" + expr + ") IS NULL, 1, 1)) FROM " + rows;
}

// Calls that write the error log, with the start of the record each leaves
// after "<date-time>: ". Only those of declared functions are used.
struct LoggedCall {
  std::string expr;
  std::string record;
};
std::vector<LoggedCall> ErrorLogCalls() {
  const std::vector<std::pair<std::string, LoggedCall>> all = {
      {"fn_Runden", {"fn_Runden(1.5, 10)", "fn_Runden: Range check error"}},
      {"fn_Trunc", {"fn_Trunc(3e9)", "fn_Trunc: Range check error"}},
      {"fn_LoadFromFile", {"fn_LoadFromFile(" + Quote(WorkDir()) + ")", "fn_LoadFromFile: Unable to open file"}},
      {"fn_DaysOfMonth", {"fn_DaysOfMonth(2, 65536)", "fn_DaysOfMonth: Range check error"}},
      {"fn_FloatToTimeStamp", {"fn_FloatToTimeStamp(1e300)", "fn_FloatToTimeStamp: Range check error"}},
      {"fn_Ablauf_Tag", {"fn_Ablauf_Tag(DATE '2024-01-10', -65536, 0, 0, 0)", "fn_Ablauf_Tag: Range check error"}},
      {"fn_MaskString", {"fn_MaskString('N10.10', '1.5')", "fn_MaskString: Range check error"}},
      {"fn_MaskDate", {"fn_MaskDate('f10.12', TIMESTAMP '2023-02-01 00:00:00')", "fn_MaskDate: Range check error"}},
  };
  std::vector<LoggedCall> out;
  for (const auto& [name, call] : all) {
    if (Declared(name)) out.push_back(call);
  }
  return out;
}

// Calls that write a trace line naming a file that holds `token`.
std::vector<std::string> TraceLogCalls(const std::string& token) {
  std::vector<std::string> out;
  if (Declared("fn_BlobLoadFromFile") && Declared("fn_BlobSize")) {
    out.push_back("fn_BlobSize(fn_BlobLoadFromFile(" + Quote(WorkDir() + "/no_such_" + token + ".txt") + "))");
  }
  if (Declared("fn_BlobSaveToFile")) {
    out.push_back("fn_BlobSaveToFile(CAST('x' AS BLOB SUB_TYPE TEXT), " +
                  Quote(WorkDir() + "/no_dir_" + token + "/out.txt") + ", 1)");
  }
  return out;
}

// The mix every attachment runs: every example that leaves no trace on the
// disk, the error-log calls and the trace-log calls.
std::vector<std::string> CallMix(const std::string& token) {
  std::vector<std::string> mix;
  for (const auto& f : Script().functions) {
    for (const auto& ex : f.examples) {
      if (!TouchesFiles(ex.expr)) mix.push_back(ex.expr);
    }
  }
  for (const auto& c : ErrorLogCalls()) mix.push_back(c.expr);
  for (const auto& c : TraceLogCalls(token)) mix.push_back(c);
  return mix;
}

// The examples of the file functions, in script order.
std::vector<std::string> FileExamples() {
  std::vector<std::string> out;
  for (const auto& f : Script().functions) {
    for (const auto& ex : f.examples) {
      if (TouchesFiles(ex.expr)) out.push_back(ex.expr);
    }
  }
  return out;
}

// A text unique to one call of RunToken, and no part of another.
std::string RunToken() {
  return "t" + std::to_string(getpid()) + "_" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) + "q";
}

// Every record of an error log is whole: "<date-time>: " and one of the
// expected records. A log that was cut starts with a record without its CR.
void ExpectWholeRecords(const std::string& log, const std::vector<LoggedCall>& calls) {
  static const std::regex kStamp(R"(^\d{1,2}-\d{1,2}-\d\d( \d\d:\d\d:\d\d)?: )");
  std::vector<std::string> records;
  size_t start = 0;
  while (start <= log.size()) {
    size_t cr = log.find('\r', start);
    records.push_back(log.substr(start, cr == std::string::npos ? std::string::npos : cr - start));
    if (cr == std::string::npos) break;
    start = cr + 1;
  }
  ASSERT_FALSE(records.empty());
  if (records.front().empty()) records.erase(records.begin());  // the log starts with a CR
  EXPECT_FALSE(records.empty()) << "no record in the error log";
  for (const auto& r : records) {
    std::smatch m;
    bool whole = std::regex_search(r, m, kStamp);
    if (whole) {
      const std::string text = m.suffix();
      whole = std::any_of(calls.begin(), calls.end(),
                          [&](const LoggedCall& c) { return text.rfind(c.record, 0) == 0; });
    }
    EXPECT_TRUE(whole) << "a broken record in the error log: '" << r << "'";
  }
  EXPECT_LE(log.size(), 4000u + 200u) << "the error log is not kept short";
}

// The trace lines, by file, that hold `token`.
std::map<std::string, std::vector<std::string>> TraceLinesWith(const std::string& token) {
  std::map<std::string, std::vector<std::string>> found;
  DIR* dir = opendir("/tmp/QOR_UDF");
  if (dir == nullptr) return found;
  while (dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::istringstream lines(catalog::ReadFile("/tmp/QOR_UDF/" + name));
    std::string line;
    while (std::getline(lines, line)) {
      if (line.find(token) != std::string::npos) found[name].push_back(line);
    }
  }
  closedir(dir);
  return found;
}

// Each trace line is whole: "<date-time> : <function>: <message naming the file>".
void ExpectWholeTraceLines(const std::vector<std::string>& lines, const std::string& token) {
  static const std::regex kLine(
      R"(^\d{1,2}-\d{1,2}-\d\d( \d\d:\d\d:\d\d)? : fn_\w+: [^"]*"[^"]*"$)");
  for (const auto& l : lines) {
    EXPECT_TRUE(std::regex_match(l, kLine) && l.find(token) != std::string::npos)
        << "a broken trace line: '" << l << "'";
  }
}

constexpr int kThreads = 8;
constexpr int kRounds = 2;
constexpr int kBurstRows = 100;

// A table of kBurstRows rows: one statement over it calls a function that
// often, for bursts of error records from every attachment at once.
void MakeBurstTable() {
  static bool made = false;
  if (made) return;
  Db().Execute("CREATE TABLE burst_rows (id INTEGER)");
  Db().Execute("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < " + std::to_string(kBurstRows) +
               ") DO BEGIN INSERT INTO burst_rows VALUES (:i); i = i + 1; END END");
  made = true;
}

// Bursts of error records: every error-log call kBurstRows times in one statement.
void ErrorBursts(FbSession& db, std::vector<std::string>& wrong) {
  for (const auto& c : ErrorLogCalls()) {
    try {
      const SqlValue v = db.Scalar(OnEveryRow(c.expr, "burst_rows"));
      if (v.integer != kBurstRows) wrong.push_back(c.expr + ": " + v.Show() + " rows");
    } catch (const std::exception& e) {
      wrong.push_back(c.expr + ": " + e.what());
    }
  }
}

TEST(Concurrency, EightAttachmentsAnswerAsOneDoes) {
  const std::string token = RunToken();
  const std::vector<std::string> mix = CallMix(token);
  const std::vector<std::string> files = FileExamples();
  MakeBurstTable();
  std::remove(ErrorLogPath().c_str());

  // The single-threaded reference; the file examples twice, keeping those
  // that answer the same when repeated (a created directory exists the
  // second time).
  std::vector<std::string> want;
  for (const auto& expr : mix) want.push_back(Answer(Db(), expr));
  std::vector<std::string> stable_files;
  std::vector<std::string> want_files;
  {
    std::vector<std::string> first;
    for (const auto& expr : files) first.push_back(Answer(Db(), expr));
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string again = Answer(Db(), files[i]);
      if (again == first[i]) {
        stable_files.push_back(files[i]);
        want_files.push_back(again);
      }
    }
  }

  std::mutex mutex;
  std::vector<std::string> wrong;
  std::atomic<int> calls{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      try {
        FbSession db(DatabasePath());
        for (int round = 0; round < kRounds; ++round) {
          // Each thread starts elsewhere in the mix, so that different
          // functions run side by side.
          for (size_t k = 0; k < mix.size(); ++k) {
            if (k % 48 == 0) {
              std::vector<std::string> failed;
              ErrorBursts(db, failed);
              std::lock_guard<std::mutex> lock(mutex);
              for (const auto& f : failed) wrong.push_back("thread " + std::to_string(t) + ": " + f);
            }
            const size_t i = (k + static_cast<size_t>(t) * mix.size() / kThreads) % mix.size();
            const std::string got = Answer(db, mix[i]);
            ++calls;
            if (got != want[i]) {
              std::lock_guard<std::mutex> lock(mutex);
              wrong.push_back("thread " + std::to_string(t) + ": " + mix[i] + " -> " + got + ", alone " + want[i]);
            }
          }
          // The file examples depend on their order: one thread runs them.
          if (t == 0) {
            for (size_t i = 0; i < stable_files.size(); ++i) {
              const std::string got = Answer(db, stable_files[i]);
              if (got != want_files[i]) {
                std::lock_guard<std::mutex> lock(mutex);
                wrong.push_back("thread 0: " + stable_files[i] + " -> " + got + ", alone " + want_files[i]);
              }
            }
          }
        }
      } catch (const std::exception& e) {
        std::lock_guard<std::mutex> lock(mutex);
        wrong.push_back("thread " + std::to_string(t) + ": " + e.what());
      }
    });
  }
  for (auto& th : threads) th.join();
  for (const auto& w : wrong) ADD_FAILURE() << w;
  EXPECT_EQ(calls.load(), kThreads * kRounds * static_cast<int>(mix.size()));

  if (!ErrorLogCalls().empty()) ExpectWholeRecords(catalog::ReadFile(ErrorLogPath()), ErrorLogCalls());

  const size_t trace_calls = TraceLogCalls(token).size();
  if (trace_calls > 0) {
    const auto traced = TraceLinesWith(token);
    ASSERT_EQ(traced.size(), 1u) << "the trace lines of one process are spread over several files";
    const auto& lines = traced.begin()->second;
    EXPECT_EQ(lines.size(), trace_calls * (1 + kThreads * kRounds));
    ExpectWholeTraceLines(lines, token);
  }
}

// One process of the multi-process test below: runs the mix and writes its
// answers, one a line, to $QOR_CHILD_OUT. Skipped when run on its own.
TEST(ConcurrencyChild, RunsTheMix) {
  const char* out = getenv("QOR_CHILD_OUT");
  const char* token = getenv("QOR_CHILD_TOKEN");
  if (out == nullptr || token == nullptr) GTEST_SKIP() << "runs as a child of Concurrency.ProcessesShareOneWorkingDirectory";
  MakeBurstTable();
  std::ofstream answers(out, std::ios::binary);
  std::vector<std::string> failed;
  for (int round = 0; round < kRounds; ++round) {
    size_t k = 0;
    for (const auto& expr : CallMix(token)) {
      if (k++ % 48 == 0) ErrorBursts(Db(), failed);
      answers << Answer(Db(), expr) << "\n";
    }
  }
  for (const auto& f : failed) ADD_FAILURE() << f;
}

// Several processes at once in the same working directory, as the server
// runs with one process per connection: each has an engine of its own, all
// share the error log and the trace directory.
TEST(Concurrency, ProcessesShareOneWorkingDirectory) {
  constexpr int kProcesses = 4;
  const std::string token = RunToken();
  const std::vector<std::string> want = CallMix(token);
  std::vector<std::string> reference;
  for (const auto& expr : want) reference.push_back(Answer(Db(), expr));
  std::remove(ErrorLogPath().c_str());

  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = '\0';
  std::vector<std::thread> children;
  std::vector<int> status(kProcesses, -1);
  std::vector<std::string> output(kProcesses);
  for (int p = 0; p < kProcesses; ++p) {
    children.emplace_back([&, p] {
      const std::string child_token = token + "_p" + std::to_string(p);
      const std::string command = "QOR_ENGINE_WORK_DIR=" + WorkDir() + " QOR_CHILD_TOKEN=" + child_token +
                                  " QOR_CHILD_OUT=" + WorkDir() + "/child_" + child_token + ".txt " +
                                  std::string(self) + " --gtest_filter=ConcurrencyChild.RunsTheMix";
      status[p] = RunCommand(command, output[p]);
    });
  }
  for (auto& c : children) c.join();

  for (int p = 0; p < kProcesses; ++p) {
    SCOPED_TRACE("process " + std::to_string(p));
    ASSERT_EQ(status[p], 0) << output[p];
    const std::string child_token = token + "_p" + std::to_string(p);
    std::istringstream lines(catalog::ReadFile(WorkDir() + "/child_" + child_token + ".txt"));
    std::string line;
    size_t i = 0;
    while (std::getline(lines, line)) {
      const size_t k = i % want.size();
      EXPECT_EQ(line, reference[k]) << want[k];
      ++i;
    }
    EXPECT_EQ(i, want.size() * kRounds);

    const size_t trace_calls = TraceLogCalls(child_token).size();
    if (trace_calls > 0) {
      const auto traced = TraceLinesWith(child_token);
      ASSERT_EQ(traced.size(), 1u) << "the trace lines of one process are spread over several files";
      EXPECT_EQ(traced.begin()->second.size(), trace_calls * kRounds);
      ExpectWholeTraceLines(traced.begin()->second, child_token);
    }
  }
  if (!ErrorLogCalls().empty()) ExpectWholeRecords(catalog::ReadFile(ErrorLogPath()), ErrorLogCalls());
}

}  // namespace
}  // namespace fbtest

namespace fbtest {
namespace {

long ResidentKb() {
  std::istringstream status(catalog::ReadFile("/proc/self/status"));
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

size_t CallsIn(const std::string& expr) {
  size_t n = 0;
  for (size_t pos = expr.find("fn_"); pos != std::string::npos; pos = expr.find("fn_", pos + 3)) ++n;
  return std::max<size_t>(n, 1);
}

// Memory over many calls: every example that leaves the disk alone (text,
// number, blob, allocation and date functions alike), each statement calling
// it once for each of many rows. The warm-up runs every example on enough
// rows to fill the engine's page cache (the blobs the examples make pass
// through it); after it, the resident size must stay where it is, so that a
// leak of a few bytes a call shows over the calls of the test command.
// scripts/soak.sh runs it with QOR_SOAK_CALLS=1000000.
TEST(Soak, MemoryDoesNotGrowWithTheCalls) {
  constexpr int kSoakRows = 5000;
  constexpr int kWarmRows = 500;
  const char* wanted = getenv("QOR_SOAK_CALLS");
  const size_t total = wanted != nullptr ? std::strtoul(wanted, nullptr, 10) : 300000;
  Db().Execute("CREATE TABLE soak_rows (id INTEGER)");
  Db().Execute("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < " + std::to_string(kSoakRows) +
               ") DO BEGIN INSERT INTO soak_rows VALUES (:i); i = i + 1; END END");
  std::vector<std::string> mix;
  for (const auto& f : Script().functions) {
    for (const auto& ex : f.examples) {
      if (!TouchesFiles(ex.expr)) mix.push_back(ex.expr);
    }
  }
  ASSERT_FALSE(mix.empty());

  size_t calls = 0;
  size_t next = 0;
  auto run = [&](size_t until, int rows) {
    while (calls < until) {
      const std::string& expr = mix[next++ % mix.size()];
      const SqlValue v = Db().Scalar(OnEveryRow(expr, "soak_rows WHERE id < " + std::to_string(rows)));
      ASSERT_EQ(v.integer, rows) << expr;
      calls += CallsIn(expr) * static_cast<size_t>(rows);
    }
  };
  for (size_t i = 0; i < mix.size(); ++i) run(calls + 1, kWarmRows);
  const size_t warm_calls = calls;
  const long warm = ResidentKb();
  const auto start = std::chrono::steady_clock::now();
  // Every example in turn, on as many rows as make the calls wanted.
  const int rows = static_cast<int>(std::clamp<size_t>(total / mix.size(), 100, kSoakRows));
  run(warm_calls + total, rows);
  const long end = ResidentKb();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("soak: %zu calls of %zu examples after a warm-up of %zu calls in %.1f s; "
              "resident memory after the warm-up %ld kB, at the end %ld kB\n",
              calls - warm_calls, mix.size(), warm_calls, seconds, warm, end);
  EXPECT_LE(end - warm, 2048) << "resident memory grew with the number of calls";
  Db().Execute("DROP TABLE soak_rows");
}

}  // namespace
}  // namespace fbtest

namespace fbtest {
namespace {

size_t OpenDescriptors() {
  size_t n = 0;
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return 0;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] != '.') ++n;
  }
  closedir(dir);
  return n - 1;  // the listing's own descriptor
}

// The processes whose parent is this one, as "pid state name".
std::vector<std::string> ChildProcesses() {
  std::vector<std::string> found;
  const std::string self = std::to_string(getpid());
  DIR* dir = opendir("/proc");
  if (dir == nullptr) return found;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
    const std::string stat = catalog::ReadFile(std::string("/proc/") + e->d_name + "/stat");
    // pid (name) state ppid ...
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 1));
    std::string state, ppid;
    rest >> state >> ppid;
    if (ppid == self) found.push_back(std::string(e->d_name) + " " + state + " " + stat.substr(0, close + 1));
  }
  closedir(dir);
  return found;
}

// A burst of the file, path, disk and blob-file functions (their examples,
// and calls that fail on a missing file or directory), each statement
// calling one of them kBurstRows times: afterwards the process holds no more
// descriptors than before and has no child process left, running or not
// reaped.
TEST(Resources, FileFunctionsLeaveNoDescriptorsAndNoChildren) {
  std::vector<std::string> burst = FileExamples();
  for (const auto& c : TraceLogCalls(RunToken())) burst.push_back(c);
  for (const auto& c : ErrorLogCalls()) {
    if (TouchesFiles(c.expr)) burst.push_back(c.expr);
  }
  if (burst.empty()) GTEST_SKIP() << "no file functions declared";
  MakeBurstTable();
  auto run = [&] {
    for (const auto& expr : burst) {
      SqlValue v;
      ASSERT_NO_THROW(v = Db().Scalar(OnEveryRow(expr, "burst_rows"))) << expr;
      EXPECT_EQ(v.integer, kBurstRows) << expr;
    }
  };
  run();  // the engine opens what it needs once
  const size_t before = OpenDescriptors();
  for (int round = 0; round < 3; ++round) run();
  EXPECT_LE(OpenDescriptors(), before) << "descriptors left open by " << burst.size() << " file functions";
  for (const auto& child : ChildProcesses()) ADD_FAILURE() << "a child process left behind: " << child;
}

}  // namespace
}  // namespace fbtest

namespace fbtest {
namespace {

// The trace file names a process starting now may get ("d-m-yy_hh_mm_ss.log"
// for this second and the next few).
std::vector<std::string> TraceNamesFromNow(int seconds) {
  std::vector<std::string> names;
  const std::time_t now = std::time(nullptr);
  for (int s = 0; s < seconds; ++s) {
    const std::time_t t = now + s;
    std::tm l{};
    localtime_r(&t, &l);
    char buf[64];
    if (l.tm_hour == 0 && l.tm_min == 0 && l.tm_sec == 0) {
      std::snprintf(buf, sizeof buf, "%d-%d-%02d.log", l.tm_mday, l.tm_mon + 1, l.tm_year % 100);
    } else {
      std::snprintf(buf, sizeof buf, "%d-%d-%02d_%02d_%02d_%02d.log", l.tm_mday, l.tm_mon + 1, l.tm_year % 100,
                    l.tm_hour, l.tm_min, l.tm_sec);
    }
    names.push_back(buf);
  }
  return names;
}

// A process whose trace file cannot be written: a directory stands where
// its first trace line puts the file. Runs the trace calls and writes their
// answers to $QOR_CHILD_OUT. Skipped when run on its own.
TEST(TraceFailureChild, RunsTheTraceCalls) {
  const char* out = getenv("QOR_CHILD_OUT");
  const char* token = getenv("QOR_TRACE_BLOCK_TOKEN");
  if (out == nullptr || token == nullptr) GTEST_SKIP() << "runs as a child of TraceLog.FailureKeepsTheRecordAndTheResult";
  mkdir("/tmp/QOR_UDF", 0700);  // as the library makes it: a looser one is not used
  std::vector<std::string> blocked;
  const std::vector<std::string> names = TraceNamesFromNow(3);
  for (const auto& name : names) {
    const std::string path = "/tmp/QOR_UDF/" + name;
    if (mkdir(path.c_str(), 0777) == 0) blocked.push_back(path);
  }
  // This second's name may be taken by the trace file of another process:
  // then the first trace line waits for the next second.
  if (blocked.empty() || blocked.front() != "/tmp/QOR_UDF/" + names.front()) {
    const std::time_t now = std::time(nullptr);
    while (std::time(nullptr) == now) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ofstream answers(out, std::ios::binary);
  for (const auto& expr : TraceLogCalls(token)) answers << Answer(Db(), expr) << "\n";
  for (const auto& path : blocked) rmdir(path.c_str());
}

// When the trace log cannot be written, the functions that trace still give
// their valid result, and the record goes to the error log instead.
TEST(TraceLog, FailureKeepsTheRecordAndTheResult) {
  const std::string token = RunToken();
  const std::vector<std::string> calls = TraceLogCalls(token);
  if (calls.empty()) GTEST_SKIP() << "no function that traces is declared";
  // The reference answers with a token of their own: they trace as usual.
  std::vector<std::string> want;
  for (const auto& expr : TraceLogCalls(RunToken())) want.push_back(Answer(Db(), expr));
  std::remove(ErrorLogPath().c_str());

  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = '\0';
  const std::string out = WorkDir() + "/trace_block_" + token + ".txt";
  std::string output;
  ASSERT_EQ(RunCommand("QOR_ENGINE_WORK_DIR=" + WorkDir() + " QOR_TRACE_BLOCK_TOKEN=" + token +
                           " QOR_CHILD_OUT=" + out + " " + self + " --gtest_filter=TraceFailureChild.RunsTheTraceCalls",
                       output),
            0)
      << output;
  std::istringstream lines(catalog::ReadFile(out));
  std::string line;
  size_t i = 0;
  while (std::getline(lines, line)) {
    ASSERT_LT(i, want.size());
    EXPECT_EQ(line, want[i]) << calls[i];
    ++i;
  }
  EXPECT_EQ(i, want.size());
  EXPECT_TRUE(TraceLinesWith(token).empty()) << "the trace file of the child was not blocked";
  const std::string log = catalog::ReadFile(ErrorLogPath());
  size_t records = 0;
  for (size_t pos = log.find(token); pos != std::string::npos; pos = log.find(token, pos + 1)) ++records;
  EXPECT_EQ(records, calls.size()) << log;
}

}  // namespace
}  // namespace fbtest
