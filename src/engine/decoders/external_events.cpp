#include "engine/decoders/external_events.h"

#include <cmath>
#include <limits>

#include "engine/epoch/record_writers.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

constexpr int64_t kDayMs = 86400000;
constexpr int64_t kSecondNs = 1000000000;
// A UTC correction beyond a day is a damaged parameter set, not a clock difference.
constexpr double kMaxCorrectionSeconds = 86400.0;

// A difference of ten-bit week numbers, brought into -512..512.
int32_t WrapWeeks(int32_t d) {
  if (d > 512) d -= 1024;
  if (d < -512) d += 1024;
  return d;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

double UtcCorrection(const UtcBlock& utc, int32_t wk, int64_t weekMs) {
  const int32_t dw = WrapWeeks(wk - utc.wnt);
  return (static_cast<double>(weekMs) / 1000.0 - utc.tot + 604800.0 * dw) * utc.a1 + utc.a0;
}

int32_t LeapSecondsForEvent(const UtcBlock& utc, int32_t wk, int32_t dow, int64_t timeOfDayMs,
                            int64_t eventMs) {
  const int32_t dv = WrapWeeks(wk - utc.wnlsf);
  // Days of the running epoch counted from the start of week wnlsf; the leap instant is the
  // end of day dn (days numbered from 1), that is x = dn.
  const double x = 7.0 * dv + static_cast<double>(kDayMs * dow + timeOfDayMs) / kDayMs;
  if (x < utc.dn - 0.25) return utc.dtls;
  if (x > utc.dn + 0.25) return utc.dtlsf;
  // Near GPS midnight the UTC day of the event lags the GPS day of the epoch, so the event's
  // day is taken as the one that places it nearest the epoch (counting days from 0 here).
  const double eventDay = x - (utc.dtls * 1000.0 + static_cast<double>(eventMs)) / kDayMs;
  const auto day = static_cast<int64_t>(std::floor(eventDay + 0.5));
  return day < utc.dn ? utc.dtls : utc.dtlsf;
}

bool TXAXB::ConvertFromUtc(int64_t& ms, int64_t& ns) const {
  const EpochState& e = ctx.epoch;
  const TGPSTime day(static_cast<uint32_t>(e.DayNumber * kSecondsPerDay));
  const auto wk = static_cast<int32_t>(day.WeekNumber10());
  const int32_t dow = day.DayOfWeek();
  // Milliseconds of the week of the running epoch: the parameters apply to the receiver's
  // time, which the event shares to well within their drift.
  const double delta = UtcCorrection(ctx.utc, wk, kDayMs * dow + e.TimeOfDayMs);
  if (!(std::fabs(delta) < kMaxCorrectionSeconds)) return false;
  const int32_t leap = LeapSecondsForEvent(ctx.utc, wk, dow, e.TimeOfDayMs, ms);
  const auto s = static_cast<int64_t>(std::trunc(delta));
  const double fraction = (delta - static_cast<double>(s)) * 1e9;
  const auto f = static_cast<int64_t>(delta >= 0 ? fraction + 0.5 : fraction - 0.5);
  ns += f % 1000000;
  ms += f / 1000000 + (leap + s) * 1000;
  if (ns > 999999) {
    ns -= 1000000;
    ++ms;
  } else if (ns < 0) {
    ns += 1000000;
    --ms;
  }
  return true;
}

bool TXAXB::Store(int64_t ms, int64_t ns, uint8_t scale) {
  // A converted time past midnight belongs to the day of the running epoch: the receiver's
  // UTC day still lags its GPS day by the leap seconds.
  if (ms >= kDayMs) ms -= kDayMs;
  // A negative time of day lies on the day before; carry whole seconds out of the
  // nanoseconds so the record always holds a valid time.
  int64_t seconds = ctx.epoch.DayNumber * kSecondsPerDay + FloorDiv(ms, 1000);
  int64_t nanoseconds = (ms - FloorDiv(ms, 1000) * 1000) * 1000000 + ns;
  seconds += FloorDiv(nanoseconds, kSecondNs);
  nanoseconds -= FloorDiv(nanoseconds, kSecondNs) * kSecondNs;
  if (seconds < 0 || seconds > std::numeric_limits<uint32_t>::max()) return false;

  ExtEventRec rec{};
  rec.time = TimeRecFromTimeNS(TGPSTimeNS(static_cast<uint32_t>(seconds), nanoseconds));
  rec.isXA = isXA_ ? 1 : 0;
  rec.timeScale = scale;
  ctx.Light(Indicator::ExternalEvents);
  WriteExtEvent(ctx, rec);
  ctx.fileOpened = 1;
  return true;
}

uint8_t TXAXB::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  // Without a time scale byte the event is still dated; shorter bodies lack the time itself.
  if (Length < 9) return 1;
  const EpochState& e = ctx.epoch;
  if (e.DayNumber == 0) return 1;  // no date yet: the event cannot be dated
  int64_t ms = Field<int32_t>(0);
  int64_t ns = Field<int32_t>(4);
  uint8_t scale;
  if (Length == 9) {
    scale = kScaleUnknown;
    AddError(" Time scale = Unknown");
  } else {
    scale = Body[8];
  }
  if (scale == kScaleUtc && !e.SkipNextDiff && e.UtcSeen && ConvertFromUtc(ms, ns))
    scale = kScaleGps;
  Store(ms, ns, scale);
  return 1;
}

}  // namespace vnx
