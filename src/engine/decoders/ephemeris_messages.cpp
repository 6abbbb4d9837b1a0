#include "engine/decoders/family_dispatch.h"

namespace vnx {

// Frames of this group are accepted and skipped by their length until their decoders exist.
uint8_t DecodeEphemerisMessage(ScanContext&, const IdentifierRow&, const uint8_t*, int32_t) {
  return 1;
}

}  // namespace vnx
