#include "files/config_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "frame/case_tables.h"
#include "frame/errors.h"
#include "frame/file_io.h"
#include "frame/lines.h"
#include "frame/log.h"
#include "frame/unique_fd.h"

namespace qor {

TextList SplitTextLines(std::string_view text) {
  TextList lines;
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) lines.emplace_back(line);
  return lines;
}

namespace {

// Reads the rest of an open file of at most kMaxConfigFile bytes: 0 or the
// errno (then `text` is empty). The size a pseudo file reports (0) says
// nothing, so the reading itself is bounded.
int ReadOpenFile(int fd, std::string& text) {
  text.clear();
  char buf[8192];
  int error = 0;
  for (;;) {
    const ssize_t n = ReadChunk(fd, buf, sizeof buf);
    if (n < 0) {
      error = errno;
      break;
    }
    if (n == 0) break;
    if (text.size() + static_cast<size_t>(n) > kMaxConfigFile) {
      error = EFBIG;
      break;
    }
    text.append(buf, static_cast<size_t>(n));
  }
  if (error != 0) text.clear();
  return error;
}

// Opens for reading without waiting: a pipe put in a file's place would hold
// the open.
int OpenNoWait(const std::string& path, bool follow) {
  return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
}

bool TrustedOwner(uid_t uid) { return uid == 0 || uid == geteuid(); }

}  // namespace

int ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  UniqueFd fd(OpenNoWait(path, true));
  if (fd.get() < 0) return errno;
  struct stat st;
  if (fstat(fd.get(), &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  return ReadOpenFile(fd.get(), text);
}

std::string UntrustedReason(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return "it is no regular file";
  if (!TrustedOwner(st.st_uid)) return "it belongs to user " + std::to_string(st.st_uid);
  if ((st.st_mode & S_IWOTH) != 0) return "anyone may write it";
  return {};
}

AliasList ParseAliasText(std::string_view text) {
  AliasList aliases;
  for (const std::string& raw : SplitTextLines(text)) {
    std::string_view line = TrimText(raw);
    if (!line.empty() && line.front() == '#') continue;
    aliases.push_back({std::string(TrimText(TextBefore(line, '='))),
                       std::string(TrimText(TextAfter(line, '=')))});
  }
  return aliases;
}

AliasList ReadAliasFile(const std::string& path, std::atomic<bool>& noted) {
  const auto ignored = [&](const std::string& reason) {
    LogErrorOnce(noted, "Alias file " + path + " ignored: " + reason);
    return AliasList();
  };
  // The checks look at the file that is read, not at what the name stood for
  // a moment earlier. A link is followed only when its owner is trusted; a
  // name that has become a link since then is refused by O_NOFOLLOW.
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return {};
  const bool link = S_ISLNK(st.st_mode);
  if (link && !TrustedOwner(st.st_uid)) {
    return ignored("it is a symbolic link of user " + std::to_string(st.st_uid));
  }
  UniqueFd fd(OpenNoWait(path, link));
  if (fd.get() < 0 && errno == ENOENT) return {};  // gone, or a link to nothing
  if (fd.get() < 0 || fstat(fd.get(), &st) != 0) {
    throw IoError("Cannot read " + path + ": " + std::strerror(errno));
  }
  if (const std::string reason = UntrustedReason(st); !reason.empty()) return ignored(reason);
  std::string text;
  if (int error = ReadOpenFile(fd.get(), text); error != 0) {
    throw IoError("Cannot read " + path + ": " + std::strerror(error));
  }
  return ParseAliasText(text);
}

std::string_view AliasValue(const AliasList& aliases, std::string_view name) noexcept {
  for (const AliasEntry& entry : aliases) {
    if (EqualsIgnoreAsciiCase(entry.name, name)) return entry.value;
  }
  return {};
}

}  // namespace qor
