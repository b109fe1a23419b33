// One fuzz target for every exported entry point. The declaration script
// says which functions exist and what each takes and returns; the target
// finds the entry point by its exported name and calls it the way the server
// does, with arguments made from the fuzzer's bytes:
//   - texts of any bytes up to 70,000 long, or nil;
//   - integers, doubles (NaN, infinities and extremes included) and
//     timestamps of any bit pattern, or nil pointers;
//   - blob records that lie: a TotalLength larger than the data, negative or
//     huge, a MaxSegment of 0 or below, a GetSegment that delivers short
//     pieces or stops early, nil handles and nil callbacks.
// Beyond "no crash, no sanitizer report" it checks what the server relies on:
// a text result fits its declared size (when the texts passed fit theirs), an in-place result points into its
// argument, a double result from finite arguments is finite, a timestamp result holds a valid time.
//
// The functions that change files (drop, rename, create, change modes, save
// and load) only ever see names inside the target's own temporary directory.
//
// An input starts with the function's name and a NUL, or with one byte that
// picks a function by number.

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog.h"
#include "frame/engine_types.h"
#include "frame/log.h"

namespace {

enum class Kind { Text, Double, Smallint, Integer, Bigint, TimeStamp, Blob };

struct Arg {
  Kind kind = Kind::Text;
  size_t size = 0;  // declared CSTRING length
};

enum class Result { Double, Smallint, Integer, Bigint, Text, TextInPlace, TimeStamp,
                    TimeStampInPlace, Parameter };

struct Entry {
  std::string name;
  void* address = nullptr;
  std::vector<Arg> args;
  Result result = Result::Integer;
  size_t result_size = 0;
  int parameter = 0;    // RETURNS PARAMETER n (1-based)
  bool confined = false;  // texts become names inside the work directory
};

std::vector<Entry> g_entries;
std::string g_work;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "udf_fuzz: %s\n", what.c_str());
  std::abort();
}

// The fuzz target's view of a declared argument and result, from the
// catalogue's typed shape (a DATE is fed the room of a timestamp).
Arg ArgOf(const catalog::ArgShape& a) {
  switch (a.kind) {
    case catalog::ArgKind::Text: return {Kind::Text, static_cast<size_t>(a.length)};
    case catalog::ArgKind::Double: return {Kind::Double, 0};
    case catalog::ArgKind::Smallint: return {Kind::Smallint, 0};
    case catalog::ArgKind::Integer: return {Kind::Integer, 0};
    case catalog::ArgKind::Bigint: return {Kind::Bigint, 0};
    case catalog::ArgKind::TimeStamp:
    case catalog::ArgKind::Date: return {Kind::TimeStamp, 0};
    case catalog::ArgKind::Blob: return {Kind::Blob, 0};
  }
  return {};
}

void ResultOf(const catalog::Shape& s, Entry& e) {
  const bool free_it = s.mode == catalog::ReturnMode::FreeIt;
  if (s.mode == catalog::ReturnMode::Parameter) {
    e.result = Result::Parameter;
    e.parameter = s.parameter;
    return;
  }
  switch (s.result) {
    case catalog::ArgKind::Text:
      e.result = free_it ? Result::Text : Result::TextInPlace;
      e.result_size = static_cast<size_t>(s.result_length);
      break;
    case catalog::ArgKind::TimeStamp:
    case catalog::ArgKind::Date:
      e.result = free_it ? Result::TimeStamp : Result::TimeStampInPlace;
      break;
    case catalog::ArgKind::Double: e.result = Result::Double; break;
    case catalog::ArgKind::Smallint: e.result = Result::Smallint; break;
    case catalog::ArgKind::Bigint: e.result = Result::Bigint; break;
    case catalog::ArgKind::Integer: e.result = Result::Integer; break;
    case catalog::ArgKind::Blob: Fail(e.name + ": a blob result that is not RETURNS PARAMETER");
  }
}

// ---------------------------------------------------------------------------
// Blob records

struct FakeBlob {
  std::string data;
  size_t pos = 0;
  size_t piece = 1;         // most bytes delivered per GetSegment call
  size_t stop_after = 0;    // status 0 after this many calls (0: never early)
  size_t calls = 0;
  std::string written;
};

