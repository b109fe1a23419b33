// The exported text functions called directly, as the server calls them:
// what they store back into their arguments, the pointers they return into
// their arguments, and nil pointers. The engine cannot show these (it passes
// copies), and its allocator works only inside its own calls, so the built
// library is loaded here without the engine.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "library_exports.h"
#include "test_util.h"

namespace {

using qortest::Export;
using qortest::Take;

TEST(TextExports, InPlaceResultsPointIntoTheArgument) {
  using InPlaceFn = char*(char*);
  auto* trim = Export<InPlaceFn>("fn_Trim");
  auto* upper = Export<InPlaceFn>("fn_UpperCase");
  auto* lower = Export<InPlaceFn>("fn_LowerCase");
  auto* version = Export<InPlaceFn>("fn_Version");
  ASSERT_TRUE(trim && upper && lower && version);
  char buf[] = "  ab c\t ";
  EXPECT_EQ(trim(buf), buf + 2);
  EXPECT_EQ(std::string(buf, sizeof buf - 1), std::string("  ab c\0 ", 8));
  char all_blank[] = " \t ";
  EXPECT_EQ(trim(all_blank), all_blank);
  EXPECT_EQ(all_blank[0], '\0');
  char text[] = "a\xFF\xDF";
  EXPECT_EQ(upper(text), text);
  EXPECT_STREQ(text, "AY\xDF");
  EXPECT_EQ(lower(text), text);
  EXPECT_STREQ(text, "ay\xDF");
  EXPECT_EQ(trim(nullptr), nullptr);
  EXPECT_EQ(upper(nullptr), nullptr);
  EXPECT_EQ(lower(nullptr), nullptr);
  char key[] = " platform ";  // fn_Version trims its key in place as well
  EXPECT_EQ(Take(version(key)), "Linux");
  EXPECT_EQ(std::string(key, sizeof key - 1), std::string(" platform\0", 10));
}

TEST(TextExports, StoredBackArguments) {
  using SubFn = char*(const char*, int32_t*, int32_t*);
  using PositionFn = char*(const char*, const int16_t*, const char*, int16_t*);
  auto* substr_ex = Export<SubFn>("fn_SubStrEx");
  auto* substring = Export<SubFn>("fn_SubString");
  auto* copy = Export<SubFn>("fn_Copy");
  auto* position = Export<PositionFn>("fn_GetCommaPosition");
  ASSERT_TRUE(substr_ex && substring && copy && position);
  struct Case {
    SubFn* fn;
    int32_t start, count;
    const char* want;
    int32_t start_after, count_after;
  } cases[] = {
      {substr_ex, -3, 40, "abcdef", 1, 6}, {substr_ex, 2, 3, "bcd", 2, 3},
      {substr_ex, 7, 2, "", 7, 2},         {substring, 0, 2147483647, "abcdef", 1, 6},
      {copy, 2, 40000, "bcdef", 1, 5},     {copy, -3, 2, "ab", 0, 2},
      {copy, 8, 1, "", 7, 1},
  };
  for (const auto& c : cases) {
    int32_t start = c.start, count = c.count;
    EXPECT_EQ(Take(c.fn("abcdef", &start, &count)), c.want) << c.start << "," << c.count;
    EXPECT_EQ(start, c.start_after) << c.start << "," << c.count;
    EXPECT_EQ(count, c.count_after) << c.start << "," << c.count;
  }
  const int16_t one = 1;
  for (auto [maximum, stored, want] : {std::tuple<int16_t, int16_t, const char*>{32767, 32759, "def"},
                                       {-7, 0, "def"}, {2, 2, "de"}}) {
    int16_t m = maximum;
    EXPECT_EQ(Take(position("abc,def", &one, ",", &m)), want) << maximum;
    EXPECT_EQ(m, stored) << maximum;
  }
  // Nil pointers everywhere: the empty text, nothing stored.
  EXPECT_EQ(Take(substr_ex(nullptr, nullptr, nullptr)), "");
  EXPECT_EQ(Take(copy(nullptr, nullptr, nullptr)), "");
  EXPECT_EQ(Take(position(nullptr, nullptr, nullptr, nullptr)), "");
}

TEST(TextExports, NilArguments) {
  using OneText = char*(const char*);
  using Chars = char*(const void*);
  auto* soundex = Export<OneText>("fn_Soundex");
  auto* version = Export<OneText>("fn_Version");
  auto* ascii = Export<Chars>("fn_Ascii_Char2");
  auto* int_text = Export<Chars>("fn_IntToStr");
  auto* float_text = Export<Chars>("fn_FloatToStr");
  auto* crlf = Export<Chars>("fn_CrLf");
  auto* compare = Export<int32_t(const char*, const char*)>("fn_CompareText");
  auto* pos = Export<int32_t(const char*, const char*)>("fn_Pos");
  auto* replace = Export<char*(const char*, const char*, const char*)>("fn_ReplaceStr");
  auto* str_replace =
      Export<char*(const char*, const char*, const char*, const int16_t*, const int16_t*)>("fn_StrReplace");
  auto* get_pos = Export<char*(const char*, const int16_t*, const char*)>("fn_GetPos");
  auto* comma_pos = Export<char*(const char*, const int16_t*)>("fn_GetCommaPos");
  auto* comma_value = Export<char*(const char*, const char*)>("fn_CommaTextValue");
  ASSERT_TRUE(soundex && version && ascii && int_text && float_text && crlf && compare && pos &&
              replace && str_replace && get_pos && comma_pos && comma_value);
  EXPECT_EQ(soundex(nullptr), nullptr);
  EXPECT_EQ(Take(version(nullptr)).size(), 76u);
  EXPECT_EQ(Take(ascii(nullptr)), "");
  EXPECT_EQ(Take(int_text(nullptr)), "0");
  EXPECT_EQ(Take(float_text(nullptr)), "0");
  EXPECT_EQ(Take(crlf(nullptr)), "");
  EXPECT_EQ(compare(nullptr, nullptr), 0);
  EXPECT_EQ(pos(nullptr, nullptr), 0);
  EXPECT_EQ(Take(replace(nullptr, nullptr, nullptr)), "");
  EXPECT_EQ(Take(str_replace(nullptr, nullptr, nullptr, nullptr, nullptr)), "");
  EXPECT_EQ(Take(get_pos(nullptr, nullptr, nullptr)), "");
  EXPECT_EQ(Take(comma_pos(nullptr, nullptr)), "");
  EXPECT_EQ(Take(comma_value(nullptr, nullptr)), "");
}
// A NUL-terminated text of more than 2^31 bytes without the memory: one
// 16 MiB block of 'a' mapped again and again, then a page of zeros.
class HugeText {
 public:
  static constexpr size_t kBlock = size_t{16} << 20;
  static constexpr size_t kBlocks = 129;  // 2^31 + 16 MiB
  static constexpr size_t kLength = kBlock * kBlocks;

