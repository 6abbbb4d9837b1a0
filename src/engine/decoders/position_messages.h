#pragma once
// The receiver's own solution of an epoch: position "PO", velocity "VE", both "PV", dilutions
// of precision "DP", RMS errors "SG" and the covariance matrices "SP" and "SV". They fill the
// position block, which CloseEpoch copies into the epoch record when byte 0 of that record is
// set; "SP" writes straight into the epoch record.
#include <cstdint>

#include "engine/decoders/message.h"

namespace vnx {

// The solution type byte that means "no solution".
inline constexpr uint8_t kTipMissing = 255;

// One shape for the seven messages: minimum length, checksum, then nothing at all in an
// unusable epoch or from a body too short to hold the fields; otherwise Store() reads the
// fields in body order and stops at the first missing one.
class PositionMessage : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 protected:
  virtual void Store() = 0;
};

class TPO : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

class TVE : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

class TPV : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

class TDP : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

class TSG : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

class TSP : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override;
};

// Same layout as "SP"; only checked, nothing is kept.
class TSV : public PositionMessage {
 public:
  using PositionMessage::PositionMessage;

 protected:
  void Store() override {}
};

}  // namespace vnx
