#include "files/config_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "accounting/aufteilung.h"
#include "frame/errors.h"
#include "frame/log.h"
#include "frame/unique_fd.h"
#include "text/case_tables.h"

namespace qor {

TextList SplitTextLines(std::string_view text) {
  TextList lines;
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) lines.emplace_back(line);
  return lines;
}

int ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  // Without waiting: a pipe put in the file's place would hold the open.
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  struct stat st;
  if (fstat(fd.get(), &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  // The size a pseudo file reports (0) says nothing: the reading is bounded.
  char buf[8192];
  int error = 0;
  for (;;) {
    ssize_t n = read(fd.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
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

std::string UntrustedReason(const std::string& path) {
  const uid_t self = geteuid();
  const auto trusted_owner = [self](uid_t uid) { return uid == self || uid == 0; };
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return {};  // gone: nothing to read
  if (S_ISLNK(st.st_mode)) {
    if (!trusted_owner(st.st_uid)) {
      return "it is a symbolic link of user " + std::to_string(st.st_uid);
    }
    if (stat(path.c_str(), &st) != 0) return {};
  }
  if (!S_ISREG(st.st_mode)) return "it is no regular file";
  if (!trusted_owner(st.st_uid)) return "it belongs to user " + std::to_string(st.st_uid);
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
  if (access(path.c_str(), F_OK) != 0) return {};
  if (const std::string reason = UntrustedReason(path); !reason.empty()) {
    LogErrorOnce(noted, "Alias file " + path + " ignored: " + reason);
    return {};
  }
  std::string text;
  if (int error = ReadWholeFile(path, text); error != 0) {
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
