// Moving bytes in and out of blobs. The blob functions never see the
// server's callback record: they take a BlobSource to read from and a
// BlobSink to write to, plain records of a callback and its context, which
// the entry points make from the record (BlobSourceOf, BlobSinkOf) and which
// another front or a test can fill just as well.
//
// There are exactly two transfer routines: BlobRead, the segment read loop,
// and BlobWrite, the segment write loop. Everything else sits on top of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "frame/engine_types.h"

namespace qor {

// True when the record stands for an actual blob (nil record or nil handle
// count as an empty blob).
inline bool HasBlob(const TISC_Blob* blob) noexcept {
  return blob != nullptr && blob->BlobHandle != nullptr;
}

// A blob to read from. `get` fills at most `size` bytes of `buffer`, stores
// how many it delivered and returns a status that is 0 when no segment was
// delivered. A source without context is no blob; one without `get` cannot
// be read.
struct BlobSource {
  void* context = nullptr;
  int16_t (*get)(void* context, unsigned char* buffer, uint16_t size, uint16_t* delivered) = nullptr;
  int32_t total_length = 0;  // as announced; may be wrong
  int32_t segment_count = 0;
  int32_t max_segment = 0;

  bool present() const noexcept { return context != nullptr; }
  bool readable() const noexcept { return context != nullptr && get != nullptr; }
};

// A blob to write to: `put` appends one segment. A sink without context or
// without `put` cannot be written.
struct BlobSink {
  void* context = nullptr;
  void (*put)(void* context, const unsigned char* buffer, uint16_t length) = nullptr;

  bool present() const noexcept { return context != nullptr && put != nullptr; }
};

// The source and sink of a server record; absent for a nil record or a nil
// handle.
BlobSource BlobSourceOf(const TISC_Blob* blob) noexcept;
BlobSink BlobSinkOf(const TISC_Blob* blob) noexcept;

// The segment read loop: reads up to n bytes from the start of the blob into
// buffer, which holds n + 1 bytes, asking for at most kBlobSegment bytes per
// call, until n bytes are in or a call delivers nothing. A NUL follows the
// bytes read; returns their number. A call that claims more than it was asked
// for counts as delivering what was asked, so nothing lands past the buffer
// however the source behaves. A source that cannot be read reads nothing.
size_t BlobRead(const BlobSource& source, char* buffer, size_t n);

// The segment write loop: writes text in segments of at most kBlobSegment
// bytes. Writes nothing when the sink is absent or the text is empty.
void BlobWrite(const BlobSink& sink, std::string_view text);
inline void BlobWrite(TISC_Blob* blob, std::string_view text) { BlobWrite(BlobSinkOf(blob), text); }

// Bytes read from a blob, NUL-terminated, in a buffer of their own. Memory is
// taken for the announced length but touched only as bytes arrive.
class BlobText {
 public:
  BlobText() = default;
  // Everything read, NULs included.
  std::string_view bytes() const noexcept { return {data_.get(), size_}; }
  // The text: the bytes up to the first NUL.
  std::string_view text() const noexcept { return {data_.get(), text_size_}; }
  // The text, writable in place.
  char* data() noexcept { return data_.get(); }

 private:
  friend BlobText ReadBlobText(const BlobSource& source, int32_t maximum);
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t text_size_ = 0;
};

// Reads the first `maximum` bytes of the blob, or all of them when maximum is
// below 1 or beyond the announced length; nothing when the blob cannot be
// read or announces less than one byte. Throws std::bad_alloc when the announced
// length cannot be had.
BlobText ReadBlobText(const BlobSource& source, int32_t maximum = 0);

}  // namespace qor
