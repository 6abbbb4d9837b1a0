#pragma once
#include "engine/stream/message.h"

namespace vnx {

// The file-identifier frame "VN": before the first written epoch it closes the running epoch
// (without taking the header), afterwards it changes nothing. Its errors are never reported.
class TVN055 : public TRecivMess {
 public:
  TVN055(ScanContext& c, const uint8_t* body, int32_t length)
      : TRecivMess(c, body, length, "VN055", 85) {}
  uint8_t Decode();
};

}  // namespace vnx
