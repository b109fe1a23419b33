// Reads the SQL declaration script, the one place where every function is
// declared and documented. The README function table, the export check and
// the engine examples are all taken from it.
//
// A declaration block in the script looks like this:
//
//   -- ## Accounting
//   -- fn_SHSoll(side, amount)
//   --   The amount when the side flag is exactly 'S', else 0.
//   --   Example: fn_SHSoll('S', 100.5) -> 100.5
//   DECLARE EXTERNAL FUNCTION fn_SHSoll
//     CSTRING(16) NULL, DOUBLE PRECISION
//     RETURNS DOUBLE PRECISION BY VALUE
//     ENTRY_POINT 'fn_SHSoll' MODULE_NAME 'qor_udf3.dll';
//
// An optional "--   Logs: ..." line says what the function writes to the logs
// when that is not the usual error-log record of a caught error.
//
// "-- ## <title>" starts a group of functions. An example's expected value is
// a number, NULL, or a text in single quotes (SQL quoting, plus \n, \r, \t
// and \\ for control characters).
#pragma once

#include <string>
#include <vector>

namespace catalog {

struct Example {
  std::string expr;      // SQL expression, e.g. fn_SHSoll('S', 100.5)
  std::string expected;  // as written in the script
  int line = 0;
};

struct Function {
  std::string name;
  std::string group;
  std::string signature;  // fn_SHSoll(side, amount)
  std::string doc;
  std::string arguments;  // the declared argument list
  std::string returns;    // the declared RETURNS clause
  std::vector<Example> examples;
  std::string declaration;  // the whole DECLARE statement
  std::string logs;  // "Logs: ..." lines, when the function logs other than through the usual guard
};

struct Catalog {
  std::vector<Function> functions;
  std::vector<std::string> errors;  // problems found in the script
};

Catalog Parse(const std::string& script);
std::string ReadFile(const std::string& path);

// The function table for the README, between the markers below.
inline constexpr const char* kReadmeBegin = "<!-- functions:begin -->";
inline constexpr const char* kReadmeEnd = "<!-- functions:end -->";
std::string ReadmeTable(const Catalog& catalog);

// The expected value of an example decoded: kind 'N' (NULL), 'T' (text in
// `text`) or 'D' (number in `number`).
struct Expected {
  char kind = 'N';
  std::string text;
  double number = 0;
};
bool DecodeExpected(const std::string& written, Expected& out);

}  // namespace catalog
