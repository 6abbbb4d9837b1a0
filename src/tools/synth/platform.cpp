#include "tools/synth/platform.h"

#include <cmath>

namespace vnx::synth {
namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;

// Solves the 4x4 system in place by Gauss-Jordan; false when singular.
bool Invert4(double m[4][4], double inv[4][4]) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) inv[i][j] = i == j ? 1 : 0;
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
    if (std::fabs(m[pivot][c]) < 1e-12) return false;
    for (int j = 0; j < 4; ++j) {
      std::swap(m[c][j], m[pivot][j]);
      std::swap(inv[c][j], inv[pivot][j]);
    }
    double d = m[c][c];
    for (int j = 0; j < 4; ++j) m[c][j] /= d, inv[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      double f = m[r][c];
      for (int j = 0; j < 4; ++j) m[r][j] -= f * m[c][j], inv[r][j] -= f * inv[c][j];
    }
  }
  return true;
}

}  // namespace

bool ComputeDops(const std::vector<SatEpoch>& sats, Dops& out) {
  double n[4][4] = {};
  int used = 0;
  for (const SatEpoch& s : sats) {
    if (!s.hasAngles || s.elevation <= 0) continue;
    double el = s.elevation * kDeg, az = s.azimuth * kDeg;
    double row[4] = {-std::cos(el) * std::sin(az), -std::cos(el) * std::cos(az), -std::sin(el), 1};
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) n[i][j] += row[i] * row[j];
    ++used;
  }
  double q[4][4];
  if (used < 4 || !Invert4(n, q)) return false;
  out.hdop = std::sqrt(q[0][0] + q[1][1]);
  out.vdop = std::sqrt(q[2][2]);
  out.tdop = std::sqrt(q[3][3]);
  return true;
}

Platform::Angles Platform::AnglesAt(double t) {
  return {1.5 * std::sin(kTwoPi * t / 230.0), 2.5 * std::sin(kTwoPi * t / 170.0 + 0.7),
          std::fmod(395.0 + 25.0 * std::sin(kTwoPi * t / 5400.0), 360.0)};
}

Vec3 Platform::BodyOffset(int antenna) {
  switch (antenna) {
    case 1:
      return {1.6, 0.0, 0.0};  // nose
    case 2:
      return {0.1, 1.2, 0.0};  // right
    case 3:
      return {-1.1, -0.9, 0.02};  // rear left
    default:
      return {std::cos(antenna), std::sin(antenna), 0.0};
  }
}

void Platform::Rotation(const Angles& a, double r[3][3]) {
  double cp = std::cos(a.pitch * kDeg), sp = std::sin(a.pitch * kDeg);
  double cr = std::cos(a.roll * kDeg), sr = std::sin(a.roll * kDeg);
  double ch = std::cos(a.heading * kDeg), sh = std::sin(a.heading * kDeg);
  r[0][0] = ch * cp;
  r[0][1] = ch * sp * sr - sh * cr;
  r[0][2] = ch * sp * cr + sh * sr;
  r[1][0] = sh * cp;
  r[1][1] = sh * sp * sr + ch * cr;
  r[1][2] = sh * sp * cr - ch * sr;
  r[2][0] = -sp;
  r[2][1] = cp * sr;
  r[2][2] = cp * cr;
}

Vec3 Platform::AntennaOffsetEcef(int antenna, double t) const {
  double r[3][3];
  Rotation(AnglesAt(t), r);
  Vec3 b = BodyOffset(antenna);
  Vec3 ned{};
  for (int i = 0; i < 3; ++i) ned[i] = r[i][0] * b[0] + r[i][1] * b[1] + r[i][2] * b[2];
  return EnuToEcef(geo_, {ned[1], ned[0], -ned[2]});
}

Attitude Platform::AttitudeAt(double t, uint64_t seed) const {
  Angles angles = AnglesAt(t);
  uint64_t ms = static_cast<uint64_t>(std::llround(t * 1000));
  auto noise = [&](int what, double sigma) {
    return static_cast<float>(sigma * GaussianNoise(NoiseKey(seed, 91, what, ms)));
  };
  Attitude a;
  a.pitch = static_cast<float>(angles.pitch) + noise(0, 0.05);
  a.roll = static_cast<float>(angles.roll) + noise(1, 0.05);
  a.heading = static_cast<float>(angles.heading) + noise(2, 0.03);
  a.rms[0] = 0.15f, a.rms[1] = 0.15f, a.rms[2] = 0.08f;
  double r[3][3];
  Rotation(angles, r);
  a.q00 = static_cast<float>(r[0][0]);
  a.q01 = static_cast<float>(r[0][1]);
  a.q02 = static_cast<float>(r[0][2]);
  a.q12 = static_cast<float>(r[1][2]);
  // The third baseline drops to a float solution for a minute every hour.
  bool floatThird = std::fmod(t, 3600.0) < 60.0;
  for (int b = 0; b < 3; ++b) {
    Vec3 body = BodyOffset(b + 1);
    double sigma = b == 2 && floatThird ? 0.05 : 0.004;
    for (int i = 0; i < 3; ++i)
      a.baseline[b][i] = static_cast<float>(body[i]) + noise(10 + b * 3 + i, sigma);
    a.baselineRms[b] = static_cast<float>(sigma * 1.7);
    a.solType[b] = b == 2 && floatThird ? 3 : 4;
  }
  return a;
}

}  // namespace vnx::synth
