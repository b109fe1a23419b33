#include "version/version.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(VersionInfo, ValueByNameOrTheWholeTable) {
  const std::string_view table =
      "FileVersion=3.4.0.874\nFileDatum=08.05.2014\nFileName=qor_udf3\nPlatform=Linux\n";
  struct Case { std::string_view key, want; } cases[] = {
      {"FileVersion", "3.4.0.874"}, {" fileversion\t", "3.4.0.874"}, {"FILEDATUM", "08.05.2014"},
      {"FileName", "qor_udf3"},     {"Platform", "Linux"},             {"File", ""},
      {"Platforms", ""},            {"File Name", ""},                 {"", table},
      {" \t\r\n", table},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionInfo(c.key), c.want) << c.key;
}

}  // namespace
}  // namespace qor
