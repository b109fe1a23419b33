// Checks at compile time that our engine records match the server's own.
#include <ibase.h>

#include <cstddef>

#include "frame/engine_types.h"

static_assert(sizeof(TFBTimeStamp) == 8);
static_assert(sizeof(TFBTimeStamp) == sizeof(ISC_TIMESTAMP));
static_assert(offsetof(TFBTimeStamp, date) == offsetof(ISC_TIMESTAMP, timestamp_date));
static_assert(offsetof(TFBTimeStamp, time) == offsetof(ISC_TIMESTAMP, timestamp_time));
static_assert(sizeof(ISC_DATE) == sizeof(int32_t) && sizeof(ISC_TIME) == sizeof(uint32_t));

static_assert(sizeof(TISC_Blob) == 48);
static_assert(sizeof(TISC_Blob) == sizeof(blobcallback));
static_assert(offsetof(TISC_Blob, GetSegment) == offsetof(blobcallback, blob_get_segment));
static_assert(offsetof(TISC_Blob, BlobHandle) == offsetof(blobcallback, blob_handle));
static_assert(offsetof(TISC_Blob, SegmentCount) == offsetof(blobcallback, blob_number_segments));
static_assert(offsetof(TISC_Blob, MaxSegment) == offsetof(blobcallback, blob_max_segment));
static_assert(offsetof(TISC_Blob, TotalLength) == offsetof(blobcallback, blob_total_length));
static_assert(offsetof(TISC_Blob, PutSegment) == offsetof(blobcallback, blob_put_segment));
static_assert(offsetof(TISC_Blob, Seek) == offsetof(blobcallback, blob_lseek));
static_assert(offsetof(TISC_Blob, PutSegment) == 32 && offsetof(TISC_Blob, Seek) == 40);

static_assert(sizeof(ISC_SHORT) == sizeof(int16_t) && sizeof(ISC_LONG) == sizeof(int32_t));
static_assert(sizeof(ISC_INT64) == sizeof(int64_t));
