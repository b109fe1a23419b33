#include "udr/udr_front.h"

#include <dlfcn.h>
#include <firebird/Interface.h>
#include <ibase.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "frame/engine_types.h"
#include "frame/udf_result.h"

using namespace Firebird;

namespace qor::udr {

namespace {

// ---------------------------------------------------------------------------
// Calling a legacy entry point. Every legacy argument is a pointer, so an
// entry point of n arguments is called as R(void*, ..., void*) with n
// pointers; R is the C type of its result.

using Entry = void (*)();

template <size_t>
using Pointer = void*;

template <typename R, size_t... I>
R CallWith(Entry entry, void* const* args, std::index_sequence<I...>) {
  using Fn = R (*)(Pointer<I>...);
  return reinterpret_cast<Fn>(entry)(args[I]...);
}

template <typename R, size_t N>
R CallN(Entry entry, void* const* args) {
  return CallWith<R>(entry, args, std::make_index_sequence<N>{});
}

template <typename R>
using Caller = R (*)(Entry, void* const*);

template <typename R, size_t... N>
constexpr std::array<Caller<R>, sizeof...(N)> MakeCallers(std::index_sequence<N...>) {
  return {&CallN<R, N>...};
}

template <typename R>
inline constexpr auto kCallers = MakeCallers<R>(std::make_index_sequence<kMaxArgs + 1>{});

// ---------------------------------------------------------------------------
// Results the entry points allocate (UdfAlloc) come from malloc while the
// front calls them, and are freed by the front.

void* ResultAlloc(uint32_t size) { return std::malloc(size == 0 ? 1 : size); }

// Puts the front's allocator in place for one call.
class ResultAllocScope {
 public:
  ResultAllocScope() noexcept : previous_(SetUdfAllocator(&ResultAlloc)) {}
  ~ResultAllocScope() { SetUdfAllocator(previous_); }
  ResultAllocScope(const ResultAllocScope&) = delete;
  ResultAllocScope& operator=(const ResultAllocScope&) = delete;

