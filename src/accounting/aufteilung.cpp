#include "accounting/aufteilung.h"

namespace qor {

FieldLine FindFieldLine(const std::vector<std::string_view>& lines) {
  FieldLine found;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (EqualsIgnoreAsciiCase(LineKey(lines[i]), kFieldLineKey)) {
      found.index = static_cast<int>(i);
      ReadCommaText(LineValue(lines[i]), found.names);
      break;
    }
  }
  return found;
}

int FieldPosition(const TextList& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualsIgnoreAsciiCase(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace qor
