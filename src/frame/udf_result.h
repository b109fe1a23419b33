// Results handed back to the server in buffers that the server frees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/engine_types.h"

namespace qor {

// The longest text result a query can fetch (a text value holds at most
// 32765 bytes, whatever the declared CSTRING). The server keeps the length of
// a result in 16 bits: longer texts fail the caller's statement, and from
// 65536 bytes on they would arrive silently cut to their length modulo 65536.
inline constexpr size_t kMaxTextResult = 32765;

// text itself when the part the server reads (up to its first NUL) is at
// most kMaxTextResult bytes; else raises UdfError "Result longer than 32765
// bytes", so that the guard logs it and answers its fallback.
std::string FitTextResult(std::string text);

// A fresh buffer from the server's ib_util_malloc. Throws std::bad_alloc when
// the allocator has nothing left.
void* UdfAlloc(uint32_t size);

// The allocator behind UdfAlloc for calls on this thread; nil means
// ib_util_malloc. The UDR front calls the entry points with its own
// allocator, since memory from the server's ib_util_malloc can only be freed
// by the server's legacy call. Returns the previous one.
using UdfAllocator = void* (*)(uint32_t size);
UdfAllocator SetUdfAllocator(UdfAllocator allocator) noexcept;

// A fresh NUL-terminated copy of text, cut to `maximum` bytes when
// 1 <= maximum < length; maximum 0 means no limit and a negative maximum
// gives the empty text.
char* UdfResultStr(std::string_view text, int32_t maximum = 0);

// A fresh engine timestamp holding `value`. Throws RangeError for a date
// outside the engine's years 1 to 9999 or a time beyond the day, which the
// server would refuse, failing the caller's whole statement.
TFBTimeStamp* UdfResultTimeStamp(const TFBTimeStamp& value);

// The text result of last resort: a buffer holding `text`, or nil (SQL NULL)
// when not even that can be allocated. Never throws.
char* FallbackStr(std::string_view text) noexcept;

// Same for a timestamp result.
TFBTimeStamp* FallbackTimeStamp(const TFBTimeStamp& value) noexcept;

}  // namespace qor
