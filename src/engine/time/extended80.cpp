#include "engine/time/extended80.h"

#include <bit>
#include <limits>

namespace vnx {
namespace {

using u128 = unsigned __int128;

constexpr int kExt80Bias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint16_t kExt80MaxExponent = 0x7FFF;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleFractionMask = (uint64_t{1} << 52) - 1;
constexpr uint64_t kNanosecondsPerSecond = 1000000000;

// The fields of a stored value: the value is mantissa * 2^(exponent - 16383 - 63).
struct Ext80Parts {
  bool negative;
  uint16_t exponent;  // biased, 0..0x7FFF
  uint64_t mantissa;
};

Extended80 Pack(const Ext80Parts& p) {
  Extended80 out{};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(p.mantissa >> (8 * i));
  const uint16_t top = static_cast<uint16_t>(p.exponent | (p.negative ? 0x8000 : 0));
  out[8] = static_cast<uint8_t>(top);
  out[9] = static_cast<uint8_t>(top >> 8);
  return out;
}

Ext80Parts Unpack(const uint8_t* bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
  const uint16_t top = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
  return {(top & 0x8000) != 0, static_cast<uint16_t>(top & kExt80MaxExponent), mantissa};
}

// Power of two that scales the integer mantissa; the smallest exponent field counts as 1, as
// for the x87 denormals.
int MantissaScale(uint16_t exponent) {
  return (exponent == 0 ? 1 : exponent) - kExt80Bias - 63;
}

// value >> shift, rounded to nearest with ties to even.
u128 ShiftRightRounded(u128 value, int shift) {
  if (shift <= 0) return value;
  if (shift >= 128) return 0;  // every value passed in is below 2^127, less than half a unit
  const u128 kept = value >> shift;
  const u128 rest = value - (kept << shift);
  const u128 half = u128{1} << (shift - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) return kept + 1;
  return kept;
}

double ComposeDouble(bool negative, uint64_t magnitudeBits) {
  const uint64_t sign = negative ? kIntegerBit : 0;
  return std::bit_cast<double>(sign | magnitudeBits);
}

// Nearest double of negative ? -m * 2^scale : m * 2^scale, m != 0.
double RoundToDouble(bool negative, uint64_t m, int scale) {
  const int lz = std::countl_zero(m);
  m <<= lz;
  scale -= lz;
  const int unbiased = scale + 63;  // m * 2^scale lies in [2^unbiased, 2^(unbiased+1))
  constexpr uint64_t kInfinityBits = uint64_t{0x7FF} << 52;
  if (unbiased > kDoubleBias) return ComposeDouble(negative, kInfinityBits);
  if (unbiased >= 1 - kDoubleBias) {
    uint64_t q = static_cast<uint64_t>(ShiftRightRounded(m, 11));
    int biased = unbiased + kDoubleBias;
    if (q == (uint64_t{1} << 53)) {
      q >>= 1;
      ++biased;
    }
    if (biased >= 0x7FF) return ComposeDouble(negative, kInfinityBits);
    return ComposeDouble(negative, (uint64_t(biased) << 52) | (q & kDoubleFractionMask));
  }
  // Subnormal: the unit is 2^-1074; a carry into bit 52 yields the smallest normal by itself.
  const int shift = 11 + (1 - kDoubleBias - unbiased);
  return ComposeDouble(negative, static_cast<uint64_t>(ShiftRightRounded(m, shift)));
}

// Correctly rounded magnitude / 1e9 with 64 mantissa bits; magnitude below 2^94.
Extended80 FromNanosecondMagnitude(bool negative, u128 magnitude) {
  if (magnitude == 0) return Extended80{};
  const int width = 128 - (magnitude >> 64 != 0 ? std::countl_zero(uint64_t(magnitude >> 64))
                                                : 64 + std::countl_zero(uint64_t(magnitude)));
  // Scale so that the quotient has exactly 64 significant bits.
  int k = 94 - width;
  auto quotient = [&](int shift) { return (magnitude << shift) / kNanosecondsPerSecond; };
  while (quotient(k) >> 64 != 0) --k;
  while (quotient(k) >> 63 == 0) ++k;
  const u128 scaled = magnitude << k;
  u128 q = scaled / kNanosecondsPerSecond;
  const u128 twiceRest = 2 * (scaled - q * kNanosecondsPerSecond);
  if (twiceRest > kNanosecondsPerSecond || (twiceRest == kNanosecondsPerSecond && (q & 1) != 0)) {
    ++q;
  }
  if (q >> 64 != 0) {
    q >>= 1;
    --k;
  }
  // The value is q * 2^-k, q in [2^63, 2^64).
  const int exponent = kExt80Bias + 63 - k;
  return Pack({negative, static_cast<uint16_t>(exponent), static_cast<uint64_t>(q)});
}

u128 Magnitude(int64_t v) {
  return v < 0 ? u128{0 - static_cast<uint64_t>(v)} : u128{static_cast<uint64_t>(v)};
}

bool SplitIntegral(const Ext80Parts& p, int scale, int64_t& whole) {
  // The value is an integer: mantissa * 2^scale with scale >= 0.
  const int width = 64 - std::countl_zero(p.mantissa);
  if (width + scale > 64) return false;
  const u128 magnitude = u128{p.mantissa} << scale;
  const u128 limit = u128{uint64_t{1} << 63};
  if (magnitude > limit || (magnitude == limit && !p.negative)) return false;
  whole = p.negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(magnitude))
                     : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

Extended80 Ext80FromDouble(double v) {
  const uint64_t bits = std::bit_cast<uint64_t>(v);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & kDoubleFractionMask;
  if (exponent == 0x7FF) {
    // Infinity keeps the bare integer bit; a NaN keeps its payload and stays quiet.
    const uint64_t mantissa =
        fraction == 0 ? kIntegerBit : (kIntegerBit | (fraction << 11) | (uint64_t{1} << 62));
    return Pack({negative, kExt80MaxExponent, mantissa});
  }
  if (exponent == 0) {
    if (fraction == 0) return Pack({negative, 0, 0});
    const int lz = std::countl_zero(fraction);
    // fraction * 2^-1074 = (fraction << lz) * 2^(-1074 - lz), with bit 63 set.
    const int biased = kExt80Bias + 63 - 1074 - lz;
    return Pack({negative, static_cast<uint16_t>(biased), fraction << lz});
  }
  const int biased = exponent - kDoubleBias + kExt80Bias;
  return Pack({negative, static_cast<uint16_t>(biased), kIntegerBit | (fraction << 11)});
}

double Ext80ToDouble(const uint8_t* bytes) {
  const Ext80Parts p = Unpack(bytes);
  if (p.exponent == kExt80MaxExponent) {
    if ((p.mantissa << 1) == 0) {
      return p.negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    const uint64_t payload = (p.mantissa >> 11) & kDoubleFractionMask;
    return ComposeDouble(p.negative, (uint64_t{0x7FF} << 52) | (uint64_t{1} << 51) | payload);
  }
  if (p.mantissa == 0) return p.negative ? -0.0 : 0.0;
  return RoundToDouble(p.negative, p.mantissa, MantissaScale(p.exponent));
}

Extended80 Ext80FromNanoseconds(int64_t numerator) {
  return FromNanosecondMagnitude(numerator < 0, Magnitude(numerator));
}

Extended80 Ext80FromSecondsAndNanoseconds(int64_t seconds, int64_t nanoseconds) {
  const __int128 total = static_cast<__int128>(seconds) * kNanosecondsPerSecond + nanoseconds;
  const bool negative = total < 0;
  const u128 magnitude = negative ? u128{0} - static_cast<u128>(total) : static_cast<u128>(total);
  return FromNanosecondMagnitude(negative, magnitude);
}

bool Ext80SplitSeconds(const uint8_t* bytes, int64_t& whole, int64_t& nanoseconds) {
  const Ext80Parts p = Unpack(bytes);
  if (p.exponent == kExt80MaxExponent) return false;
  whole = 0;
  nanoseconds = 0;
  if (p.mantissa == 0) return true;
  const int scale = MantissaScale(p.exponent);
  if (scale >= 0) return SplitIntegral(p, scale, whole);
  const int shift = -scale;
  // Below 2^-95 the fraction times 1e9 stays under a half: nothing survives the rounding.
  if (shift >= 95) return true;
  const u128 mantissa = p.mantissa;
  const u128 integral = shift >= 64 ? 0 : mantissa >> shift;
  const u128 fraction = mantissa - (integral << shift);
  const u128 ns = ShiftRightRounded(fraction * kNanosecondsPerSecond, shift);
  whole = static_cast<int64_t>(integral);
  nanoseconds = static_cast<int64_t>(ns);
  if (p.negative) {
    whole = -whole;
    nanoseconds = -nanoseconds;
  }
  return true;
}

}  // namespace vnx
