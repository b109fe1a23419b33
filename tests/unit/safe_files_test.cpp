// The library's own files and the host's, as someone who shares the server's
// working directory (/tmp on Debian) would set them up: symbolic and hard
// links in place of the logs, trace directories and alias files of other
// users or open to everyone, pipes and pseudo files that never end, and host
// programs that never answer.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "blob/blob_file.h"
#include "files/config_lines.h"
#include "files/disk_space.h"
#include "files/file_ops.h"
#include "files/run_program.h"
#include "files/unc_path.h"
#include "frame/errors.h"
#include "frame/log.h"
#include "test_util.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using namespace qortest;  // TempDir, ScopedCwd, ReadFile, WriteFile

constexpr uid_t kNobody = 65534;
constexpr char kStamp[] = "8-2-26 07:05:09";

// Runs fn in a child process; true when it ends, with exit status 0, within
// `seconds`. A call that never ends fails the test instead of hanging it.
bool EndsWithin(int seconds, const std::function<bool()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) _exit(fn() ? 0 : 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

bool IsRoot() { return geteuid() == 0; }

// ---------------------------------------------------------------------------
// Error log

TEST(SafeErrorLog, ALinkInPlaceOfTheLogLeavesItsTargetAlone) {
  const std::string victim_text(10000, 'v');
  struct Case {
    const char* name;
    std::function<void(const std::string& log, const std::string& victim)> plant;
  } cases[] = {
      {"symbolic link", [](const std::string& log, const std::string& victim) { symlink(victim.c_str(), log.c_str()); }},
      {"hard link", [](const std::string& log, const std::string& victim) { link(victim.c_str(), log.c_str()); }},
  };
  for (const auto& c : cases) {
    TempDir work;
    const std::string victim = work.File("firma.fdb");
    WriteFile(victim, victim_text);
    c.plant(work.File("qor_udf3.err"), victim);
    {
      ScopedCwd cwd(work.path());
      for (int i = 0; i < 3; ++i) LogError("fn_Test: error " + std::to_string(i));
    }
    EXPECT_EQ(ReadFile(victim), victim_text) << c.name;
  }
}

TEST(SafeErrorLog, ControlBytesInAMessageStayInsideTheRecord) {
  TempDir work;
  const std::string path = work.File("qor_udf3.err");
  AppendErrorRecord(path, kStamp, std::string("fn_X: \"a\rb\nc\x1b[2K\td\x7f\"") + '\0' + "e");
  AppendErrorRecord(path, kStamp, "fn_Y: plain \\x0A stays");
  EXPECT_EQ(ReadFile(path), std::string("\r8-2-26 07:05:09: fn_X: \"a\\x0Db\\x0Ac\\x1B[2K\td\\x7F\"\\x00e") +
                                "\r8-2-26 07:05:09: fn_Y: plain \\x0A stays");
}

// ---------------------------------------------------------------------------
// Trace log

class SafeTraceLog : public ::testing::Test {
 protected:
  void SetUp() override { ResetTraceFileName(); }
  void TearDown() override { ResetTraceFileName(); }
  // Writes one trace line into `dir` with the working directory `work_`
  // (whose error log receives the notices); false when it was refused.
  bool Trace(const std::string& dir, std::string_view message) {
    ScopedCwd cwd(work_.path());
    try {
      WriteTraceLine(dir, message, now_);
      return true;
    } catch (const IoError&) {
      return false;
    }
  }
  std::string ErrorLog() const { return ReadFile(work_.File("qor_udf3.err")); }
  std::tm now_ = [] {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 1;
    t.tm_mday = 8;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
  }();
  const std::string name_ = "8-2-26_07_05_09.log";
  TempDir work_;
};

TEST_F(SafeTraceLog, TheDirectoryIsMadeForTheServerAlone) {
  const std::string dir = work_.File("tmp/QOR_UDF");
  ASSERT_TRUE(Trace(dir, "first"));
  struct stat st;
  ASSERT_EQ(stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  ASSERT_EQ(stat((dir + "/" + name_).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
  EXPECT_EQ(ReadFile(dir + "/" + name_), "8-2-26 07:05:09 : first\n");
}

TEST_F(SafeTraceLog, ADirectoryOthersControlIsNotUsed) {
  struct Case {
    const char* name;
    const char* reason;
    bool needs_root;
    std::function<void(const std::string& dir, const std::string& elsewhere)> plant;
  } cases[] = {
      {"a link to a directory", "it is a symbolic link", false,
       [](const std::string& dir, const std::string& elsewhere) { symlink(elsewhere.c_str(), dir.c_str()); }},
      {"writable by everyone", "its group or others may write it", false,
       [](const std::string& dir, const std::string&) {
         mkdir(dir.c_str(), 0700);
         chmod(dir.c_str(), 0777);
       }},
      {"writable by its group", "its group or others may write it", false,
       [](const std::string& dir, const std::string&) {
         mkdir(dir.c_str(), 0700);
         chmod(dir.c_str(), 0770);
       }},
      {"another user's", "it belongs to user 65534", true,
       [](const std::string& dir, const std::string&) {
         mkdir(dir.c_str(), 0700);
         (void)chown(dir.c_str(), kNobody, kNobody);
       }},
  };
  for (const auto& c : cases) {
    if (c.needs_root && !IsRoot()) continue;
    SCOPED_TRACE(c.name);
    ResetTraceFileName();
    TempDir place;
    const std::string dir = place.File("QOR_UDF");
    const std::string elsewhere = place.File("elsewhere");
    mkdir(elsewhere.c_str(), 0700);
    c.plant(dir, elsewhere);
    fs::remove(work_.File("qor_udf3.err"));
    EXPECT_FALSE(Trace(dir, "one"));
    EXPECT_FALSE(Trace(dir, "two"));
    EXPECT_TRUE(fs::is_empty(elsewhere));
    if (!fs::is_symlink(dir)) {
      EXPECT_TRUE(fs::is_empty(dir));
    }
    // Named once in the error log.
    const std::string notice = "Trace directory " + dir + " not used: " + c.reason;
    EXPECT_EQ(Count(ErrorLog(), notice), 1u) << ErrorLog();
  }
}

TEST_F(SafeTraceLog, ALinkAtTheTraceFileNameIsNotFollowed) {
  const std::string dir = work_.File("QOR_UDF");
  mkdir(dir.c_str(), 0700);
  const std::string victim = work_.File("victim");
  WriteFile(victim, "precious");
  for (auto plant : {&symlink, &link}) {
    fs::remove(dir + "/" + name_);
    ASSERT_EQ(plant(victim.c_str(), (dir + "/" + name_).c_str()), 0);
    EXPECT_FALSE(Trace(dir, "through the link"));
    EXPECT_EQ(ReadFile(victim), "precious");
  }
  fs::remove(dir + "/" + name_);
  ASSERT_EQ(mkfifo((dir + "/" + name_).c_str(), 0600), 0);
  EXPECT_TRUE(EndsWithin(10, [&] { return !Trace(dir, "into a pipe"); }));
}

TEST_F(SafeTraceLog, ALineBreakInANameCannotForgeALine) {
  const std::string dir = work_.File("QOR_UDF");
  ASSERT_TRUE(Trace(dir, "fn_BlobLoadFromFile: Unable to open file \"x\n8-2-26 07:05:09 : forged\r\""));
  EXPECT_EQ(ReadFile(dir + "/" + name_),
            "8-2-26 07:05:09 : fn_BlobLoadFromFile: Unable to open file \"x\\x0A8-2-26 07:05:09 : forged\\x0D\"\n");
}

// Lines of 32,000 bytes, as failing calls with the longest names write
// them: the trace of the process stays within two files of at most
// kTraceFileLimit bytes, which hold the newest lines without a gap.
TEST_F(SafeTraceLog, GrowthIsBoundedAndKeepsTheNewestLines) {
  const std::string dir = work_.File("QOR_UDF");
  const int lines = static_cast<int>(3 * kTraceFileLimit / 32000);
  for (int i = 0; i < lines; ++i) {
    ASSERT_TRUE(Trace(dir, "#" + std::to_string(i) + "#" + std::string(32000, 'n')));
  }
  const std::string current = ReadFile(dir + "/" + name_);
  const std::string older = ReadFile(dir + "/" + name_ + ".1");
  EXPECT_LE(current.size(), static_cast<size_t>(kTraceFileLimit));
  EXPECT_LE(older.size(), static_cast<size_t>(kTraceFileLimit));
  EXPECT_GT(older.size(), static_cast<size_t>(kTraceFileLimit) - 33000);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 2u);
  // The line numbers, oldest first, end with the last line and have no gap.
  const std::string all = older + current;
  std::vector<int> numbers;
  for (size_t pos = all.find(" : #"); pos != std::string::npos; pos = all.find(" : #", pos + 1)) {
    numbers.push_back(std::stoi(all.substr(pos + 4)));
  }
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.back(), lines - 1);
  for (size_t i = 1; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], numbers[i - 1] + 1);
}

// ---------------------------------------------------------------------------
// Alias files

TEST(SafeAliasFile, OnlyFilesOfTheServerOrRootThatOthersCannotWrite) {
  struct Case {
    const char* name;
    const char* reason;  // empty: read
    bool needs_root;
    std::function<void(const std::string& path, const std::string& real)> plant;
  } cases[] = {
      {"own file", "", false, [](const std::string& p, const std::string&) { chmod(p.c_str(), 0644); }},
      {"writable by the group", "", false, [](const std::string& p, const std::string&) { chmod(p.c_str(), 0664); }},
      {"writable by everyone", "anyone may write it", false,
       [](const std::string& p, const std::string&) { chmod(p.c_str(), 0666); }},
      {"another user's file", "it belongs to user 65534", true,
       [](const std::string& p, const std::string&) { (void)chown(p.c_str(), kNobody, kNobody); }},
      {"own link to an own file", "", false,
       [](const std::string& p, const std::string& real) {
         fs::rename(p, real);
         symlink(real.c_str(), p.c_str());
       }},
      {"another user's link", "it is a symbolic link of user 65534", true,
       [](const std::string& p, const std::string& real) {
         fs::rename(p, real);
         symlink(real.c_str(), p.c_str());
         (void)lchown(p.c_str(), kNobody, kNobody);
       }},
      {"a directory", "it is no regular file", false,
       [](const std::string& p, const std::string&) {
         fs::remove(p);
         mkdir(p.c_str(), 0755);
       }},
      {"a pipe", "it is no regular file", false,
       [](const std::string& p, const std::string&) {
         fs::remove(p);
         mkfifo(p.c_str(), 0644);
       }},
  };
  for (const auto& c : cases) {
    if (c.needs_root && !IsRoot()) continue;
    SCOPED_TRACE(c.name);
    TempDir work;
    const std::string path = work.File("aliases.conf");
    WriteFile(path, "firma = /srv/security2.fdb\n");
    c.plant(path, work.File("real.conf"));
    std::atomic<bool> noted{false};
    AliasList aliases;
    {
      ScopedCwd cwd(work.path());
      ASSERT_TRUE(EndsWithin(10, [&] {
        std::atomic<bool> quiet{true};  // the notice is the parent's to write
        return ReadAliasFile(path, quiet).size() < 2;
      }));
      aliases = ReadAliasFile(path, noted);
      ReadAliasFile(path, noted);
    }
    const std::string log = ReadFile(work.File("qor_udf3.err"));
    if (std::string(c.reason).empty()) {
      EXPECT_EQ(AliasValue(aliases, "firma"), "/srv/security2.fdb");
      EXPECT_EQ(log, "");
    } else {
      EXPECT_TRUE(aliases.empty());
      EXPECT_EQ(Count(log, "Alias file " + path + " ignored: " + c.reason), 1u) << log;
      EXPECT_EQ(Count(log, "\r"), 1u) << "said once only: " << log;
    }
  }
}

// A trusted file that cannot be read is still an error, not silently
// ignored: here a link of the server's own to a file whose reading fails.
TEST(SafeAliasFile, ATrustedFileThatCannotBeReadIsAnError) {
  TempDir work;
  const std::string path = work.File("aliases.conf");
  ASSERT_EQ(symlink("/proc/self/mem", path.c_str()), 0);
  std::atomic<bool> noted{false};
  EXPECT_THROW(ReadAliasFile(path, noted), IoError);
}

// ---------------------------------------------------------------------------
// Files without end

TEST(SafeReading, PseudoFilesAreReadBoundedly) {
  // Reports a size of 0 and delivers gigabytes.
  const std::string pagemap = "/proc/self/pagemap";
  if (access(pagemap.c_str(), R_OK) != 0) GTEST_SKIP() << "no " << pagemap;
  EXPECT_TRUE(EndsWithin(20, [&] {
    std::string text;
    return ReadWholeFile(pagemap, text) == EFBIG && text.empty();
  }));
  EXPECT_TRUE(EndsWithin(20, [&] {
    int64_t received = 0;
    int puts = 0;
    struct Sink {
      int64_t* received;
      int* puts;
    } sink{&received, &puts};
    BlobSink blob{&sink, [](void* c, const unsigned char*, uint16_t n) {
                    auto* s = static_cast<Sink*>(c);
                    *s->received += n;
                    ++*s->puts;
                  }};
    const std::string note = BlobLoadFromFile(blob, pagemap);
    return received == kUnsizedFileLimit &&
           note == "File \"" + pagemap + "\" reports no size and was cut after 1048576 bytes";
  }));
  // A small pseudo file is loaded whole, without a note.
  std::string loaded;
  BlobSink blob{&loaded, [](void* c, const unsigned char* b, uint16_t n) {
                  static_cast<std::string*>(c)->append(reinterpret_cast<const char*>(b), n);
                }};
  EXPECT_EQ(BlobLoadFromFile(blob, "/proc/self/status"), "");
  EXPECT_NE(loaded.find("Pid:"), std::string::npos);
}

TEST(SafeReading, AFileLargerThanABlobIsRefusedWhole) {
  TempDir work;
  const std::string path = work.File("huge.bin");
  WriteFile(path, "");
  ASSERT_EQ(truncate(path.c_str(), kMaxBlobFileSize + 1), 0);  // sparse: takes no disk space
  int64_t received = 0;
  BlobSink blob{&received, [](void* c, const unsigned char*, uint16_t n) { *static_cast<int64_t*>(c) += n; }};
  try {
    (void)BlobLoadFromFile(blob, path);
    ADD_FAILURE() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "File \"" + path + "\" is too large for a blob: 2147483648 bytes");
  }
  EXPECT_EQ(received, 0);
}

