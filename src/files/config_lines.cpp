#include "files/config_lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "accounting/aufteilung.h"
#include "frame/errors.h"
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
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char buf[8192];
  int error = 0;
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    if (n == 0) break;
    try {
      text.append(buf, static_cast<size_t>(n));
    } catch (...) {
      close(fd);
      throw;
    }
  }
  close(fd);
  if (error != 0) text.clear();
  return error;
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

AliasList ReadAliasFile(const std::string& path) {
  if (access(path.c_str(), F_OK) != 0) return {};
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
