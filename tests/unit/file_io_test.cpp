#include "frame/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "frame/unique_fd.h"
#include "test_util.h"

namespace qor {
namespace {

bool IsDir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(FileIo, WholeWritesAndReadsAtOffsets) {
  qortest::TempDir dir;
  const UniqueFd fd(open(dir.File("f").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  ASSERT_GE(fd.get(), 0);
  const std::string big(200000, 'x');
  ASSERT_TRUE(WriteAll(fd.get(), big.data(), big.size()));
  ASSERT_TRUE(WriteAllAt(fd.get(), "abc", 3, 10));
  ASSERT_TRUE(WriteAll(fd.get(), "yz", 2));  // the position stayed after the pwrite
  EXPECT_EQ(lseek(fd.get(), 0, SEEK_CUR), static_cast<off_t>(big.size() + 2));

  std::string back(big.size() + 2, '\0');
  ASSERT_TRUE(ReadAllAt(fd.get(), back.data(), back.size(), 0));
  EXPECT_EQ(back.substr(8, 7), "xxabcxx");
  EXPECT_EQ(back.substr(back.size() - 3), "xyz");
  char two[2];
  EXPECT_FALSE(ReadAllAt(fd.get(), two, 2, static_cast<off_t>(big.size() + 1)));  // one byte left
  EXPECT_TRUE(ReadAllAt(fd.get(), two, 0, 1 << 30));                             // nothing asked

  ASSERT_EQ(lseek(fd.get(), 0, SEEK_SET), 0);
  char chunk[5];
  EXPECT_EQ(ReadChunk(fd.get(), chunk, sizeof chunk), 5);
  ASSERT_EQ(lseek(fd.get(), 0, SEEK_END), static_cast<off_t>(back.size()));
  EXPECT_EQ(ReadChunk(fd.get(), chunk, sizeof chunk), 0);
}

TEST(FileIo, FailuresLeaveTheirErrno) {
  char c = 0;
  errno = 0;
  EXPECT_FALSE(WriteAll(-1, "a", 1));
  EXPECT_EQ(errno, EBADF);
  errno = 0;
  EXPECT_FALSE(WriteAllAt(-1, "a", 1, 0));
  EXPECT_EQ(errno, EBADF);
  errno = 0;
  EXPECT_FALSE(ReadAllAt(-1, &c, 1, 0));
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(ReadChunk(-1, &c, 1), -1);
}

TEST(FileIo, MakeDirectories) {
  qortest::TempDir dir;
  const std::string nested = dir.path() + "/a/b/c";
  ASSERT_TRUE(MakeDirectories(nested, 0700));
  EXPECT_TRUE(IsDir(nested));
  struct stat st;
  ASSERT_EQ(stat(nested.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u);
  EXPECT_TRUE(MakeDirectories(nested + "/", 0700));  // all there, a trailing separator
  EXPECT_TRUE(MakeDirectories("", 0700));

  // Other separators: each part before one is made.
  ASSERT_TRUE(MakeDirectories(dir.path() + "/d\\e/f", 0700, "/\\"));
  EXPECT_TRUE(IsDir(dir.path() + "/d"));
  EXPECT_TRUE(IsDir(dir.path() + "/d\\e/f"));

  // A file in the way: nothing below it can be made.
  qortest::WriteFile(dir.File("file"), "x");
  errno = 0;
  EXPECT_FALSE(MakeDirectories(dir.File("file") + "/sub/deeper", 0700));
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_FALSE(IsDir(dir.File("file") + "/sub"));
}

TEST(UniqueFd, ClosesOnceAndHandsOver) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  {
    UniqueFd a(ends[0]);
    UniqueFd b(std::move(a));
    EXPECT_EQ(a.get(), -1);
    EXPECT_EQ(b.get(), ends[0]);
    UniqueFd c(ends[1]);
    c = std::move(b);  // c's own descriptor closes now
    EXPECT_FALSE(IsOpen(ends[1]));
    EXPECT_TRUE(IsOpen(ends[0]));
    const int kept = c.release();
    EXPECT_EQ(c.get(), -1);
    c.reset(kept);
  }
  EXPECT_FALSE(IsOpen(ends[0]));
}

}  // namespace
}  // namespace qor
