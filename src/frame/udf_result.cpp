#include "frame/udf_result.h"

#include <ib_util.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "frame/errors.h"

namespace qor {

namespace {
thread_local UdfAllocator t_allocator = nullptr;
}  // namespace

UdfAllocator SetUdfAllocator(UdfAllocator allocator) noexcept {
  UdfAllocator previous = t_allocator;
  t_allocator = allocator;
  return previous;
}

void* UdfAlloc(uint32_t size) {
  void* p = t_allocator != nullptr ? t_allocator(size) : ib_util_malloc(static_cast<long>(size));
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

std::string FitTextResult(std::string text) {
  if (std::min(text.find('\0'), text.size()) > kMaxTextResult) {
    throw UdfError("Result longer than " + std::to_string(kMaxTextResult) + " bytes");
  }
  return text;
}

char* UdfResultStr(std::string_view text, int32_t maximum) {
  size_t n = text.size();
  if (n == 0 || maximum < 0) {
    n = 0;
  } else if (maximum > 0 && static_cast<size_t>(maximum) < n) {
    n = static_cast<size_t>(maximum);
  }
  if (n >= UINT32_MAX) throw std::bad_alloc();
  char* out = static_cast<char*>(UdfAlloc(static_cast<uint32_t>(n + 1)));
  if (n > 0) std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return out;
}

TFBTimeStamp* UdfResultTimeStamp(const TFBTimeStamp& value) {
  if (value.date < kMinEngineDate || value.date > kMaxEngineDate || value.time > kMaxEngineTime) {
    throw RangeError();
  }
  auto* out = static_cast<TFBTimeStamp*>(UdfAlloc(sizeof(TFBTimeStamp)));
  *out = value;
  return out;
}

char* FallbackStr(std::string_view text) noexcept {
  try {
    return UdfResultStr(text);
  } catch (...) {
    return nullptr;
  }
}

TFBTimeStamp* FallbackTimeStamp(const TFBTimeStamp& value) noexcept {
  try {
    return UdfResultTimeStamp(value);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace qor
