#include "blob/blob_file.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "fake_blob.h"
#include "frame/errors.h"
#include "test_util.h"

namespace qor {
namespace {

using qortest::Calls;
using qortest::FakeBlob;
using qortest::ReadFile;
using qortest::TempDir;
using qortest::WriteFile;

// Runs BlobSaveToFile; gives its result and puts the message of an error
// into `error`.
int32_t Save(const FakeBlob& blob, const std::string& path, int32_t overwrite, std::string* error = nullptr) {
  int32_t result = 99;
  try {
    BlobSaveToFile(blob.source(), path, overwrite, result);
  } catch (const IoError& e) {
    if (error != nullptr) *error = e.what();
  }
  return result;
}

TEST(BlobSaveToFile, WritesTheSegmentsAndReturnsTheSize) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  std::string content(20000, 'a');
  content[100] = '\0';
  FakeBlob blob(content);
  blob.record.MaxSegment = 5000;
  EXPECT_EQ(Save(blob, path, 0), 20000);
  EXPECT_EQ(ReadFile(path), content);
  EXPECT_EQ(blob.calls, (Calls{"get 5000", "get 5000", "get 5000", "get 5000", "get 5000"}));
}

TEST(BlobSaveToFile, AsksForTheLongestSegmentUpTo8192Bytes) {
  TempDir dir;
  struct Case {
    int32_t max_segment;
    const char* first_request;
  } cases[] = {{100, "get 100"}, {20000, "get 8192"}, {0, "get 8192"}, {-3, "get 8192"}};
  for (const auto& c : cases) {
    FakeBlob blob("abc");
    blob.record.MaxSegment = c.max_segment;
    EXPECT_EQ(Save(blob, dir.File("f"), 1), 3) << c.max_segment;
    ASSERT_FALSE(blob.calls.empty());
    EXPECT_EQ(blob.calls[0], c.first_request) << c.max_segment;
  }
}

TEST(BlobSaveToFile, OverwritesOnlyWhenAskedTo) {
  TempDir dir;
  const std::string path = dir.File("out.txt");
  WriteFile(path, "old content");
  FakeBlob blob("new");
  EXPECT_EQ(Save(blob, path, 0), kSaveNotCreated);
  EXPECT_EQ(Save(blob, path, 2), kSaveNotCreated);
  EXPECT_EQ(ReadFile(path), "old content");
  EXPECT_TRUE(blob.calls.empty());
  EXPECT_EQ(Save(blob, path, 1), 3);
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(Save(blob, dir.path(), 0), kSaveNotCreated);  // a directory exists too
}

TEST(BlobSaveToFile, AnEmptyBlobMakesAnEmptyFile) {
  TempDir dir;
  FakeBlob blob;
  EXPECT_EQ(Save(blob, dir.File("empty"), 0), 0);
  EXPECT_EQ(blob.calls, (Calls{"get 8192"}));
  struct stat st;
  ASSERT_EQ(stat(dir.File("empty").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 0);
}

TEST(BlobSaveToFile, NoBlobTouchesNothing) {
  TempDir dir;
  FakeBlob blob("abc");
  blob.record.GetSegment = nullptr;
  EXPECT_EQ(Save(blob, dir.File("x"), 1), kSaveNoBlob);
  blob.record.GetSegment = &FakeBlob::Get;
  blob.record.BlobHandle = nullptr;
  EXPECT_EQ(Save(blob, dir.File("x"), 1), kSaveNoBlob);
  EXPECT_EQ(ReadFile(dir.File("x")), "");
  struct stat st;
  EXPECT_NE(stat(dir.File("x").c_str(), &st), 0);
}

TEST(BlobSaveToFile, FailuresRaiseWithTheResultReachedSoFar) {
  TempDir dir;
  std::string error;
  FakeBlob blob("abc");
  EXPECT_EQ(Save(blob, dir.File("no/such/dir/f"), 1, &error), kSaveNotCreated);
  EXPECT_EQ(error, "Unable to create file \"" + dir.File("no/such/dir/f") + "\"");
  error.clear();
  EXPECT_EQ(Save(blob, dir.path(), 1, &error), kSaveNotCreated);  // a directory is not replaced
  EXPECT_NE(error, "");
  error.clear();
  FakeBlob full("abc");
  EXPECT_EQ(Save(full, "/dev/full", 1, &error), kSaveWriteFailed);  // the device is always full
  EXPECT_EQ(error.rfind("Unable to write file \"/dev/full\"", 0), 0u) << error;
  // A pipe that nobody reads cannot take the blob (and must not keep the
  // call waiting for a reader).
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  error.clear();
  EXPECT_EQ(Save(blob, dir.File("pipe"), 1, &error), kSaveNotCreated);
  EXPECT_EQ(error, "Unable to create file \"" + dir.File("pipe") + "\"");
}

// The loop follows the status; a record that never says "no more" is held to
// what it announced.
TEST(BlobSaveToFile, ARecordThatNeverEndsIsHeldToItsAnnouncement) {
  TempDir dir;
  FakeBlob endless("abc");
  endless.endless = true;
  endless.record.TotalLength = 10000;
  EXPECT_EQ(Save(endless, dir.File("a"), 1), 10000);
  EXPECT_EQ(ReadFile(dir.File("a")), "abc" + std::string(9997, 'x'));

  FakeBlob empty_forever("abc");
  empty_forever.empty_forever = true;
  empty_forever.record.SegmentCount = 5;
  empty_forever.record.TotalLength = 100;
  EXPECT_EQ(Save(empty_forever, dir.File("b"), 1), 3);
  EXPECT_EQ(empty_forever.calls.size(), 1u + 6u + 1u);  // the data, then one more than 5 empty

  FakeBlob claims("abcdef");
  claims.claim_double = true;
  claims.segment_limit = 2;
  EXPECT_EQ(Save(claims, dir.File("c"), 1), 6);
}

TEST(BlobLoadFromFile, PassesTheFileInSegmentsEndingWithAnEmptyOne) {
  TempDir dir;
  std::string content(20000, 'b');
  content[7] = '\0';
  WriteFile(dir.File("in"), content);
  FakeBlob blob;
  EXPECT_EQ(BlobLoadFromFile(blob.sink(), dir.File("in")), "");  // whole: no note
  EXPECT_EQ(blob.calls, (Calls{"put 8192", "put 8192", "put 3616", "put 0"}));
  EXPECT_EQ(blob.written, content);

  WriteFile(dir.File("empty"), "");
  FakeBlob empty;
  EXPECT_EQ(BlobLoadFromFile(empty.sink(), dir.File("empty")), "");
  EXPECT_EQ(empty.calls, (Calls{"put 0"}));
}

TEST(BlobLoadFromFile, AFileThatCannotBeOpenedWritesNothing) {
  TempDir dir;
  FakeBlob blob;
  try {
    (void)BlobLoadFromFile(blob.sink(), dir.File("missing"));
    ADD_FAILURE() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to open file \"" + dir.File("missing") + "\"");
  }
  EXPECT_THROW((void)BlobLoadFromFile(blob.sink(), dir.path()), IoError);
  EXPECT_TRUE(blob.calls.empty());
}

TEST(LoadFromFile, GivesTheLinesEachEndedByLf) {
  TempDir dir;
  struct Case {
    std::string content;
    std::string text;
  } cases[] = {
      {"a\r\nb", "a\nb\n"},
      {"a\rb\r", "a\nb\n"},
      {"a\n\nb\n", "a\n\nb\n"},
      {"", ""},
      {"\r\n", "\n"},
      {std::string(20000, 'x') + "\r\n", std::string(20000, 'x') + "\n"},
  };
  for (const auto& c : cases) {
    WriteFile(dir.File("t"), c.content);
    EXPECT_EQ(LoadFromFile(dir.File("t")), c.text);
  }
  EXPECT_EQ(LoadFromFile(dir.File("missing")), "");
  EXPECT_EQ(LoadFromFile(""), "");
}

TEST(LoadFromFile, ADirectoryIsAnError) {
  TempDir dir;
  EXPECT_THROW(LoadFromFile(dir.path()), IoError);
}

// Only regular files are read: a device may never end (/dev/zero) and a pipe
// without a writer would keep the server waiting in its open.
TEST(LoadFromFile, DevicesAndPipesAreNoFiles) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  for (const std::string& name : {std::string("/dev/null"), std::string("/dev/zero"), dir.File("pipe")}) {
    EXPECT_THROW(LoadFromFile(name), IoError) << name;
    FakeBlob blob;
    EXPECT_THROW(BlobLoadFromFile(blob.sink(), name), IoError) << name;
    EXPECT_TRUE(blob.calls.empty()) << name;
  }
}

