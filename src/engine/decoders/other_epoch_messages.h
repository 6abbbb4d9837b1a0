#pragma once
// The remaining epoch messages: attitude ("AR", "mr", "MR"), PPS time offsets ("ZA", "ZB"),
// "LT", the position and baseline messages "PG", "VG", "BL", "BI", the status messages "PS",
// "ST", "PT", the parameter message "WO", the five characters of "SE", the echo counter ">>"
// and the checked-only "YA", "YB", "WA", "ID".
//
// The storing messages share one shape: checksum, skip an unusable epoch, refuse the frame's
// values when one of them carries the receiver's missing marker, else copy the body into its
// block of the epoch record and set the presence flag. Each is one row of data.
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/decoders/parameter_messages.h"
#include "engine/stream/message.h"

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

struct BlockRow {
  const char* name;
  uint16_t minLength;
  EpochFlag flag;
  uint16_t recOffset;                  // the block's offset in EpochRec
  uint8_t blockSize;                   // cleared before the copy
  std::array<CopySegment, 2> copy;     // a segment of size 0 is unused
  std::array<MissingTest, 8> missing;  // tests of kind None are unused
  bool ScanContext::*seen;             // scan-wide flag, or nullptr
};

// The rows, one per storing message.
extern const BlockRow kRowAR, kRowMR73, kRowMR37, kRowZA, kRowZB, kRowLT, kRowPG, kRowVG, kRowBL,
    kRowBI, kRowPS, kRowST, kRowPT, kRowWO;

class TBlockMess : public TRecivMess {
 public:
  TBlockMess(ScanContext& c, const uint8_t* body, int32_t length, const BlockRow& row)
      : TRecivMess(c, body, length, row.name, row.minLength), row_(row) {}
  uint8_t Decode();

 protected:
  // Runs after the values passed and before the block is stored.
  virtual void OnAccepted() {}
  const BlockRow& row_;

 private:
  bool AnyMissing() const;
};

class TAR : public TBlockMess {
 public:
  TAR(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowAR) {}
};
class TMR73 : public TBlockMess {
 public:
  TMR73(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowMR73) {}
};
class TMR37 : public TBlockMess {
 public:
  TMR37(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowMR37) {}
};
class TLT : public TBlockMess {
 public:
  TLT(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowLT) {}
};
class TPG : public TBlockMess {
 public:
  TPG(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowPG) {}
};
class TVG : public TBlockMess {
 public:
  TVG(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowVG) {}
};
class TBL : public TBlockMess {
 public:
  TBL(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowBL) {}
};
class TBI : public TBlockMess {
 public:
  TBI(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowBI) {}
};
class TPS : public TBlockMess {
 public:
  TPS(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowPS) {}
};
class TST : public TBlockMess {
 public:
  TST(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowST) {}
};
class TPT : public TBlockMess {
 public:
  TPT(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowPT) {}
};
class TWO : public TBlockMess {
 public:
  TWO(ScanContext& c, const uint8_t* b, int32_t l) : TBlockMess(c, b, l, kRowWO) {}
};

// Input 0 is "ZA", input 1 is "ZB". A usable offset also goes to the offsets file of its
// input and lights the external-events indicator.
class TZAZB : public TBlockMess {
 public:
  TZAZB(ScanContext& c, const uint8_t* b, int32_t l, int input)
      : TBlockMess(c, b, l, input == 0 ? kRowZA : kRowZB) {}

 protected:
  void OnAccepted() override;
};

// Five characters at body offsets 5..9, which reach past a 6-byte body into the bytes that
// follow it in the log; never past the end of the log, where blanks stand in.
class TSE : public TRecivMess {
 public:
  TSE(ScanContext& c, const uint8_t* b, int32_t l) : TRecivMess(c, b, l, "SE", 6) {}
  uint8_t Decode();
};

// ">>": counted, nothing else; no length test, no checksum.
class TWrEcho : public TRecivMess {
 public:
  TWrEcho(ScanContext& c, const uint8_t* b, int32_t l) : TRecivMess(c, b, l, ">>") {}
  uint8_t Decode();
};

// "YA" and "YB" are both reported as "YA".
class TYAB : public TCheckedOnly {
 public:
  TYAB(ScanContext& c, const uint8_t* b, int32_t l) : TCheckedOnly(c, b, l, "YA", 10) {}
};
class TWA : public TCheckedOnly {
 public:
  TWA(ScanContext& c, const uint8_t* b, int32_t l) : TCheckedOnly(c, b, l, "WA", 39) {}
};
class TID : public TCheckedOnly {
 public:
  TID(ScanContext& c, const uint8_t* b, int32_t l) : TCheckedOnly(c, b, l, "ID", 0) {}
};

}  // namespace vnx
