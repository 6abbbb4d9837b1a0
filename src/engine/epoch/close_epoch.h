#pragma once
#include <cstdint>

#include "engine/epoch/scan_context.h"

namespace vnx {

// Closes the running epoch: captures the file header once per scan, and when the epoch has a
// date and is usable writes one EpochRec and one SvRec per usable satellite, then clears the
// per-epoch state. Returns the scanner's result code (1 during a normal scan).
uint8_t CloseEpoch(ScanContext& ctx);

// Empties the 70 satellite slots.
void ClearSlots(EpochState& e);

}  // namespace vnx
