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

TEST(BlobWrite, NoBlobMeansNothingWritten) {
  BlobWrite(nullptr, "abc");
  TISC_Blob blob{};
  blob.PutSegment = Put;  // but no handle
  BlobWrite(&blob, "abc");
  SUCCEED();
}

}  // namespace
}  // namespace qor
