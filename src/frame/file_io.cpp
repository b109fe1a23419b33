#include "frame/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace qor {

ssize_t ReadChunk(int fd, void* buffer, size_t size) noexcept {
  for (;;) {
    const ssize_t n = read(fd, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

namespace {

// Calls move(bytes, size, offset) (a write, pwrite or pread) until all size
// bytes are through: again after a signal, on from where a short one stopped.
template <typename Byte, typename Move>
bool MoveAll(Byte* bytes, size_t size, off_t offset, Move move) noexcept {
  while (size > 0) {
    const ssize_t n = move(bytes, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

}  // namespace

bool WriteAll(int fd, const void* data, size_t size) noexcept {
  return MoveAll(static_cast<const char*>(data), size, 0,
                 [fd](const char* b, size_t n, off_t) { return write(fd, b, n); });
}

bool WriteAllAt(int fd, const void* data, size_t size, off_t offset) noexcept {
  return MoveAll(static_cast<const char*>(data), size, offset,
                 [fd](const char* b, size_t n, off_t at) { return pwrite(fd, b, n, at); });
}

bool ReadAllAt(int fd, void* data, size_t size, off_t offset) noexcept {
  return MoveAll(static_cast<char*>(data), size, offset,
                 [fd](char* b, size_t n, off_t at) { return pread(fd, b, n, at); });
}

bool MakeDirectories(std::string_view path, mode_t mode, std::string_view separators) {
  for (size_t end = 1; end <= path.size(); ++end) {
    if (end < path.size() && separators.find(path[end]) == std::string_view::npos) continue;
    const std::string part(path.substr(0, end));
    if (mkdir(part.c_str(), mode) == 0 || errno == EEXIST) continue;
    const int error = errno;
    struct stat st;
    if (stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    errno = error;
    return false;
  }
  return true;
}

}  // namespace qor
