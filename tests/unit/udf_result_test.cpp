// The allocator behind UdfAlloc can be replaced for the calls of one thread
// (the UDR front frees the results it gets with its own allocator).
#include <cstdlib>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "frame/guard.h"
#include "frame/udf_result.h"

namespace {

thread_local int t_calls = 0;

void* Counting(uint32_t size) {
  ++t_calls;
  return std::malloc(size);
}

TEST(UdfAllocator, ResultsOfThisThreadComeFromTheAllocatorSet) {
  t_calls = 0;
  ASSERT_EQ(qor::SetUdfAllocator(&Counting), nullptr);
  char* text = qor::GuardText("fn_Test", [] { return std::string_view("abc"); });
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(t_calls, 1);
  std::free(text);  // from Counting, so free() is its pair

  // Another thread still allocates through the server's allocator.
  int other_calls = -1;
  std::thread([&] {
    EXPECT_EQ(qor::SetUdfAllocator(nullptr), nullptr);
    other_calls = t_calls;
  }).join();
  EXPECT_EQ(other_calls, 0);

  EXPECT_EQ(qor::SetUdfAllocator(nullptr), &Counting);
}

}  // namespace
