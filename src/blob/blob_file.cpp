#include "blob/blob_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "frame/errors.h"
#include "frame/file_io.h"
#include "frame/lines.h"
#include "frame/unique_fd.h"

namespace qor {

namespace {

std::string Quoted(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  out.push_back('"');
  out.append(name);
  out.push_back('"');
  return out;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Reads up to size bytes; a read error counts as the end of the file.
size_t ReadSome(int fd, unsigned char* buffer, size_t size) {
  const ssize_t n = ReadChunk(fd, buffer, size);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

[[noreturn]] void ThrowTooLong(size_t max_length) {
  throw UdfError("Result longer than " + std::to_string(max_length) + " bytes");
}

// Opens without waiting: the plain open of a pipe waits for its other end,
// possibly for ever (without a reader, a pipe opened for writing fails
// instead). What is opened is then read and written as usual. With
// `regular_only`, anything but a regular file is refused: a directory, and a
// device or pipe, which may never end (/dev/zero) or never answer.
UniqueFd OpenNoWait(const std::string& path, int flags, bool regular_only) {
  UniqueFd fd(open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666));
  if (fd.get() < 0) return fd;
  struct stat st {};
  const int status = fcntl(fd.get(), F_GETFL);
  if (fstat(fd.get(), &st) != 0 || (regular_only && !S_ISREG(st.st_mode)) || status < 0 ||
      fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
    fd.reset();
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  }
  return fd;
}

UniqueFd OpenForReading(const std::string& path) { return OpenNoWait(path, O_RDONLY, true); }

}  // namespace

void BlobSaveToFile(const BlobSource& blob, std::string_view name, int32_t overwrite,
                    int32_t& result) {
  result = kSaveNoBlob;
  if (!blob.readable()) return;
  result = kSaveNotCreated;
  const std::string path(name);
  if (overwrite != 1 && Exists(path)) return;
  UniqueFd file = OpenNoWait(path, O_WRONLY | O_CREAT | O_TRUNC, false);
  if (file.get() < 0) throw IoError("Unable to create file " + Quoted(name));
  result = kSaveWriteFailed;

  const int32_t max_segment = blob.max_segment;
  const auto asked = static_cast<uint16_t>(max_segment < 1 ? kBlobSegment : std::min(max_segment, kBlobSegment));
  // What a truthful blob can deliver: its announced length, and no more empty
  // segments than it has segments.
  int64_t room = std::max<int32_t>(blob.total_length, 0);
  int64_t empty_left = static_cast<int64_t>(std::max<int32_t>(blob.segment_count, 0)) + 1;
  unsigned char buffer[kBlobSegment];
  for (;;) {
    uint16_t delivered = 0;
    if (blob.get(blob.context, buffer, asked, &delivered) == 0) break;
    const int64_t n = std::min<int64_t>({delivered, asked, room});
    if (n == 0) {
      if (room == 0 || --empty_left < 0) break;
      continue;
    }
    if (!WriteAll(file.get(), buffer, static_cast<size_t>(n))) {
      throw IoError("Unable to write file " + Quoted(name) + ": " + std::strerror(errno));
    }
    room -= n;
  }
  struct stat st;
  if (fstat(file.get(), &st) != 0 || !file.Close()) {
    throw IoError("Unable to write file " + Quoted(name) + ": " + std::strerror(errno));
  }
  result = CheckedInt32(st.st_size);
}

std::string BlobLoadFromFile(const BlobSink& blob, std::string_view name) {
  const std::string path(name);
  UniqueFd file = OpenForReading(path);
  if (file.get() < 0) throw IoError("Unable to open file " + Quoted(name));
  struct stat st;
  if (fstat(file.get(), &st) != 0) throw IoError("Unable to open file " + Quoted(name));
  if (st.st_size > kMaxBlobFileSize) {
    throw IoError("File " + Quoted(name) + " is too large for a blob: " + std::to_string(st.st_size) +
                  " bytes");
  }
  const int64_t limit = st.st_size > 0 ? kMaxBlobFileSize : kUnsizedFileLimit;
  int64_t left = limit;
  unsigned char buffer[kBlobSegment];
  for (;;) {
    const size_t n =
        left > 0 ? ReadSome(file.get(), buffer, static_cast<size_t>(std::min<int64_t>(left, kBlobSegment))) : 0;
    if (blob.present()) blob.put(blob.context, buffer, static_cast<uint16_t>(n));
    if (n == 0) break;
    left -= static_cast<int64_t>(n);
  }
  // Whether anything follows (some pseudo files answer only whole records).
  if (left > 0 || ReadSome(file.get(), buffer, sizeof buffer) == 0) return {};
  return "File " + Quoted(name) + (st.st_size > 0 ? "" : " reports no size and") + " was cut after " +
         std::to_string(limit) + " bytes";
}

std::string LoadFromFile(std::string_view name, size_t max_length) {
  const std::string path(name);
  if (!Exists(path)) return {};
  UniqueFd file = OpenForReading(path);
  if (file.get() < 0) throw IoError("Unable to open file " + Quoted(name) + ": " + std::strerror(errno));
  std::string content;
  for (;;) {
    if (max_length > 0) {
      // What follows a NUL is never seen; and every line end shrinks by one
      // byte at most, so content of more than twice the length can only
      // give a longer text.
      const size_t nul = content.find('\0');
      if (nul != std::string::npos) {
        content.resize(nul + 1);
        break;
      }
      if (content.size() > 2 * (max_length + 1)) ThrowTooLong(max_length);
    }
    const size_t old_size = content.size();
    content.resize(old_size + kBlobSegment);
    const ssize_t n = ReadChunk(file.get(), content.data() + old_size, kBlobSegment);
    if (n < 0) throw IoError("Unable to read file " + Quoted(name) + ": " + std::strerror(errno));
    content.resize(old_size + static_cast<size_t>(n));
    if (n == 0) break;
  }
  std::string out;
  out.reserve(content.size() + 1);
  size_t pos = 0;
  std::string_view line;
  while (NextLine(content, pos, line)) out.append(line).push_back('\n');
  if (max_length > 0 && std::min(out.find('\0'), out.size()) > max_length) ThrowTooLong(max_length);
  return out;
}

}  // namespace qor
