#pragma once
#include <cstdint>

#include "engine/epoch/scan_context.h"

namespace vnx {

// Runs the decoder of the frame at the cursor: looks the identifier up and calls the decoder
// entry of its row, which decodes the frame once and reports its errors. Returns
// 1 when the frame is accepted (the scan steps over it), anything else when it is rejected.
// `frameStart` is the frame's offset from the first byte of the log.
uint8_t Dispatch(ScanContext& ctx, uint16_t identifier, const uint8_t* body, int32_t length,
                 uint64_t frameStart);

}  // namespace vnx
