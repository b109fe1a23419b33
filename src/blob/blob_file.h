// Blobs to and from files, and text files read into a string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/blob_io.h"

namespace qor {

// Results of BlobSaveToFile below 0.
inline constexpr int32_t kSaveNoBlob = -1;        // nothing was touched
inline constexpr int32_t kSaveNotCreated = -2;    // exists and no overwrite, or not creatable
inline constexpr int32_t kSaveWriteFailed = -3;   // created, but writing failed part-way

// Writes the blob's segments into the file `name`, replacing an existing file
// only when overwrite is 1. `result` follows the progress: kSaveNoBlob when
// the blob cannot be read, kSaveNotCreated until the file is created,
// kSaveWriteFailed while it is written, and the size of the written file at
// the end. Raises IoError (leaving `result` where it stood) when the file
// cannot be created (a pipe without a reader included) or written.
//
// The segments are asked for in the blob's longest segment size (at most
// kBlobSegment) until a call returns status 0; the bytes of that call are
// not written. A blob that delivers more than it announced is cut at its
// announced length, and one that keeps delivering empty segments beyond its
// announced segment count is taken to have ended.
void BlobSaveToFile(const BlobSource& blob, std::string_view name, int32_t overwrite,
                    int32_t& result);

// The longest file that goes into a blob: the record the server hands over
// counts a blob's length in a signed 32-bit number.
inline constexpr int64_t kMaxBlobFileSize = 0x7FFFFFFF;
// A file that reports a size of 0 may still deliver bytes, without end for
// some (the kernel's /proc and /sys files): such a file is read up to this
// many bytes.
inline constexpr int64_t kUnsizedFileLimit = 1 << 20;

// Writes the bytes of the file `name` into the blob, kBlobSegment bytes per
// segment, ending with a segment of 0 bytes. Raises IoError when the file
// cannot be opened, is no regular file (a directory, a device, a pipe), or
// is longer than kMaxBlobFileSize (then nothing is written); a read error
// ends the file. A file that delivers more than that, or more than
// kUnsizedFileLimit bytes while reporting a size of 0, is cut there: the
// answer is then a note saying so for the trace log, otherwise empty.
[[nodiscard]] std::string BlobLoadFromFile(const BlobSink& blob, std::string_view name);

// The lines of the text file `name` (split at CR LF, LF or CR), each ended by
// LF; empty when there is no file or directory of that name. Raises IoError
// when the name exists but is no regular file or cannot be read.
//
// With a max_length, for a server that reads the text up to its first NUL
// and takes no more than max_length bytes of it: reading stops after the
// first NUL, and a text longer than that raises UdfError "Result longer
// than <max_length> bytes", as soon as that is clear, so that no file is
// held in memory beyond about twice max_length.
std::string LoadFromFile(std::string_view name, size_t max_length = 0);

}  // namespace qor
