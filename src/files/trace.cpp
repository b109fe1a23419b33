#include "files/trace.h"

#include "frame/log.h"

namespace qor {

void TraceOrLog(std::string_view message) noexcept {
  try {
    LogTrace(message);
  } catch (...) {
    LogError(message);
  }
}

}  // namespace qor
