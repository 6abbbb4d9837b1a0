#include "engine/epoch/record_writers.h"

namespace vnx {

void WriteExtEvent(ScanContext& ctx, const ExtEventRec& event) {
  ExtEventRec rec{};
  rec.time = event.time;
  rec.isXA = event.isXA;
  rec.timeScale = event.timeScale;
  if (rec.isXA != 0) {
    ++ctx.xaCount;
    ctx.files.Append(WorkFile::ExtEventXA, &rec);
  } else {
    ++ctx.xbCount;
    ctx.files.Append(WorkFile::ExtEventXB, &rec);
  }
}

void WriteZOffset(ScanContext& ctx, const ZOffsetRec& offset) {
  ZOffsetRec rec{};
  rec.isZA = offset.isZA;
  rec.offset = offset.offset;
  if (rec.isZA != 0) {
    ++ctx.zaCount;
    ctx.files.Append(WorkFile::ZA, &rec);
  } else {
    ++ctx.zbCount;
    ctx.files.Append(WorkFile::ZB, &rec);
  }
}

}  // namespace vnx
