// Text in and out of blobs: size, whole text, appended text, substrings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/blob_io.h"

namespace qor {

// A text result made from a blob holds at most this many bytes.
inline constexpr int32_t kBlobTextCap = 32759;

// The announced length of the blob, or 0 when there is no blob.
int32_t BlobSize(const BlobSource& blob) noexcept;

// Writes the text into the blob.
void StrToBlob(std::string_view text, const BlobSink& blob);

// The blob's first kBlobTextCap bytes, up to its first NUL.
std::string BlobToStr(const BlobSource& blob);

// Reads the whole blob through `source` and writes it again, followed by
// text, through `sink` in one run of segments.
void BlobAddStr(std::string_view text, const BlobSource& source, const BlobSink& sink);

// `count` bytes from the 1-based position `start` (ending early at a NUL).
// Both arguments are clamped in place: start to at least 1, count to
// 0..kBlobTextCap. Reads only as far as the piece reaches.
std::string BlobToSubString(const BlobSource& blob, int32_t& start, int32_t& count);

}  // namespace qor