int16_t GetSegment(void* handle, unsigned char* buffer, uint16_t size, uint16_t* delivered) {
  auto* b = static_cast<FakeBlob*>(handle);
  ++b->calls;
  if (delivered == nullptr) Fail("GetSegment called without a length pointer");
  if (b->stop_after != 0 && b->calls > b->stop_after) {
    *delivered = 0;
    return 0;
  }
  size_t n = std::min({static_cast<size_t>(size), b->piece, b->data.size() - b->pos});
  if (n > 0) std::memcpy(buffer, b->data.data() + b->pos, n);  // ASan checks the buffer
  b->pos += n;
  *delivered = static_cast<uint16_t>(n);
  return n > 0 ? 1 : 0;
}

void PutSegment(void* handle, const unsigned char* buffer, uint16_t length) {
  auto* b = static_cast<FakeBlob*>(handle);
  if (length > 0 && buffer == nullptr) Fail("PutSegment with a nil buffer");
  if (b->written.size() < (1u << 22)) b->written.append(reinterpret_cast<const char*>(buffer), length);
}

int32_t Seek(void*, uint16_t, int32_t) { Fail("Seek must never be called"); }

// ---------------------------------------------------------------------------
// Arguments

struct Call {
  std::vector<std::unique_ptr<char[]>> texts;
  std::vector<size_t> text_sizes;
  std::vector<std::unique_ptr<FakeBlob>> blobs;
  std::vector<std::unique_ptr<TISC_Blob>> records;
  std::vector<std::unique_ptr<unsigned char[]>> values;
  bool non_finite_input = false;  // NaN or an infinity among the doubles
  bool oversized_text = false;    // a text longer than its declared CSTRING
  void* pointers[10] = {};
};

std::string Confine(const std::string& text) {
  std::string name;
  for (char c : text.substr(0, 120)) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
    name += plain ? c : '_';
  }
  if (!name.empty() && name[0] == '.') name[0] = '_';
  return g_work + "/f/" + name;
}

void* MakeText(FuzzedDataProvider& in, Call& call, bool confined, size_t declared) {
  const uint8_t mode = in.ConsumeIntegral<uint8_t>();
  if (mode < 8) return nullptr;
  std::string text;
  if (mode < 16) {
    // A long text: a short pattern repeated up to 70,000 bytes.
    std::string pattern = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(1, 12));
    if (pattern.empty()) pattern = "x";
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, 70000);
    while (text.size() < length) text += pattern;
    text.resize(length);
  } else {
    text = in.ConsumeRandomLengthString(4096);
  }
  if (confined) text = Confine(text);
  // The bytes up to the first NUL make the text, in a buffer of exactly
  // its length plus the NUL, so that any read or write past it is caught.
  text = std::string(text.c_str());
  if (text.size() > declared) call.oversized_text = true;
  auto buf = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buf.get(), text.c_str(), text.size() + 1);
  void* p = buf.get();
  call.text_sizes.push_back(text.size() + 1);
  call.texts.push_back(std::move(buf));
  return p;
}

template <typename T>
void* MakeValue(Call& call, T value) {
  auto buf = std::make_unique<unsigned char[]>(sizeof(T));
  std::memcpy(buf.get(), &value, sizeof(T));
  void* p = buf.get();
  call.values.push_back(std::move(buf));
  return p;
}

