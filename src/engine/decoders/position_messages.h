#pragma once
// The receiver's own solution of an epoch: position "PO", velocity "VE", both "PV", dilutions
// of precision "DP", RMS errors "SG" and the covariance matrices "SP" and "SV". They fill the
// position block, which CloseEpoch copies into the epoch record when byte 0 of that record is
// set; "SP" writes straight into the epoch record.
#include <cstdint>

#include "engine/stream/message.h"

namespace vnx {

// The solution type byte that means "no solution".
inline constexpr uint8_t kTipMissing = 255;

// One shape for the seven messages: minimum length, checksum, then nothing at all in an
// unusable epoch or from a body too short to hold the fields; otherwise Store() reads the
// fields in body order and stops at the first missing one.
class TPositionMess : public TRecivMess {
 public:
  uint8_t Decode();

 protected:
  TPositionMess(ScanContext& c, const uint8_t* body, int32_t length, const char* name,
                uint16_t minLength)
      : TRecivMess(c, body, length, name, minLength) {}
  virtual void Store() = 0;
};

class TPO : public TPositionMess {
 public:
  TPO(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "PO", 30) {}

 protected:
  void Store() override;
};

class TVE : public TPositionMess {
 public:
  TVE(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "VE", 18) {}

 protected:
  void Store() override;
};

class TPV : public TPositionMess {
 public:
  TPV(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "PV", 46) {}

 protected:
  void Store() override;
};

class TDP : public TPositionMess {
 public:
  TDP(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "DP", 14) {}

 protected:
  void Store() override;
};

class TSG : public TPositionMess {
 public:
  TSG(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "SG", 18) {}

 protected:
  void Store() override;
};

class TSP : public TPositionMess {
 public:
  TSP(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "SP", 42) {}

 protected:
  void Store() override;
};

// Same layout as "SP"; only checked, nothing is kept.
class TSV : public TPositionMess {
 public:
  TSV(ScanContext& c, const uint8_t* body, int32_t length)
      : TPositionMess(c, body, length, "SV", 42) {}

 protected:
  void Store() override {}
};

}  // namespace vnx
