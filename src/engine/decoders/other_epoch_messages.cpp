#include "engine/decoders/other_epoch_messages.h"

#include <cstring>

#include "engine/decoders/common.h"
#include "engine/decoders/family_dispatch.h"
#include "engine/decoders/run_message.h"
#include "engine/epoch/record_writers.h"

namespace vnx {

namespace {

using M = Missing;

constexpr bool SegmentsFitBody(const BlockRow& r) {
  for (const CopySegment& s : r.copy)
    if (s.from + s.size > r.minLength - 1 || s.to + s.size > r.blockSize) return false;
  return true;
}

constexpr int FieldSize(Missing kind) {
  switch (kind) {
    case M::Double:
      return 8;
    case M::Single:
    case M::Dword:
      return 4;
    case M::Word:
      return 2;
    case M::Byte:
      return 1;
    case M::None:
      break;
  }
  return 0;
}

constexpr bool TestsFitBody(const BlockRow& r) {
  for (const MissingTest& t : r.missing)
    if (t.offset + FieldSize(t.kind) > r.minLength - 1) return false;
  return true;
}

// Every field a row reads lies before the checksum of a body of the minimum length.
constexpr bool RowFits(const BlockRow& r) {
  return SegmentsFitBody(r) && TestsFitBody(r);
}

}  // namespace

constexpr BlockRow kRowAR{"AR",
                          30,
                          kFlagAR,
                          offsetof(EpochRec, ar),
                          sizeof(ArBlock),
                          {{{0, 0, 29}}},
                          {},
                          &ScanContext::arSeen};
constexpr BlockRow kRowMR73{"MR73",
                            73,
                            kFlagMR73,
                            offsetof(EpochRec, mr73),
                            sizeof(Mr73Block),
                            {{{0, 0, 72}}},
                            {},
                            &ScanContext::mr73Seen};
constexpr BlockRow kRowMR37{"MR37",
                            37,
                            kFlagMR37,
                            offsetof(EpochRec, mr37),
                            sizeof(Mr37Block),
                            {{{0, 0, 36}}},
                            {},
                            &ScanContext::mr37Seen};
constexpr BlockRow kRowZA{"ZA",
                          5,
                          kFlagZA,
                          offsetof(EpochRec, zaOffset),
                          sizeof(float),
                          {{{0, 0, 4}}},
                          {{{M::Single, 0}}},
                          nullptr};
constexpr BlockRow kRowZB{"ZB",
                          5,
                          kFlagZB,
                          offsetof(EpochRec, zbOffset),
                          sizeof(float),
                          {{{0, 0, 4}}},
                          {{{M::Single, 0}}},
                          nullptr};
constexpr BlockRow kRowLT{"LT", 2, kFlagLT, offsetof(EpochRec, lt), 1, {{{0, 0, 1}}}, {}, nullptr};
constexpr BlockRow kRowPG{
    "PG",
    30,
    kFlagPG,
    offsetof(EpochRec, pg),
    sizeof(PgBlock),
    {{{0, 0, 29}}},
    {{{M::Double, 0}, {M::Double, 8}, {M::Double, 16}, {M::Single, 24}, {M::Byte, 28}}},
    nullptr};
constexpr BlockRow kRowVG{
    "VG",
    18,
    kFlagVG,
    offsetof(EpochRec, vg),
    sizeof(VgBlock),
    {{{0, 0, 17}}},
    {{{M::Single, 0}, {M::Single, 4}, {M::Single, 8}, {M::Single, 12}, {M::Byte, 16}}},
    nullptr};
// The time follows the type directly in the body but sits aligned at 32 in the block.
constexpr BlockRow kRowBL{"BL",
                          34,
                          kFlagBL,
                          offsetof(EpochRec, bl),
                          sizeof(BlBlock),
                          {{{0, 0, 29}, {29, 32, 4}}},
                          {{{M::Double, 0},
                            {M::Double, 8},
                            {M::Double, 16},
                            {M::Single, 24},
                            {M::Byte, 28},
                            {M::Dword, 29}}},
                          nullptr};
constexpr BlockRow kRowBI{
    "BI",
    28,
    kFlagBI,
    offsetof(EpochRec, bi),
    sizeof(BiBlock),
    {{{0, 0, 27}}},
    {{{M::Double, 0}, {M::Double, 8}, {M::Double, 16}, {M::Word, 24}, {M::Byte, 26}}},
    nullptr};
constexpr BlockRow kRowPS{"PS",
                          9,
                          kFlagPS,
                          offsetof(EpochRec, ps),
                          sizeof(PsBlock),
                          {{{0, 0, 8}}},
                          {{{M::Byte, 0},
                            {M::Byte, 1},
                            {M::Byte, 2},
                            {M::Byte, 3},
                            {M::Byte, 4},
                            {M::Byte, 5},
                            {M::Byte, 6},
                            {M::Byte, 7}}},
                          nullptr};
// Time and type are stored as two 32-bit values; the type byte widens by the cleared block.
constexpr BlockRow kRowST{"ST",
                          6,
                          kFlagST,
                          offsetof(EpochRec, stTime),
                          8,
                          {{{0, 0, 5}}},
                          {{{M::Dword, 0}, {M::Byte, 4}}},
                          nullptr};
constexpr BlockRow kRowPT{
    "PT", 5, kFlagPT, offsetof(EpochRec, ptTime), 4, {{{0, 0, 4}}}, {{{M::Dword, 0}}}, nullptr};
constexpr BlockRow kRowWO{"WO",           31, kFlagWO, offsetof(EpochRec, wo), sizeof(EpochRec::wo),
                          {{{0, 0, 30}}}, {}, nullptr};

static_assert(RowFits(kRowAR) && RowFits(kRowMR73) && RowFits(kRowMR37) && RowFits(kRowZA) &&
              RowFits(kRowZB) && RowFits(kRowLT) && RowFits(kRowPG) && RowFits(kRowVG) &&
              RowFits(kRowBL) && RowFits(kRowBI) && RowFits(kRowPS) && RowFits(kRowST) &&
              RowFits(kRowPT) && RowFits(kRowWO));

bool TBlockMess::AnyMissing() const {
  for (const MissingTest& t : row_.missing) {
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

uint8_t TBlockMess::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (IsEpochUnusable(ctx) || BodyShort() || AnyMissing()) return 1;
  OnAccepted();
  auto* block = reinterpret_cast<uint8_t*>(&ctx.epochRec) + row_.recOffset;
  std::memset(block, 0, row_.blockSize);
  for (const CopySegment& s : row_.copy)
    if (s.size != 0) std::memcpy(block + s.to, Body + s.from, s.size);
  ctx.epochRec.flags[row_.flag] = 1;
  if (row_.seen != nullptr) ctx.*row_.seen = true;
  return 1;
}

void TZAZB::OnAccepted() {
  ZOffsetRec rec{};
  rec.isZA = &row_ == &kRowZA ? 1 : 0;
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

namespace {

uint8_t DecodeBlockMessage(ScanContext& ctx, Family family, const uint8_t* body, int32_t length) {
  switch (family) {
    case Family::AR:
      return RunMessage<TAR>(ctx, body, length);
    case Family::MR73:
      return RunMessage<TMR73>(ctx, body, length);
    case Family::MR37:
      return RunMessage<TMR37>(ctx, body, length);
    case Family::LT:
      return RunMessage<TLT>(ctx, body, length);
    case Family::PG:
      return RunMessage<TPG>(ctx, body, length);
    case Family::VG:
      return RunMessage<TVG>(ctx, body, length);
    case Family::BL:
      return RunMessage<TBL>(ctx, body, length);
    case Family::BI:
      return RunMessage<TBI>(ctx, body, length);
    case Family::PS:
      return RunMessage<TPS>(ctx, body, length);
    case Family::ST:
      return RunMessage<TST>(ctx, body, length);
    case Family::PT:
      return RunMessage<TPT>(ctx, body, length);
    case Family::WO:
      return RunMessage<TWO>(ctx, body, length);
    default:
      return 1;
  }
}

}  // namespace

uint8_t DecodeOtherEpochMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                                int32_t length) {
  switch (row.family) {
    case Family::ZAZB:
      return RunMessage<TZAZB>(ctx, body, length, static_cast<int>(row.variant));
    case Family::SE:
      return RunMessage<TSE>(ctx, body, length);
    case Family::WrEcho:
      return RunMessage<TWrEcho>(ctx, body, length);
    case Family::YAB:
      return RunMessage<TYAB>(ctx, body, length);
    case Family::WA:
      return RunMessage<TWA>(ctx, body, length);
    case Family::ID:
      return RunMessage<TID>(ctx, body, length);
    default:
      return DecodeBlockMessage(ctx, row.family, body, length);
  }
}

}  // namespace vnx
