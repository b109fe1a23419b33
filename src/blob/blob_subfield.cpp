#include "blob/blob_subfield.h"

#include <vector>

#include "accounting/aufteilung.h"
#include "frame/strings.h"
#include "text/case_tables.h"

namespace qor {

namespace {

constexpr std::string_view kFieldLinePrefix = "FELDER=";
constexpr std::string_view kEntryEnd = "\r\n";

void AppendEntry(std::string& answer, std::string_view entry) {
  answer.append(entry).append(kEntryEnd);
}

// The item at `position` of a line's value, or empty when it has fewer.
std::string ValueAt(std::string_view line, int position) {
  return ListItem(LineValue(line), position, ',', BlanksSeparate);
}

}  // namespace

std::string SubFieldAnswer(std::string_view text, std::string_view field, std::string_view line) {
  std::string answer;
  if (text.size() < kFieldLinePrefix.size() ||
      !EqualsIgnoreAsciiCase(text.substr(0, kFieldLinePrefix.size()), kFieldLinePrefix)) {
    return answer;
  }
  const std::vector<std::string_view> lines = SplitLines(text);
  const size_t count = lines.size();  // at least the field line
  TextList names;
  ReadCommaText(LineValue(lines[0]), names);
  const std::string_view field_trimmed = TrimText(field);
  const std::string_view line_trimmed = TrimText(line);

  // Long answers are cut by the caller; there is no need to build more.
  auto full = [&answer] { return answer.size() > static_cast<size_t>(kSubFieldCap); };

  if (field_trimmed == "?") {
    size_t fields = 0;
    for (const auto& name : names) {
      if (!TrimText(name).empty()) ++fields;
    }
    return std::to_string(fields);
  }
  if (line_trimmed == "?") return std::to_string(count - 1);
  if (field_trimmed.empty()) {
    for (const auto& name : names) {
      if (full()) break;
      AppendEntry(answer, name);
    }
    return answer;
  }
  if (line_trimmed.empty()) {
    for (size_t i = 1; i < count && !full(); ++i) AppendEntry(answer, LineKey(lines[i]));
    return answer;
  }
  if (field_trimmed == "*") {
    TextList items;
    for (size_t i = 1; i < count && !full(); ++i) {
      if (!EqualsIgnoreAsciiCase(LineKey(lines[i]), line)) continue;
      ReadCommaText(LineValue(lines[i]), items);
      for (const auto& item : items) AppendEntry(answer, item);
    }
    return answer;
  }

  // A field name: its position among the names before the first empty one.
  int position = -1;
  for (size_t i = 0; i < names.size() && !names[i].empty(); ++i) {
    if (EqualsIgnoreAsciiCase(names[i], field)) {
      position = static_cast<int>(i);
      break;
    }
  }
  if (position < 0) return answer;
  if (!line.empty() && line[0] == '#') {
    const int32_t n = ParseLeadingInt(line.substr(1, 10));
    if (n >= 0 && static_cast<size_t>(n) < count) answer = ValueAt(lines[static_cast<size_t>(n)], position);
    return answer;
  }
  const bool every_line = line_trimmed == "*";
  for (size_t i = 1; i < count && !full(); ++i) {
    if (every_line || EqualsIgnoreAsciiCase(LineKey(lines[i]), line)) {
      AppendEntry(answer, ValueAt(lines[i], position));
    }
  }
  return answer;
}

std::string BlobSubField(const BlobSource& blob, std::string_view field, std::string_view line) {
  const BlobText text = ReadBlobText(blob);
  std::string answer = SubFieldAnswer(text.text(), field, line);
  if (answer.size() > static_cast<size_t>(kSubFieldCap)) answer.resize(kSubFieldCap);
  return answer;
}

}  // namespace qor
