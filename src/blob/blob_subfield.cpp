#include "blob/blob_subfield.h"

#include <functional>

#include "frame/lines.h"
#include "frame/strings.h"
#include "frame/case_tables.h"

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

// Calls visit with the items of a comma text, one at a time, until it
// returns false.
void ForEachItem(std::string_view value, const std::function<bool(const std::string&)>& visit) {
  ForEachListItem(value, ',', BlanksSeparate, visit);
}

// The share lines of the text, read one at a time from `from` (just past the
// field line), so that a blob of many lines needs no list of them.
void ForEachShareLine(std::string_view text, size_t from,
                      const std::function<bool(std::string_view)>& visit) {
  std::string_view line;
  while (NextLine(text, from, line)) {
    if (!visit(line)) return;
  }
}

}  // namespace

std::string SubFieldAnswer(std::string_view text, std::string_view field, std::string_view line) {
  std::string answer;
  if (text.size() < kFieldLinePrefix.size() ||
      !EqualsIgnoreAsciiCase(text.substr(0, kFieldLinePrefix.size()), kFieldLinePrefix)) {
    return answer;
  }
  size_t shares = 0;  // where the share lines start
  std::string_view field_line;
  NextLine(text, shares, field_line);  // the text is not empty: there is one
  const std::string_view names = LineValue(field_line);
  const std::string_view field_trimmed = TrimText(field);
  const std::string_view line_trimmed = TrimText(line);

  // Long answers are cut by the caller; there is no need to build more.
  auto room = [&answer] { return answer.size() <= static_cast<size_t>(kSubFieldCap); };

  if (field_trimmed == "?") {
    size_t fields = 0;
    ForEachItem(names, [&](const std::string& name) {
      if (!TrimText(name).empty()) ++fields;
      return true;
    });
    return std::to_string(fields);
  }
  if (line_trimmed == "?") {
    size_t count = 0;
    ForEachShareLine(text, shares, [&](std::string_view) {
      ++count;
      return true;
    });
    return std::to_string(count);
  }
  if (field_trimmed.empty()) {
    ForEachItem(names, [&](const std::string& name) {
      AppendEntry(answer, name);
      return room();
    });
    return answer;
  }
  if (line_trimmed.empty()) {
    ForEachShareLine(text, shares, [&](std::string_view share) {
      AppendEntry(answer, LineKey(share));
      return room();
    });
    return answer;
  }
  if (field_trimmed == "*") {
    ForEachShareLine(text, shares, [&](std::string_view share) {
      if (EqualsIgnoreAsciiCase(LineKey(share), line)) {
        ForEachItem(LineValue(share), [&](const std::string& item) {
          AppendEntry(answer, item);
          return room();
        });
      }
      return room();
    });
    return answer;
  }

  // A field name: its position among the names before the first empty one.
  int position = -1;
  int index = 0;
  ForEachItem(names, [&](const std::string& name) {
    if (name.empty()) return false;
    if (EqualsIgnoreAsciiCase(name, field)) {
      position = index;
      return false;
    }
    ++index;
    return true;
  });
  if (position < 0) return answer;
  if (!line.empty() && line[0] == '#') {
    const int32_t n = ParseLeadingInt(line.substr(1, 10));
    if (n < 0) return answer;
    if (n == 0) return ValueAt(field_line, position);
    int32_t at = 0;
    ForEachShareLine(text, shares, [&](std::string_view share) {
      if (++at < n) return true;
      answer = ValueAt(share, position);
      return false;
    });
    return answer;
  }
  const bool every_line = line_trimmed == "*";
  ForEachShareLine(text, shares, [&](std::string_view share) {
    if (every_line || EqualsIgnoreAsciiCase(LineKey(share), line)) {
      AppendEntry(answer, ValueAt(share, position));
    }
    return room();
  });
  return answer;
}

std::string BlobSubField(const BlobSource& blob, std::string_view field, std::string_view line) {
  const BlobText text = ReadBlobText(blob);
  std::string answer = SubFieldAnswer(text.text(), field, line);
  if (answer.size() > static_cast<size_t>(kSubFieldCap)) answer.resize(kSubFieldCap);
  return answer;
}

}  // namespace qor
