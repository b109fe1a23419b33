#include "frame/log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "frame/errors.h"
#include "frame/file_io.h"
#include "frame/unique_fd.h"

namespace qor {

std::atomic<int32_t> TraceLevel{0};

namespace {

// Guards TraceFileName. A plain buffer rather than a std::string so that it
// holds no heap memory between calls and needs no destructor at unload.
std::mutex g_trace_mutex;
char g_trace_file_name[64];
// Null: kTraceDir. Set only by tests.
std::atomic<const char*> g_trace_dir{nullptr};

void AppendNumber(std::string& out, int value, bool two_digits) {
  if (two_digits || value >= 10) out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

int LockFile(int fd) {
  int rc;
  do {
    rc = flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

// Set once the refused trace directory has been named in the error log.
std::atomic<bool> g_trace_dir_noted{false};

[[noreturn]] void RefuseTraceDir(const std::string& dir, const std::string& reason) {
  std::string message = "Trace directory " + dir + " not used: " + reason;
  LogErrorOnce(g_trace_dir_noted, message);
  throw IoError(message);
}

// Opens the trace directory, making it when it is missing. Anyone who could
// place a file or link in it could make the trace write elsewhere, so it
// must be the process's own directory, not a link, and writable by no one
// else.
UniqueFd OpenTraceDir(const std::string& dir) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  UniqueFd fd(open(dir.c_str(), kFlags));
  if (fd.get() < 0 && errno == ENOENT) {
    if (!MakeDirectories(dir, 0700)) {
      throw IoError("Cannot create directory " + dir + ": " + std::strerror(errno));
    }
    fd.reset(open(dir.c_str(), kFlags));
  }
  if (fd.get() < 0) {
    const int error = errno;
    struct stat link;
    if (lstat(dir.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      RefuseTraceDir(dir, "it is a symbolic link");
    }
    throw IoError("Cannot create directory " + dir + ": " + std::strerror(error));
  }
  struct stat st;
  std::string reason;
  if (fstat(fd.get(), &st) != 0) {
    reason = std::strerror(errno);
  } else if (st.st_uid != geteuid()) {
    reason = "it belongs to user " + std::to_string(st.st_uid);
  } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    reason = "its group or others may write it";
  }
  if (!reason.empty()) RefuseTraceDir(dir, reason);
  return fd;
}

// Appends the line to the file `name` in the open trace directory. A file
// that would grow beyond kTraceFileLimit is first renamed to "<name>.1".
// Several threads or processes may find the file full at once: the rename
// runs under an flock() on the full file, and only while the name still
// stands for it, so one writer rotates and the others go on in the new file.
void AppendTraceLine(int dir_fd, const std::string& path, const std::string& name,
                     const std::string& line) {
  const off_t length = static_cast<off_t>(line.size());
  for (int round = 0;; ++round) {
    UniqueFd file(openat(dir_fd, name.c_str(),
                         O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                         0600));
    if (file.get() < 0) throw IoError("Cannot open " + path + ": " + std::strerror(errno));
    struct stat st;
    if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1) {
      throw IoError("Cannot open " + path + ": not a regular file with one name");
    }
    if (round < 2 && st.st_size > 0 && st.st_size > kTraceFileLimit - length) {
      struct stat now;
      if (LockFile(file.get()) == 0 && fstatat(dir_fd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
          now.st_dev == st.st_dev && now.st_ino == st.st_ino) {
        (void)renameat(dir_fd, name.c_str(), dir_fd, (name + ".1").c_str());
      }
      continue;  // closing releases the lock
    }
    if (!WriteAll(file.get(), line.data(), line.size())) {
      throw IoError("Cannot write " + path + ": " + std::strerror(errno));
    }
    if (!file.Close()) throw IoError("Cannot write " + path + ": " + std::strerror(errno));
    return;
  }
}

}  // namespace

std::string OneLineText(std::string_view message) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(message.size());
  for (const char c : message) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 32 && byte != '\t') || byte == 127) {
      out.append("\\x").push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string LogDateTimeText(const std::tm& t) {
  std::string out;
  out.reserve(20);
  AppendNumber(out, t.tm_mday, false);
  out.push_back('-');
  AppendNumber(out, t.tm_mon + 1, false);
  out.push_back('-');
  AppendNumber(out, (t.tm_year + 1900) % 100, true);
  if (t.tm_hour != 0 || t.tm_min != 0 || t.tm_sec != 0) {
    out.push_back(' ');
    AppendNumber(out, t.tm_hour, true);
    out.push_back(':');
    AppendNumber(out, t.tm_min, true);
    out.push_back(':');
    AppendNumber(out, t.tm_sec, true);
  }
  return out;
}

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// Several server threads, and in the Classic mode several server processes,
// append to the same error log. The whole read-cut-write cycle runs under an
// exclusive flock() on the open file: flock() serialises separate opens of
// the file within one process as well as across processes, so a record is
// always written whole and a cut never drops a record that another writer
// adds at the same moment. The new content is written before the file is
// shortened, so even a writer killed half-way leaves the old records in
// place rather than an empty log.
void AppendErrorRecord(const std::string& path, std::string_view date_time,
                       std::string_view message) noexcept {
  try {
    // Not through a symbolic link, and without waiting on a pipe or device
    // that was put in the log's place. Closing releases the lock.
    const UniqueFd file(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    const int fd = file.get();
    if (fd < 0 || LockFile(fd) != 0) return;
    struct stat st;
    // Only a regular file with no other name: the cut below would cut
    // whatever file a second name stands for.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink <= 1) {
      std::string record;
      bool cut = st.st_size > kErrorLogKeep;
      if (cut) {
        record.resize(kErrorLogKeep);
        if (ReadAllAt(fd, record.data(), record.size(), st.st_size - kErrorLogKeep)) {
          size_t cr = record.find('\r');
          if (cr != std::string::npos) record.erase(0, cr + 1);
        } else {
          cut = false;  // unreadable: leave the file as it is, append only
          record.clear();
        }
      }
      record.reserve(record.size() + date_time.size() + message.size() + 3);
      record.push_back('\r');
      record.append(date_time);
      record.append(": ");
      record.append(OneLineText(message));
      if (cut) {
        if (WriteAllAt(fd, record.data(), record.size(), 0)) {
          (void)ftruncate(fd, static_cast<off_t>(record.size()));
        }
      } else {
        WriteAllAt(fd, record.data(), record.size(), st.st_size);
      }
    }
  } catch (...) {
    // The error log is the last resort: nothing is reported from here.
  }
}

void LogErrorOnce(std::atomic<bool>& logged, std::string_view message) noexcept {
  if (!logged.exchange(true)) LogError(message);
}

void LogError(std::string_view message) noexcept {
  try {
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);  // any length
    if (cwd == nullptr) return;
    std::string path(cwd.get());
    if (path.empty() || path.back() != '/') path.push_back('/');
    path.append(kErrorLogName);
    AppendErrorRecord(path, LogDateTimeText(LocalNow()), message);
  } catch (...) {
  }
}

// Trace lines are written with a single write() on a file opened with
// O_APPEND, so lines from concurrent threads or processes never interleave
// inside a line. The file name is fixed once per process under a mutex.
void WriteTraceLine(const std::string& dir, std::string_view message, const std::tm& now) {
  if (TraceLevel.load(std::memory_order_relaxed) < 0) return;
  std::string date_time = LogDateTimeText(now);
  std::string name;
  {
    std::lock_guard<std::mutex> lock(g_trace_mutex);
    if (g_trace_file_name[0] == '\0') {
      std::string made = date_time;
      for (char& c : made) {
        if (c == ':' || c == '.' || c == ' ') c = '_';
      }
      made += ".log";
      std::memcpy(g_trace_file_name, made.c_str(), made.size() + 1);
    }
    name = g_trace_file_name;
  }
  std::string line;
  if (message.empty()) {
    line = "---";
  } else {
    line.reserve(date_time.size() + message.size() + 4);
    line.append(date_time).append(" : ").append(OneLineText(message));
  }
  line.push_back('\n');

  const UniqueFd dir_fd = OpenTraceDir(dir);
  std::string path = dir;
  if (path.back() != '/') path.push_back('/');
  path += name;
  AppendTraceLine(dir_fd.get(), path, name, line);
}

void LogTrace(std::string_view message) {
  const char* dir = g_trace_dir.load(std::memory_order_acquire);
  WriteTraceLine(dir != nullptr ? dir : kTraceDir, message, LocalNow());
}

void SetTraceDir(const char* dir) noexcept { g_trace_dir.store(dir, std::memory_order_release); }

std::string TraceFileName() {
  std::lock_guard<std::mutex> lock(g_trace_mutex);
  return g_trace_file_name;
}

void ResetTraceFileName() noexcept {
  std::lock_guard<std::mutex> lock(g_trace_mutex);
  g_trace_file_name[0] = '\0';
  g_trace_dir_noted.store(false);
}

}  // namespace qor
