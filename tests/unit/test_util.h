// Helpers shared by the unit tests.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace qortest {

// A fresh directory under the temp directory, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string base = std::filesystem::temp_directory_path().string() + "/qor_unit_XXXXXX";
    if (mkdtemp(base.data()) != nullptr) path_ = base;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[8192];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

inline void WriteFile(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// Runs the rest of a scope in another working directory.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::string& dir) {
    char buf[4096];
    if (getcwd(buf, sizeof buf) != nullptr) old_ = buf;
    if (chdir(dir.c_str()) != 0) old_.clear();
  }
  ~ScopedCwd() {
    if (!old_.empty()) (void)chdir(old_.c_str());
  }
  ScopedCwd(const ScopedCwd&) = delete;
  ScopedCwd& operator=(const ScopedCwd&) = delete;

 private:
  std::string old_;
};

}  // namespace qortest
