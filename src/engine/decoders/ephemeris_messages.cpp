#include "engine/decoders/ephemeris_messages.h"

#include <string>

#include "engine/decoders/time_messages.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

constexpr int64_t kWeek = kSecondsPerWeek;
constexpr int64_t kDay = kSecondsPerDay;
constexpr int32_t kToeWindow = 100000;     // toe further than this from tow is another week's
constexpr int64_t kDateWindow = 72000;     // 20 h: the ephemeris day against the receiver's
constexpr int64_t kGlonassOffset = 10800;  // the GLONASS scale runs 3 h ahead of UTC
constexpr uint8_t kFromMemoryBit = 0x40;

// The value in 32-bit two's complement, as the receiver's own arithmetic leaves it.
int32_t Wrap32(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

// value / divisor rounded to the nearest integer, ties to the even neighbour; value >= 0.
int64_t RoundHalfEven(int64_t value, int64_t divisor) {
  int64_t q = value / divisor;
  const int64_t twice = 2 * (value % divisor);
  if (twice > divisor || (twice == divisor && q % 2 != 0)) ++q;
  return q;
}

TimeRec TimeRecAt(int64_t secondsSinceEpoch) {
  return TimeRecFromTime(TGPSTime(static_cast<uint32_t>(secondsSinceEpoch)));
}

std::string WrongSatelliteText(int n) {
  return " Erroneous N Satellite = " + std::to_string(n);
}

}  // namespace

NormalisedToe NormaliseToe(int32_t week, uint32_t tow, int32_t toe) {
  const int64_t base = static_cast<int64_t>(week) * kWeek;
  const int32_t towTime = Wrap32(base + tow);
  int32_t toeTime = Wrap32(base + toe);
  // Two steps in sequence: a toe moved back by the first may be moved forward again.
  if (Wrap32(static_cast<int64_t>(toeTime) - towTime) > kToeWindow) {
    toeTime = Wrap32(toeTime - kWeek);
    toe = Wrap32(toe - kWeek);
  }
  if (Wrap32(static_cast<int64_t>(towTime) - toeTime) > kToeWindow) {
    toeTime = Wrap32(toeTime + kWeek);
    toe = Wrap32(toe + kWeek);
  }
  return {toe, toeTime};
}

KeplerEphFields KeplerEphemerisMessage::ReadFields() const {
  KeplerEphFields k{};
  k.sv = Body[0];
  k.tow = Field<uint32_t>(1);
  k.flags = Body[5];
  k.iodc = Field<int16_t>(6);
  k.toc = Field<int32_t>(8);
  k.ura = Field<int8_t>(12);
  k.health = Body[13];
  k.wn = Field<int16_t>(14);
  k.tgd = Field<float>(16);
  k.af2 = Field<float>(20);
  k.af1 = Field<float>(24);
  k.af0 = Field<float>(28);
  k.toe = Field<int32_t>(32);
  k.iode = Field<int16_t>(36);
  k.rootA = Field<double>(38);
  k.ecc = Field<double>(46);
  k.m0 = Field<double>(54);
  k.omega0 = Field<double>(62);
  k.inc0 = Field<double>(70);
  k.per = Field<double>(78);
  k.deln = Field<float>(86);
  k.omDot = Field<float>(90);
  k.iDot = Field<float>(94);
  k.crc = Field<float>(98);
  k.crs = Field<float>(102);
  k.cuc = Field<float>(106);
  k.cus = Field<float>(110);
  k.cic = Field<float>(114);
  k.cis = Field<float>(118);
  return k;
}

uint8_t KeplerEphemerisMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;  // a short body stores nothing and is not read
  KeplerEphFields k = ReadFields();
  const int32_t week = TGPSWeek(k.wn).Week();
  const NormalisedToe toe = NormaliseToe(week, k.tow, k.toe);
  k.toe = toe.toe;
  const TimeRec time = TimeRecAt(toe.toeTime);
  // Before the satellite test: an ephemeris with a bad number still dates the log.
  DeriveReceiverDate(k, week);
  if (k.sv < 1 || k.sv > 32) {
    AddError(WrongSatelliteText(k.sv));
    return 1;
  }
  Store(k, time);
  TakeUtcWeek(time);
  return 1;
}

// A log without a date of its own takes it from the first ephemeris after a receiver time:
// the day of the ephemeris tow, moved by a day when the receiver's time of day lies on the
// other side of midnight. GE ephemerides recalled from memory may be old and are not used.
void KeplerEphemerisMessage::DeriveReceiverDate(const KeplerEphFields& k, int32_t week) {
  const EpochState& e = ctx.epoch;
  if (e.DayNumber != 0 || e.SkipNextDiff) return;
  if (!galileo_ && (k.flags & kFromMemoryBit) != 0) return;
  int64_t d = static_cast<int64_t>(week) * kWeek + k.tow;
  const int64_t ofDay = d % kDay;
  const int64_t receiver = RoundHalfEven(e.TimeOfDayMs, 1000);
  if (ofDay - receiver > kDateWindow)
    d += kDay;
  else if (receiver - ofDay > kDateWindow)
    d -= kDay;
  const TGPSTime date(static_cast<uint32_t>(d));
  TakeDerivedDate(ctx, static_cast<uint16_t>(date.Year()), static_cast<uint8_t>(date.Month()),
                  static_cast<uint8_t>(date.Day()));
}

