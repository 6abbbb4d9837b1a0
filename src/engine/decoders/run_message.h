#pragma once
#include <cstdint>

#include "engine/epoch/scan_context.h"

namespace vnx {

// Creates one message object on the stack, decodes it once and destroys it; the destructor
// reports what the decoding found wrong.
template <class Message, class... Extra>
uint8_t RunMessage(ScanContext& ctx, const uint8_t* body, int32_t length, Extra... extra) {
  Message m(ctx, body, length, extra...);
  return m.Decode();
}

}  // namespace vnx
