#include "engine/decoders/other_epoch_messages.h"

#include <cstring>

#include "engine/decoders/common.h"
#include "engine/epoch/record_writers.h"

namespace vnx {

namespace {
using M = Missing;
}  // namespace

bool BlockMessage::AnyMissing() const {
  for (const MissingTest& t : layout_.missing) {
    double d;
    float f;
    switch (t.kind) {
      case M::None:
        break;
      case M::Double:
        if (!ReadFiniteDouble(Body + t.offset, d)) return true;
        break;
      case M::Single:
        if (!ReadFiniteSingle(Body + t.offset, f)) return true;
        break;
      case M::Byte:
        if (Body[t.offset] == 0xFF) return true;
        break;
      case M::Word:
        if (Field<uint16_t>(t.offset) == 0xFFFF) return true;
        break;
      case M::Dword:
        if (Field<uint32_t>(t.offset) == 0xFFFFFFFFu) return true;
        break;
    }
  }
  return false;
}

uint8_t BlockMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (IsEpochUnusable(ctx) || BodyShort() || AnyMissing()) return 1;
  OnAccepted();
  auto* block = reinterpret_cast<uint8_t*>(&ctx.epochRec) + layout_.recOffset;
  std::memset(block, 0, layout_.blockSize);
  for (const CopySegment& s : layout_.copy)
    if (s.size != 0) std::memcpy(block + s.to, Body + s.from, s.size);
  ctx.epochRec.flags[layout_.flag] = 1;
  if (layout_.seen != nullptr) ctx.*layout_.seen = true;
  return 1;
}

void PpsOffsetMessage::OnAccepted() {
  ZOffsetRec rec{};
  rec.isZA = Variant() == 0 ? 1 : 0;
  rec.offset = Field<float>(0);
  ctx.Light(Indicator::ExternalEvents);
  WriteZOffset(ctx, rec);
}

uint8_t TSE::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  const int64_t readable = ctx.frame.fileEnd != nullptr ? ctx.frame.fileEnd - Body : Length;
  ShortString5& se = ctx.epochRec.se;
  se.length = 5;
  for (int i = 0; i < 5; ++i) {
    const int32_t at = 5 + i;
    se.chars[i] = at < Length || at < readable ? static_cast<char>(Body[at]) : ' ';
  }
  ctx.epochRec.flags[kFlagSE] = 1;
  return 1;
}

uint8_t TWrEcho::Decode() {
  ++ctx.epochRec.echoCount;
  return 1;
}

}  // namespace vnx
