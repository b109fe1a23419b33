// In the sanitizer build, leaks fail the unit tests: this checks that leak
// detection is really on there. A block is leaked on purpose (its address
// kept only in a scrambled form), a leak check must find it, and then it is
// freed so that the check at exit stays clean. The report of the found leak
// on standard error is expected.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__)
volatile uintptr_t g_hidden = 0;
constexpr uintptr_t kScramble = 0x5a5a5a5aUL;

__attribute__((noinline)) void LeakABlock() {
  auto* p = static_cast<char*>(std::malloc(4096));
  p[0] = 1;
  g_hidden = reinterpret_cast<uintptr_t>(p) ^ kScramble;
}

TEST(SanitizerBuild, DetectsLeaks) {
  LeakABlock();
  const int found = __lsan_do_recoverable_leak_check();
  std::free(reinterpret_cast<void*>(g_hidden ^ kScramble));
  EXPECT_EQ(found, 1) << "leak detection is off (ASAN_OPTIONS detect_leaks=0?)";
}
#endif

}  // namespace
