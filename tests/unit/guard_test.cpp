#include "frame/guard.h"

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "test_util.h"

namespace qor {
namespace {

// The text of the last record of the error log in `dir`, after the
// date-time stamp.
std::string LastRecord(const qortest::TempDir& dir) {
  std::string text = qortest::ReadFile(dir.File("qor_udf3.err"));
  size_t cr = text.rfind('\r');
  if (cr == std::string::npos) return "";
  size_t colon = text.find(": ", cr);
  return colon == std::string::npos ? "" : text.substr(colon + 2);
}

TEST(Guard, LogsTheFunctionNameAndTheMessageAndReturnsTheFallback) {
  struct Case {
    void (*raise)();
    const char* logged;
  } cases[] = {
      {[] { throw RangeError(); }, "fn_SubString: Range check error"},
      {[] { throw OverflowError(); }, "fn_SubString: Arithmetic overflow"},
      {[] { throw std::bad_alloc(); }, "fn_SubString: Out of memory"},
      {[] { (void)std::string("abc").at(7); }, "fn_SubString: Range check error"},
      {[] { throw UdfError("'12x' is not a valid date"); }, "fn_SubString: '12x' is not a valid date"},
      {[] { throw 42; }, "fn_SubString: Unknown error"},
  };
  for (const auto& c : cases) {
    qortest::TempDir dir;
    qortest::ScopedCwd cwd(dir.path());
    double r = Guard("fn_SubString", -1.5, [&] {
      c.raise();
      return 0.0;
    });
    EXPECT_EQ(r, -1.5);
    EXPECT_EQ(LastRecord(dir), c.logged);
  }
}

TEST(Guard, PassesTheResultThroughWhenNothingFails) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  EXPECT_EQ(Guard("fn_X", 0, [] { return 7; }), 7);
  char* text = GuardText("fn_X", [] { return std::string("abc"); });
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "abc");
  std::free(text);
  EXPECT_FALSE(std::filesystem::exists(dir.File("qor_udf3.err")));
}

TEST(Guard, TextAndTimeStampResultsFallBackToFreshBuffers) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  char* text = GuardText("fn_Kontenbereich", []() -> std::string { throw RangeError(); }, "0");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "0");
  std::free(text);
  TFBTimeStamp* ts = GuardTimeStamp("fn_GetDateTime", []() -> TFBTimeStamp { throw OverflowError(); },
                                    TFBTimeStamp{15018, 0});
  ASSERT_NE(ts, nullptr);
  EXPECT_EQ(ts->date, 15018);
  EXPECT_EQ(ts->time, 0u);
  std::free(ts);
  EXPECT_EQ(LastRecord(dir), "fn_GetDateTime: Arithmetic overflow");
}

// The server refuses a timestamp outside the years 1 to 9999 and fails the
// caller's statement: such a result is a logged range error instead.
TEST(Guard, TimeStampsOutsideTheEngineYearsAreRangeErrors) {
  struct Case {
    TFBTimeStamp value;
    bool valid;
  } cases[] = {{{-678575, 0}, true},  {{2973483, 863999999}, true}, {{-678576, 0}, false},
               {{2973484, 0}, false}, {{60000, 864000000}, false}};
  for (const auto& c : cases) {
    qortest::TempDir dir;
    qortest::ScopedCwd cwd(dir.path());
    TFBTimeStamp* ts = GuardTimeStamp("fn_Ablauf_Tag", [&] { return c.value; }, TFBTimeStamp{15018, 0});
    ASSERT_NE(ts, nullptr);
    EXPECT_EQ(ts->date, c.valid ? c.value.date : 15018) << c.value.date;
    EXPECT_EQ(ts->time, c.valid ? c.value.time : 0u) << c.value.date;
    std::free(ts);
    EXPECT_EQ(LastRecord(dir), c.valid ? "" : "fn_Ablauf_Tag: Range check error") << c.value.date;
  }
}

TEST(Guard, TraceSinkWritesNotToTheErrorLog) {
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  // The trace directory may not be writable here; either way the error log
  // gets nothing unless the trace log fails.
  int r = Guard("fn_BlobSaveToFile", 0, []() -> int { throw IoError("disk full"); }, LogSink::TraceLog);
  EXPECT_EQ(r, 0);
  if (std::filesystem::exists(dir.File("qor_udf3.err"))) {
    EXPECT_EQ(LastRecord(dir), "fn_BlobSaveToFile: disk full");
  }
}

TEST(Checks, RaiseRangeAndOverflowErrors) {
  EXPECT_EQ(CheckedInt32(-2147483648LL), INT32_MIN);
  EXPECT_THROW(CheckedInt32(2147483648LL), RangeError);
  EXPECT_EQ(CheckedAdd<int32_t>(2147483646, 1), INT32_MAX);
  EXPECT_THROW(CheckedAdd<int32_t>(INT32_MAX, 1), OverflowError);
  EXPECT_THROW(CheckedMul<int64_t>(INT64_MAX / 2 + 1, 2), OverflowError);
}

TEST(UdfResultStr, CopiesUpToTheMaximum) {
  struct Case {
    const char* text;
    int32_t maximum;
    const char* result;
  } cases[] = {
      {"abcdef", 3, "abc"}, {"abcdef", 0, "abcdef"}, {"abcdef", 10, "abcdef"},
      {"abcdef", 6, "abcdef"}, {"abcdef", -1, ""}, {"", 0, ""}, {"", 5, ""},
  };
  for (const auto& c : cases) {
    char* out = UdfResultStr(c.text, c.maximum);
    EXPECT_STREQ(out, c.result) << c.text << " " << c.maximum;
    std::free(out);
  }
}

}  // namespace
}  // namespace qor
