#include "blob/blob_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "accounting/aufteilung.h"
#include "frame/errors.h"

namespace qor {

namespace {

// Closes the file when the scope ends, however it ends.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const noexcept { return fd_; }
  // Closes now; false when the close reports an error (data not written).
  bool Close() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string Quoted(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  out.push_back('"');
  out.append(name);
  out.push_back('"');
  return out;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool WriteAll(int fd, const unsigned char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Reads up to size bytes; a read error counts as the end of the file.
size_t ReadSome(int fd, unsigned char* buffer, size_t size) {
  for (;;) {
    const ssize_t n = read(fd, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return n > 0 ? static_cast<size_t>(n) : 0;
  }
}

// Opens an existing file for reading; a directory is not a file.
int OpenForReading(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

}  // namespace

void BlobSaveToFile(const BlobSource& blob, std::string_view name, int32_t overwrite,
                    int32_t& result) {
  result = kSaveNoBlob;
  if (!blob.readable()) return;
  result = kSaveNotCreated;
  const std::string path(name);
  if (overwrite != 1 && Exists(path)) return;
  FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
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

void BlobLoadFromFile(const BlobSink& blob, std::string_view name) {
  const std::string path(name);
  FileDescriptor file(OpenForReading(path));
  if (file.get() < 0) throw IoError("Unable to open file " + Quoted(name));
  unsigned char buffer[kBlobSegment];
  for (;;) {
    const size_t n = ReadSome(file.get(), buffer, sizeof buffer);
    if (blob.present()) blob.put(blob.context, buffer, static_cast<uint16_t>(n));
    if (n == 0) break;
  }
}

std::string LoadFromFile(std::string_view name) {
  const std::string path(name);
  if (!Exists(path)) return {};
  FileDescriptor file(OpenForReading(path));
  if (file.get() < 0) throw IoError("Unable to open file " + Quoted(name) + ": " + std::strerror(errno));
  std::string content;
  for (;;) {
    const size_t old_size = content.size();
    content.resize(old_size + kBlobSegment);
    const ssize_t n = read(file.get(), content.data() + old_size, kBlobSegment);
    if (n < 0 && errno == EINTR) {
      content.resize(old_size);
      continue;
    }
    if (n < 0) throw IoError("Unable to read file " + Quoted(name) + ": " + std::strerror(errno));
    content.resize(old_size + static_cast<size_t>(n));
    if (n == 0) break;
  }
  std::string out;
  out.reserve(content.size() + 1);
  size_t pos = 0;
  std::string_view line;
  while (NextLine(content, pos, line)) out.append(line).push_back('\n');
  return out;
}

}  // namespace qor
