#pragma once
// The base of every message class: one object per frame, created on the frame's body,
// decoded once and destroyed at once; what went wrong while decoding becomes one line of the
// error list when the object is destroyed.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/decoders/identifier_table.h"
#include "engine/epoch/scan_context.h"

namespace vnx {

// The base of every message class (the scanner's own name for it).
class TRecivMess {
 public:
  // Name, minimum length and variant come from the identifier's row.
  TRecivMess(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body, int32_t length);
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
  bool BodyShort() const { return checkLength_ && Length < row_.minLength; }

  // A little-endian field at `offset`; the caller has checked that it lies in the body.
  template <class T>
  T Field(int32_t offset) const {
    T v;
    std::memcpy(&v, Body + offset, sizeof v);
    return v;
  }
  bool Fits(int32_t offset, int32_t size) const { return offset >= 0 && offset + size <= Length; }

  void AddError(const std::string& text) { errorText_ += text; }
  uint8_t Variant() const { return row_.variant; }

  ScanContext& ctx;
  const uint8_t* Body;
  int32_t Length;
  const uint8_t* ReadPos = nullptr;

 private:
  void ReportError();

  std::string errorText_;
  const IdentifierRow& row_;
  bool checkLength_;
};

// The decoder entry of a row whose message has a class: creates one object on the stack,
// decodes it once and destroys it; the destructor reports what the decoding found wrong.
template <class Message>
uint8_t DecodeWith(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                   int32_t length) {
  Message m(ctx, row, body, length);
  return m.Decode();
}

}  // namespace vnx
