#include "files/file_ops.h"

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/path_resolver.h"
#include "files/run_program.h"
#include "frame/file_io.h"
#include "frame/strings.h"

namespace qor {

namespace {

char StatusOf(std::string_view location) {
  const std::string resolved = GetAbsolutePfad(location);
  return resolved.empty() ? '\0' : resolved.front();
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool IsDatabaseFile(std::string_view name) noexcept {
  if (name.size() < 4) return false;
  const std::string_view ext = name.substr(name.size() - 4);
  for (const char* known : {".GDB", ".GBK", ".FDB", ".FBK"}) {
    if (EqualsIgnoreAsciiCase(ext, known)) return true;
  }
  return false;
}

int32_t FileExists(std::string_view location) {
  const char status = StatusOf(location);
  return status == '1' || status == '5' ? 1 : 0;
}

int32_t DirectoryExists(std::string_view location) {
  const char status = StatusOf(location);
  return status == '2' || status == '6' ? 1 : 0;
}

int32_t CreateDir(std::string_view location) {
  std::string resolved = GetAbsolutePfad(location);
  if (resolved.empty()) return 0;
  switch (resolved.front()) {
    case '1': case '2': case '5': case '6': return 1;
    case '0': break;
    default: return 0;
  }
  if (resolved.back() == '/' || resolved.back() == '\\') resolved.pop_back();
  std::string path = resolved.substr(1);
  // Only absolute paths: a relative one (a drive path such as c:\daten, a
  // share that is not configured) would make directories in the server's
  // working directory.
  if (path.empty() || path.front() != '/') return 0;
  if (!MakeDirectories(path, 0777, "/\\")) return 0;
  return IsDirectory(path) ? 1 : 0;
}

int32_t FileGetAttr(std::string_view location) {
  (void)GetAbsolutePfad(location);
  return 0;
}

int32_t FileSetRight(std::string_view path) {
  if (path.empty()) return 0;
  RunProgram({"chmod", "guo+rw", "--", std::string(path)}, nullptr);
  return 0;
}

int32_t DropDatabase(std::string_view path) {
  if (!IsDatabaseFile(path)) return 0;
  return unlink(std::string(path).c_str()) == 0 ? 1 : 0;
}

int32_t RenameDatabase(std::string_view old_path, std::string_view new_path) {
  if (!IsDatabaseFile(old_path) || !IsDatabaseFile(new_path)) return 0;
  return rename(std::string(old_path).c_str(), std::string(new_path).c_str()) == 0 ? 1 : 0;
}

}  // namespace qor
