#pragma once
// Messages not tied to the satellites of an epoch: the ionosphere parameters "IO", the
// checked-only binary messages "GA" and "NA", and the text message "PM" that names the
// receiver, its firmware and its board for the file header.
#include <cstdint>
#include <string_view>

#include "engine/decoders/message.h"

namespace vnx {

// A message that is only checked: length (when its row gives a minimum) and checksum; nothing
// is stored. Accepted when the checksum matches, rejected otherwise.
class CheckedOnlyMessage : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// Stored even in an unusable epoch: the ionosphere view wants the latest parameters whatever
// the epoch they came in.
class TIO : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// key="value" text, optionally tagged ("tag@..."); no checksum, never rejected.
class TPM : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 private:
  // The body text between its first two double quotes; false when there are fewer than two.
  bool QuotedValue(std::string_view& value) const;
  // The text starts with `key` and the body holds more than the key.
  bool HasKey(std::string_view text, std::string_view key) const;
};

}  // namespace vnx
