// The blobs of one UDR call: the legacy callback record (TISC_Blob) over the
// engine's blob interfaces, for blob arguments (read only) and the blob that
// carries a result. Whatever a call leaves open (after an error, or the
// unused result blob of a NULL answer) is dropped when the CallBlobs goes
// away, and the attachment and transaction are let go then.
#pragma once

#include <firebird/Interface.h>
#include <ibase.h>

#include <cstdint>

#include "frame/engine_types.h"
#include "udr/udr_routine.h"
#include "udr/udr_status.h"

namespace qor::udr {

// The handle behind a callback record.
struct BlobLink {
  Firebird::IBlob* blob;
  Firebird::IStatus* status;  // the call's status; errors stay in it
  bool* failed;               // shared by the call: once set, no more engine calls
};

// The callbacks of the legacy record.

inline int16_t BlobGetSegment(void* handle, unsigned char* buffer, uint16_t size,
                              uint16_t* delivered) {
  if (delivered != nullptr) *delivered = 0;
  auto* link = static_cast<BlobLink*>(handle);
  if (link == nullptr || link->blob == nullptr || buffer == nullptr || *link->failed) return 0;
  Firebird::CheckStatusWrapper status(link->status);
  unsigned got = 0;
  const int rc = link->blob->getSegment(&status, size, buffer, &got);
  if (rc == Firebird::IStatus::RESULT_ERROR || Failed(&status)) {
    *link->failed = true;
    return 0;
  }
  if (rc == Firebird::IStatus::RESULT_NO_DATA) return 0;
  if (delivered != nullptr) *delivered = static_cast<uint16_t>(got > size ? size : got);
  return rc == Firebird::IStatus::RESULT_SEGMENT ? 2 : 1;
}

inline void BlobPutSegment(void* handle, const unsigned char* buffer, uint16_t length) {
  auto* link = static_cast<BlobLink*>(handle);
  if (link == nullptr || link->blob == nullptr || *link->failed || (buffer == nullptr && length > 0)) {
    return;
  }
  Firebird::CheckStatusWrapper status(link->status);
  link->blob->putSegment(&status, length, buffer);
  if (Failed(&status)) *link->failed = true;
}

// Blob arguments are read-only: a write through their record is dropped.
inline void BlobPutNothing(void*, const unsigned char*, uint16_t) {}

// Result blobs are fresh and hold nothing to read.
inline int16_t BlobGetNothing(void*, unsigned char*, uint16_t, uint16_t* delivered) {
  if (delivered != nullptr) *delivered = 0;
  return 0;
}

inline int32_t BlobSeek(void*, uint16_t, int32_t) { return -1; }

// Segment count, longest segment and total length of an open blob.
inline bool ReadBlobInfo(Firebird::IStatus* raw, Firebird::IBlob* blob, TISC_Blob& record) {
  static const unsigned char kItems[] = {isc_info_blob_num_segments, isc_info_blob_max_segment,
                                         isc_info_blob_total_length, isc_info_end};
  unsigned char buffer[64] = {};
  Firebird::CheckStatusWrapper status(raw);
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
inline void DropBlob(Firebird::IMaster* master, Firebird::IBlob* blob) {
  if (blob == nullptr) return;
  Firebird::IStatus* scratch = master->getStatus();
  Firebird::CheckStatusWrapper status(scratch);
  blob->cancel(&status);
  if (Failed(&status)) blob->release();
  scratch->dispose();
}

// The blobs of one call.
class CallBlobs {
 public:
  explicit CallBlobs(Firebird::CheckStatusWrapper* status) noexcept : status_(status) {}
  ~CallBlobs() {
    if (attached_) Release();
  }
  CallBlobs(const CallBlobs&) = delete;
  CallBlobs& operator=(const CallBlobs&) = delete;

  // Gets the call's attachment and transaction for `count` arguments. Only a
  // routine with a blob needs it; without it the other members do nothing.
  // False after an error (in the status).
  bool Attach(Firebird::IExternalContext* context, unsigned count);

  // The record of blob argument `i` over the blob `id`; a nil id (SQL NULL)
  // gives a record without a handle, declared NULL or not, as the legacy
  // front passes it. Nil after an error.
  TISC_Blob* OpenArgument(unsigned i, ISC_QUAD* id);

  // The record of argument `i` that carries the result, over a new blob
  // whose id goes to `id`. Nil after an error.
  TISC_Blob* CreateResult(unsigned i, ISC_QUAD* id);

  // A callback failed: the error is in the status.
  bool failed() const { return failed_; }

  // Closes the argument blobs with the call's status. False after an error.
  bool CloseArguments();

  // The function cleared the handle of the result record: its way of
  // answering NULL. Without a result blob the answer is NULL too.
  bool ResultIsNull() const { return returned_ < 0 || records_[returned_].BlobHandle == nullptr; }

  // Closes the result blob. False after an error.
  bool CloseResult();

 private:
  void Release();

  Firebird::CheckStatusWrapper* status_;
  Firebird::IMaster* master_ = nullptr;
  Firebird::IAttachment* att_ = nullptr;
  Firebird::ITransaction* tra_ = nullptr;
  unsigned count_ = 0;
  int returned_ = -1;  // the argument that carries the result
  bool attached_ = false;
  bool failed_ = false;
  // Set by Attach for the first `count_` arguments: a routine without blobs
  // pays nothing for them.
  BlobLink links_[kMaxArgs];
  TISC_Blob records_[kMaxArgs];
};

inline bool CallBlobs::Attach(Firebird::IExternalContext* context, unsigned count) {
  attached_ = true;
  count_ = count;
  for (unsigned i = 0; i < count; ++i) links_[i] = BlobLink{nullptr, status_, &failed_};
  master_ = context->getMaster();
  att_ = context->getAttachment(status_);
  if (!Failed(status_)) tra_ = context->getTransaction(status_);
  return !Failed(status_);
}

inline TISC_Blob* CallBlobs::OpenArgument(unsigned i, ISC_QUAD* id) {
  TISC_Blob& r = records_[i];
  r = TISC_Blob{};
  r.Seek = &BlobSeek;
  r.GetSegment = &BlobGetSegment;
  r.PutSegment = &BlobPutNothing;
  if (id == nullptr) return &r;
  BlobLink& link = links_[i];
  link.blob = att_->openBlob(status_, tra_, id, 0, nullptr);
  if (Failed(status_)) link.blob = nullptr;
  if (link.blob == nullptr || !ReadBlobInfo(status_, link.blob, r)) return nullptr;
  r.BlobHandle = &link;
  return &r;
}

inline TISC_Blob* CallBlobs::CreateResult(unsigned i, ISC_QUAD* id) {
  returned_ = static_cast<int>(i);
  TISC_Blob& r = records_[i];
  r = TISC_Blob{};
  r.Seek = &BlobSeek;
  BlobLink& link = links_[i];
  link.blob = att_->createBlob(status_, tra_, id, 0, nullptr);
  if (Failed(status_)) {
    link.blob = nullptr;
    return nullptr;
  }
  r.GetSegment = &BlobGetNothing;
  r.PutSegment = &BlobPutSegment;
  r.BlobHandle = &link;
  return &r;
}

// A blob that fails to close stays in its link for Release to drop.
inline bool CallBlobs::CloseArguments() {
  if (!attached_) return true;
  for (unsigned i = 0; i < count_; ++i) {
    BlobLink& link = links_[i];
    if (link.blob == nullptr || static_cast<int>(i) == returned_) continue;
    link.blob->close(status_);
    if (Failed(status_)) return false;
    link.blob = nullptr;
  }
  return true;
}

inline bool CallBlobs::CloseResult() {
  BlobLink& link = links_[returned_];
  link.blob->close(status_);
  if (Failed(status_)) return false;
  link.blob = nullptr;
  return true;
}

inline void CallBlobs::Release() {
  for (unsigned i = 0; i < count_; ++i) {
    if (links_[i].blob != nullptr) DropBlob(master_, links_[i].blob);
    links_[i].blob = nullptr;
  }
  if (tra_ != nullptr) tra_->release();
  if (att_ != nullptr) att_->release();
}

}  // namespace qor::udr
