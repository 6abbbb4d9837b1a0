#include "tools/synth/frames.h"

#include <cmath>

#include "tools/synth/frame_builder.h"

namespace vnx::synth {
namespace {

constexpr double kSemiCircle = 3.1415926535898;

// URA index of a GPS accuracy in metres.
int8_t UraIndex(double metres) {
  static const double kLimits[] = {2.4, 3.4, 4.85, 6.85, 9.65, 13.65, 24,  48,
                                   96,  192, 384,  768,  1536, 3072,  6144};
  for (int i = 0; i < 15; ++i)
    if (metres <= kLimits[i]) return static_cast<int8_t>(i);
  return 15;
}

uint32_t SecondsOfWeek(double t) {
  double w = std::floor(t / kSecondsPerWeek);
  return static_cast<uint32_t>(std::llround(t - w * kSecondsPerWeek));
}

}  // namespace

std::string FrameIdentifier() {
  std::string body = "RLOGF VNX Receiver Log File  written by vnx-synth from RINEX observations";
  body.resize(85, ' ');
  return BuildRawFrame("VN", body);
}

std::string FrameParameter(const std::string& text) {
  return BuildRawFrame("PM", text);
}

std::string FrameReceiverTime(uint32_t msOfDay) {
  return BuildFrame("~~", Payload().U32(msOfDay));
}

std::string FrameGpsTime(uint32_t msOfWeek, uint16_t week) {
  return BuildFrame("GT", Payload().U32(msOfWeek).U16(week));
}

std::string FrameDate(int year, int month, int day) {
  return BuildFrame("RD", Payload()
                              .U16(static_cast<uint16_t>(year))
                              .U8(static_cast<uint8_t>(month))
                              .U8(static_cast<uint8_t>(day))
                              .U8(0));
}

std::string FrameEvent(int32_t msOfDay, uint8_t type, const std::string& text) {
  return BuildFrame("==", Payload().I32(msOfDay).U8(type).Bytes(text));
}

std::string FrameSatIndex(const std::vector<uint8_t>& usi) {
  Payload p;
  for (uint8_t u : usi) p.U8(u);
  return BuildFrame("SI", p);
}

std::string FrameAntennas(const std::string& letters) {
  return BuildFrame("AN", letters);
}

std::string FrameGloNumbers(const std::vector<uint8_t>& slots) {
  Payload p;
  for (uint8_t s : slots) p.U8(s);
  return BuildFrame("NN", p);
}

std::string FrameElevations(const std::vector<double>& deg) {
  Payload p;
  for (double d : deg) p.I8(std::isnan(d) ? int8_t{127} : static_cast<int8_t>(std::lround(d)));
  return BuildFrame("EL", p);
}

std::string FrameAzimuths(const std::vector<double>& deg) {
  Payload p;
  for (double d : deg) {
    if (std::isnan(d)) {
      p.U8(255);
      continue;
    }
    long half = std::lround(d / 2.0);
    p.U8(static_cast<uint8_t>(half >= 180 ? half - 180 : half));
  }
  return BuildFrame("AZ", p);
}

std::string FramePosition(const Solution& s) {
  return BuildFrame("PO", Payload().F64(s.x).F64(s.y).F64(s.z).F32(s.sigma).U8(s.type));
}

std::string FrameVelocity(const Solution& s) {
  return BuildFrame("VE", Payload().F32(s.vx).F32(s.vy).F32(s.vz).F32(s.vSigma).U8(s.type));
}

std::string FrameDops(const Solution& s) {
  return BuildFrame("DP", Payload().F32(s.hdop).F32(s.vdop).F32(s.tdop).U8(s.type));
}

std::string FrameRms(const Solution& s) {
  return BuildFrame("SG", Payload().F32(s.hpos).F32(s.vpos).F32(s.hvel).F32(s.vvel).U8(s.type));
}

std::string FrameIono(uint32_t tot, uint16_t week, const std::array<double, 4>& alpha,
                      const std::array<double, 4>& beta) {
  Payload p;
  p.U32(tot).U16(week);
  for (double a : alpha) p.F32(static_cast<float>(a));
  for (double b : beta) p.F32(static_cast<float>(b));
  return BuildFrame("IO", p);
}

std::string FrameUtc(const UtcParameters& u) {
  return BuildFrame("UO", Payload()
                              .F64(u.a0)
                              .F32(static_cast<float>(u.a1))
                              .U32(u.tot)
                              .U16(u.wnt)
                              .I8(u.dtls)
                              .U8(u.dn)
                              .U16(u.wnlsf)
                              .I8(u.dtlsf));
}

std::string FrameKepler(const KeplerEph& e, const std::array<double, 3>& galIon) {
  bool galileo = e.id.sys == Gnss::Galileo;
  double week = std::floor(e.transmitTime / kSecondsPerWeek);
  uint8_t flags = static_cast<uint8_t>((e.fitInterval > 4 ? 1 : 0) | (e.l2pFlag != 0 ? 2 : 0) |
                                       ((static_cast<int>(e.codesL2) & 3) << 2) | 0x10);
  Payload p;
  p.U8(static_cast<uint8_t>(e.id.prn))
      .U32(SecondsOfWeek(e.transmitTime))
      .U8(galileo ? 0 : flags)
      .I16(static_cast<int16_t>(galileo ? e.iode : e.iodc))
      .I32(static_cast<int32_t>(SecondsOfWeek(e.toc)))
      .I8(UraIndex(e.accuracy))
      .U8(static_cast<uint8_t>(e.health))
      .I16(static_cast<int16_t>(week))
      .F32(static_cast<float>(e.tgd))
      .F32(static_cast<float>(e.af2))
      .F32(static_cast<float>(e.af1))
      .F32(static_cast<float>(e.af0))
      .I32(static_cast<int32_t>(SecondsOfWeek(e.toe)))
      .I16(static_cast<int16_t>(e.iode))
      .F64(e.sqrtA)
      .F64(e.ecc)
      .F64(e.m0 / kSemiCircle)
      .F64(e.omega0 / kSemiCircle)
      .F64(e.i0 / kSemiCircle)
      .F64(e.omega / kSemiCircle)
      .F32(static_cast<float>(e.deltaN / kSemiCircle))
      .F32(static_cast<float>(e.omegaDot / kSemiCircle))
      .F32(static_cast<float>(e.idot / kSemiCircle))
      .F32(static_cast<float>(e.crc))
      .F32(static_cast<float>(e.crs))
      .F32(static_cast<float>(e.cuc))
      .F32(static_cast<float>(e.cus))
      .F32(static_cast<float>(e.cic))
      .F32(static_cast<float>(e.cis));
  if (!galileo) return BuildFrame("GE", p);
  p.F32(static_cast<float>(e.tgd))
      .F32(static_cast<float>(e.iodc))
      .F32(static_cast<float>(galIon[0]))
      .F32(static_cast<float>(galIon[1]))
      .F32(static_cast<float>(galIon[2]))
      .U8(0);
  return BuildFrame("EN", p);
}

std::string FrameGlonassEph(const GloEph& e, double tauSys, int dayNumber, int32_t tb, int32_t tk) {
  Payload p;
  p.U8(static_cast<uint8_t>(e.slot))
      .I8(static_cast<int8_t>(e.channel))
      .I16(static_cast<int16_t>(dayNumber))
      .I32(tk)
      .I32(tb)
      .U8(e.health != 0 ? 1 : 0)
      .U8(static_cast<uint8_t>(e.age))
      .U8(0);
  for (double r : e.pos) p.F64(r);
  for (double v : e.vel) p.F32(static_cast<float>(v));
  for (double a : e.acc) p.F32(static_cast<float>(a));
  p.F64(tauSys).F32(static_cast<float>(-e.clockBias)).F32(static_cast<float>(e.gammaN));
  return BuildFrame("NE", p);
}

std::string FrameExternalEvent(bool inputA, int32_t ms, int32_t ns, uint8_t scale) {
  return BuildFrame(inputA ? "XA" : "XB", Payload().I32(ms).I32(ns).U8(scale));
}

std::string FramePpsOffset(bool inputA, float ns) {
  return BuildFrame(inputA ? "ZA" : "ZB", Payload().F32(ns));
}

std::string FrameAttitude(const Attitude& a) {
  return BuildFrame("AR", Payload()
                              .U32(a.ms)
                              .F32(a.pitch)
                              .F32(a.roll)
                              .F32(a.heading)
                              .F32(a.rms[0])
                              .F32(a.rms[1])
                              .F32(a.rms[2])
                              .U8(1));
}

std::string FrameBaselines(const Attitude& a) {
  Payload p;
  p.U32(a.ms).F32(a.q00).F32(a.q01).F32(a.q02).F32(a.q12);
  for (float r : a.baselineRms) p.F32(r);
  for (uint8_t s : a.solType) p.U8(s);
  p.U8(1);
  for (const auto& b : a.baseline) p.F32(b[0]).F32(b[1]).F32(b[2]);
  return BuildFrame("mr", p);
}

std::string TimeText(uint32_t t) {
  // Appended piece by piece: a chain of `+` on temporaries sets off a false -Wrestrict in
  // GCC 12 at -O3.
  std::string text = " ";
  text += std::to_string(t / 3600000);
  text += 'h';
  text += std::to_string(t % 3600000 / 60000);
  text += 'm';
  text += std::to_string(t % 60000 / 1000);
  text += '.';
  text += std::to_string(t % 1000);
  text += 's';
  return text;
}

}  // namespace vnx::synth