// ---------------------------------------------------------------------------
// Host programs

// Stand-in programs first on PATH that never answer: each records its own
// process id and that of a process it starts, then waits.
class HangingPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = dir_.File("bin");
    fs::create_directory(bin_);
    for (const char* name : {"df", "chmod", "hostname"}) {
      const std::string file = bin_ + "/" + name;
      WriteFile(file, "#!/bin/sh\necho $$ > " + dir_.File(std::string(name) + ".pid") + "\nsleep 60 &\necho $! > " +
                          dir_.File(std::string(name) + ".child") + "\nwait\n");
      chmod(file.c_str(), 0755);
    }
    old_path_ = getenv("PATH") == nullptr ? "" : getenv("PATH");
    setenv("PATH", (bin_ + ":" + old_path_).c_str(), 1);
  }
  void TearDown() override { setenv("PATH", old_path_.c_str(), 1); }
  // Whether the process of the pid file still runs (a zombie waiting for
  // its reaper does not).
  bool Runs(const std::string& pid_file) const {
    const std::string pid = ReadFile(dir_.File(pid_file));
    if (pid.empty()) return false;
    const std::string stat = ReadFile("/proc/" + pid.substr(0, pid.find('\n')) + "/stat");
    const size_t close = stat.rfind(')');
    return close != std::string::npos && stat.substr(close + 2, 1) != "Z";
  }
  TempDir dir_;
  std::string bin_;
  std::string old_path_;
};

