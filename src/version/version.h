// Which build of the library is installed: four fixed name=value pairs.
#pragma once

#include <string>
#include <string_view>

namespace qor {

// The value of the entry named `key` (blanks around it ignored, letter case
// ignored through the lower case table), or the empty text when no name
// matches. An empty or all-blank key gives the whole table, each entry as
// name "=" value and LF.
std::string VersionInfo(std::string_view key);

}  // namespace qor
