// Trace lines of the path functions.
#pragma once

#include <string_view>

namespace qor {

// Writes a trace line; when the trace log cannot be written, the line goes
// to the error log instead. Never throws.
void TraceOrLog(std::string_view message) noexcept;

}  // namespace qor
