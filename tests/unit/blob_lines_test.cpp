#include "blob/blob_lines.h"

#include <string>

#include <gtest/gtest.h>

#include "fake_blob.h"
#include "frame/blob_io.h"

namespace qor {
namespace {

const std::string kSettings = "Host=alpha\nport=5\nHost=beta\nHostname";

TEST(ListValue, FindsTheFirstLineOfThatNameIgnoringCase) {
  struct Case {
    std::string text;
    const char* name;
    const char* value;
  } cases[] = {
      {kSettings, "host", "alpha"},
      {kSettings, "Port", "5"},
      {kSettings, "Hostname", ""},  // a line without "=" has no name
      {kSettings, "", ""},
      {"=x\r\nA=1=2", "", "x"},
      {"=x\r\nA=1=2", "a", "1=2"},
      {"a = 1", "a", ""},  // names are not trimmed
      {"a = 1", "a ", " 1"},
      {"\xC4RGER=1\rx=2", "\xE4rger", "1"},  // ISO-8859-1 letters fold too
      {"", "a", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ListValue(c.text, c.name), c.value) << c.text << " / " << c.name;
}

TEST(ListLine, SelectsTheLinesThatHoldTheKey) {
  const std::string all = "Host=alpha\xC2\xA6Host=beta\xC2\xA6Hostname";
  struct Case {
    const char* key;
    int16_t mode;
    std::string lines;
  } cases[] = {
      {"Host", 0, all},
      {"Host", 1, "Host=alpha"},
      {"Host", 2, "Host=beta"},
      {"Host", 3, "Hostname"},
      {"Host", 4, ""},
      {"host", 1, ""},  // case-sensitive
      {"host", 0, ""},
      {"host", -1, "Host=alpha"},
      {"host", -3, "Hostname"},
      {"PORT", -1, "port=5"},
      {"=", -2, "port=5"},
      {"", 0, ""},
      {"", -1, ""},
      {"Host", -32768, ""},
      {"alpha\nport", 0, ""},  // no line holds a line end
      {"5\r", -1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ListLine(kSettings, c.key, c.mode), c.lines) << c.key << " " << c.mode;
  // A line counts once however often it holds the key; CR, LF and CR LF end
  // lines; the lines are given as they are, also when matched ignoring case.
  struct TextCase {
    std::string text;
    const char* key;
    int16_t mode;
    std::string lines;
  } text_cases[] = {
      {"abab\r\nab\rxab\n\nab", "ab", 2, "ab"},
      {"abab\r\nab\rxab\n\nab", "ab", 3, "xab"},
      {"abab\r\nab\rxab\n\nab", "ab", 4, "ab"},
      {"abab\r\nab\rxab\n\nab", "ab", 0, "abab\xC2\xA6" "ab\xC2\xA6xab\xC2\xA6" "ab"},
      {"x\nyAbAB\nAB", "ab", -1, "yAbAB"},
      {"x\nyAbAB\nAB", "ab", -2, "AB"},
      {"\n\nkey", "key", 1, "key"},
      {"key\n", "key", 2, ""},
      {std::string(100000, '~') + "key" + std::string(100000, '~') + "\nkey", "KEY", -2, "key"},
  };
  for (const auto& c : text_cases) {
    EXPECT_EQ(ListLine(c.text, c.key, c.mode), c.lines) << c.text.substr(0, 40) << " / " << c.key << " " << c.mode;
  }
  EXPECT_EQ(ListLine("\xE4rger\n", "\xC4R", -1), "\xE4rger");
  // The key is folded as well as the line, ISO-8859-1 letters included.
  EXPECT_EQ(ListLine("x\n\xC4RGER=1\n", "\xE4r", -1), "\xC4RGER=1");
  EXPECT_EQ(ListLine("\xDE\xC0\xD6\n", "\xFE\xE0\xF6", -1), "\xDE\xC0\xD6");
  EXPECT_EQ(ListLine("\xC4RGER=1\n", "\xE4r", 0), "");  // not without mode < 0
}

TEST(ScanText, FindsTheTextIgnoringCase) {
  struct Case {
    std::string text;
    const char* needle;
    int32_t position;
  } cases[] = {
      {kSettings, "ALPHA", 6},
      {kSettings, "", 0},
      {kSettings, "gamma", 0},
      {kSettings, "hostNAME", 29},
      {"\xE4rger", "\xC4R", 1},
      {"x\xC4RGER", "\xE4r", 2},  // the search text is folded too
      {"\xDE\xC0\xD6", "\xFE\xE0\xF6", 1},
      {"ab", "abc", 0},
      {"", "a", 0},
  };
  for (auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ScanText(text.data(), text.size(), c.needle), c.position) << c.text << " / " << c.needle;
  }
}

TEST(ScanText, SearchesTheBlobUpToItsFirstNul) {
  qortest::FakeBlob blob(std::string("ab\0cd", 5));
  BlobText text = ReadBlobText(blob.source());
  EXPECT_EQ(ScanText(text.data(), text.text().size(), "cd"), 0);
  EXPECT_EQ(ScanText(text.data(), text.text().size(), "B"), 2);
}

// A needle that almost matches everywhere: the search stays linear (a plain
// search here would compare about 10^10 bytes).
TEST(ScanText, LongNearMissesStayLinear) {
  std::string text(2000000, 'a');
  std::string needle(32000, 'a');
  needle.back() = 'b';
  EXPECT_EQ(ScanText(text.data(), text.size(), needle), 0);
  text.replace(text.size() - needle.size(), needle.size(), needle);
  EXPECT_EQ(ScanText(text.data(), text.size(), needle), static_cast<int32_t>(2000000 - 32000 + 1));
  std::string lines;
  for (int i = 0; i < 20; ++i) lines += std::string(100000, 'a') + "\n";
  EXPECT_EQ(ListLine(lines, needle, -1), "");
}

}  // namespace
}  // namespace qor
