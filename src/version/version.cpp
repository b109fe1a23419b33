#include "version/version.h"

#include <array>

#include "frame/case_tables.h"

namespace qor {

namespace {

struct VersionEntry {
  std::string_view name;
  std::string_view value;
};

// QOR_FILE_VERSION comes from the build: the project version in the top-level
// CMakeLists.txt, which names the package too.
constexpr std::array<VersionEntry, 4> kVersionTable{{
    {"FileVersion", QOR_FILE_VERSION},
    {"FileDatum", "08.05.2014"},
    {"FileName", "qor_udf3"},
    {"Platform", "Linux"},
}};

}  // namespace

std::string VersionInfo(std::string_view key) {
  key = TrimText(key);
  std::string out;
  if (key.empty()) {
    for (const VersionEntry& e : kVersionTable) {
      out.append(e.name).append("=").append(e.value).append("\n");
    }
    return out;
  }
  for (const VersionEntry& e : kVersionTable) {
    if (EqualsIgnoreCase(e.name, key)) return std::string(e.value);
  }
  return out;
}

}  // namespace qor
