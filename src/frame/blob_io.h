// Writing blob results through the server's callbacks.
#pragma once

#include <string_view>

#include "frame/engine_types.h"

namespace qor {

// True when the record stands for an actual blob (nil record or nil handle
// count as an empty blob).
inline bool HasBlob(const TISC_Blob* blob) noexcept {
  return blob != nullptr && blob->BlobHandle != nullptr;
}

// Appends text to the blob in segments of at most kBlobSegment bytes. Writes
// nothing when there is no blob or no callback.
void BlobWrite(TISC_Blob* blob, std::string_view text);

}  // namespace qor
