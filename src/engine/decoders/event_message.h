#pragma once
// "==": an event of the receiver, a time and a short text. Texts with one of eight keys
// describe the occupation (site name, dynamic or static, antenna height and name, and four
// further texts) and update the site information that every later epoch carries; any other
// text is a user event.
#include <cstdint>
#include <string_view>

#include "engine/decoders/message.h"

namespace vnx {

// The number at the start of `text` after leading blanks: the longest leading stretch that
// reads as a decimal number, 0 when there is none or it does not fit a double.
double LeadingNumber(std::string_view text);

// Clears the event record at creation: a frame that fails its checksum still has a record
// appended, with nothing in it.
// The scanner's documented name.
class TEventMess : public TRecivMess {
 public:
  TEventMess(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length);
  uint8_t Decode();

 private:
  // The value of a key that opens the text: from its sixth character, at most `limit`
  // characters and no further than the text.
  std::string_view Value(int32_t limit) const;
  void DecodeSite();
  void DecodeDynamic();
  void DecodeAntennaHeight(size_t keyAt);
  void DecodeAntennaName();
  // "_CAN=", "_SAV=", "_DSC=", "_FEA=" and user texts: the value into one field.
  bool DecodeTextKey();

  std::string_view text_;
};

// The decoder entry of "==": the event record is appended whatever its decoding gave.
uint8_t DecodeEventMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                           int32_t length);

}  // namespace vnx
