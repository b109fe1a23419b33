#include "text/list_functions.h"

#include "frame/lines.h"
#include "frame/strings.h"
#include "frame/case_tables.h"
#include "text/text_functions.h"

namespace qor {

char ListSeparator(std::string_view separator) noexcept {
  return separator.empty() ? ',' : separator.front();
}

std::string ListItemAt(std::string_view text, int32_t n, char separator) {
  return ListItem(text, n, separator, BlanksInItems);
}

std::string ListItemCut(std::string_view text, int32_t n, char separator, int32_t& maximum) {
  if (maximum < 0) maximum = 0;
  if (maximum > kMaxSubStrCount) maximum = kMaxSubStrCount;
  std::string item = ListItemAt(text, n, separator);
  if (maximum > 0 && item.size() > static_cast<size_t>(maximum)) item.resize(static_cast<size_t>(maximum));
  return item;
}

std::string CommaTextValue(std::string_view text, std::string_view name) {
  TextList items;
  ReadCommaText(text, items);
  for (const std::string& item : items) {
    const size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    if (EqualsIgnoreCase(std::string_view(item).substr(0, eq), name)) return item.substr(eq + 1);
  }
  return {};
}

}  // namespace qor