// With a length limit a longer text is an error, and the file is read no
// further than its first NUL, which ends the text for the server.
TEST(LoadFromFile, ALimitRefusesLongerTextsAndEndsAtANul) {
  TempDir dir;
  WriteFile(dir.File("crlf"), std::string(50, 'x') + "\r\n" + std::string(50, 'y') + "\r\n");
  EXPECT_EQ(LoadFromFile(dir.File("crlf"), 102), std::string(50, 'x') + "\n" + std::string(50, 'y') + "\n");
  try {
    LoadFromFile(dir.File("crlf"), 101);
    ADD_FAILURE() << "no error";
  } catch (const UdfError& e) {
    EXPECT_EQ(std::string(e.what()), "Result longer than 101 bytes");
  }
  // 4 MB of lines: refused after the first few blocks.
  std::string big;
  for (int i = 0; i < 100000; ++i) big += "line of forty bytes, ended by CR LF...\r\n";
  WriteFile(dir.File("big"), big);
  EXPECT_THROW(LoadFromFile(dir.File("big"), 32767), UdfError);
  EXPECT_EQ(LoadFromFile(dir.File("big")).size(), big.size() - 100000);
  // A NUL early in a long file: what the server sees is there, and fits.
  WriteFile(dir.File("nul"), "a\r\nb" + std::string(1, '\0') + big);
  EXPECT_EQ(LoadFromFile(dir.File("nul"), 32767), "a\nb" + std::string(1, '\0') + "\n");
}

}  // namespace
}  // namespace qor
