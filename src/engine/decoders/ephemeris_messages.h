#pragma once
// Ephemeris messages: "GE" (GPS) and "EN" (Galileo, the GE body with six fields appended),
// "NE" (GLONASS) and "WE" (SBAS). Each valid ephemeris becomes one record for the ephemeris
// writer of its system; GE and EN can also supply the receiver date while none is known yet.
#include <cstdint>

#include "engine/decoders/message.h"
#include "engine/ephemeris/ephemeris_records.h"

namespace vnx {

// The reference times of a GE/EN body: toe is brought within 100000 s of tow, first back by a
// week, then forward by a week. Times are seconds since the GPS epoch in 32-bit arithmetic.
struct NormalisedToe {
  int32_t toe;      // the stored toe
  int32_t toeTime;  // week * 604800 + toe
};
NormalisedToe NormaliseToe(int32_t week, uint32_t tow, int32_t toe);

// GE and EN share one shape; variant 1 (Galileo) selects the longer body, the indicator and
// the file.
class KeplerEphemerisMessage : public TRecivMess {
 public:
  KeplerEphemerisMessage(ScanContext& c, const IdentifierRow& row, const uint8_t* body,
                         int32_t length)
      : TRecivMess(c, row, body, length), galileo_(row.variant == 1) {}
  uint8_t Decode();

 private:
  KeplerEphFields ReadFields() const;
  void DeriveReceiverDate(const KeplerEphFields& k, int32_t week);
  void Store(const KeplerEphFields& k, const TimeRec& time);
  void TakeUtcWeek(const TimeRec& time);

  bool galileo_;
};

// GLONASS: stored only once the receiver date is known; the record time is UTC.
class TNE : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 private:
  GloEphBody ReadFields() const;
  TimeRec ReferenceTime(const GloEphBody& b) const;
};

// SBAS: stored only once the receiver date is known.
class TWE : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 private:
  GeoEphBody ReadFields() const;
};

// The GLONASS reference time in seconds since the GPS epoch (UTC): the day `dne` of the
// four-year period around the receiver date `dayNumber`, plus `tb` on the GLONASS scale
// (UTC + 3 h); a `tb` below 3 h (less the leap seconds `dtls`) belongs to the next day.
int64_t GlonassReferenceTime(int64_t dayNumber, int16_t dne, int32_t tb, int8_t dtls);

// The SBAS reference time: the day of `towMs` (rounded to whole seconds, ties to even) of the
// week `wn`, plus the time of day `tod`.
int64_t SbasReferenceTime(uint32_t towMs, int32_t tod, uint16_t wn);

}  // namespace vnx
