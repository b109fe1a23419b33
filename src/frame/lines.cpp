#include "frame/lines.h"

namespace qor {

namespace {

bool NeedsQuotes(std::string_view item) {
  for (char c : item) {
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  }
  return false;
}

void AppendQuoted(std::string& out, std::string_view item) {
  out.push_back('"');
  for (char c : item) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

bool IsAsciiAlnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

bool NextLine(std::string_view text, size_t& pos, std::string_view& line) noexcept {
  if (pos >= text.size()) return false;
  size_t end = pos;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  line = text.substr(pos, end - pos);
  if (end < text.size()) end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
  pos = end;
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  std::string_view line;
  while (NextLine(text, pos, line)) lines.push_back(line);
  return lines;
}

std::string JoinCommaText(const TextList& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  size_t size = items.size();
  for (const auto& item : items) size += item.size() + 2;
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.push_back(',');
    if (NeedsQuotes(items[i])) {
      AppendQuoted(out, items[i]);
    } else {
      out.append(items[i]);
    }
  }
  return out;
}

std::string QuoteNonAlnum(std::string_view value) {
  for (char c : value) {
    if (!IsAsciiAlnum(c)) {
      std::string out;
      out.reserve(value.size() + 2);
      AppendQuoted(out, value);
      return out;
    }
  }
  return std::string(value);
}

}  // namespace qor
