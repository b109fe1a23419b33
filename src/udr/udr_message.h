// The engine's messages as the UDR front sees them: the layout it asks for
// when a routine is set up, the offsets it plans from that layout, and the
// reading of legacy arguments from the input message and the writing of
// results into the output message. Blob contents are udr_blob.h's job; this
// part only knows where a blob id sits.
#pragma once

#include <firebird/Interface.h>
#include <ibase.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "frame/engine_types.h"
#include "udr/udr_routine.h"
#include "udr/udr_status.h"

namespace qor::udr {

// Where one argument sits in the input message.
struct ArgPlan {
  Kind kind = Kind::Double;
  bool nullable = false;
  bool returned = false;  // the blob that carries the result: not in the input message
  unsigned offset = 0;
  unsigned null_offset = 0;
  unsigned capacity = 0;  // text: bytes the message field holds
};

// Where the result sits in the output message.
struct ResultPlan {
  Kind kind = Kind::Double;
  unsigned offset = 0;
  unsigned null_offset = 0;
  unsigned capacity = 0;  // text: bytes the message field holds
};

struct MessagePlan {
  ArgPlan args[kMaxArgs];
  ResultPlan result;
  bool has_blobs = false;  // an argument or the result is a blob
};

// Bytes of a value of a fixed-size kind in a message (0 for text).
constexpr unsigned ValueLength(Kind kind) {
  switch (kind) {
    case Kind::Double: return sizeof(double);
    case Kind::Integer: return sizeof(int32_t);
    case Kind::Smallint: return sizeof(int16_t);
    case Kind::Bigint: return sizeof(int64_t);
    case Kind::TimeStamp: return sizeof(TFBTimeStamp);
    case Kind::Date: return sizeof(int32_t);
    case Kind::Blob: return sizeof(ISC_QUAD);
    case Kind::Text: break;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Setup: the layout the front asks for and the plan of its offsets.

inline unsigned ValueType(Kind kind) {
  switch (kind) {
    case Kind::Text: return SQL_VARYING;
    case Kind::Double: return SQL_DOUBLE;
    case Kind::Integer: return SQL_LONG;
    case Kind::Smallint: return SQL_SHORT;
    case Kind::Bigint: return SQL_INT64;
    case Kind::TimeStamp: return SQL_TIMESTAMP;
    case Kind::Date: return SQL_TYPE_DATE;
    case Kind::Blob: return SQL_BLOB;
  }
  return SQL_DOUBLE;
}

// The message field of a text holds at most this many bytes.
constexpr unsigned kMaxTextField = 32766;

// Fixes the message layout of a routine: every argument arrives in the form
// its legacy kind needs, whatever SQL type the declaration gave it, and text
// fields get one byte more than declared for the terminating NUL. Either
// builder may be nil.
inline void Layout(Firebird::CheckStatusWrapper* status, const RoutineDecl& decl,
                   Firebird::IRoutineMetadata* metadata, Firebird::IMetadataBuilder* in_builder,
                   Firebird::IMetadataBuilder* out_builder) {
  if (in_builder != nullptr) {
    Firebird::IMessageMetadata* in = metadata->getInputMetadata(status);
    if (Failed(status)) return;
    const unsigned declared = in->getCount(status);
    unsigned expected = decl.arg_count;
    if (decl.result.mode == ResultMode::Parameter) --expected;
    if (!Failed(status) && declared != expected) SetMismatch(status, decl.name);
    unsigned param = 0;
    for (unsigned i = 0; i < decl.arg_count && !Failed(status); ++i) {
      if (decl.result.mode == ResultMode::Parameter && decl.result.parameter == i + 1) continue;
      const Kind kind = decl.args[i].kind;
      if (kind == Kind::Text) {
        unsigned len = in->getLength(status, param);
        if (len >= kMaxTextField) len = kMaxTextField - 1;
        in_builder->setType(status, param, SQL_VARYING);
        in_builder->setLength(status, param, len + 1);
      } else {
        in_builder->setType(status, param, ValueType(kind));
        in_builder->setLength(status, param, ValueLength(kind));
        if (kind != Kind::Blob) in_builder->setScale(status, param, 0);
      }
      ++param;
    }
    in->release();
    if (Failed(status)) return;
  }
  if (out_builder != nullptr) {
    Firebird::IMessageMetadata* out = metadata->getOutputMetadata(status);
    if (Failed(status)) return;
    const unsigned outs = out->getCount(status);
    if (!Failed(status) && outs != 1) SetMismatch(status, decl.name);
    const Kind kind = decl.result.mode == ResultMode::Parameter ? Kind::Blob : decl.result.kind;
    if (!Failed(status)) {
      if (kind == Kind::Text) {
        unsigned len = out->getLength(status, 0);
        if (len > kMaxTextField) len = kMaxTextField;
        out_builder->setType(status, 0, SQL_VARYING);
        out_builder->setLength(status, 0, len);
      } else {
        out_builder->setType(status, 0, ValueType(kind));
        out_builder->setLength(status, 0, ValueLength(kind));
        if (kind != Kind::Blob) out_builder->setScale(status, 0, 0);
      }
    }
    out->release();
  }
}

// The message as Layout makes it: a builder over the declared message with
// Layout's changes applied. Nil after an error.
inline Firebird::IMessageMetadata* LaidOut(Firebird::CheckStatusWrapper* status,
                                           const RoutineDecl& decl,
                                           Firebird::IRoutineMetadata* metadata, bool input) {
  Firebird::IMessageMetadata* declared =
      input ? metadata->getInputMetadata(status) : metadata->getOutputMetadata(status);
  if (Failed(status) || declared == nullptr) return nullptr;
  Firebird::IMetadataBuilder* builder = declared->getBuilder(status);
  declared->release();
  if (Failed(status) || builder == nullptr) return nullptr;
  Layout(status, decl, metadata, input ? builder : nullptr, input ? nullptr : builder);
  Firebird::IMessageMetadata* result = Failed(status) ? nullptr : builder->getMetadata(status);
  builder->release();
  return Failed(status) ? nullptr : result;
}

// Plans the offsets of both messages as Layout makes them. False after an
// error (in `status`).
inline bool MakePlan(Firebird::CheckStatusWrapper* status, const RoutineDecl& decl,
                     Firebird::IRoutineMetadata* metadata, MessagePlan& plan) {
  Firebird::IMessageMetadata* in = LaidOut(status, decl, metadata, true);
  if (in == nullptr) return false;
  unsigned param = 0;
  for (unsigned i = 0; i < decl.arg_count; ++i) {
    ArgPlan& a = plan.args[i];
    a.kind = decl.args[i].kind;
    a.nullable = decl.args[i].nullable;
    a.returned = decl.result.mode == ResultMode::Parameter && decl.result.parameter == i + 1;
    if (a.kind == Kind::Blob) plan.has_blobs = true;
    if (a.returned) continue;
    a.offset = in->getOffset(status, param);
    a.null_offset = in->getNullOffset(status, param);
    if (a.kind == Kind::Text) {
      a.capacity = in->getLength(status, param);
      if (a.capacity == 0 && !Failed(status)) SetMismatch(status, decl.name);
    }
    ++param;
  }
  in->release();
  if (Failed(status)) return false;
  Firebird::IMessageMetadata* out = LaidOut(status, decl, metadata, false);
  if (out == nullptr) return false;
  plan.result.kind = decl.result.kind;
  plan.result.offset = out->getOffset(status, 0);
  plan.result.null_offset = out->getNullOffset(status, 0);
  plan.result.capacity = out->getLength(status, 0);
  out->release();
  return !Failed(status);
}

// ---------------------------------------------------------------------------
// The call: arguments out of the input message, results into the output
// message.

inline bool IsNull(const unsigned char* msg, unsigned null_offset) {
  int16_t flag;
  std::memcpy(&flag, msg + null_offset, sizeof flag);
  return flag != 0;
}

inline void SetNull(unsigned char* msg, unsigned null_offset, bool null) {
  const int16_t flag = null ? -1 : 0;
  std::memcpy(msg + null_offset, &flag, sizeof flag);
}

// The legacy argument of a field that is not a blob: a pointer into the
// input message, or nil for SQL NULL where the declaration admits NULL.
inline void* ReadArgument(const ArgPlan& a, unsigned char* in) {
  unsigned char* field = in + a.offset;
  const bool is_null = IsNull(in, a.null_offset);
  if (a.kind == Kind::Text) {
    // A VARCHAR field: 2-byte length, then the bytes; the field has room
    // for one more byte than the declaration admits, for the NUL.
    if (is_null && a.nullable) return nullptr;
    uint16_t len = 0;
    if (!is_null) std::memcpy(&len, field, sizeof len);
    if (len >= a.capacity) len = static_cast<uint16_t>(a.capacity - 1);
    char* text = reinterpret_cast<char*>(field + sizeof(uint16_t));
    text[len] = '\0';
    return text;
  }
  if (is_null) {
    if (a.nullable) return nullptr;
    std::memset(field, 0, ValueLength(a.kind));
  }
  return field;
}

// The id of a blob argument, nil for SQL NULL.
inline ISC_QUAD* BlobArgumentId(const ArgPlan& a, unsigned char* in) {
  if (IsNull(in, a.null_offset)) return nullptr;
  return reinterpret_cast<ISC_QUAD*>(in + a.offset);
}

// Where the id of a result blob goes.
inline ISC_QUAD* ResultBlobId(const ResultPlan& r, unsigned char* out) {
  return reinterpret_cast<ISC_QUAD*>(out + r.offset);
}

// A double the caller cannot take fails the statement, as in the legacy front.
inline void CheckDouble(Firebird::IStatus* status, double v) {
  if (std::isnan(v)) SetError(status, {isc_udf_fp_nan});
  else if (std::isinf(v)) SetError(status, {isc_udf_fp_overflow});
}

// A number the entry point returned by value.
template <typename T>
void WriteNumber(Firebird::IStatus* status, const ResultPlan& r, unsigned char* out, T v) {
  if constexpr (std::is_same_v<T, double>) CheckDouble(status, v);
  std::memcpy(out + r.offset, &v, sizeof v);
  SetNull(out, r.null_offset, false);
}

// A result the entry point returned by pointer; nil reads as SQL NULL.
// False after an error (in `status`).
inline bool WriteResult(Firebird::IStatus* status, const ResultPlan& r, const void* result,
                        unsigned char* out) {
  if (result == nullptr) {
    SetNull(out, r.null_offset, true);  // a nil result reads as SQL NULL
    return true;
  }
  unsigned char* field = out + r.offset;
  if (r.kind == Kind::Text) {
    const char* text = static_cast<const char*>(result);
    const size_t len = std::strlen(text);
    if (len > r.capacity) {
      // The legacy front fails the statement the same way.
      SetError(status, {isc_arith_except, isc_string_truncation});
      return false;
    }
    const auto len16 = static_cast<uint16_t>(len);
    std::memcpy(field, &len16, sizeof len16);
    std::memcpy(field + sizeof len16, text, len);
  } else {
    if (r.kind == Kind::Double) {
      double v;
      std::memcpy(&v, result, sizeof v);
      CheckDouble(status, v);
    }
    std::memcpy(field, result, ValueLength(r.kind));
  }
  SetNull(out, r.null_offset, false);
  return !Failed(status);
}

}  // namespace qor::udr