TEST_F(HangingPrograms, AreStoppedWithTheirChildrenAndReported) {
  struct Case {
    const char* program;
    std::function<void()> call;
  } cases[] = {
      {"df", [] { DiskSpace("host:/", DfField::Available); }},
      {"chmod", [] { FileSetRight("/nonexistent/x.fdb"); }},
      {"hostname", [] { GetHostName(); }},
  };
  // All three at once: each waits out its own time limit.
  std::vector<std::string> errors(3);
  std::vector<double> seconds(3);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < 3; ++i) {
    threads.emplace_back([&, i] {
      const auto start = std::chrono::steady_clock::now();
      try {
        cases[i].call();
      } catch (const IoError& e) {
        errors[i] = e.what();
      }
      seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
  }
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < 3; ++i) {
    const std::string program = cases[i].program;
    SCOPED_TRACE(program);
    EXPECT_EQ(errors[i], program + " did not end within 5000 ms and was stopped");
    EXPECT_GE(seconds[i], 4.5);
    EXPECT_LT(seconds[i], 15.0);
    EXPECT_FALSE(Runs(program + ".pid"));
    // The process it started goes with it (reaped by init, so give it a moment).
    for (int wait = 0; wait < 100 && Runs(program + ".child"); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(Runs(program + ".child"));
  }
  EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child left unreaped";
}

TEST(SafeDiskSpace, DfIsNeverPointedAtADeviceOrPipe) {
  TempDir work;
  const std::string bin = work.File("bin");
  fs::create_directory(bin);
  WriteFile(bin + "/df", "#!/bin/sh\ntouch " + work.File("ran") + "\nprintf '/dev/x 2048 0 1024 0%% /\\n'\n");
  chmod((bin + "/df").c_str(), 0755);
  const std::string old_path = getenv("PATH");
  setenv("PATH", (bin + ":" + old_path).c_str(), 1);
  const std::string fifo = work.File("pipe");
  mkfifo(fifo.c_str(), 0600);
  symlink("/dev/zero", work.File("zero_link").c_str());
  for (const std::string& path : {std::string("/dev/zero"), std::string("/dev/null"), fifo, work.File("zero_link")}) {
    try {
      DiskSpace("h:" + path, DfField::Available);
      ADD_FAILURE() << path << ": no error";
    } catch (const IoError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot measure " + path + ": no directory or regular file");
    }
    EXPECT_FALSE(fs::exists(work.File("ran"))) << path;
  }
  // Directories, regular files and missing paths are measured as before.
  WriteFile(work.File("x.fdb"), "x");
  for (const std::string& path : {work.path(), work.File("x.fdb"), work.File("missing/x.fdb")}) {
    EXPECT_DOUBLE_EQ(DiskSpace("h:" + path, DfField::Available), 1.0) << path;
  }
  setenv("PATH", old_path.c_str(), 1);
}

}  // namespace
}  // namespace qor