double MakeDouble(FuzzedDataProvider& in) {
  static const double kSpecial[] = {
      std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(),
      -std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
      -0.0, 0.0, 0.5, -0.5, 1e15, 9.2233720368547758e18, -9.2233720368547758e18, 2147483648.0,
      -2147483649.0, 1e300, 4711.005, 0.015};
  const uint8_t mode = in.ConsumeIntegral<uint8_t>();
  if (mode < 64) return kSpecial[mode % (sizeof kSpecial / sizeof kSpecial[0])];
  if (mode < 160) return static_cast<double>(in.ConsumeIntegral<int32_t>()) / 100.0;
  uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

void* MakeBlob(FuzzedDataProvider& in, Call& call, bool output) {
  const uint8_t mode = in.ConsumeIntegral<uint8_t>();
  if (mode < 6 && !output) return nullptr;
  auto blob = std::make_unique<FakeBlob>();
  auto rec = std::make_unique<TISC_Blob>();
  std::memset(rec.get(), 0, sizeof(TISC_Blob));
  rec->GetSegment = &GetSegment;
  rec->PutSegment = &PutSegment;
  rec->Seek = &Seek;
  rec->BlobHandle = blob.get();
  if (output) {
    if (mode < 4) rec->PutSegment = nullptr;
  } else {
    const uint8_t lie = in.ConsumeIntegral<uint8_t>();
    if (lie % 5 == 0) {
      std::string pattern = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(1, 16));
      if (pattern.empty()) pattern = "ab\n";
      const size_t length = in.ConsumeIntegralInRange<size_t>(0, 200000);
      while (blob->data.size() < length) blob->data += pattern;
      blob->data.resize(length);
    } else {
      blob->data = in.ConsumeRandomLengthString(8192);
    }
    blob->piece = in.ConsumeIntegralInRange<size_t>(1, 9000);
    blob->stop_after = in.ConsumeIntegralInRange<size_t>(0, 8);
    rec->SegmentCount = in.ConsumeIntegral<int32_t>();
    rec->MaxSegment = (lie & 1) ? in.ConsumeIntegral<int32_t>() : static_cast<int32_t>(blob->piece);
    switch (lie % 4) {
      case 0: rec->TotalLength = static_cast<int32_t>(blob->data.size()); break;
      case 1: rec->TotalLength = in.ConsumeIntegral<int32_t>(); break;  // any, negative or huge
      case 2: rec->TotalLength = static_cast<int32_t>(blob->data.size()) + in.ConsumeIntegralInRange<int32_t>(0, 100000); break;
      default: rec->TotalLength = std::numeric_limits<int32_t>::max(); break;
    }
    if (mode < 10) rec->BlobHandle = nullptr;
    else if (mode < 13) rec->GetSegment = nullptr;
  }
  void* p = rec.get();
  call.blobs.push_back(std::move(blob));
  call.records.push_back(std::move(rec));
  return p;
}

void* MakeArg(FuzzedDataProvider& in, const Arg& arg, Call& call, bool confined, bool output) {
  // Nil for any pointer now and then: the server passes nil for a NULL
  // declared NULL-able, and the library must survive it anywhere.
  if (arg.kind != Kind::Text && arg.kind != Kind::Blob && in.ConsumeIntegral<uint8_t>() < 6)
    return nullptr;
  switch (arg.kind) {
    case Kind::Text: return MakeText(in, call, confined, arg.size);
    case Kind::Double: {
      const double d = MakeDouble(in);
      if (!std::isfinite(d)) call.non_finite_input = true;
      return MakeValue(call, d);
    }
    case Kind::Smallint: return MakeValue(call, in.ConsumeIntegral<int16_t>());
    case Kind::Integer: {
      static const int32_t kSpecial[] = {0, 1, -1, 32759, 32760, 2147483647, -2147483647 - 1};
      const uint8_t mode = in.ConsumeIntegral<uint8_t>();
      return MakeValue(call, mode < 40 ? kSpecial[mode % 7] : in.ConsumeIntegral<int32_t>());
    }
    case Kind::Bigint: return MakeValue(call, in.ConsumeIntegral<int64_t>());
    case Kind::TimeStamp: {
      TFBTimeStamp ts{};
      const uint8_t mode = in.ConsumeIntegral<uint8_t>();
      ts.date = mode < 128 ? in.ConsumeIntegralInRange<int32_t>(-700000, 3000000) : in.ConsumeIntegral<int32_t>();
      ts.time = mode % 3 == 0 ? in.ConsumeIntegral<uint32_t>() : in.ConsumeIntegralInRange<uint32_t>(0, 863999999);
      return MakeValue(call, ts);
    }
    case Kind::Blob: return MakeBlob(in, call, output);
  }
  return nullptr;
}

bool InsideAnyText(const Call& call, const void* p) {
  for (size_t i = 0; i < call.texts.size(); ++i) {
    const char* b = call.texts[i].get();
    if (p >= b && p < b + call.text_sizes[i]) return true;
  }
  return false;
}

using FnInt = intptr_t (*)(void*, void*, void*, void*, void*, void*, void*, void*, void*, void*);
using FnDouble = double (*)(void*, void*, void*, void*, void*, void*, void*, void*, void*, void*);

