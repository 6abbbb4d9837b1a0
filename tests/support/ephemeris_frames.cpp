#include "support/ephemeris_frames.h"

#include "tools/synth/frame_builder.h"

namespace vnx::test {

std::string GePayload(const KeplerEphFields& k) {
  Payload p;
  p.U8(k.sv).U32(k.tow).U8(k.flags).I16(k.iodc).I32(k.toc).I8(k.ura).U8(k.health).I16(k.wn);
  p.F32(k.tgd).F32(k.af2).F32(k.af1).F32(k.af0).I32(k.toe).I16(k.iode);
  p.F64(k.rootA).F64(k.ecc).F64(k.m0).F64(k.omega0).F64(k.inc0).F64(k.per);
  p.F32(k.deln).F32(k.omDot).F32(k.iDot).F32(k.crc).F32(k.crs);
  p.F32(k.cuc).F32(k.cus).F32(k.cic).F32(k.cis);
  return p.str();
}

std::string EnPayload(const GalEphBody& b) {
  Payload p;
  p.Bytes(GePayload(b.k));
  p.F32(b.bcdA).F32(b.bcdB).F32(b.ai0).F32(b.ai1).F32(b.ai2).U8(b.sfi);
  return p.str();
}

std::string NePayload(const GloEphBody& b) {
  Payload p;
  p.U8(b.sv).I8(b.frqNum).I16(b.dne).I32(b.tk).I32(b.tb).U8(b.health).U8(b.age).U8(b.flags);
  for (int i = 0; i < 3; ++i) p.F64(b.r[i]);
  for (int i = 0; i < 3; ++i) p.F32(b.v[i]);
  for (int i = 0; i < 3; ++i) p.F32(b.w[i]);
  p.F64(b.tauSys).F32(b.tau).F32(b.gamma);
  return p.str();
}

std::string WePayload(const GeoEphBody& b) {
  Payload p;
  p.U8(b.sv).U8(b.svAux).U8(b.iod).U8(b.ura).I32(b.tod);
  for (int i = 0; i < 3; ++i) p.F64(b.r[i]);
  for (int i = 0; i < 3; ++i) p.F32(b.v[i]);
  for (int i = 0; i < 3; ++i) p.F32(b.w[i]);
  p.F32(b.aGf0).F32(b.aGf1).U32(b.tow).U16(b.wn);
  return p.str();
}

KeplerEphFields SampleKepler(uint8_t sv, int16_t wn, uint32_t tow, int32_t toe) {
  KeplerEphFields k{};
  k.sv = sv;
  k.tow = tow;
  k.wn = wn;
  k.toe = toe;
  k.toc = toe;
  k.iodc = 94;
  k.iode = 94;
  k.rootA = 5153.595811844;
  k.ecc = 0.005383261595853;
  k.m0 = -0.0736923;
  k.tgd = 3.7252903e-09f;
  k.af0 = -5.0352933e-04f;
  k.crc = 204.5625f;
  return k;
}

GloEphBody SampleGlonass(uint8_t slot, int16_t dne, int32_t tb) {
  GloEphBody b{};
  b.sv = slot;
  b.frqNum = -7;
  b.dne = dne;
  b.tb = tb;
  b.tk = tb - 30;
  b.r[0] = 7423.335449219;
  b.r[1] = 13748.86572266;
  b.r[2] = 20222.99023438;
  b.v[0] = -2.4882393f;
  b.tau = 6.2823296e-05f;
  return b;
}

GeoEphBody SampleSbas(uint8_t prn, uint32_t towMs, int32_t tod, uint16_t wn) {
  GeoEphBody b{};
  b.sv = prn;
  b.svAux = 1;
  b.iod = 7;
  b.ura = 3;
  b.tod = tod;
  b.tow = towMs;
  b.wn = wn;
  b.r[0] = 40000000.0;
  b.v[0] = 1.5f;
  b.aGf0 = 1.5e-7f;
  return b;
}

}  // namespace vnx::test
