#pragma once
// The per-slot measurement messages of an epoch: code, smoothing corrections and carrier
// phase in their four encodings, Doppler, signal-to-noise ratio, and the status messages that
// are only checked. All share one decoding shape driven by the member's row of data.
#include <cstdint>

#include "engine/decoders/message.h"
#include "engine/decoders/observable_members.h"

namespace vnx {

// Checksum, unusable epoch, length against SatCount, then one entry per slot in "SI" order. The
// row's variant is the signal index.
class ObservableMessage : public TRecivMess {
 public:
  uint8_t Decode();

 protected:
  ObservableMessage(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length,
                    const ObservableMember& member)
      : TRecivMess(c, row, body, length), m_(member), signal_(row.variant) {}

 private:
  bool LengthFits();
  bool ReadEntry(const uint8_t* entry, long double& raw) const;
  bool ValueOf(int slot, const uint8_t* entry, long double& value) const;
  void Put(int slot, int signal, long double value);

  const ObservableMember& m_;
  int signal_;
};

// The decoder of every identifier of one member: the member is its row of data.
template <const ObservableMember& Member>
class MemberMessage : public ObservableMessage {
 public:
  MemberMessage(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length)
      : ObservableMessage(c, row, body, length, Member) {}
};

}  // namespace vnx
