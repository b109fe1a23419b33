#include "frame/guard.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "frame/log.h"

namespace qor {

const char* CurrentErrorMessage() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::out_of_range&) {
    return "Range check error";
  } catch (const std::length_error&) {
    return "Range check error";
  } catch (const std::overflow_error&) {
    return "Arithmetic overflow";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void ReportError(const char* function, std::string_view message, LogSink sink) noexcept {
  try {
    std::string record = function == nullptr ? std::string() : std::string(function);
    record.append(": ").append(message);
    if (sink == LogSink::TraceLog) {
      try {
        LogTrace(record);
        return;
      } catch (...) {
        // The trace log failed as well: keep the record in the error log.
      }
    }
    LogError(record);
  } catch (...) {
  }
}

}  // namespace qor
