#pragma once
#include "engine/decoders/message.h"

namespace vnx {

// The file-identifier frame "VN": before the first written epoch it closes the running epoch
// (without taking the header), afterwards it changes nothing. Its errors are never reported.
// The scanner's documented name; the message classes T<identifier> are named likewise.
class TVN055 : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

}  // namespace vnx
