#include "text/uuid.h"

#include <sys/random.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace qor {

namespace {

// The splitmix64 step: a bijection of the state that mixes every bit.
uint64_t Mix(uint64_t x) noexcept {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

uint64_t ClockNanos(clockid_t clock) noexcept {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

}  // namespace

bool KernelRandomBytes(UuidBytes& out) noexcept {
  size_t got = 0;
  while (got < out.size()) {
    const ssize_t n = getrandom(out.data() + got, out.size() - got, GRND_NONBLOCK);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<size_t>(n);
  }
  return true;
}

UuidBytes PseudoRandomBytes() noexcept {
  // Only the fallback path counts calls: the counter keeps two calls of one
  // process (on any thread) apart even within one clock tick.
  static std::atomic<uint64_t> calls{0};
  const uint64_t n = calls.fetch_add(1, std::memory_order_relaxed);
  uint64_t state = Mix(ClockNanos(CLOCK_REALTIME));
  state = Mix(state ^ ClockNanos(CLOCK_MONOTONIC));
  state = Mix(state ^ (static_cast<uint64_t>(getpid()) << 32) ^
              static_cast<uint64_t>(syscall(SYS_gettid)));
  state = Mix(state ^ n);
  UuidBytes out{};
  for (size_t half = 0; half < 2; ++half) {
    state = Mix(state);
    for (size_t i = 0; i < 8; ++i) out[half * 8 + i] = static_cast<uint8_t>(state >> (8 * i));
  }
  return out;
}

void MarkRandomUuid(UuidBytes& bytes) noexcept {
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
}

std::string UuidText(const UuidBytes& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(36);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back('-');
    out.push_back(kHex[bytes[i] >> 4]);
    out.push_back(kHex[bytes[i] & 0x0F]);
  }
  return out;
}

std::string NewUuidText() {
  UuidBytes bytes{};
  if (!KernelRandomBytes(bytes)) bytes = PseudoRandomBytes();
  MarkRandomUuid(bytes);
  return UuidText(bytes);
}

}  // namespace qor
