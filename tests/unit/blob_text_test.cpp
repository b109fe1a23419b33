#include "blob/blob_text.h"

#include <climits>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "fake_blob.h"

namespace qor {
namespace {

using qortest::Calls;
using qortest::FakeBlob;

TEST(BlobSize, IsTheAnnouncedLengthWithoutReading) {
  FakeBlob blob(std::string(40000, 'a'));
  EXPECT_EQ(BlobSize(blob.source()), 40000);
  EXPECT_TRUE(blob.calls.empty());
  EXPECT_EQ(BlobSize(BlobSourceOf(nullptr)), 0);
  blob.record.BlobHandle = nullptr;
  EXPECT_EQ(BlobSize(blob.source()), 0);
}

TEST(StrToBlob, WritesTheTextInSegments) {
  FakeBlob blob;
  StrToBlob(std::string(20000, 'a'), blob.sink());
  EXPECT_EQ(blob.calls, (Calls{"put 8192", "put 8192", "put 3616"}));
  FakeBlob empty;
  StrToBlob("", empty.sink());
  EXPECT_TRUE(empty.calls.empty());
}

TEST(BlobToStr, IsCappedAt32759Bytes) {
  std::string content(40000, 'a');
  content[32758] = 'z';
  FakeBlob blob(content);
  const std::string text = BlobToStr(blob.source());
  EXPECT_EQ(text.size(), 32759u);
  EXPECT_EQ(text.back(), 'z');
  EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 8192", "get 8192", "get 8183"}));
}

TEST(BlobToStr, EndsAtANulAndIsEmptyWithoutBlob) {
  FakeBlob blob(std::string("ab\0cd", 5));
  EXPECT_EQ(BlobToStr(blob.source()), "ab");
  EXPECT_EQ(BlobToStr(BlobSourceOf(nullptr)), "");
  FakeBlob empty;
  EXPECT_EQ(BlobToStr(empty.source()), "");
  EXPECT_TRUE(empty.calls.empty());
}

TEST(BlobAddStr, ReadsTheWholeBlobThenWritesItWithTheTextInOneRun) {
  std::string content(10000, 'a');
  content[5] = '\0';  // bytes, not text: a NUL is kept
  FakeBlob blob(content);
  BlobAddStr("xyz", blob.source(), blob.sink());
  EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 1808", "put 8192", "put 1811"}));
  EXPECT_EQ(blob.written, content + "xyz");
}

TEST(BlobAddStr, AFreshResultBlobGetsOnlyTheText) {
  FakeBlob blob;
  BlobAddStr("tail", blob.source(), blob.sink());
  EXPECT_EQ(blob.calls, (Calls{"put 4"}));
  EXPECT_EQ(blob.written, "tail");
}

TEST(BlobAddStr, ABlobThatDeliversLessThanAnnouncedKeepsWhatCame) {
  FakeBlob blob("abc");
  blob.record.TotalLength = 100;
  BlobAddStr("d", blob.source(), blob.sink());
  EXPECT_EQ(blob.calls, (Calls{"get 100", "get 97", "put 4"}));
  EXPECT_EQ(blob.written, "abcd");
  BlobAddStr("d", BlobSourceOf(nullptr), BlobSinkOf(nullptr));  // no blob: nothing
}

// The largest length a record can announce: the working buffer is taken
// without being filled, or refused with bad_alloc (the entry point logs "Out
// of memory" and returns the blob untouched).
TEST(BlobAddStr, AnAnnouncedLengthBeyondTheDataDoesNoHarm) {
  FakeBlob blob("abc");
  blob.record.TotalLength = INT32_MAX;
  try {
    BlobAddStr("d", blob.source(), blob.sink());
    EXPECT_EQ(blob.written, "abcd");
  } catch (const std::bad_alloc&) {
    EXPECT_TRUE(blob.calls.empty());
  }
}

TEST(BlobToSubString, CutsAndClampsItsArguments) {
  struct Case {
    int32_t start, count;
    const char* piece;
    int32_t start_after, count_after;
  } cases[] = {
      {3, 1, "c", 3, 1},
      {4, 1, "", 4, 1},
      {0, 2, "ab", 1, 2},
      {-7, 2, "ab", 1, 2},
      {2, 10, "bc", 2, 10},
      {1, 0, "", 1, 0},
      {1, -5, "", 1, 0},
      {1, 40000, "abc", 1, 32759},
      {INT32_MAX, 32759, "", INT32_MAX, 32759},
  };
  for (const auto& c : cases) {
    FakeBlob blob("abc");
    int32_t start = c.start, count = c.count;
    EXPECT_EQ(BlobToSubString(blob.source(), start, count), c.piece) << c.start << "," << c.count;
    EXPECT_EQ(start, c.start_after) << c.start << "," << c.count;
    EXPECT_EQ(count, c.count_after) << c.start << "," << c.count;
  }
}

TEST(BlobToSubString, ReadsOnlyAsFarAsThePieceReaches) {
  FakeBlob blob(std::string(20000, 'a') + "bcd");
  int32_t start = 20001, count = 2;
  EXPECT_EQ(BlobToSubString(blob.source(), start, count), "bc");
  EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 8192", "get 3618"}));

  FakeBlob near_start(std::string(20000, 'a'));
  start = 1;
  count = 10;
  BlobToSubString(near_start.source(), start, count);
  EXPECT_EQ(near_start.calls, (Calls{"get 10"}));

  FakeBlob unread("abc");
  count = 0;
  BlobToSubString(unread.source(), start, count);
  start = 4;
  count = 1;
  BlobToSubString(unread.source(), start, count);
  EXPECT_TRUE(unread.calls.empty());
}

TEST(BlobToSubString, StopsAtANulButNotAtOneBeforeTheStart) {
  FakeBlob blob(std::string("ab\0cd", 5));
  int32_t start = 2, count = 3;
  EXPECT_EQ(BlobToSubString(blob.source(), start, count), "b");
  FakeBlob again(std::string("ab\0cd", 5));
  start = 4;
  count = 2;
  EXPECT_EQ(BlobToSubString(again.source(), start, count), "cd");
}

TEST(BlobToSubString, ABlobShorterThanAnnouncedGivesWhatIsThere) {
  FakeBlob blob("abc");
  blob.record.TotalLength = 10;
  int32_t start = 2, count = 5;
  EXPECT_EQ(BlobToSubString(blob.source(), start, count), "bc");
  start = 5;
  EXPECT_EQ(BlobToSubString(blob.source(), start, count), "");
}

}  // namespace
}  // namespace qor
