// Values as the server hands them to a UDF and takes them back.
#pragma once

#include <cstdint>

extern "C" {

// Timestamp as the engine stores it: days since 1858-11-17 and the time of
// day in 1/10000 s.
struct TFBTimeStamp {
  int32_t date;
  uint32_t time;
};

// The server's blob callback record, filled for every blob argument.
struct TISC_Blob {
  int16_t (*GetSegment)(void* handle, unsigned char* buffer, uint16_t size,
                        uint16_t* delivered);
  void* BlobHandle;
  int32_t SegmentCount;
  int32_t MaxSegment;
  int32_t TotalLength;
  void (*PutSegment)(void* handle, const unsigned char* buffer, uint16_t length);
  int32_t (*Seek)(void* handle, uint16_t mode, int32_t offset);
};

using PISC_Smallint = int16_t*;
using PISC_Integer = int32_t*;
using PISC_Int64 = int64_t*;
using PISC_Double = double*;
using PFBTimeStamp = TFBTimeStamp*;
using PISC_Blob = TISC_Blob*;

}  // extern "C"

namespace qor {

// Day count of the engine's day 0 (1858-11-17) in the working date type.
inline constexpr int32_t kEngineDayZero = -15018;
// 1/10000-second units in one day.
inline constexpr double kTimeUnitsPerDay = 864000000.0;
inline constexpr uint32_t kMaxEngineTime = 863999999;
// The engine's dates run from 0001-01-01 to 9999-12-31; it refuses a
// timestamp outside them (the caller's statement fails).
inline constexpr int32_t kMinEngineDate = -678575;
inline constexpr int32_t kMaxEngineDate = 2973483;

// Segments written to or read from a blob are at most this long.
inline constexpr int kBlobSegment = 8192;

}  // namespace qor