  HugeText() {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const int fd = memfd_create("huge_text", 0);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(kBlock)) != 0) return;
    void* block = mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (block == MAP_FAILED) return;
    std::memset(block, 'a', kBlock);
    munmap(block, kBlock);
    size_ = kLength + page;
    void* base = mmap(nullptr, size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return;
    base_ = static_cast<char*>(base);
    bool ok = true;
    for (size_t i = 0; i < kBlocks && ok; ++i) {
      ok = mmap(base_ + i * kBlock, kBlock, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, fd, 0) != MAP_FAILED;
    }
    ok = ok && mmap(base_ + kLength, page, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED;
    close(fd);
    ready_ = ok;
  }
  ~HugeText() {
    if (base_ != nullptr) munmap(base_, size_);
  }
  HugeText(const HugeText&) = delete;
  HugeText& operator=(const HugeText&) = delete;
  const char* text() const { return ready_ ? base_ : nullptr; }

 private:
  char* base_ = nullptr;
  size_t size_ = 0;
  bool ready_ = false;
};

// The record after the date-time stamp of the last error-log record.
std::string LastRecord(const qortest::TempDir& dir) {
  const std::string log = qortest::ReadFile(dir.File("qor_udf3.err"));
  const size_t cr = log.rfind('\r');
  if (cr == std::string::npos) return "";
  const size_t colon = log.find(": ", cr);
  return colon == std::string::npos ? "" : log.substr(colon + 2);
}

// A text beyond the 32-bit length range is the one input that makes the
// substring functions fail: fn_Copy's record carries the count, and
// fn_SubString's record is fn_SubStrEx's.
TEST(TextExports, CaughtErrorsLeaveTheirRecords) {
  using SubFn = char*(const char*, int32_t*, int32_t*);
  auto* copy = Export<SubFn>("fn_Copy");
  auto* substring = Export<SubFn>("fn_SubString");
  ASSERT_TRUE(copy && substring);
  HugeText huge;
  ASSERT_NE(huge.text(), nullptr) << "cannot map the long text";
  ASSERT_EQ(std::strlen(huge.text()), HugeText::kLength);
  qortest::TempDir dir;
  qortest::ScopedCwd cwd(dir.path());
  int32_t index = 0, count = 3;
  EXPECT_EQ(Take(copy(huge.text(), &index, &count)), "");
  EXPECT_EQ(LastRecord(dir), "fn_Copy: Range check error Count=3");
  EXPECT_EQ(index, 0);  // a failed call stores nothing back
  EXPECT_EQ(count, 3);
  int32_t start = 2;
  count = -1;
  EXPECT_EQ(Take(substring(huge.text(), &start, &count)), "");
  EXPECT_EQ(LastRecord(dir), "fn_SubStrEx: Range check error");
}

// The two switches of fn_StrReplace are on for exactly 1 and for nothing
// else: 0, 2, -1, 257 (whose low byte is 1) and a NULL all mean off.
TEST(TextExports, StrReplaceSwitchesOnlyForExactlyOne) {
  auto* str_replace =
      Export<char*(const char*, const char*, const char*, const int16_t*, const int16_t*)>("fn_StrReplace");
  ASSERT_TRUE(str_replace);
  const int16_t one = 1;
  for (const int16_t value : {int16_t{0}, int16_t{2}, int16_t{-1}, int16_t{257}, int16_t{-32767}}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(Take(str_replace("x", "-", "aXbxcx", &one, &value)), "aXb-c-");  // case kept
    EXPECT_EQ(Take(str_replace("x", "-", "aXbxcx", &value, &one)), "a-bxcx");  // first only
  }
  EXPECT_EQ(Take(str_replace("x", "-", "aXbxcx", &one, nullptr)), "aXb-c-");
  EXPECT_EQ(Take(str_replace("x", "-", "aXbxcx", nullptr, &one)), "a-bxcx");
  EXPECT_EQ(Take(str_replace("x", "-", "aXbxcx", &one, &one)), "a-b-c-");
  EXPECT_EQ(Take(str_replace("\xE4", "-", "\xC4\xE4", &one, &one)), "--");  // Latin-1 letters fold too
}

}  // namespace
