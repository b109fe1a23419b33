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

// The kinds of the declared arguments and results, and how a result is
// handed back. Every reader of the script (generators, fronts' tables, the
// fuzz target, the benchmarks) works on these.
enum class ArgKind { Text, Double, Integer, Smallint, Bigint, TimeStamp, Date, Blob };
enum class ReturnMode { ByValue, ByReference, FreeIt, Parameter };

struct ArgShape {
  ArgKind kind = ArgKind::Double;
  int length = 0;         // CSTRING(n)
  std::string charset;    // CHARACTER SET of a CSTRING, if declared
  bool nullable = false;  // NULL after the type
};

struct Shape {
  std::vector<ArgShape> args;  // legacy arguments in declared order
  ArgKind result = ArgKind::Double;
  int result_length = 0;
  std::string result_charset;
  ReturnMode mode = ReturnMode::ByValue;
  int parameter = 0;  // RETURNS PARAMETER n (1-based)
  bool served = true;  // false when ParseShape refused the declaration
};

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
  Shape shape;              // the declaration's argument and result kinds
  std::string shape_error;  // why `shape` is not served (empty when it is)
};

struct Catalog {
  std::vector<Function> functions;
  std::vector<std::string> errors;  // problems found in the script
};

// Reads the script once: every function with its documentation, examples
// and typed shape.
Catalog Parse(const std::string& script);
std::string ReadFile(const std::string& path);

// Reads the argument list and RETURNS clause of a declaration. False, with a
// reason in `error`, for declarations the UDR front cannot serve.
bool ParseShape(const Function& f, Shape& out, std::string& error);

// Every function's shape; problems are appended to `errors`, and a function
// with a declaration the front cannot serve gets a shape with served false
// (the generated table and UDR scripts leave it out; the legacy front keeps
// serving it).
std::vector<Shape> Shapes(const Catalog& cat, std::vector<std::string>& errors);

// Text helpers shared by the generators.
std::string Upper(std::string s);  // ASCII letters only
std::string Trim(const std::string& s);
// Splits at the commas outside parentheses and quotes
// ("NUMERIC(15,2), CSTRING(8)" is two items), each item trimmed.
std::vector<std::string> SplitTopLevel(const std::string& s);
// A Markdown table cell: a bare "|" escaped.
std::string TableCell(const std::string& s);

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
