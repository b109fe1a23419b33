// The host programs behind fn_FileSetRight, fn_DiskFree/fn_DiskSize and
// fn_UNCpath: started without a shell, waited for, no descriptor left open.
// Stand-in programs first on PATH record the arguments they receive.
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "files/disk_space.h"
#include "files/file_ops.h"
#include "files/run_program.h"
#include "files/unc_path.h"
#include "frame/errors.h"
#include "test_util.h"

namespace qor {
namespace {

using qortest::ReadFile;
using qortest::ScopedCwd;
using qortest::TempDir;
using qortest::WriteFile;

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}

bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

// A directory of stand-in df, chmod and hostname programs put first on PATH
// for the scope. Each writes its arguments, NUL-separated, to args().
class StandIns {
 public:
  StandIns() {
    bin_ = dir_.File("bin");
    std::filesystem::create_directory(bin_);
    const std::string record = "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > " + dir_.File("args") + "\n";
    Write("df", record +
                    "printf 'Filesystem     1K-blocks  Used Available Use%% Mounted on\\n'\n"
                    "printf '/dev/mapper/vg-root\\n      5120  512  4608  10%% /\\n'\n");
    Write("chmod", record);
    Write("hostname", record + "printf '  dbhost\\n'\n");
    old_path_ = getenv("PATH") == nullptr ? "" : getenv("PATH");
    setenv("PATH", (bin_ + ":" + old_path_).c_str(), 1);
  }
  ~StandIns() { setenv("PATH", old_path_.c_str(), 1); }
  StandIns(const StandIns&) = delete;
  StandIns& operator=(const StandIns&) = delete;

  std::vector<std::string> args() const {
    std::vector<std::string> out;
    std::string all = ReadFile(dir_.File("args"));
    size_t start = 0;
    for (size_t end; (end = all.find('\0', start)) != std::string::npos; start = end + 1) {
      out.push_back(all.substr(start, end - start));
    }
    return out;
  }
  void Forget() const { std::filesystem::remove(dir_.File("args")); }
  bool Ran() const { return std::filesystem::exists(dir_.File("args")); }

