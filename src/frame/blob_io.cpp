#include "frame/blob_io.h"

#include <algorithm>

namespace qor {

void BlobWrite(TISC_Blob* blob, std::string_view text) {
  if (!HasBlob(blob) || blob->PutSegment == nullptr) return;
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  size_t left = text.size();
  while (left > 0) {
    size_t n = std::min<size_t>(left, kBlobSegment);
    blob->PutSegment(blob->BlobHandle, data, static_cast<uint16_t>(n));
    data += n;
    left -= n;
  }
}

}  // namespace qor
