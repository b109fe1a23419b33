// The error guard around every exported function: whatever is raised inside
// the body is caught, logged as "<function>: <message>", and the function
// returns a valid result of its kind to the server.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "frame/engine_types.h"
#include "frame/udf_result.h"

namespace qor {

// Where a caught error goes: the error log (the usual case) or the trace log.
enum class LogSink { ErrorLog, TraceLog };

// The message text of the exception being handled; valid while it is being
// handled. Call only inside a catch block.
const char* CurrentErrorMessage() noexcept;

// Writes "<function>: <message>" to the sink; never throws.
void ReportError(const char* function, std::string_view message, LogSink sink) noexcept;

// Runs body() and returns its result; after an error, logs it and returns
// `fallback`.
template <typename T, typename Body>
T Guard(const char* function, T fallback, Body&& body, LogSink sink = LogSink::ErrorLog) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ReportError(function, CurrentErrorMessage(), sink);
  }
  return fallback;
}

namespace guard_detail {

// Runs make(body()) and returns its result; after an error, logs it and
// returns fallback(). The shape of GuardText and GuardTimeStamp.
template <typename Body, typename Make, typename Fallback>
auto GuardResult(const char* function, Body&& body, Make&& make, Fallback&& fallback,
                 LogSink sink) noexcept -> decltype(fallback()) {
  try {
    return std::forward<Make>(make)(std::forward<Body>(body)());
  } catch (...) {
    ReportError(function, CurrentErrorMessage(), sink);
  }
  return std::forward<Fallback>(fallback)();
}

}  // namespace guard_detail

// For text results: body() gives the text, which is copied into a buffer the
// server frees; after an error the result is `fallback` in such a buffer.
template <typename Body>
char* GuardText(const char* function, Body&& body, std::string_view fallback = {},
                LogSink sink = LogSink::ErrorLog) noexcept {
  return guard_detail::GuardResult(
      function, std::forward<Body>(body), [](auto&& text) { return UdfResultStr(text); },
      [fallback] { return FallbackStr(fallback); }, sink);
}

// Like GuardText, for a function whose log record says more than the
// message: after an error, note() (called then, so it sees the state the
// error left) gives text appended to the message, as in
// "fn_Copy: Range check error Count=5". When the note cannot be made, the
// record holds the message alone.
template <typename Body, typename Note>
char* GuardTextNoted(const char* function, Body&& body, Note&& note,
                     std::string_view fallback = {}, LogSink sink = LogSink::ErrorLog) noexcept {
  try {
    return UdfResultStr(std::forward<Body>(body)());
  } catch (...) {
    const char* message = CurrentErrorMessage();
    try {
      ReportError(function, std::string(message) + std::forward<Note>(note)(), sink);
    } catch (...) {
      ReportError(function, message, sink);
    }
  }
  return FallbackStr(fallback);
}

// For timestamp results, like GuardText.
template <typename Body>
TFBTimeStamp* GuardTimeStamp(const char* function, Body&& body, TFBTimeStamp fallback,
                             LogSink sink = LogSink::ErrorLog) noexcept {
  return guard_detail::GuardResult(
      function, std::forward<Body>(body), [](auto&& value) { return UdfResultTimeStamp(value); },
      [&fallback] { return FallbackTimeStamp(fallback); }, sink);
}

}  // namespace qor