void Run(const Entry& e, FuzzedDataProvider& in) {
  Call call;
  for (size_t i = 0; i < e.args.size() && i < 10; ++i) {
    const bool output = e.result == Result::Parameter && static_cast<int>(i) + 1 == e.parameter;
    call.pointers[i] = MakeArg(in, e.args[i], call, e.confined, output);
  }
  void** a = call.pointers;
  if (e.result == Result::Double) {
    const double d = reinterpret_cast<FnDouble>(e.address)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
    // The engine never hands over NaN or an infinity, but it rejects them as
    // a result: from finite arguments the result must be finite.
    if (!std::isfinite(d) && !call.non_finite_input) Fail(e.name + " returned a double the engine rejects");
    return;
  }
  const intptr_t r = reinterpret_cast<FnInt>(e.address)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
  switch (e.result) {
    case Result::Text: {
      auto* s = reinterpret_cast<char*>(r);
      if (s == nullptr) return;  // SQL NULL
      const size_t n = std::strlen(s);
      // The engine never passes a text longer than declared; from texts that
      // fit, the result must fit its declared size.
      if (n > e.result_size && !call.oversized_text) Fail(e.name + " returned " + std::to_string(n) + " bytes for a CSTRING(" + std::to_string(e.result_size) + ")");
      std::free(s);
      return;
    }
    case Result::TextInPlace: {
      auto* s = reinterpret_cast<char*>(r);
      if (s == nullptr) return;
      if (!InsideAnyText(call, s)) Fail(e.name + " returned an in-place text outside its argument");
      if (std::strlen(s) > e.result_size && !call.oversized_text) Fail(e.name + " returned a text longer than declared");
      return;
    }
    case Result::TimeStamp:
    case Result::TimeStampInPlace: {
      auto* ts = reinterpret_cast<TFBTimeStamp*>(r);
      if (ts == nullptr) return;
      if (ts->time > qor::kMaxEngineTime) Fail(e.name + " returned a time of day past midnight");
      if (e.result == Result::TimeStamp) {
        std::free(ts);
      } else {
        bool own = false;
        for (const auto& v : call.values) own = own || reinterpret_cast<void*>(v.get()) == ts;
        if (!own) Fail(e.name + " returned an in-place timestamp that is not its argument");
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/qor_fuzz_XXXXXX";
  if (mkdtemp(tmpl) == nullptr) Fail("no temporary directory");
  g_work = tmpl;
  if (chdir(g_work.c_str()) != 0) Fail("cannot enter " + g_work);
  std::string sub = g_work + "/f";
  if (mkdir(sub.c_str(), 0700) != 0) Fail("cannot make " + sub);
  qor::SetTraceDir(strdup((g_work + "/trace").c_str()));

  static const std::set<std::string> kConfined = {
      "fn_DropDatabase", "fn_RenameDatabase", "fn_CreateDir", "fn_FileSetRight",
      "fn_BlobSaveToFile", "fn_BlobLoadFromFile", "fn_LoadFromFile"};
  const catalog::Catalog cat = catalog::Parse(catalog::ReadFile(QOR_SQL_SCRIPT));
  for (const auto& err : cat.errors) Fail("declaration script: " + err);
  for (const auto& f : cat.functions) {
    Entry e;
    e.name = f.name;
    e.address = dlsym(RTLD_DEFAULT, f.name.c_str());
    if (e.address == nullptr) Fail(f.name + " is declared but not exported");
    if (!f.shape.served) Fail(f.name + ": declaration not known to the fuzz target: " + f.shape_error);
    for (const auto& a : f.shape.args) e.args.push_back(ArgOf(a));
    ResultOf(f.shape, e);
    e.confined = kConfined.count(f.name) > 0;
    g_entries.push_back(std::move(e));
  }
  if (g_entries.empty()) Fail("no functions declared");
  std::fprintf(stderr, "udf_fuzz: %zu functions, work directory %s\n", g_entries.size(), g_work.c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Entry* e = nullptr;
  size_t used = 1;
  if (size > 3 && std::memcmp(data, "fn_", 3) == 0) {
    const void* nul = std::memchr(data, 0, std::min<size_t>(size, 64));
    if (nul == nullptr) return 0;
    const std::string name(reinterpret_cast<const char*>(data), static_cast<const uint8_t*>(nul) - data);
    for (const auto& x : g_entries) if (x.name == name) e = &x;
    if (e == nullptr) return 0;
    used = name.size() + 1;
  } else {
    e = &g_entries[data[0] % g_entries.size()];
  }
  FuzzedDataProvider in(data + used, size - used);
  Run(*e, in);
  return 0;
}
