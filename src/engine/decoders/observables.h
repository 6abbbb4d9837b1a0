#pragma once
// The per-slot measurement messages of an epoch: code, smoothing corrections and carrier
// phase in their four encodings, Doppler, signal-to-noise ratio, and the status messages that
// are only checked. All share one decoding shape driven by the member's row of data; each
// identifier family keeps its own named class.
#include <cstdint>

#include "engine/decoders/observable_members.h"
#include "engine/stream/message.h"

namespace vnx {

// Checksum, unusable epoch, length against SatCount, then one entry per slot in "SI" order.
class TObservable : public TRecivMess {
 public:
  uint8_t Decode();

 protected:
  TObservable(ScanContext& c, const uint8_t* body, int32_t length, const char* name,
              ObsMember member, int signal)
      : TRecivMess(c, body, length, name), m_(MemberOf(member)), signal_(signal) {}

 private:
  bool LengthFits();
  bool ReadEntry(const uint8_t* entry, long double& raw) const;
  bool ValueOf(int slot, const uint8_t* entry, long double& value) const;
  void Put(int slot, int signal, long double value);

  const ObservableMember& m_;
  int signal_;
};

// The families with a signal index take it and their name from the identifier table.
template <ObsMember M>
class TSignalObservable : public TObservable {
 public:
  TSignalObservable(ScanContext& c, const uint8_t* body, int32_t length, int signal,
                    const char* name)
      : TObservable(c, body, length, name, M, signal) {}
};

class TRC : public TSignalObservable<ObsMember::RC> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TRCInt : public TSignalObservable<ObsMember::RCInt> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TRCRel : public TSignalObservable<ObsMember::RCRel> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TRCRelInt : public TSignalObservable<ObsMember::RCRelInt> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TCC : public TSignalObservable<ObsMember::CC> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TCCInt : public TSignalObservable<ObsMember::CCInt> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TPC : public TSignalObservable<ObsMember::PC> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TPCInt : public TSignalObservable<ObsMember::PCInt> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TPCRel : public TSignalObservable<ObsMember::PCRel> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TPCRelInt : public TSignalObservable<ObsMember::PCRelInt> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TDC : public TSignalObservable<ObsMember::DC> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TEC : public TSignalObservable<ObsMember::EC> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TCE : public TSignalObservable<ObsMember::CE> {
 public:
  using TSignalObservable::TSignalObservable;
};
class TFC : public TSignalObservable<ObsMember::FC> {
 public:
  using TSignalObservable::TSignalObservable;
};

class TSS : public TObservable {
 public:
  TSS(ScanContext& c, const uint8_t* body, int32_t length)
      : TObservable(c, body, length, "SS", ObsMember::SS, 0) {}
};

class TTC : public TObservable {
 public:
  TTC(ScanContext& c, const uint8_t* body, int32_t length)
      : TObservable(c, body, length, "TC", ObsMember::TC, 0) {}
};

// A time tag, checked and not kept.
class TTT : public TRecivMess {
 public:
  TTT(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "TT", 5) {}
  uint8_t Decode();
};

}  // namespace vnx
