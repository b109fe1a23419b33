#include "files/smb_shares.h"

#include "files/config_lines.h"
#include "files/trace.h"
#include "frame/case_tables.h"

namespace qor {

namespace {

// A section header that opens a share: "[" and a name, except the global
// and printers sections, whose lines count for the section before them.
bool IsShareHeader(std::string_view line, std::string_view& name) {
  if (line.empty() || line.front() != '[') return false;
  std::string_view after = line.substr(1);
  if (EqualsIgnoreAsciiCase(after.substr(0, 6), "global")) return false;
  if (EqualsIgnoreAsciiCase(after.substr(0, 8), "printers")) return false;
  size_t close = after.find(']');
  name = close == std::string_view::npos ? std::string_view() : after.substr(0, close);
  return true;
}

// A line whose key begins with PATH (any case); `value` is the text from the
// fifth character on, cut to `limit`, trimmed and stripped of leading tabs,
// blanks and "=".
bool IsPathLine(std::string_view line, size_t limit, std::string_view& value) {
  if (line.size() < 4 || !EqualsIgnoreAsciiCase(line.substr(0, 4), "PATH")) return false;
  value = TrimText(line.substr(4, limit));
  size_t start = value.find_first_not_of("\t =");
  value = start == std::string_view::npos ? std::string_view() : value.substr(start);
  return true;
}

}  // namespace

TextList SmbConfLines(std::string_view text) {
  TextList lines = SplitTextLines(text);
  for (std::string& line : lines) {
    std::string trimmed(TrimText(line));
    trimmed.push_back(' ');
    line = std::move(trimmed);
  }
  return lines;
}

bool ReadSmbConfLines(TextList& lines) {
  lines.clear();
  std::string text;
  for (const char* path : kSmbConfPaths) {
    if (ReadWholeFile(path, text) != 0) continue;
    lines = SmbConfLines(text);
    return true;
  }
  return false;
}

std::string SharePathFromLines(const TextList& lines, std::string_view name) {
  bool wanted = false;
  for (const std::string& line : lines) {
    std::string_view value, section;
    if (wanted && IsPathLine(line, 200, value) && !value.empty()) return std::string(value);
    if (IsShareHeader(line, section)) wanted = EqualsIgnoreAsciiCase(section, name);
  }
  return {};
}

ShareTable SharesFromLines(const TextList& lines) {
  enum class State { Outside, Open, Done };
  ShareTable table;
  State state = State::Outside;
  std::string section;
  for (const std::string& line : lines) {
    std::string_view value, header;
    if (state == State::Open && IsPathLine(line, 254, value)) {
      if (!section.empty() && !value.empty()) {
        bool replaced = false;
        for (SmbShare& share : table) {
          if (EqualsIgnoreAsciiCase(share.name, section)) {
            share.path = std::string(value);
            replaced = true;
            break;
          }
        }
        if (!replaced) table.push_back({section, std::string(value)});
        section.clear();
      }
      state = State::Done;
    }
    if (IsShareHeader(line, header)) {
      state = State::Open;
      section = std::string(header);
    }
  }
  return table;
}

std::string GetSharePfad(std::string_view name, std::string& error) {
  TextList lines;
  if (!ReadSmbConfLines(lines)) error = kSmbConfMissing;
  return SharePathFromLines(lines, name);
}

bool LoadSmbShares(ShareTable& table) {
  table.clear();
  TextList lines;
  if (!ReadSmbConfLines(lines)) TraceOrLog(kSmbConfMissing);
  table = SharesFromLines(lines);
  return !table.empty();
}

}  // namespace qor
