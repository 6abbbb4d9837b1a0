#include "engine/decoders/file_identifier.h"

#include "engine/epoch/close_epoch.h"

namespace vnx {

uint8_t TVN055::Decode() {
  BeginDecode();
  if (!ctx.epoch.FirstEpochPending) return 1;
  ctx.closeByIdentifier = true;
  return CloseEpoch(ctx);
}

}  // namespace vnx
