#pragma once
// Messages not tied to the satellites of an epoch: the ionosphere parameters "IO", the
// checked-only binary messages "GA" and "NA", and the text message "PM" that names the
// receiver, its firmware and its board for the file header.
#include <cstdint>
#include <string_view>

#include "engine/stream/message.h"

namespace vnx {

// A message that is only checked: length (when a minimum is given) and checksum; nothing is
// stored. Accepted when the checksum matches, rejected otherwise.
class TCheckedOnly : public TRecivMess {
 public:
  TCheckedOnly(ScanContext& c, const uint8_t* body, int32_t length, const char* name,
               uint16_t minLength)
      : TRecivMess(c, body, length, name, minLength) {}
  uint8_t Decode();
};

class TGA : public TCheckedOnly {
 public:
  TGA(ScanContext& c, const uint8_t* body, int32_t length)
      : TCheckedOnly(c, body, length, "GA", 47) {}
};

class TNA : public TCheckedOnly {
 public:
  TNA(ScanContext& c, const uint8_t* body, int32_t length)
      : TCheckedOnly(c, body, length, "NA", 46) {}
};

// Stored even in an unusable epoch: the ionosphere view wants the latest parameters whatever
// the epoch they came in.
class TIO : public TRecivMess {
 public:
  TIO(ScanContext& c, const uint8_t* body, int32_t length)
      : TRecivMess(c, body, length, "IO", 39) {}
  uint8_t Decode();
};

// key="value" text, optionally tagged ("tag@..."); no checksum, never rejected.
class TPM : public TRecivMess {
 public:
  TPM(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "PM") {}
  uint8_t Decode();

 private:
  // The body text between its first two double quotes; false when there are fewer than two.
  bool QuotedValue(std::string_view& value) const;
  // The text starts with `key` and the body holds more than the key.
  bool HasKey(std::string_view text, std::string_view key) const;
};

}  // namespace vnx