 private:
  UdfAllocator previous_;
};

// ---------------------------------------------------------------------------
// Errors for the SQL caller.

void SetError(IStatus* status, std::initializer_list<ISC_STATUS> codes, const char* text = nullptr) {
  intptr_t vector[16];
  size_t n = 0;
  for (ISC_STATUS c : codes) {
    vector[n++] = isc_arg_gds;
    vector[n++] = c;
  }
  if (text != nullptr) {
    vector[n++] = isc_arg_string;
    vector[n++] = reinterpret_cast<intptr_t>(text);
  }
  vector[n] = isc_arg_end;
  status->setErrors(vector);
}

// A routine whose declaration does not fit the library's entry point.
void SetMismatch(IStatus* status, const char* name) {
  char text[200];
  std::snprintf(text, sizeof text, "%s: the UDR declaration does not match the library's entry point",
                name == nullptr ? "?" : name);
  SetError(status, {isc_random}, text);  // the status keeps its own copy
}

bool Failed(IStatus* status) { return (status->getState() & IStatus::STATE_ERRORS) != 0; }

// ---------------------------------------------------------------------------
// Blob arguments: the legacy callback record over an engine blob.

struct BlobLink {
  IBlob* blob = nullptr;
  IStatus* status = nullptr;  // the call's status; errors stay in it
  bool* failed = nullptr;     // shared by the call: once set, no more engine calls
};

int16_t BlobGetSegment(void* handle, unsigned char* buffer, uint16_t size, uint16_t* delivered) {
  if (delivered != nullptr) *delivered = 0;
  auto* link = static_cast<BlobLink*>(handle);
  if (link == nullptr || link->blob == nullptr || buffer == nullptr || *link->failed) return 0;
  CheckStatusWrapper status(link->status);
  unsigned got = 0;
  const int rc = link->blob->getSegment(&status, size, buffer, &got);
  if (rc == IStatus::RESULT_ERROR || Failed(&status)) {
    *link->failed = true;
    return 0;
  }
  if (rc == IStatus::RESULT_NO_DATA) return 0;
  if (delivered != nullptr) *delivered = static_cast<uint16_t>(got > size ? size : got);
  return rc == IStatus::RESULT_SEGMENT ? 2 : 1;
}

void BlobPutSegment(void* handle, const unsigned char* buffer, uint16_t length) {
  auto* link = static_cast<BlobLink*>(handle);
  if (link == nullptr || link->blob == nullptr || *link->failed || (buffer == nullptr && length > 0)) {
    return;
  }
  CheckStatusWrapper status(link->status);
  link->blob->putSegment(&status, length, buffer);
  if (Failed(&status)) *link->failed = true;
}

// Blob arguments are read-only: a write through their record is dropped.
void BlobPutNothing(void*, const unsigned char*, uint16_t) {}

// Result blobs are fresh and hold nothing to read.
int16_t BlobGetNothing(void*, unsigned char*, uint16_t, uint16_t* delivered) {
  if (delivered != nullptr) *delivered = 0;
  return 0;
}

int32_t BlobSeek(void*, uint16_t, int32_t) { return -1; }

// Segment count, longest segment and total length of an open blob.
bool ReadBlobInfo(IStatus* raw, IBlob* blob, TISC_Blob& record) {
  static const unsigned char kItems[] = {isc_info_blob_num_segments, isc_info_blob_max_segment,
                                         isc_info_blob_total_length, isc_info_end};
  unsigned char buffer[64] = {};
  CheckStatusWrapper status(raw);
  blob->getInfo(&status, sizeof kItems, kItems, sizeof buffer, buffer);
  if (Failed(&status)) return false;
  for (size_t at = 0; at + 3 <= sizeof buffer && buffer[at] != isc_info_end;) {
    const unsigned char item = buffer[at];
    const size_t len = static_cast<size_t>(buffer[at + 1]) | (static_cast<size_t>(buffer[at + 2]) << 8);
    at += 3;
    if (at + len > sizeof buffer || len > 8) break;
    int64_t value = 0;
    for (size_t i = 0; i < len; ++i) value |= static_cast<int64_t>(buffer[at + i]) << (8 * i);
    if (len > 0 && len < 8 && (buffer[at + len - 1] & 0x80) != 0) value -= int64_t{1} << (8 * len);
    const auto v32 = static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
    if (item == isc_info_blob_num_segments) record.SegmentCount = v32;
    else if (item == isc_info_blob_max_segment) record.MaxSegment = v32;
    else if (item == isc_info_blob_total_length) record.TotalLength = v32;
    at += len;
  }
  return true;
}

// Releases a blob after an error without touching the call's status.
void DropBlob(IMaster* master, IBlob* blob) {
  if (blob == nullptr) return;
  IStatus* scratch = master->getStatus();
  CheckStatusWrapper status(scratch);
  blob->cancel(&status);
  if (Failed(&status)) blob->release();
  scratch->dispose();
}

// ---------------------------------------------------------------------------
// One routine: the plan made once when the engine sets it up, and the call.

struct ArgPlan {
  Kind kind = Kind::Double;
  bool nullable = false;
  bool returned = false;  // the blob that carries the result
  unsigned offset = 0;
  unsigned null_offset = 0;
  unsigned capacity = 0;  // text: bytes the message field holds
};

unsigned ValueType(Kind kind) {
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

unsigned ValueLength(Kind kind) {
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

// The message field of a text holds at most this many bytes.
constexpr unsigned kMaxTextField = 32766;

// Fixes the message layout of a routine: every argument arrives in the form
// its legacy kind needs, whatever SQL type the declaration gave it, and text
// fields get one byte more than declared for the terminating NUL. Either
// builder may be nil.
void Layout(CheckStatusWrapper* status, const RoutineDecl& decl, IRoutineMetadata* metadata,
            IMetadataBuilder* in_builder, IMetadataBuilder* out_builder) {
  if (in_builder != nullptr) {
    IMessageMetadata* in = metadata->getInputMetadata(status);
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
    IMessageMetadata* out = metadata->getOutputMetadata(status);
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
IMessageMetadata* LaidOut(CheckStatusWrapper* status, const RoutineDecl& decl,
                          IRoutineMetadata* metadata, bool input) {
  IMessageMetadata* declared =
      input ? metadata->getInputMetadata(status) : metadata->getOutputMetadata(status);
  if (Failed(status) || declared == nullptr) return nullptr;
  IMetadataBuilder* builder = declared->getBuilder(status);
  declared->release();
  if (Failed(status) || builder == nullptr) return nullptr;
  Layout(status, decl, metadata, input ? builder : nullptr, input ? nullptr : builder);
  IMessageMetadata* result = Failed(status) ? nullptr : builder->getMetadata(status);
  builder->release();
  return Failed(status) ? nullptr : result;
}


class Routine final : public IExternalFunctionImpl<Routine, CheckStatusWrapper> {
 public:
  Routine(const RoutineDecl& decl, Entry entry) : decl_(decl), entry_(entry) {}

  bool Plan(CheckStatusWrapper* status, IRoutineMetadata* metadata);

  void dispose() override { delete this; }
  void getCharSet(CheckStatusWrapper*, IExternalContext*, char*, unsigned) override {}
  void execute(CheckStatusWrapper* status, IExternalContext* context, void* in, void* out) override;

 private:
  bool WriteResult(CheckStatusWrapper* status, void* result_ptr, unsigned char* out);

  const RoutineDecl& decl_;
  const Entry entry_;
  ArgPlan args_[kMaxArgs];
  bool has_blobs_ = false;
  unsigned out_offset_ = 0;
  unsigned out_null_offset_ = 0;
  unsigned out_capacity_ = 0;
};

// The offsets are those of the messages as Layout made them in setup.
bool Routine::Plan(CheckStatusWrapper* status, IRoutineMetadata* metadata) {
  IMessageMetadata* in = LaidOut(status, decl_, metadata, true);
  if (in == nullptr) return false;
  unsigned param = 0;
  for (unsigned i = 0; i < decl_.arg_count; ++i) {
    ArgPlan& a = args_[i];
    a.kind = decl_.args[i].kind;
    a.nullable = decl_.args[i].nullable;
    a.returned = decl_.result.mode == ResultMode::Parameter && decl_.result.parameter == i + 1;
    if (a.kind == Kind::Blob) has_blobs_ = true;
    if (a.returned) continue;
    a.offset = in->getOffset(status, param);
    a.null_offset = in->getNullOffset(status, param);
    if (a.kind == Kind::Text) {
      a.capacity = in->getLength(status, param);
      if (a.capacity == 0 && !Failed(status)) SetMismatch(status, decl_.name);
    }
    ++param;
  }
  in->release();
  if (Failed(status)) return false;
  IMessageMetadata* out = LaidOut(status, decl_, metadata, false);
  if (out == nullptr) return false;
  out_offset_ = out->getOffset(status, 0);
  out_null_offset_ = out->getNullOffset(status, 0);
  out_capacity_ = out->getLength(status, 0);
  out->release();
  return !Failed(status);
}

void Routine::execute(CheckStatusWrapper* status, IExternalContext* context, void* in_msg,
                      void* out_msg) {
  auto* in = static_cast<unsigned char*>(in_msg);
  auto* out = static_cast<unsigned char*>(out_msg);
  void* argv[kMaxArgs];
  TISC_Blob records[kMaxArgs];
  BlobLink links[kMaxArgs];
  bool blob_failed = false;
  IAttachment* att = nullptr;
  ITransaction* tra = nullptr;
  IMaster* master = context->getMaster();
  int returned = -1;

  // Whatever is still open after an error (or the result blob of a NULL
  // answer) is dropped; then the attachment and transaction are let go.
  auto release = [&] {
    for (unsigned i = 0; i < decl_.arg_count; ++i) {
      if (links[i].blob != nullptr) DropBlob(master, links[i].blob);
      links[i].blob = nullptr;
    }
    if (tra != nullptr) tra->release();
    if (att != nullptr) att->release();
  };

  if (has_blobs_) {
    att = context->getAttachment(status);
    if (!Failed(status)) tra = context->getTransaction(status);
    if (Failed(status)) {
      release();
      return;
    }
  }

  for (unsigned i = 0; i < decl_.arg_count; ++i) {
    const ArgPlan& a = args_[i];
    if (a.kind == Kind::Blob) {
      TISC_Blob& r = records[i];
      r = TISC_Blob{};
      r.Seek = &BlobSeek;
      links[i].status = status;
      links[i].failed = &blob_failed;
      if (a.returned) {
        returned = static_cast<int>(i);
        auto* id = reinterpret_cast<ISC_QUAD*>(out + out_offset_);
        links[i].blob = att->createBlob(status, tra, id, 0, nullptr);
        if (Failed(status)) {
          links[i].blob = nullptr;
          release();
          return;
        }
        r.GetSegment = &BlobGetNothing;
        r.PutSegment = &BlobPutSegment;
        r.BlobHandle = &links[i];
        argv[i] = &r;
        continue;
      }
      r.GetSegment = &BlobGetSegment;
      r.PutSegment = &BlobPutNothing;
      if (*reinterpret_cast<const int16_t*>(in + a.null_offset) != 0) {
        // A record without a handle, declared NULL or not (as the legacy
        // front passes it).
        argv[i] = &r;
        continue;
      }
      auto* id = reinterpret_cast<ISC_QUAD*>(in + a.offset);
      links[i].blob = att->openBlob(status, tra, id, 0, nullptr);
      if (Failed(status)) links[i].blob = nullptr;
      if (links[i].blob == nullptr || !ReadBlobInfo(status, links[i].blob, r)) {
        release();
        return;
      }
      r.BlobHandle = &links[i];
      argv[i] = &r;
      continue;
    }
    unsigned char* field = in + a.offset;
    const bool is_null = *reinterpret_cast<const int16_t*>(in + a.null_offset) != 0;
    if (a.kind == Kind::Text) {
      // A VARCHAR field: 2-byte length, then the bytes; the field has room
      // for one more byte than the declaration admits, for the NUL.
      if (is_null && a.nullable) {
        argv[i] = nullptr;
        continue;
      }
      uint16_t len = 0;
      if (!is_null) std::memcpy(&len, field, sizeof len);
      if (len >= a.capacity) len = static_cast<uint16_t>(a.capacity - 1);
      char* text = reinterpret_cast<char*>(field + sizeof(uint16_t));
      text[len] = '\0';
      argv[i] = text;
      continue;
    }
    if (is_null) {
      if (a.nullable) {
        argv[i] = nullptr;
        continue;
      }
      std::memset(field, 0, ValueLength(a.kind));
    }
    argv[i] = field;
  }

  void* result_ptr = nullptr;
  const unsigned n = decl_.arg_count;
  {
    const ResultAllocScope alloc_scope;
    if (decl_.result.mode == ResultMode::ByValue) {
      unsigned char* field = out + out_offset_;
      switch (decl_.result.kind) {
        case Kind::Double: {
          const double v = kCallers<double>[n](entry_, argv);
          if (std::isnan(v)) SetError(status, {isc_udf_fp_nan});
          else if (std::isinf(v)) SetError(status, {isc_udf_fp_overflow});
          std::memcpy(field, &v, sizeof v);
          break;
        }
        case Kind::Integer: {
          const int32_t v = kCallers<int32_t>[n](entry_, argv);
          std::memcpy(field, &v, sizeof v);
          break;
        }
        case Kind::Smallint: {
          const int16_t v = kCallers<int16_t>[n](entry_, argv);
          std::memcpy(field, &v, sizeof v);
          break;
        }
        default: {
          const int64_t v = kCallers<int64_t>[n](entry_, argv);
          std::memcpy(field, &v, sizeof v);
          break;
        }
      }
      *reinterpret_cast<int16_t*>(out + out_null_offset_) = 0;
    } else {
      result_ptr = kCallers<void*>[n](entry_, argv);
    }
  }
  auto free_result = [&] {
    if (decl_.result.mode == ResultMode::FreeIt) std::free(result_ptr);
    result_ptr = nullptr;
  };
  if (blob_failed || Failed(status)) {
    free_result();
    release();
    return;
  }

  // The argument blobs are closed with the call's own status; release()
  // below only has to deal with what an error left open.
  for (unsigned i = 0; i < n; ++i) {
    if (links[i].blob == nullptr || static_cast<int>(i) == returned) continue;
    links[i].blob->close(status);
    if (Failed(status)) {
      free_result();
      release();
      return;
    }
    links[i].blob = nullptr;
  }

  if (decl_.result.mode == ResultMode::Parameter) {
    BlobLink& link = links[returned];
    if (records[returned].BlobHandle == nullptr) {
      // The function cleared the handle: its way of answering NULL.
      *reinterpret_cast<int16_t*>(out + out_null_offset_) = -1;
    } else {
      link.blob->close(status);
      if (Failed(status)) {
        release();
        return;
      }
      link.blob = nullptr;
      *reinterpret_cast<int16_t*>(out + out_null_offset_) = 0;
    }
    release();  // drops the unused result blob of a NULL answer
    return;
  }

  if (decl_.result.mode != ResultMode::ByValue) WriteResult(status, result_ptr, out);
  free_result();
  release();
}

bool Routine::WriteResult(CheckStatusWrapper* status, void* result_ptr, unsigned char* out) {
  auto* null_flag = reinterpret_cast<int16_t*>(out + out_null_offset_);
  unsigned char* field = out + out_offset_;
  if (result_ptr == nullptr) {
    *null_flag = -1;  // a nil result reads as SQL NULL
    return true;
  }
  if (decl_.result.kind == Kind::Text) {
    const char* text = static_cast<const char*>(result_ptr);
    const size_t len = std::strlen(text);
    if (len > out_capacity_) {
      // The legacy front fails the statement the same way.
      SetError(status, {isc_arith_except, isc_string_truncation});
      return false;
    }
    const auto len16 = static_cast<uint16_t>(len);
    std::memcpy(field, &len16, sizeof len16);
    std::memcpy(field + sizeof len16, text, len);
  } else {
    if (decl_.result.kind == Kind::Double) {
      double v;
      std::memcpy(&v, result_ptr, sizeof v);
      if (std::isnan(v)) SetError(status, {isc_udf_fp_nan});
      else if (std::isinf(v)) SetError(status, {isc_udf_fp_overflow});
    }
    std::memcpy(field, result_ptr, ValueLength(decl_.result.kind));
  }
  *null_flag = 0;
  return !Failed(status);
}

// ---------------------------------------------------------------------------
// The factory of one table row.

class Factory final : public IUdrFunctionFactoryImpl<Factory, CheckStatusWrapper> {
 public:
  void Init(const RoutineDecl* decl, Entry entry) {
    decl_ = decl;
    entry_ = entry;
  }

  void dispose() override {}  // lives as long as the library

  void setup(CheckStatusWrapper* status, IExternalContext*, IRoutineMetadata* metadata,
             IMetadataBuilder* in_builder, IMetadataBuilder* out_builder) override;
  IExternalFunction* newItem(CheckStatusWrapper* status, IExternalContext*,
                             IRoutineMetadata* metadata) override;

 private:
  const RoutineDecl* decl_ = nullptr;
  Entry entry_ = nullptr;
};

void Factory::setup(CheckStatusWrapper* status, IExternalContext*, IRoutineMetadata* metadata,
                    IMetadataBuilder* in_builder, IMetadataBuilder* out_builder) {
  Layout(status, *decl_, metadata, in_builder, out_builder);
}

IExternalFunction* Factory::newItem(CheckStatusWrapper* status, IExternalContext*,
                                    IRoutineMetadata* metadata) {
  auto* routine = new (std::nothrow) Routine(*decl_, entry_);
  if (routine == nullptr) {
    SetError(status, {isc_virmemexh});
    return nullptr;
  }
  if (!routine->Plan(status, metadata)) {
    delete routine;
    return nullptr;
  }
  return routine;
}

// Marks the library that holds this code.
const char kAnchor = 0;

}  // namespace

void RegisterRoutines(IStatus* raw, IUdrPlugin* plugin, const RoutineDecl* table,
                      size_t count) noexcept {
  try {
    CheckStatusWrapper status(raw);
    // The factories live as long as the library: the engine keeps them.
    // Never freed: the engine may still dispose of them while the process ends.
    static Factory* factories = nullptr;
    static const RoutineDecl* registered = nullptr;
    if (registered != table) {
      Dl_info info{};
      void* self = nullptr;
      if (dladdr(&kAnchor, &info) != 0 && info.dli_fname != nullptr) {
        self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
      }
      if (self == nullptr) {
        SetError(&status, {isc_random}, "UDR front: cannot find its own library");
        return;
      }
      std::unique_ptr<Factory[]> made(new Factory[count]);
      for (size_t i = 0; i < count; ++i) {
        void* symbol = dlsym(self, table[i].name);
        if (symbol == nullptr || table[i].arg_count > kMaxArgs) {
          dlclose(self);
          char text[200];
          std::snprintf(text, sizeof text, "UDR front: no entry point %s of %u arguments in %s",
                        table[i].name, table[i].arg_count, info.dli_fname);
          SetError(&status, {isc_random}, text);
          return;
        }
        Entry entry;
        std::memcpy(&entry, &symbol, sizeof entry);
        made[i].Init(&table[i], entry);
      }
      dlclose(self);
      factories = made.release();
      registered = table;
    }
    for (size_t i = 0; i < count; ++i) {
      plugin->registerFunction(&status, table[i].name, &factories[i]);
      if (Failed(&status)) return;
    }
  } catch (...) {
    SetError(raw, {isc_virmemexh});
  }
}

}  // namespace qor::udr