 private:
  void Write(const std::string& name, const std::string& body) {
    WriteFile(bin_ + "/" + name, "#!/bin/sh\n" + body);
    chmod((bin_ + "/" + name).c_str(), 0755);
  }
  TempDir dir_;
  std::string bin_;
  std::string old_path_;
};

TEST(RunProgram, OutputWaitedForNoDescriptorLeft) {
  const int before = OpenDescriptors();
  std::string out;
  int status = RunProgram({"sh", "-c", "printf 'a b\\n'; echo err >&2; exit 3"}, &out);
  EXPECT_EQ(out, "a b\n");  // standard error is not captured
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(NoChildLeft());

  // The child sees only 0, 1 and 2, even of descriptors opened without
  // O_CLOEXEC, and its standard input is empty.
  int stray = open("/dev/null", O_RDONLY);
  ASSERT_GE(stray, 0);
  RunProgram({"sh", "-c", "cat; ls /proc/self/fd | wc -l"}, &out);
  close(stray);
  EXPECT_EQ(out, "4\n");  // 0, 1, 2 and the descriptor ls reads the listing with

  EXPECT_THROW(RunProgram({"qor-no-such-program"}, &out), IoError);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(NoChildLeft());
}

TEST(RunProgram, LargeOutputIsReadToTheEnd) {
  std::string out;
  int status = RunProgram({"sh", "-c", "head -c 3000000 /dev/zero"}, &out);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(out.size(), size_t{1} << 20);
}

// Texts that create the file "pwned" if any part of them acts as shell
// syntax; each must reach the program as one argument.
std::vector<std::string> InjectionTexts(const std::string& mark) {
  return {
      "/x; touch " + mark,
      "/x && touch " + mark,
      "/x || touch " + mark,
      "/x | touch " + mark,
      "/x & touch " + mark,
      "/x $(touch " + mark + ")",
      "/x `touch " + mark + "`",
      "/x > " + mark,
      "/x\ntouch " + mark,
      "/x'; touch " + mark + "; '",
      "/x\"; touch " + mark + "; \"",
      "/x\\\"; touch " + mark + " #",
      "/${IFS}x;touch${IFS}" + mark,
  };
}

TEST(HostPrograms, NoCallerTextActsAsShellSyntax) {
  TempDir work;
  ScopedCwd cwd(work.path());
  StandIns standins;
  const std::string mark = work.File("pwned");
  for (const std::string& text : InjectionTexts(mark)) {
    standins.Forget();
    FileSetRight(text);
    EXPECT_EQ(standins.args(), (std::vector<std::string>{"guo+rw", "--", text})) << text;

    standins.Forget();
    EXPECT_DOUBLE_EQ(DiskSpace("host:" + text, DfField::Size), 5.0) << text;
    EXPECT_EQ(standins.args(), (std::vector<std::string>{"-k", "--", text})) << text;
  }
  // Real programs as well.
  setenv("PATH", ("/nonexistent:" + std::string(getenv("PATH"))).c_str(), 1);
  for (const std::string& text : InjectionTexts(mark)) {
    FileSetRight(text);
    DiskSpace("host:" + text, DfField::Available);
  }
  EXPECT_FALSE(std::filesystem::exists(mark));
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_TRUE(NoChildLeft());
}

TEST(HostPrograms, LeadingDashIsAnOperand) {
  StandIns standins;
  // A text after "host:" that holds a ":" is taken as the path.
  DiskSpace("host:-h:x", DfField::Size);
  EXPECT_EQ(standins.args(), (std::vector<std::string>{"-k", "--", "-h:x"}));
  standins.Forget();
  FileSetRight("-R");
  EXPECT_EQ(standins.args(), (std::vector<std::string>{"guo+rw", "--", "-R"}));
  standins.Forget();
  FileSetRight("");  // nothing to change: nothing started
  EXPECT_FALSE(standins.Ran());
}

TEST(FileSetRight, TheWholeTextIsOneFileWithRealChmod) {
  TempDir work;
  ScopedCwd cwd(work.path());
  for (const char* name : {"-rw.fdb", "a b.fdb", "$(x).fdb", "semi;colon.fdb"}) {
    const std::string path = work.File(name);
    WriteFile(path, "x");
    chmod(path.c_str(), 0);
    EXPECT_EQ(FileSetRight(name), 0) << name;  // relative to the working directory
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0666, 0666) << name;
  }
  EXPECT_EQ(FileSetRight(work.File("missing.fdb")), 0);
}

TEST(DiskSpace, StandInDfFiguresAndTheLocationMeasured) {
  StandIns standins;
  EXPECT_DOUBLE_EQ(DiskSpace("host:/srv/x.fdb", DfField::Size), 5.0);
  EXPECT_EQ(standins.args().back(), "/srv/x.fdb");
  EXPECT_DOUBLE_EQ(DiskSpace("firma.fdb", DfField::Available), 4.5);
  EXPECT_EQ(standins.args().back(), "/");  // an unusable location measures the root
  EXPECT_DOUBLE_EQ(DiskSpace("", DfField::Available), 4.5);
  EXPECT_EQ(standins.args().back(), "/");
}

TEST(DiskSpace, RealDfAgreesWithStatvfs) {
  TempDir work;
  std::string out;
  RunProgram({"df", "-k", "--", work.path()}, &out);
  if (DfFieldFromOutput(out, DfField::Size) == 0.0) {
    GTEST_SKIP() << "the temp directory's file system has no device path: " << out;
  }
  struct statvfs vfs;
  ASSERT_EQ(statvfs(work.path().c_str(), &vfs), 0);
  const double mib = 1024.0 * 1024.0;
  const double size = static_cast<double>(vfs.f_blocks) * static_cast<double>(vfs.f_frsize) / mib;
  const double avail = static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize) / mib;
  EXPECT_NEAR(DiskSpace("host:" + work.path(), DfField::Size), size, 1.0 / 1024);
  // Others write to the same disk meanwhile.
  EXPECT_NEAR(DiskSpace("host:" + work.path(), DfField::Available), avail, 256.0);
  EXPECT_GT(size, 0.0);
}

TEST(GetHostName, LinesJoinedAndTrimmed) {
  StandIns standins;
  EXPECT_EQ(GetHostName(), "dbhost");
  setenv("PATH", "/nonexistent", 1);
  EXPECT_THROW(GetHostName(), IoError);
}

}  // namespace
}  // namespace qor
