#include "frame/blob_io.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qor {
namespace {

struct Sink {
  std::vector<std::string> segments;
};

void Put(void* handle, const unsigned char* buffer, uint16_t length) {
  static_cast<Sink*>(handle)->segments.emplace_back(reinterpret_cast<const char*>(buffer), length);
}

TEST(BlobWrite, WritesInSegmentsOfAtMost8192Bytes) {
  Sink sink;
  TISC_Blob blob{};
  blob.BlobHandle = &sink;
  blob.PutSegment = Put;
  std::string text(20000, 'a');
  text[8192] = 'b';
  BlobWrite(&blob, text);
  ASSERT_EQ(sink.segments.size(), 3u);
  EXPECT_EQ(sink.segments[0].size(), 8192u);
  EXPECT_EQ(sink.segments[1].size(), 8192u);
  EXPECT_EQ(sink.segments[1][0], 'b');
  EXPECT_EQ(sink.segments[2].size(), 20000u - 2 * 8192u);
  BlobWrite(&blob, "");
  EXPECT_EQ(sink.segments.size(), 3u);
}

// Counts every call, whatever the handle.
int g_put_calls = 0;
void CountingPut(void*, const unsigned char*, uint16_t) { ++g_put_calls; }

TEST(BlobWrite, NoBlobMeansNothingWritten) {
  g_put_calls = 0;
  BlobWrite(nullptr, "abc");
  TISC_Blob blob{};
  blob.PutSegment = CountingPut;  // but no handle
  BlobWrite(&blob, "abc");
  EXPECT_EQ(g_put_calls, 0);
  Sink sink;
  blob.BlobHandle = &sink;  // a handle but no callback
  blob.PutSegment = nullptr;
  BlobWrite(&blob, "abc");
  blob.PutSegment = CountingPut;  // the same record, complete, is written to
  BlobWrite(&blob, "abc");
  EXPECT_EQ(g_put_calls, 1);
}

}  // namespace
}  // namespace qor
