// Entry points of the blob and list functions: thin adapters that turn the
// server's blob records into sources and sinks, run the internal function
// inside the error guard and hand the result back as the SQL declaration
// promises.

#include <algorithm>
#include <string>

#include "blob/blob_file.h"
#include "blob/blob_lines.h"
#include "blob/blob_subfield.h"
#include "blob/blob_text.h"
#include "frame/args.h"
#include "frame/blob_io.h"
#include "frame/errors.h"
#include "frame/export.h"
#include "frame/guard.h"

using namespace qor;

// ---------------------------------------------------------------------------
// Blob text transfer

QOR_EXPORT int32_t fn_BlobSize(const TISC_Blob* blob) {
  return Guard(__func__, 0, [&] { return BlobSize(BlobSourceOf(blob)); });
}

QOR_EXPORT void fn_StrToBlob(const char* text, TISC_Blob* blob) {
  Guard(__func__, 0, [&] {
    StrToBlob(ArgText(text), BlobSinkOf(blob));
    return 0;
  });
}

QOR_EXPORT char* fn_BlobToStr(const TISC_Blob* blob) {
  return GuardText(__func__, [&] { return BlobToStr(BlobSourceOf(blob)); });
}

// Has no guard of its own in the design; an error (no memory for the
// working buffer) is logged like a guarded one, and the blob is returned with
// whatever was written before it.
QOR_EXPORT TISC_Blob* fn_BlobAddStr(const char* text, TISC_Blob* blob) {
  Guard(__func__, 0, [&] {
    BlobAddStr(ArgText(text), BlobSourceOf(blob), BlobSinkOf(blob));
    return 0;
  });
  return blob;
}

QOR_EXPORT char* fn_BlobToSubString(const TISC_Blob* blob, int32_t* start, int32_t* count) {
  return GuardText(__func__, [&] {
    int32_t first = ArgValue(start);
    int32_t length = ArgValue(count);
    std::string piece = BlobToSubString(BlobSourceOf(blob), first, length);
    StoreBack(start, first);
    StoreBack(count, length);
    return piece;
  });
}

// ---------------------------------------------------------------------------
// Field lookup in an allocation blob

QOR_EXPORT char* fn_BlobSubField(const TISC_Blob* blob, const char* field, const char* line) {
  return GuardText(__func__,
                   [&] { return BlobSubField(BlobSourceOf(blob), ArgText(field), ArgText(line)); });
}

// ---------------------------------------------------------------------------
// Blob and file transfer

// Problems go to the trace log; the result is the one reached when the
// problem struck.
QOR_EXPORT int32_t fn_BlobSaveToFile(const TISC_Blob* blob, const char* name,
                                     const int32_t* overwrite) {
  int32_t result = kSaveNoBlob;
  Guard(
      __func__, 0,
      [&] {
        BlobSaveToFile(BlobSourceOf(blob), ArgText(name), ArgValue(overwrite), result);
        return 0;
      },
      LogSink::TraceLog);
  return result;
}

QOR_EXPORT TISC_Blob* fn_BlobLoadFromFile(TISC_Blob* blob, const char* name) {
  if (!HasBlob(blob) || blob->GetSegment == nullptr) return blob;
  const char* function = __func__;
  Guard(
      function, 0,
      [&] {
        const std::string cut = BlobLoadFromFile(BlobSinkOf(blob), ArgText(name));
        if (!cut.empty()) ReportError(function, cut, LogSink::TraceLog);
        return 0;
      },
      LogSink::TraceLog);
  return blob;
}

// Has no guard of its own in the design; a name that exists but cannot be
// read as a regular file (a directory, a device, a pipe, no permission)
// gives the empty text and an error-log record, and so does a text longer
// than a query can fetch.
QOR_EXPORT char* fn_LoadFromFile(const char* name) {
  return GuardText(__func__, [&] { return FitTextResult(LoadFromFile(ArgText(name), kMaxTextResult)); });
}

// ---------------------------------------------------------------------------
// Line lists in blobs

QOR_EXPORT char* fn_ListValue(const TISC_Blob* blob, const char* name) {
  return GuardText(__func__, [&] {
    const BlobText text = ReadBlobText(BlobSourceOf(blob));
    return FitTextResult(std::string(ListValue(text.text(), ArgText(name))));
  });
}

QOR_EXPORT char* fn_ListLine(const TISC_Blob* blob, const char* key, const int16_t* mode) {
  return GuardText(__func__, [&] {
    const BlobText text = ReadBlobText(BlobSourceOf(blob));
    return FitTextResult(ListLine(text.text(), ArgText(key), ArgValue(mode)));
  });
}

QOR_EXPORT int32_t fn_ScanBlob(const TISC_Blob* blob, const char* text) {
  return Guard(__func__, 0, [&] {
    const std::string_view needle = ArgText(text);
    if (needle.empty()) return 0;
    BlobText blob_text = ReadBlobText(BlobSourceOf(blob));
    return ScanText(blob_text.data(), blob_text.text().size(), needle);
  });
}

