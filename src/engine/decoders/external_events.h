#pragma once
// Pulses on the receiver's two event inputs, "XA" and "XB": the time of day of the pulse,
// in the time scale the receiver reports, dated on the day of the running epoch, converted
// from UTC to GPS time when the UTC parameters are known, and appended to the input's file.
#include <cstdint>

#include "engine/decoders/message.h"

namespace vnx {

// Time scale codes of an event.
inline constexpr uint8_t kScaleGps = 0;
inline constexpr uint8_t kScaleUtc = 1;
inline constexpr uint8_t kScaleUnknown = 15;

// The leap-second count that applies to an event given in UTC (`eventMs`, time of day) while
// the running epoch lies in week `wk` (ten bits), day of week `dow`, at `timeOfDayMs`.
// More than six hours before the leap instant of `utc` it is `dtls`, more than six hours after
// it `dtlsf`. Inside that window the event itself decides: its UTC day is the one that puts it
// nearest the running epoch, and every instant of the leap day up to and including the
// inserted second (time of day 86 400 000..86 400 999) still counts `dtls`; from midnight of
// the following day on, `dtlsf`.
int32_t LeapSecondsForEvent(const UtcBlock& utc, int32_t wk, int32_t dow, int64_t timeOfDayMs,
                            int64_t eventMs);

// The part of GPS minus UTC beyond the whole leap seconds, in seconds, for the running epoch at
// `weekMs` of ten-bit week `wk`: a0 + a1 (t - tot), t - tot counted across weeks.
double UtcCorrection(const UtcBlock& utc, int32_t wk, int64_t weekMs);

// Input 0 is "XA", input 1 is "XB".
// The scanner's documented name.
class TXAXB : public TRecivMess {
 public:
  TXAXB(ScanContext& c, const IdentifierRow& row, const uint8_t* body, int32_t length)
      : TRecivMess(c, row, body, length), isXA_(row.variant == 0) {}
  uint8_t Decode();

 private:
  // Adds the UTC-to-GPS difference to the event time; false (time untouched) when the UTC
  // parameters give no usable correction.
  bool ConvertFromUtc(int64_t& ms, int64_t& ns) const;
  // Dates the event on the running day and hands the record over; false when the time cannot
  // be dated at all.
  bool Store(int64_t ms, int64_t ns, uint8_t scale);

  bool isXA_;
};

}  // namespace vnx
