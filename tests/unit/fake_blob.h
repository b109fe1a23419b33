// A blob callback record for the tests, backed by a byte string. It logs
// every call ("get 8192", "put 3616") so that tests can check request sizes
// and call order, and it can be told to misbehave the way a wrong record
// might.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/blob_io.h"
#include "frame/engine_types.h"

namespace qortest {

struct FakeBlob {
  std::string content;          // what GetSegment hands out, from the start
  size_t segment_limit = 65535; // delivers at most this much per call
  bool claim_double = false;    // reports twice what it delivered
  bool endless = false;         // after the content, keeps delivering 'x'
  bool empty_forever = false;   // after the content, status 1 with 0 bytes
  size_t read_pos = 0;
  std::string written;            // what PutSegment received, concatenated
  std::vector<std::string> calls; // "get <asked>" / "put <length>"
  TISC_Blob record{};

  // A record announcing the content's length (change record fields after).
  explicit FakeBlob(std::string text = {}) : content(std::move(text)) {
    record.GetSegment = &Get;
    record.PutSegment = &Put;
    record.BlobHandle = this;
    record.TotalLength = static_cast<int32_t>(content.size());
    record.MaxSegment = static_cast<int32_t>(std::min<size_t>(content.size(), 65535));
    record.SegmentCount = content.empty() ? 0 : 1;
  }
  FakeBlob(const FakeBlob&) = delete;
  FakeBlob& operator=(const FakeBlob&) = delete;

  qor::BlobSource source() const { return qor::BlobSourceOf(&record); }
  qor::BlobSink sink() const { return qor::BlobSinkOf(&record); }
  std::vector<std::string> Calls(const char* kind) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind(kind, 0) == 0) out.push_back(c);
    return out;
  }

  static int16_t Get(void* handle, unsigned char* buffer, uint16_t size, uint16_t* delivered) {
    auto* self = static_cast<FakeBlob*>(handle);
    self->calls.push_back("get " + std::to_string(size));
    size_t n = std::min<size_t>({size, self->segment_limit, self->content.size() - self->read_pos});
    std::memcpy(buffer, self->content.data() + self->read_pos, n);
    self->read_pos += n;
    if (n == 0 && self->endless) {
      n = std::min<size_t>(size, self->segment_limit);
      std::memset(buffer, 'x', n);
    }
    *delivered = static_cast<uint16_t>(self->claim_double ? std::min<size_t>(2 * n + 1, 65535) : n);
    return (n > 0 || self->empty_forever) ? 1 : 0;
  }

  static void Put(void* handle, const unsigned char* buffer, uint16_t length) {
    auto* self = static_cast<FakeBlob*>(handle);
    self->calls.push_back("put " + std::to_string(length));
    self->written.append(reinterpret_cast<const char*>(buffer), length);
  }
};

using Calls = std::vector<std::string>;

}  // namespace qortest
