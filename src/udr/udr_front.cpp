// The call of a UDR routine: the routine the engine calls, its factory and
// the registration of every table row. The messages are udr_message.h's
// job, the blobs udr_blob.h's. Both are header-only parts of this one
// translation unit: a library that serves the front builds udr_front.cpp and
// udr_entry.cpp and nothing more, and the per-call path compiles as one unit.
#include "udr/udr_front.h"

#include <dlfcn.h>
#include <firebird/Interface.h>
#include <ibase.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "frame/engine_types.h"
#include "frame/udf_result.h"
#include "udr/udr_blob.h"
#include "udr/udr_message.h"
#include "udr/udr_status.h"

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

// A result the entry point allocated (ResultMode::FreeIt) is freed when
// this goes away.
class EntryResult {
 public:
  EntryResult(void* pointer, bool owned) noexcept : pointer_(pointer), owned_(owned) {}
  ~EntryResult() {
    if (owned_) std::free(pointer_);
  }
  EntryResult(const EntryResult&) = delete;
  EntryResult& operator=(const EntryResult&) = delete;
  void* get() const { return pointer_; }

 private:
  void* pointer_;
  bool owned_;
};

// ---------------------------------------------------------------------------
// One routine: the plan made once when the engine sets it up, and the call.

class Routine final : public IExternalFunctionImpl<Routine, CheckStatusWrapper> {
 public:
  Routine(const RoutineDecl& decl, Entry entry) : decl_(decl), entry_(entry) {}

  bool Plan(CheckStatusWrapper* status, IRoutineMetadata* metadata) {
    return MakePlan(status, decl_, metadata, plan_);
  }

  void dispose() override { delete this; }
  void getCharSet(CheckStatusWrapper*, IExternalContext*, char*, unsigned) override {}
  void execute(CheckStatusWrapper* status, IExternalContext* context, void* in, void* out) override;

 private:
  void* Call(CheckStatusWrapper* status, void* const* argv, unsigned char* out) const;

  const RoutineDecl& decl_;
  const Entry entry_;
  MessagePlan plan_;
};

// Every way out passes the destructors of `result` and then `blobs`: the
// result an entry point allocated is freed, whatever blob is still open is
// dropped, and the attachment and transaction are let go.
void Routine::execute(CheckStatusWrapper* status, IExternalContext* context, void* in_msg,
                      void* out_msg) {
  auto* in = static_cast<unsigned char*>(in_msg);
  auto* out = static_cast<unsigned char*>(out_msg);
  const unsigned n = decl_.arg_count;
  CallBlobs blobs(status);
  if (plan_.has_blobs && !blobs.Attach(context, n)) return;

  void* argv[kMaxArgs];
  for (unsigned i = 0; i < n; ++i) {
    const ArgPlan& a = plan_.args[i];
    if (a.kind != Kind::Blob) {
      argv[i] = ReadArgument(a, in);
      continue;
    }
    TISC_Blob* record = a.returned ? blobs.CreateResult(i, ResultBlobId(plan_.result, out))
                                   : blobs.OpenArgument(i, BlobArgumentId(a, in));
    if (record == nullptr) return;
    argv[i] = record;
  }

  const EntryResult result(Call(status, argv, out), decl_.result.mode == ResultMode::FreeIt);
  if (blobs.failed() || Failed(status) || !blobs.CloseArguments()) return;

  switch (decl_.result.mode) {
    case ResultMode::ByValue:
      break;  // written by Call
    case ResultMode::Parameter:
      // The unused result blob of a NULL answer is dropped with `blobs`.
      if (blobs.ResultIsNull()) SetNull(out, plan_.result.null_offset, true);
      else if (blobs.CloseResult()) SetNull(out, plan_.result.null_offset, false);
      break;
    case ResultMode::ByReference:
    case ResultMode::FreeIt:
      WriteResult(status, plan_.result, result.get(), out);
      break;
  }
}

// Calls the entry point with the front's allocator in place. A number it
// returns by value goes straight into the output message; otherwise the
// answer is its pointer.
void* Routine::Call(CheckStatusWrapper* status, void* const* argv, unsigned char* out) const {
  const unsigned n = decl_.arg_count;
  const ResultAllocScope alloc_scope;
  if (decl_.result.mode != ResultMode::ByValue) return kCallers<void*>[n](entry_, argv);
  switch (decl_.result.kind) {
    case Kind::Double: WriteNumber(status, plan_.result, out, kCallers<double>[n](entry_, argv)); break;
    case Kind::Integer: WriteNumber(status, plan_.result, out, kCallers<int32_t>[n](entry_, argv)); break;
    case Kind::Smallint: WriteNumber(status, plan_.result, out, kCallers<int16_t>[n](entry_, argv)); break;
    default: WriteNumber(status, plan_.result, out, kCallers<int64_t>[n](entry_, argv)); break;
  }
  return nullptr;
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
