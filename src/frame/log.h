// The library's two logs: the short error log in the server's working
// directory and the trace log under /tmp/QOR_UDF.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace qor {

inline constexpr const char* kErrorLogName = "qor_udf3.err";
inline constexpr const char* kTraceDir = "/tmp/QOR_UDF";
// The error log keeps at most this many bytes of old records.
inline constexpr long kErrorLogKeep = 4000;
// A trace file that would grow beyond this many bytes is renamed to
// "<name>.1" (replacing an older one) and a new file is begun: a process
// keeps at most twice this much trace, the newest records.
inline constexpr long kTraceFileLimit = 4L << 20;

// The trace log writes while this is >= 0. Set to 0 when the library loads.
extern std::atomic<int32_t> TraceLevel;

// Date-time text of both logs: day-month-yy hh:mm:ss without leading zeros on
// day and month ("8-2-26 07:05:09"); just "8-2-26" when the time is 00:00:00.
std::string LogDateTimeText(const std::tm& local);
std::tm LocalNow();

// A message as both logs write it: every control byte but the tab (bytes
// below 32, and 127) as "\xHH", so that a name holding line breaks or
// terminal controls stays within its one record.
std::string OneLineText(std::string_view message);

// Appends one record to the error log "qor_udf3.err" in the current working
// directory. Never fails visibly and never throws.
void LogError(std::string_view message) noexcept;

// LogError once: the first call with a given flag logs, later ones do not.
// For notices about the host that would otherwise repeat with every call.
void LogErrorOnce(std::atomic<bool>& logged, std::string_view message) noexcept;

// The record-appending step of LogError on an explicit file, stamped with the
// given date-time text. A log that is no regular file, that is a symbolic
// link, or that has more than one name (a hard link to some other file) is
// left alone, as one that cannot be written.
void AppendErrorRecord(const std::string& path, std::string_view date_time,
                       std::string_view message) noexcept;

// Writes one line to this process's trace file in /tmp/QOR_UDF. Throws
// IoError when the directory or the file cannot be made or written, and
// when either is not safely the server's own: the directory must be a
// directory (not a link) of the process's effective user that neither its
// group nor others may write (it is made with mode 0700), the file a regular
// file that is no link and has no second name. The first refused directory
// is named in the error log, once per process.
void LogTrace(std::string_view message);

// Points LogTrace at another directory (tests keep the real trace directory
// clean this way); nullptr restores kTraceDir. `dir` must outlive its use.
void SetTraceDir(const char* dir) noexcept;

// LogTrace into another directory at a given local time.
void WriteTraceLine(const std::string& dir, std::string_view message, const std::tm& now);

// The trace file name fixed by the first trace line of this process, or empty.
std::string TraceFileName();
// Forgets the trace file name, and that a refused trace directory has been
// named in the error log (library unload; tests).
void ResetTraceFileName() noexcept;

}  // namespace qor
