#pragma once
// The event and offset records that decoders hand to the working files as they arrive (the
// epoch and satellite records go through CloseEpoch instead). Each writer also counts its
// record, so the views know how many records of the file belong to this scan.
#include "engine/epoch/records.h"
#include "engine/epoch/scan_context.h"

namespace vnx {

// Copies the time, the input byte and the time-scale byte of `event` into a cleared record and
// appends it to ExtEventRecsXA.dat when the input byte is set, else to ExtEventRecsXB.dat.
void WriteExtEvent(ScanContext& ctx, const ExtEventRec& event);

// Appends the kind byte and the offset to ZARecs.dat when the kind byte is set, else to
// ZBRecs.dat.
void WriteZOffset(ScanContext& ctx, const ZOffsetRec& offset);

}  // namespace vnx