void KeplerEphemerisMessage::Store(const KeplerEphFields& k, const TimeRec& time) {
  if (!galileo_) {
    ctx.Light(Indicator::EphGps);
    EphemGPSRec rec{};
    rec.sv = k.sv;
    rec.time = time;
    rec.body.k = k;
    ctx.ephemerides.WriteGps(ctx.files, rec);
    return;
  }
  ctx.Light(Indicator::EphGal);
  EphemGALRec rec{};
  rec.sv = k.sv;
  rec.time = time;
  rec.body.k = k;
  rec.body.bcdA = Field<float>(122);
  rec.body.bcdB = Field<float>(126);
  rec.body.ai0 = Field<float>(130);
  rec.body.ai1 = Field<float>(134);
  rec.body.ai2 = Field<float>(138);
  rec.body.sfi = Body[142];
  ctx.ephemerides.WriteGalileo(ctx.files, rec);
}

// Once per scan, the first valid GPS or Galileo ephemeris after a "UO" gives the UTC
// parameters its week; a later "UO" overwrites it and stays.
void KeplerEphemerisMessage::TakeUtcWeek(const TimeRec& time) {
  if (!ctx.epoch.UtcSeen || ctx.utcWeekFromEphemeris) return;
  ctx.utc.wnt = static_cast<uint16_t>(TGPSTime::FromTimeRec(time).Week().Week());
  ctx.utcWeekFromEphemeris = true;
}

int64_t GlonassReferenceTime(int64_t dayNumber, int16_t dne, int32_t tb, int8_t dtls) {
  const int32_t year = TGPSTime(static_cast<uint32_t>(dayNumber * kDay)).Year();
  const int32_t r = year % 4;
  int32_t periodStart = year - r;
  if (r == 0 && dne > 366) periodStart -= 4;  // the day lies in the previous period
  if (r != 0 && dne < 2) periodStart += 4;    // the day lies in the next period
  const int64_t d0 = TGPSTime::FromCalendar(periodStart, 1, 1, 0, 0, 0).DayCount();
  int64_t t = (d0 + dne - 1) * kDay + tb - kGlonassOffset;
  if (static_cast<int64_t>(tb) < kGlonassOffset - dtls) t += kDay;
  return t;
}

int64_t SbasReferenceTime(uint32_t towMs, int32_t tod, uint16_t wn) {
  const int64_t s = RoundHalfEven(towMs, 1000);
  const int64_t sow = s / kDay * kDay + tod;
  return static_cast<int64_t>(TGPSWeek(wn).Week()) * kWeek + sow;
}

GloEphBody TNE::ReadFields() const {
  GloEphBody b{};
  b.sv = Body[0];
  b.frqNum = Field<int8_t>(1);
  b.dne = Field<int16_t>(2);
  b.tk = Field<int32_t>(4);
  b.tb = Field<int32_t>(8);
  b.health = Body[12];
  b.age = Body[13];
  b.flags = Body[14];
  for (int i = 0; i < 3; ++i) {
    b.r[i] = Field<double>(15 + 8 * i);
    b.v[i] = Field<float>(39 + 4 * i);
    b.w[i] = Field<float>(51 + 4 * i);
  }
  b.tauSys = Field<double>(63);
  b.tau = Field<float>(71);
  b.gamma = Field<float>(75);
  return b;
}

TimeRec TNE::ReferenceTime(const GloEphBody& b) const {
  return TimeRecAt(GlonassReferenceTime(ctx.epoch.DayNumber, b.dne, b.tb, ctx.utc.dtls));
}

uint8_t TNE::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  const GloEphBody b = ReadFields();
  if (b.sv == 255 || b.dne == 32767) {
    AddError(" Bad GLONASS ephemeris. Missing SV number or day.");
    return 1;
  }
  if (ctx.epoch.DayNumber == 0) return 1;  // the period of dne is not known yet
  EphemGLORec rec{};
  rec.sv = b.sv;
  rec.time = ReferenceTime(b);
  rec.body = b;
  if (b.sv < 1 || b.sv > 24) {
    AddError("Errneous N Satellite");
    return 1;
  }
  ctx.Light(Indicator::EphGlo);
  ctx.ephemerides.WriteGlonass(ctx.files, rec);
  return 1;
}

GeoEphBody TWE::ReadFields() const {
  GeoEphBody b{};
  b.sv = Body[0];
  b.svAux = Body[1];
  b.iod = Body[2];
  b.ura = Body[3];
  b.tod = Field<int32_t>(4);
  for (int i = 0; i < 3; ++i) {
    b.r[i] = Field<double>(8 + 8 * i);
    b.v[i] = Field<float>(32 + 4 * i);
    b.w[i] = Field<float>(44 + 4 * i);
  }
  b.aGf0 = Field<float>(56);
  b.aGf1 = Field<float>(60);
  b.tow = Field<uint32_t>(64);
  b.wn = Field<uint16_t>(68);
  return b;
}

uint8_t TWE::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  if (ctx.epoch.DayNumber == 0) return 1;  // dropped until the log has a date
  const GeoEphBody b = ReadFields();
  EphemGEORec rec{};
  rec.sv = b.sv;
  rec.svAux = b.svAux;
  rec.time = TimeRecAt(SbasReferenceTime(b.tow, b.tod, b.wn));
  rec.body = b;
  if (b.sv < 120 || b.sv > 138) {
    AddError(WrongSatelliteText(b.sv));
    return 1;
  }
  ctx.Light(Indicator::EphSbas);
  ctx.ephemerides.WriteSbas(ctx.files, rec);
  return 1;
}

}  // namespace vnx
