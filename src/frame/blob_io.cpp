#include "frame/blob_io.h"

#include <algorithm>
#include <cstring>

namespace qor {

BlobSource BlobSourceOf(const TISC_Blob* blob) noexcept {
  BlobSource source;
  if (!HasBlob(blob)) return source;
  source.context = blob->BlobHandle;
  source.get = blob->GetSegment;
  source.total_length = blob->TotalLength;
  source.segment_count = blob->SegmentCount;
  source.max_segment = blob->MaxSegment;
  return source;
}

BlobSink BlobSinkOf(const TISC_Blob* blob) noexcept {
  BlobSink sink;
  if (!HasBlob(blob) || blob->PutSegment == nullptr) return sink;
  sink.context = blob->BlobHandle;
  sink.put = blob->PutSegment;
  return sink;
}

size_t BlobRead(const BlobSource& source, char* buffer, size_t n) {
  size_t pos = 0;
  if (source.readable()) {
    while (pos < n) {
      const auto asked = static_cast<uint16_t>(std::min<size_t>(n - pos, kBlobSegment));
      uint16_t delivered = 0;
      source.get(source.context, reinterpret_cast<unsigned char*>(buffer + pos), asked, &delivered);
      if (delivered == 0) break;
      pos += std::min(delivered, asked);
    }
  }
  buffer[pos] = '\0';
  return pos;
}

void BlobWrite(const BlobSink& sink, std::string_view text) {
  if (!sink.present()) return;
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  size_t left = text.size();
  while (left > 0) {
    const size_t n = std::min<size_t>(left, kBlobSegment);
    sink.put(sink.context, data, static_cast<uint16_t>(n));
    data += n;
    left -= n;
  }
}

BlobText ReadBlobText(const BlobSource& source, int32_t maximum) {
  BlobText out;
  if (!source.readable() || source.total_length < 1) return out;
  int32_t n = maximum;
  if (n < 1 || n > source.total_length) n = source.total_length;
  // Not value-initialised: pages of a buffer sized for a length that the
  // blob does not deliver stay untouched.
  out.data_.reset(new char[static_cast<size_t>(n) + 1]);
  out.size_ = BlobRead(source, out.data_.get(), static_cast<size_t>(n));
  out.text_size_ = std::strlen(out.data_.get());
  return out;
}

}  // namespace qor
