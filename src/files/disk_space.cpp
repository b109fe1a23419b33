#include "files/disk_space.h"

#include <sys/stat.h>

#include "files/config_lines.h"
#include "files/path_resolver.h"
#include "files/run_program.h"
#include "frame/errors.h"
#include "frame/strings.h"
#include "frame/case_tables.h"

namespace qor {

double DfFieldFromOutput(std::string_view output, DfField field) {
  if (output.empty()) return 0.0;
  TextList lines = SplitTextLines(output);
  size_t first = 0;
  while (first < lines.size() && !lines[first].starts_with('/')) ++first;
  if (first == lines.size()) return 0.0;
  std::string line = lines[first];
  if (line.find('%') == std::string::npos && first + 1 < lines.size()) line += lines[first + 1];
  ReplaceAll("\n", " ", line);
  ReplaceAll("\t", " ", line);
  ReplaceAll("  ", " ", line);
  const std::string item = ListItem(line, static_cast<int32_t>(field), ' ', BlanksInItems);
  return ParseFloatText(TrimText(item)) / 1024.0;
}

std::string DiskPathOf(std::string_view location) {
  const std::string resolved = GetAbsolutePfad(location);
  if (resolved.empty() || resolved.front() == '8') return "/";
  return resolved.substr(1);
}

double DiskSpace(std::string_view location, DfField field) {
  const std::string path = DiskPathOf(location);
  // df opens what it is asked about: a device (a tape rewinds, a terminal
  // is taken over), a pipe (the open waits) or a socket never reaches it.
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) {
    throw IoError("Cannot measure " + path + ": no directory or regular file");
  }
  std::string output;
  // -k: 1024-byte blocks whatever POSIXLY_CORRECT or BLOCK_SIZE say.
  RunProgram({"df", "-k", "--", path}, &output);
  return DfFieldFromOutput(output, field);
}

}  // namespace qor
