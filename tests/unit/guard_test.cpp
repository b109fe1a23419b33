#include "frame/guard.h"

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/errors.h"
#include "frame/log.h"
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
      {[] { throw std::length_error("basic_string::_M_create"); }, "fn_SubString: Range check error"},
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

// The trace sink, with the trace directory and the working directory both
// pointed into a private temp directory.
class GuardTraceSink : public ::testing::Test {
 protected:
  void SetUp() override { ResetTraceFileName(); }
  void TearDown() override {
    SetTraceDir(nullptr);
    ResetTraceFileName();
  }
  // Runs each guard kind with the trace sink and a failing body.
  void RaiseThroughEveryGuard() {
    qortest::ScopedCwd cwd(dir_.path());
    auto fail = []() -> int { throw IoError("disk full"); };
    EXPECT_EQ(Guard("fn_BlobSaveToFile", -1, fail, LogSink::TraceLog), -1);
    char* text = GuardText("fn_BlobSaveToFile", []() -> std::string { throw IoError("disk full"); }, "",
                           LogSink::TraceLog);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    std::free(text);
    TFBTimeStamp* ts = GuardTimeStamp("fn_BlobSaveToFile", []() -> TFBTimeStamp { throw IoError("disk full"); },
                                      TFBTimeStamp{15018, 0}, LogSink::TraceLog);
    ASSERT_NE(ts, nullptr);
    std::free(ts);
  }
  qortest::TempDir dir_;
  std::string traces_ = dir_.File("traces");
};

TEST_F(GuardTraceSink, RecordGoesToTheTraceLogAndNotToTheErrorLog) {
  SetTraceDir(traces_.c_str());
  RaiseThroughEveryGuard();
  EXPECT_FALSE(std::filesystem::exists(dir_.File("qor_udf3.err")));
  ASSERT_NE(TraceFileName(), "");
  const std::string trace = qortest::ReadFile(traces_ + "/" + TraceFileName());
  const std::string line = " : fn_BlobSaveToFile: disk full\n";
  size_t count = 0;
  for (size_t at = trace.find(line); at != std::string::npos; at = trace.find(line, at + 1)) ++count;
  EXPECT_EQ(count, 3u) << trace;
}

// When the trace log cannot be written the record is not lost: it goes to
// the error log instead.
TEST_F(GuardTraceSink, FallsBackToTheErrorLogWhenTheTraceLogFails) {
  qortest::WriteFile(dir_.File("plain"), "a file, not a directory");
  const std::string blocked = dir_.File("plain/traces");
  SetTraceDir(blocked.c_str());
  RaiseThroughEveryGuard();
  const std::string log = qortest::ReadFile(dir_.File("qor_udf3.err"));
  size_t count = 0;
  for (size_t at = log.find(": fn_BlobSaveToFile: disk full"); at != std::string::npos;
       at = log.find(": fn_BlobSaveToFile: disk full", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 3u) << log;
  EXPECT_EQ(LastRecord(dir_), "fn_BlobSaveToFile: disk full");
  EXPECT_EQ(qortest::ReadFile(dir_.File("plain")), "a file, not a directory");
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
