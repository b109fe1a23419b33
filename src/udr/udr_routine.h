// The shape of a routine as the UDR front serves it: the legacy entry point's
// arguments in order and the kind of its result. The table of all routines is
// generated from the declaration script (qor_gen), so the front itself
// knows nothing about particular functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor::udr {

// The value kinds of legacy arguments and results.
enum class Kind : uint8_t {
  Text,       // CSTRING(n): NUL-terminated bytes
  Double,     // DOUBLE PRECISION
  Integer,    // INTEGER (32-bit)
  Smallint,   // SMALLINT (16-bit)
  Bigint,     // BIGINT (64-bit)
  TimeStamp,  // TIMESTAMP (engine date and time)
  Date,       // DATE (engine date)
  Blob,       // BLOB (callback record)
};

// How the legacy entry point hands its result back.
enum class ResultMode : uint8_t {
  ByValue,      // a number returned directly
  ByReference,  // a pointer the server must not free (e.g. the argument changed in place)
  FreeIt,       // a pointer from ib_util_malloc the server frees
  Parameter,    // the result is the blob argument `parameter` (1-based)
};

inline constexpr size_t kMaxArgs = 15;

struct ArgDecl {
  Kind kind = Kind::Double;
  uint32_t length = 0;    // Text: declared CSTRING length
  bool nullable = false;  // declared NULL: SQL NULL arrives as a nil pointer (blobs: a record without a handle either way)
};

struct ResultDecl {
  Kind kind = Kind::Double;
  ResultMode mode = ResultMode::ByValue;
  uint32_t length = 0;     // Text: declared CSTRING length
  uint32_t parameter = 0;  // ResultMode::Parameter: 1-based argument number
};

struct RoutineDecl {
  const char* name;  // the exported entry point, also the UDR entry name
  ResultDecl result;
  uint32_t arg_count;
  ArgDecl args[kMaxArgs];
};

}  // namespace qor::udr
