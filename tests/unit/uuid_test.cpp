#include "text/uuid.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace qor {
namespace {

void ExpectUuidShape(const std::string& text) {
  ASSERT_EQ(text.size(), 36u) << text;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      EXPECT_EQ(text[i], '-') << text;
    } else {
      EXPECT_TRUE((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'A' && text[i] <= 'F')) << text;
    }
  }
  EXPECT_EQ(text[14], '4') << text;
  EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos) << text;
}

TEST(UuidText, GroupsTheBytesInOrder) {
  UuidBytes b{};
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 17);
  EXPECT_EQ(UuidText(b), "00112233-4455-6677-8899-AABBCCDDEEFF");
  MarkRandomUuid(b);
  EXPECT_EQ(UuidText(b), "00112233-4455-4677-8899-AABBCCDDEEFF");
  b.fill(0xFF);
  MarkRandomUuid(b);
  EXPECT_EQ(UuidText(b), "FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF");
}

TEST(NewUuidText, FreshEveryCall) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    const std::string t = NewUuidText();
    ExpectUuidShape(t);
    EXPECT_TRUE(seen.insert(t).second) << t;
  }
}

TEST(KernelRandomBytes, Readable) {
  UuidBytes a{}, b{};
  ASSERT_TRUE(KernelRandomBytes(a));
  ASSERT_TRUE(KernelRandomBytes(b));
  EXPECT_NE(a, b);
}

// The fallback, used when the kernel source fails, repeats no value even
// when called faster than the clocks tick.
TEST(PseudoRandomBytes, NeverRepeat) {
  std::set<UuidBytes> seen;
  for (int i = 0; i < 20000; ++i) EXPECT_TRUE(seen.insert(PseudoRandomBytes()).second) << i;
  // Every bit position takes both values.
  UuidBytes ones{}, zeros{};
  zeros.fill(0xFF);
  for (const UuidBytes& b : seen) {
    for (size_t i = 0; i < b.size(); ++i) {
      ones[i] |= b[i];
      zeros[i] &= b[i];
    }
  }
  UuidBytes all{};
  all.fill(0xFF);
  EXPECT_EQ(ones, all);
  EXPECT_EQ(zeros, UuidBytes{});
}

}  // namespace
}  // namespace qor
