#pragma once
// The x87 80-bit extended real as stored in the working files: 64-bit mantissa with an explicit
// integer bit, 15-bit biased exponent, sign in the top bit of byte 9; little-endian.
// Produced and read with integer arithmetic only, so the bytes do not depend on `long double`.
#include <array>
#include <cstdint>

namespace vnx {

using Extended80 = std::array<uint8_t, 10>;

// Exact: every finite double is representable.
Extended80 Ext80FromDouble(double v);
// Nearest double (ties to even); zero for zero, infinities and NaN carried over.
double Ext80ToDouble(const uint8_t* bytes);

// The value numerator / 1e9, rounded to nearest (ties to even) to 64 mantissa bits.
// Used for "whole seconds + nanoseconds" so the stored value is the correctly rounded sum.
Extended80 Ext80FromNanoseconds(int64_t numerator);
// The same for seconds + nanoseconds / 1e9, exact for any pair (no overflow of the numerator).
Extended80 Ext80FromSecondsAndNanoseconds(int64_t seconds, int64_t nanoseconds);

// Splits a stored value into its whole part (truncated toward zero) and the fraction in
// nanoseconds, round((value - whole) * 1e9) with ties to even. Exact for any stored value.
// Returns false for NaN, infinity or a whole part outside int64.
bool Ext80SplitSeconds(const uint8_t* bytes, int64_t& whole, int64_t& nanoseconds);

}  // namespace vnx
