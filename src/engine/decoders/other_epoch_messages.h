#pragma once
// The remaining epoch messages: attitude ("AR", "mr", "MR"), PPS time offsets ("ZA", "ZB"),
// "LT", the position and baseline messages "PG", "VG", "BL", "BI", the status messages "PS",
// "ST", "PT", the parameter message "WO", the five characters of "SE" and the echo counter ">>".
//
// The storing messages share one shape: checksum, skip an unusable epoch, refuse the frame's
// values when one of them carries the receiver's missing marker, else copy the body into its
// block of the epoch record and set the presence flag. Each is one layout of data.
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/decoders/message.h"
#include "engine/epoch/records.h"

namespace vnx {

// How a missing value is marked in a field.
enum class Missing : uint8_t {
  None,
  Double,  // NaN, infinity or the receiver's missing pattern
  Single,  // NaN or infinity
  Byte,    // 0xFF
  Word,    // 0xFFFF
  Dword,   // 0xFFFFFFFF
};

struct MissingTest {
  Missing kind;
  uint8_t offset;  // in the body
};

// Body bytes copied into the block: from body offset `from` to block offset `to`.
struct CopySegment {
  uint8_t from, to, size;
};

// Where a storing message puts its body in the epoch record. Name and minimum length are in the
// identifier's row.
struct BlockLayout {
  EpochFlag flag;
  uint16_t recOffset;                  // the block's offset in EpochRec
  uint8_t blockSize;                   // cleared before the copy
  std::array<CopySegment, 2> copy;     // a segment of size 0 is unused
  std::array<MissingTest, 8> missing;  // tests of kind None are unused
  bool ScanContext::*seen;             // scan-wide flag, or nullptr
};

// Every field a layout reads lies before the checksum of a body of `minLength` bytes.
constexpr int MissingFieldSize(Missing kind) {
  switch (kind) {
    case Missing::Double:
      return 8;
    case Missing::Single:
    case Missing::Dword:
      return 4;
    case Missing::Word:
      return 2;
    case Missing::Byte:
      return 1;
    case Missing::None:
      break;
  }
  return 0;
}
constexpr bool LayoutFits(const BlockLayout& b, int minLength) {
  for (const CopySegment& s : b.copy)
    if (s.from + s.size > minLength - 1 || s.to + s.size > b.blockSize) return false;
  for (const MissingTest& t : b.missing)
    if (t.offset + MissingFieldSize(t.kind) > minLength - 1) return false;
  return true;
}

// The layouts, one per storing message.
inline constexpr BlockLayout kArLayout{
    kFlagAR, offsetof(EpochRec, ar), sizeof(ArBlock), {{{0, 0, 29}}}, {}, &ScanContext::arSeen};
inline constexpr BlockLayout kMr73Layout{
    kFlagMR73, offsetof(EpochRec, mr73), sizeof(Mr73Block), {{{0, 0, 72}}},
    {},        &ScanContext::mr73Seen};
inline constexpr BlockLayout kMr37Layout{
    kFlagMR37, offsetof(EpochRec, mr37), sizeof(Mr37Block), {{{0, 0, 36}}},
    {},        &ScanContext::mr37Seen};
inline constexpr BlockLayout kZaLayout{kFlagZA,       offsetof(EpochRec, zaOffset), sizeof(float),
                                       {{{0, 0, 4}}}, {{{Missing::Single, 0}}},     nullptr};
inline constexpr BlockLayout kZbLayout{kFlagZB,       offsetof(EpochRec, zbOffset), sizeof(float),
                                       {{{0, 0, 4}}}, {{{Missing::Single, 0}}},     nullptr};
inline constexpr BlockLayout kLtLayout{kFlagLT, offsetof(EpochRec, lt), 1, {{{0, 0, 1}}}, {},
                                       nullptr};
inline constexpr BlockLayout kPgLayout{kFlagPG,
                                       offsetof(EpochRec, pg),
                                       sizeof(PgBlock),
                                       {{{0, 0, 29}}},
                                       {{{Missing::Double, 0},
                                         {Missing::Double, 8},
                                         {Missing::Double, 16},
                                         {Missing::Single, 24},
                                         {Missing::Byte, 28}}},
                                       nullptr};
inline constexpr BlockLayout kVgLayout{kFlagVG,
                                       offsetof(EpochRec, vg),
                                       sizeof(VgBlock),
                                       {{{0, 0, 17}}},
                                       {{{Missing::Single, 0},
                                         {Missing::Single, 4},
                                         {Missing::Single, 8},
                                         {Missing::Single, 12},
                                         {Missing::Byte, 16}}},
                                       nullptr};
// The time follows the type directly in the body but sits aligned at 32 in the block.
inline constexpr BlockLayout kBlLayout{kFlagBL,
                                       offsetof(EpochRec, bl),
                                       sizeof(BlBlock),
                                       {{{0, 0, 29}, {29, 32, 4}}},
                                       {{{Missing::Double, 0},
                                         {Missing::Double, 8},
                                         {Missing::Double, 16},
                                         {Missing::Single, 24},
                                         {Missing::Byte, 28},
                                         {Missing::Dword, 29}}},
                                       nullptr};
inline constexpr BlockLayout kBiLayout{kFlagBI,
                                       offsetof(EpochRec, bi),
                                       sizeof(BiBlock),
                                       {{{0, 0, 27}}},
                                       {{{Missing::Double, 0},
                                         {Missing::Double, 8},
                                         {Missing::Double, 16},
                                         {Missing::Word, 24},
                                         {Missing::Byte, 26}}},
                                       nullptr};
inline constexpr BlockLayout kPsLayout{kFlagPS,
                                       offsetof(EpochRec, ps),
                                       sizeof(PsBlock),
                                       {{{0, 0, 8}}},
                                       {{{Missing::Byte, 0},
                                         {Missing::Byte, 1},
                                         {Missing::Byte, 2},
                                         {Missing::Byte, 3},
                                         {Missing::Byte, 4},
                                         {Missing::Byte, 5},
                                         {Missing::Byte, 6},
                                         {Missing::Byte, 7}}},
                                       nullptr};
// Time and type are stored as two 32-bit values; the type byte widens by the cleared block.
inline constexpr BlockLayout kStLayout{kFlagST,
                                       offsetof(EpochRec, stTime),
                                       8,
                                       {{{0, 0, 5}}},
                                       {{{Missing::Dword, 0}, {Missing::Byte, 4}}},
                                       nullptr};
inline constexpr BlockLayout kPtLayout{kFlagPT,       offsetof(EpochRec, ptTime), 4,
                                       {{{0, 0, 4}}}, {{{Missing::Dword, 0}}},    nullptr};
inline constexpr BlockLayout kWoLayout{
    kFlagWO, offsetof(EpochRec, wo), sizeof(EpochRec::wo), {{{0, 0, 30}}}, {}, nullptr};

class BlockMessage : public TRecivMess {
 public:
  BlockMessage(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length,
               const BlockLayout& layout)
      : TRecivMess(c, row, body, length), layout_(layout) {}
  uint8_t Decode();

 protected:
  // Runs after the values passed and before the block is stored.
  virtual void OnAccepted() {}

 private:
  bool AnyMissing() const;

  const BlockLayout& layout_;
};

// The decoder of a storing message: its layout is its row of data.
template <const BlockLayout& Layout>
class Block : public BlockMessage {
 public:
  Block(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length)
      : BlockMessage(c, row, body, length, Layout) {}
};

// PPS offsets: variant 0 is input A, 1 input B. A usable offset also goes to the offsets file
// of its input and lights the external-events indicator.
class PpsOffsetMessage : public BlockMessage {
 public:
  PpsOffsetMessage(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length)
      : BlockMessage(c, row, body, length, row.variant == 0 ? kZaLayout : kZbLayout) {}

 protected:
  void OnAccepted() override;
};

// Five characters at body offsets 5..9, which reach past a 6-byte body into the bytes that
// follow it in the log; never past the end of the log, where blanks stand in.
class TSE : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// ">>": counted, nothing else; no length test, no checksum.
class TWrEcho : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

}  // namespace vnx
