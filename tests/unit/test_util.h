// Helpers shared by the unit tests.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalog.h"

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

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) { return catalog::ReadFile(path); }

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

// Switches LC_NUMERIC to a German locale (decimal comma) for the scope, the
// way a server process may run. When no German locale is installed, one is
// built with localedef into a temporary directory named by LOCPATH.
class GermanNumericLocale {
 public:
  GermanNumericLocale() {
    old_ = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) return;
    }
    if (dir_.path().empty()) return;
    std::string target = dir_.File("de_DE.UTF-8");
    std::string cmd = "localedef -i de_DE -f UTF-8 " + target + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 && !std::filesystem::exists(target + "/LC_NUMERIC")) return;
    setenv("LOCPATH", dir_.path().c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) unsetenv("LOCPATH");
  }
  ~GermanNumericLocale() {
    std::setlocale(LC_NUMERIC, old_.c_str());
    unsetenv("LOCPATH");
  }
  GermanNumericLocale(const GermanNumericLocale&) = delete;
  GermanNumericLocale& operator=(const GermanNumericLocale&) = delete;
  // Whether the decimal separator of the C library is now a comma.
  bool active() const { return std::localeconv()->decimal_point[0] == ','; }

 private:
  std::string old_;
  TempDir dir_;
};

}  // namespace qortest
