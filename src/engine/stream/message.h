#pragma once
// The base of every message class: one object per frame, created on the frame's body,
// decoded once and destroyed at once; what went wrong while decoding becomes one line of the
// error list when the object is destroyed.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/epoch/scan_context.h"

namespace vnx {

class TRecivMess {
 public:
  TRecivMess(ScanContext& ctx, const uint8_t* body, int32_t length, const char* name,
             uint16_t minLength = 0);
  virtual ~TRecivMess();
  TRecivMess(const TRecivMess&) = delete;
  TRecivMess& operator=(const TRecivMess&) = delete;

  const std::string& ErrorText() const { return errorText_; }

 protected:
  // The minimum-length test (when the class has one); then decoding starts at the body.
  void BeginDecode();
  // Checksum over the frame head and the body before its last byte, against that last byte.
  // Only for objects built on a frame of the log.
  bool VerifyChecksum();
  // The body is shorter than the class's minimum length: its fields are not all there.
  bool BodyShort() const { return checkLength_ && Length < minLength_; }

  // A little-endian field at `offset`; the caller has checked that it lies in the body.
  template <class T>
  T Field(int32_t offset) const {
    T v;
    std::memcpy(&v, Body + offset, sizeof v);
    return v;
  }
  bool Fits(int32_t offset, int32_t size) const { return offset >= 0 && offset + size <= Length; }

  void AddError(const std::string& text) { errorText_ += text; }
  void SetName(const char* name) { name_ = name; }

  ScanContext& ctx;
  const uint8_t* Body;
  int32_t Length;
  const uint8_t* ReadPos = nullptr;

 private:
  void ReportError();

  std::string errorText_;
  const char* name_;
  bool checkLength_;
  uint16_t minLength_;
};

// Lower-case hex without leading zeros ("0" for zero).
std::string HexOffset(uint64_t v);

}  // namespace vnx
