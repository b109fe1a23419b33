// Helpers the engine test files share: files, the error log, one-value
// queries and SQL literals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "catalog.h"
#include "engine.h"

namespace fbtest {

std::string ReadFileBytes(const std::string& path) { return catalog::ReadFile(path); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

std::string ErrorLogPath() { return WorkDir() + "/qor_udf3.err"; }

std::string ErrorLog() { return ReadFileBytes(ErrorLogPath()); }

SqlValue ScalarLogged(const std::string& expr, std::string& log) {
  std::remove(ErrorLogPath().c_str());
  SqlValue v = Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE");
  log = ErrorLog();
  return v;
}

std::string Text(const std::string& expr) {
  SqlValue v = Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE");
  EXPECT_FALSE(v.is_null) << expr;
  return v.text;
}

double Number(const std::string& expr) {
  SqlValue v = Db().Scalar("SELECT " + expr + " FROM RDB$DATABASE");
  EXPECT_FALSE(v.is_null) << expr;
  return v.number;
}

void ExpectOneRecord(const std::string& log, const std::string& record) {
  EXPECT_EQ(std::count(log.begin(), log.end(), '\r'), 1) << log;
  ASSERT_GE(log.size(), record.size()) << log;
  EXPECT_EQ(log.substr(log.size() - record.size()), record) << log;
}

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string SqlText(const std::string& text) {
  std::string literal = "'";
  for (char c : text) {
    if (c == '\n') {
      literal += '~';
    } else if (c == '\r') {
      literal += '^';
    } else if (c == '\'') {
      literal += "''";
    } else {
      literal += c;
    }
  }
  literal += "'";
  return "REPLACE(REPLACE(CAST(" + literal + " AS VARCHAR(32765)), '~', ASCII_CHAR(10)), '^', ASCII_CHAR(13))";
}

}  // namespace fbtest
