// A test-only UDF library with one small function for every argument and
// result kind the legacy calling convention has, built with the library's own
// frame (guard, results, blob writing) and served by the same UDR front. The
// engine tests call each one through both fronts. Never installed.
#include <cstring>
#include <string>

#include "frame/args.h"
#include "frame/blob_io.h"
#include "frame/errors.h"
#include "frame/export.h"
#include "frame/guard.h"
#include "frame/udf_result.h"

using namespace qor;

QOR_EXPORT int32_t fn_ProbeInt(const int32_t* a) {
  return Guard(__func__, 0, [&]() -> int32_t { return a == nullptr ? -1 : CheckedMul<int32_t>(*a, 2); });
}

QOR_EXPORT int16_t fn_ProbeSmall(const int16_t* a) {
  return Guard(__func__, int16_t{0}, [&] { return static_cast<int16_t>(ArgValue(a) + 1); });
}

QOR_EXPORT int64_t fn_ProbeBig(const int64_t* a, const int32_t* b) {
  return Guard(__func__, int64_t{0}, [&] { return CheckedMul<int64_t>(ArgValue(a), ArgValue(b)); });
}

QOR_EXPORT double fn_ProbeDouble(const double* a) {
  return Guard(__func__, 0.0, [&] { return 1.0 / ArgValue(a); });
}

QOR_EXPORT double fn_ProbeSum10(const double* a, const double* b, const double* c, const double* d,
                                const double* e, const double* f, const double* g, const double* h,
                                const double* i, const double* j) {
  return ArgValue(a) + 10 * ArgValue(b) + 100 * ArgValue(c) + 1e3 * ArgValue(d) + 1e4 * ArgValue(e) +
         1e5 * ArgValue(f) + 1e6 * ArgValue(g) + 1e7 * ArgValue(h) + 1e8 * ArgValue(i) +
         1e9 * ArgValue(j);
}

// A copy of the timestamp moved by whole days; nil gives nil.
QOR_EXPORT TFBTimeStamp* fn_ProbeStamp(const TFBTimeStamp* t, const int32_t* days) {
  if (t == nullptr) return nullptr;
  return GuardTimeStamp(__func__, [&] {
    TFBTimeStamp r = *t;
    r.date = CheckedAdd<int32_t>(r.date, ArgValue(days));
    return r;
  }, TFBTimeStamp{});
}

// The timestamp's time of day set to midnight, in place.
QOR_EXPORT TFBTimeStamp* fn_ProbeMidnight(TFBTimeStamp* t) {
  if (t != nullptr) t->time = 0;
  return t;
}

// ASCII upper case in place.
QOR_EXPORT char* fn_ProbeUpper(char* s) {
  if (s == nullptr) return s;
  for (char* p = s; *p != '\0'; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return s;
}

// A copy of the text, or nil (SQL NULL) for a nil argument or the text 'nil'.
QOR_EXPORT char* fn_ProbeNil(const char* s) {
  if (s == nullptr || std::strcmp(s, "nil") == 0) return nullptr;
  return GuardText(__func__, [&] { return ArgText(s); });
}

// n times 'x': longer than the declared result when n > 5.
QOR_EXPORT char* fn_ProbeLong(const int32_t* n) {
  return GuardText(__func__, [&] {
    if (ArgValue(n) < 0) throw UdfError("negative count");
    return std::string(static_cast<size_t>(ArgValue(n)), 'x');
  });
}

// What a blob argument looks like: "<total>:<content>", read in pieces of
// at most `piece` bytes; "none" without a handle, "nil" for a nil record.
static char* BlobRead(const char* name, TISC_Blob* blob, const int32_t* piece) {
  if (blob == nullptr) return GuardText(name, [] { return std::string_view("nil"); });
  return GuardText(name, [&] {
    if (!HasBlob(blob)) return std::string("none");
    std::string text = std::to_string(blob->TotalLength) + ":";
    const int32_t want = ArgValue(piece) < 1 ? 1 : ArgValue(piece) > kBlobSegment ? kBlobSegment : ArgValue(piece);
    unsigned char buf[kBlobSegment];
    for (;;) {
      uint16_t got = 0;
      blob->GetSegment(blob->BlobHandle, buf, static_cast<uint16_t>(want), &got);
      if (got == 0) break;
      text.append(reinterpret_cast<const char*>(buf), got);
    }
    return text;
  });
}

QOR_EXPORT char* fn_ProbeBlobRead(TISC_Blob* blob, const int32_t* piece) {
  return BlobRead(__func__, blob, piece);
}

QOR_EXPORT char* fn_ProbeBlobNil(TISC_Blob* blob, const int32_t* piece) {
  return BlobRead(__func__, blob, piece);
}

// The text written `count` times into the result blob, then an empty
// segment; a nil text clears the handle, the legacy way of answering NULL.
QOR_EXPORT TISC_Blob* fn_ProbeToBlob(const char* text, const int32_t* count, TISC_Blob* blob) {
  if (blob == nullptr) return blob;
  if (text == nullptr) {
    blob->BlobHandle = nullptr;
    return blob;
  }
  Guard(__func__, 0, [&] {
    std::string all;
    for (int32_t i = 0; i < ArgValue(count); ++i) all += text;
    BlobWrite(blob, all);
    // A final empty segment, as a file copy ends with its read of 0 bytes.
    if (HasBlob(blob)) blob->PutSegment(blob->BlobHandle, reinterpret_cast<const unsigned char*>(""), 0);
    return 0;
  });
  return blob;
}
