#include "engine/decoders/position_messages.h"

#include <cmath>
#include <cstring>

#include "engine/decoders/common.h"

namespace vnx {

namespace {

// Reads n consecutive doubles (floats); false at the first one the receiver marks missing.
bool ReadDoubles(const uint8_t* src, double* dst, int n) {
  for (int i = 0; i < n; ++i)
    if (!ReadFiniteDouble(src + 8 * i, dst[i])) return false;
  return true;
}

bool ReadSingles(const uint8_t* src, float* dst, int n) {
  for (int i = 0; i < n; ++i)
    if (!ReadFiniteSingle(src + 4 * i, dst[i])) return false;
  return true;
}

// x, y, z at `src`, the position sigma after them.
bool ReadPosition(const uint8_t* src, double* xyz, float& sigma) {
  return ReadDoubles(src, xyz, 3) && ReadFiniteSingle(src + 24, sigma);
}

void StorePosition(PosBlock& p, const double* xyz, float sigma) {
  p.positionPresent = 1;
  p.x = xyz[0];
  p.y = xyz[1];
  p.z = xyz[2];
  p.positionSigma = sigma;
}

void StoreVelocity(PosBlock& p, const float* v, float sigma) {
  p.velocityPresent = 1;
  p.vx = v[0];
  p.vy = v[1];
  p.vz = v[2];
  p.velocitySigma = sigma;
}

}  // namespace

uint8_t PositionMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort() || IsEpochUnusable(ctx)) return 1;
  Store();
  return 1;
}

void TPO::Store() {
  double xyz[3];
  float sigma;
  if (!ReadPosition(Body, xyz, sigma)) return;
  const uint8_t tip = Body[28];
  if (tip == kTipMissing) return;
  StorePosition(ctx.pos, xyz, sigma);
  ctx.pos.solutionType = tip;
  ctx.epochRec.flags[kFlagPosition] = 1;
}

void TVE::Store() {
  float v[4];  // vx, vy, vz, sigma
  if (!ReadSingles(Body, v, 4)) return;
  const uint8_t tip = Body[16];
  if (tip == kTipMissing) return;
  StoreVelocity(ctx.pos, v, v[3]);
  ctx.pos.solutionType = tip;
  ctx.epochRec.flags[kFlagPosition] = 1;
}

// The position goes in as soon as it is complete; it reaches the epoch record only through
// byte 0, which the velocity part (or another message of the epoch) sets.
void TPV::Store() {
  double xyz[3];
  float sigma;
  if (!ReadPosition(Body, xyz, sigma)) return;
  StorePosition(ctx.pos, xyz, sigma);
  float v[4];
  if (!ReadSingles(Body + 28, v, 4)) return;
  const uint8_t tip = Body[44];
  if (tip == kTipMissing) return;
  StoreVelocity(ctx.pos, v, v[3]);
  ctx.pos.solutionType = tip;
  ctx.epochRec.flags[kFlagPosition] = 1;
}

void TDP::Store() {
  float dop[3];  // hdop, vdop, tdop
  if (!ReadSingles(Body, dop, 3) || Body[12] == kTipMissing) return;
  const long double h = dop[0], v = dop[1], t = dop[2];
  PosBlock& p = ctx.pos;
  p.dopPresent = 1;
  p.hdop = dop[0];
  p.vdop = dop[1];
  p.tdop = dop[2];
  p.pdop = static_cast<float>(std::sqrt(h * h + v * v));
  p.gdop = static_cast<float>(std::sqrt(h * h + v * v + t * t));
  ctx.epochRec.flags[kFlagPosition] = 1;
}

void TSG::Store() {
  float rms[4];  // hpos, vpos, hvel, vvel
  if (!ReadSingles(Body, rms, 4) || Body[16] == kTipMissing) return;
  PosBlock& p = ctx.pos;
  p.rmsPresent = 1;
  p.hpos = rms[0];
  p.vpos = rms[1];
  p.hvel = rms[2];
  p.vvel = rms[3];
  ctx.epochRec.flags[kFlagPosition] = 1;
}

void TSP::Store() {
  float cov[10];
  if (!ReadSingles(Body, cov, 10)) return;
  const uint8_t tip = Body[40];
  if (tip == kTipMissing) return;
  SpBlock sp{};
  std::memcpy(sp.cov, cov, sizeof cov);
  sp.tip = tip;
  ctx.epochRec.sp = sp;
  ctx.epochRec.flags[kFlagSP] = 1;
}

}  // namespace vnx
