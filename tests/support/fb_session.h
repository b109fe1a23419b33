// A small client of the Firebird engine for the tests: attach to a database
// and run statements, reading results as plain values.
#pragma once

#include <ibase.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fbtest {

struct SqlValue {
  bool is_null = true;
  short type = 0;       // SQL_TEXT, SQL_DOUBLE, ... without the nullable bit
  std::string text;     // SQL_TEXT, SQL_VARYING, SQL_BLOB
  int64_t integer = 0;  // SQL_SHORT, SQL_LONG, SQL_INT64 (unscaled)
  int scale = 0;
  double number = 0;    // every numeric type, scaled
  ISC_TIMESTAMP timestamp{};  // SQL_TIMESTAMP; SQL_TYPE_DATE / SQL_TYPE_TIME fill one half

  bool IsText() const { return type == SQL_TEXT || type == SQL_VARYING || type == SQL_BLOB; }
  // A readable rendering for failure messages.
  std::string Show() const;
};

using Row = std::vector<SqlValue>;

class FbSession {
 public:
  // Attaches to an existing database as SYSDBA, with the connection
  // character set `charset` (empty: none named, which the engine takes as
  // NONE): texts are sent and read in it.
  explicit FbSession(const std::string& database, const std::string& charset = "");
  ~FbSession();
  FbSession(const FbSession&) = delete;
  FbSession& operator=(const FbSession&) = delete;

  // Runs one statement in its own transaction and commits; returns the rows
  // of a query. Throws std::runtime_error with the engine's message.
  std::vector<Row> Query(const std::string& sql);
  // The single value of a one-row, one-column query.
  SqlValue Scalar(const std::string& sql);
  void Execute(const std::string& sql) { Query(sql); }

 private:
  isc_db_handle db_ = 0;
};

// The engine's messages for a failed call.
std::string StatusText(const ISC_STATUS* status);

}  // namespace fbtest
