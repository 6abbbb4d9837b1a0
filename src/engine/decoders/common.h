#pragma once
// Small operations shared by the decoders: finite-number reads that refuse the receiver's
// missing-value patterns, carrier frequencies, the satellite-number test.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/epoch/scan_context.h"

namespace vnx {

// The receiver's missing-value pattern for doubles, 2^63 - 2^51 read as an integer.
inline constexpr uint64_t kMissingDoubleBits = 9221120237041090560ull;

// Copies the double at `src` into `dst` and returns true unless it is NaN or infinite. The
// missing-value pattern is copied but refused.
inline bool ReadFiniteDouble(const uint8_t* src, double& dst) {
  uint64_t bits;
  std::memcpy(&bits, src, 8);
  double v;
  std::memcpy(&v, src, 8);
  if (!std::isfinite(v)) return false;
  dst = v;
  return bits != kMissingDoubleBits;
}

inline bool ReadFiniteSingle(const uint8_t* src, float& dst) {
  float v;
  std::memcpy(&v, src, 4);
  if (!std::isfinite(v)) return false;
  dst = v;
  return true;
}

inline bool IsEpochUnusable(const ScanContext& ctx) {
  return ctx.epoch.IsUnusable();
}

// Carrier frequency in Hz of `signal` (0..4) for the satellite in `slot`.
double CarrierFrequency(const ScanContext& ctx, int slot, int signal);

}  // namespace vnx
