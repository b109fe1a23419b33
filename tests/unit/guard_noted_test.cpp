// The text guard whose log record carries a note after the message.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "frame/guard.h"
#include "test_util.h"

namespace qor {
namespace {

std::string Records(const qortest::TempDir& dir) { return qortest::ReadFile(dir.File("qor_udf3.err")); }

TEST(GuardTextNoted, AppendsTheNoteMadeAfterTheError) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  int count = 3;
  char* text = GuardTextNoted(
      "fn_Copy",
      [&]() -> std::string {
        count = 7;  // the note sees what the body left
        throw RangeError();
      },
      [&] { return " Count=" + std::to_string(count); });
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "");
  std::free(text);
  const std::string log = Records(dir);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), '\r');
  EXPECT_EQ(log.substr(log.find(": ") + 2), "fn_Copy: Range check error Count=7");
}

TEST(GuardTextNoted, MessageAloneWhenTheNoteFails) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  char* text = GuardTextNoted(
      "fn_Copy", []() -> std::string { throw OverflowError(); },
      []() -> std::string { throw std::bad_alloc(); }, "x");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "x");
  std::free(text);
  const std::string log = Records(dir);
  EXPECT_EQ(log.substr(log.find(": ") + 2), "fn_Copy: Arithmetic overflow");
}

TEST(GuardTextNoted, NoRecordAndNoNoteWithoutAnError) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  bool noted = false;
  char* text = GuardTextNoted("fn_Copy", [] { return std::string_view("bcd"); }, [&] {
    noted = true;
    return std::string();
  });
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "bcd");
  std::free(text);
  EXPECT_FALSE(noted);
  EXPECT_FALSE(std::filesystem::exists(dir.File("qor_udf3.err")));
}

}  // namespace
}  // namespace qor
