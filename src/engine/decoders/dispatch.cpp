#include "engine/decoders/dispatch.h"

#include "engine/decoders/identifier_table.h"

namespace vnx {

uint8_t Dispatch(ScanContext& ctx, uint16_t identifier, const uint8_t* body, int32_t length,
                 uint64_t frameStart) {
  ctx.frame.start = frameStart;
  ctx.frame.end = frameStart + static_cast<uint64_t>(length) + 4;
  const IdentifierRow* row = LookupIdentifier(identifier);
  // Unknown identifiers and those accepted without decoding are skipped by their length.
  if (row == nullptr || row->decode == nullptr) return 1;
  return row->decode(ctx, *row, body, length);
}

}  // namespace vnx
