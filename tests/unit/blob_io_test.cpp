#include "frame/blob_io.h"

#include <climits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "fake_blob.h"

namespace qor {
namespace {

using qortest::Calls;
using qortest::FakeBlob;

std::string Pattern(size_t n) {
  std::string s(n, 'a');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

TEST(BlobWrite, WritesInSegmentsOfAtMost8192Bytes) {
  FakeBlob blob;
  std::string text = Pattern(20000);
  BlobWrite(&blob.record, text);
  EXPECT_EQ(blob.calls, (Calls{"put 8192", "put 8192", "put 3616"}));
  EXPECT_EQ(blob.written, text);
  BlobWrite(&blob.record, "");
  EXPECT_EQ(blob.calls.size(), 3u);
}

TEST(BlobWrite, NoBlobMeansNothingWritten) {
  BlobWrite(nullptr, "abc");
  FakeBlob blob;
  blob.record.BlobHandle = nullptr;
  BlobWrite(&blob.record, "abc");
  blob.record.BlobHandle = &blob;
  blob.record.PutSegment = nullptr;
  BlobWrite(&blob.record, "abc");
  EXPECT_TRUE(blob.calls.empty());
}

// Reads into a buffer of exactly n + 1 bytes, so that the address sanitizer
// sees any write past it.
std::string Read(const BlobSource& source, size_t n, size_t* got = nullptr) {
  std::unique_ptr<char[]> buffer(new char[n + 1]);
  size_t pos = BlobRead(source, buffer.get(), n);
  if (got != nullptr) *got = pos;
  EXPECT_LE(pos, n);
  EXPECT_EQ(buffer[pos], '\0');
  return std::string(buffer.get(), pos);
}

TEST(BlobRead, AsksForTheRestInPiecesOfAtMost8192Bytes) {
  FakeBlob blob(Pattern(20000));
  EXPECT_EQ(Read(blob.source(), 20000), blob.content);
  EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 8192", "get 3616"}));
}

TEST(BlobRead, ShortSegmentsAreFollowedUpUntilNothingComes) {
  FakeBlob blob(Pattern(250));
  blob.segment_limit = 100;
  // The blob announces more than it holds: the read ends when a call
  // delivers nothing.
  EXPECT_EQ(Read(blob.source(), 300), blob.content);
  EXPECT_EQ(blob.calls, (Calls{"get 300", "get 200", "get 100", "get 50"}));
}

TEST(BlobRead, ARecordThatLiesNeverWritesPastTheBuffer) {
  {
    FakeBlob blob(Pattern(100));
    blob.claim_double = true;  // reports 2n + 1 bytes for n delivered
    size_t got = 0;
    Read(blob.source(), 150, &got);
    EXPECT_EQ(got, 150u);
  }
  {
    FakeBlob blob(Pattern(10));
    blob.endless = true;  // more segments than it announced
    EXPECT_EQ(Read(blob.source(), 20000), blob.content + std::string(19990, 'x'));
    EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 8192", "get 8192", "get 3606"}));
  }
}

TEST(BlobRead, NothingToReadMeansNoCall) {
  FakeBlob blob("abc");
  EXPECT_EQ(Read(blob.source(), 0), "");
  blob.record.GetSegment = nullptr;
  EXPECT_EQ(Read(blob.source(), 3), "");
  EXPECT_EQ(Read(BlobSourceOf(nullptr), 3), "");
  EXPECT_TRUE(blob.calls.empty());
}

TEST(ReadBlobText, ReadsTheAnnouncedLengthOrTheMaximum) {
  struct Case {
    int32_t total_length;
    int32_t maximum;
    size_t bytes;
    Calls calls;
  } cases[] = {
      {10000, 0, 10000, {"get 8192", "get 1808"}},
      {10000, -5, 10000, {"get 8192", "get 1808"}},
      {10000, 100, 100, {"get 100"}},
      {10000, 20000, 10000, {"get 8192", "get 1808"}},
      {0, 0, 0, {}},
      {-1, 10, 0, {}},
      {INT32_MIN, 0, 0, {}},
  };
  for (const auto& c : cases) {
    FakeBlob blob(Pattern(10000));
    blob.record.TotalLength = c.total_length;
    BlobText text = ReadBlobText(blob.source(), c.maximum);
    EXPECT_EQ(text.bytes(), std::string_view(blob.content).substr(0, c.bytes)) << c.total_length << " " << c.maximum;
    EXPECT_EQ(blob.calls, c.calls) << c.total_length << " " << c.maximum;
  }
}

TEST(ReadBlobText, TheTextEndsAtTheFirstNul) {
  FakeBlob blob(std::string("ab\0cd", 5));
  BlobText text = ReadBlobText(blob.source());
  EXPECT_EQ(text.bytes(), std::string_view("ab\0cd", 5));
  EXPECT_EQ(text.text(), "ab");
}

// A record announcing the largest length there is but holding three bytes:
// the buffer is taken (untouched memory) or refused, never filled.
TEST(ReadBlobText, AnAnnouncedLengthBeyondTheDataCostsNothing) {
  FakeBlob blob("abc");
  blob.record.TotalLength = INT32_MAX;
  try {
    BlobText text = ReadBlobText(blob.source());
    EXPECT_EQ(text.text(), "abc");
    EXPECT_EQ(blob.calls, (Calls{"get 8192", "get 8192"}));
  } catch (const std::bad_alloc&) {
    SUCCEED() << "refused by the allocator";
  }
}

}  // namespace
}  // namespace qor
