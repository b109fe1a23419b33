#include "blob/blob_text.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace qor {

int32_t BlobSize(const BlobSource& blob) noexcept { return blob.present() ? blob.total_length : 0; }

void StrToBlob(std::string_view text, const BlobSink& blob) { BlobWrite(blob, text); }

std::string BlobToStr(const BlobSource& blob) {
  return std::string(ReadBlobText(blob, kBlobTextCap).text());
}

void BlobAddStr(std::string_view text, const BlobSource& source, const BlobSink& sink) {
  if (!source.present()) return;
  const size_t old_length = source.total_length > 0 ? static_cast<size_t>(source.total_length) : 0;
  // One buffer for the old content and the text, so that the segments are
  // cut from the whole as if it had been one text.
  std::unique_ptr<char[]> buffer(new char[old_length + text.size() + 1]);
  const size_t pos = BlobRead(source, buffer.get(), old_length);
  if (!text.empty()) std::memcpy(buffer.get() + pos, text.data(), text.size());
  BlobWrite(sink, std::string_view(buffer.get(), pos + text.size()));
}

std::string BlobToSubString(const BlobSource& blob, int32_t& start, int32_t& count) {
  start = std::max(start, 1);
  count = std::clamp(count, 0, kBlobTextCap);
  if (count < 1 || !blob.present() || start > blob.total_length) return {};
  const int64_t first = static_cast<int64_t>(start) - 1;
  const int64_t len = std::min<int64_t>(count, blob.total_length - first);
  const int64_t read_length = std::min<int64_t>(blob.total_length, first + count);
  const BlobText read = ReadBlobText(blob, static_cast<int32_t>(read_length));
  const std::string_view bytes = read.bytes();
  if (static_cast<size_t>(first) >= bytes.size()) return {};
  std::string_view piece = bytes.substr(static_cast<size_t>(first), static_cast<size_t>(len));
  return std::string(piece.substr(0, piece.find('\0')));
}

}  // namespace qor
