#include "engine/quality/detectors.h"

#include <cmath>

namespace vnx {

SlipTest TestSlip(double gfBefore, double gfAfter, double mwBefore, double mwAfter) {
  SlipTest t;
  t.geometryFree = std::fabs(gfAfter - gfBefore) > kGeometryFreeSlipM;
  t.wideLane = std::fabs(mwAfter - mwBefore) > kWideLaneSlipCycles;
  return t;
}

std::optional<int> TestClockJump(const std::vector<double>& steps) {
  if (steps.size() < 2) return std::nullopt;
  std::optional<long> k;
  for (double d : steps) {
    const long n = std::lround(d / kMillisecondOfLight);
    if (n == 0 || std::fabs(d - n * kMillisecondOfLight) > kClockJumpTolerance) return std::nullopt;
    if (k && *k != n) return std::nullopt;
    k = n;
  }
  return static_cast<int>(*k);
}

int ElevationBin(double elevationDeg, int binDeg) {
  const int bins = 90 / binDeg;
  int b = static_cast<int>(std::floor(elevationDeg / binDeg));
  if (b < 0) b = 0;
  if (b >= bins) b = bins - 1;
  return b;
}

std::optional<double> SquareSum::Rms() const {
  if (count == 0) return std::nullopt;
  return std::sqrt(sum / static_cast<double>(count));
}

void ArcSums::Add(double value, int bin) {
  if (!started_) {
    started_ = true;
    origin_ = value;
  }
  const double d = value - origin_;
  ++count_;
  all_.n += 1, all_.s += d, all_.s2 += d * d;
  if (bin >= 0 && bin < kMultipathBins) {
    Sums& b = bins_[bin];
    b.n += 1, b.s += d, b.s2 += d * d;
  }
}

double ArcSums::Mean() const {
  return count_ == 0 ? 0.0 : origin_ + all_.s / static_cast<double>(count_);
}

// Sum of (d - m)^2 = s2 - 2 m s + n m^2, with m the arc's mean about the origin.
SquareSum ArcSums::About(const Sums& sums, double m) {
  SquareSum out;
  out.count = sums.n;
  out.sum = sums.s2 - 2 * m * sums.s + static_cast<double>(sums.n) * m * m;
  if (out.sum < 0) out.sum = 0;  // rounding of a constant arc
  return out;
}

SquareSum ArcSums::Total() const {
  if (count_ == 0) return {};
  return About(all_, all_.s / static_cast<double>(count_));
}

SquareSum ArcSums::Bin(int bin) const {
  if (count_ == 0 || bin < 0 || bin >= kMultipathBins) return {};
  return About(bins_[bin], all_.s / static_cast<double>(count_));
}

std::optional<double> MeanStd::Mean() const {
  if (count == 0) return std::nullopt;
  return sum / static_cast<double>(count);
}

std::optional<double> MeanStd::Std() const {
  if (count == 0) return std::nullopt;
  const double m = sum / static_cast<double>(count);
  const double v = sum2 / static_cast<double>(count) - m * m;
  return std::sqrt(v > 0 ? v : 0);
}

}  // namespace vnx
