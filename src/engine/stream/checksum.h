#pragma once
#include <cstddef>
#include <cstdint>

namespace vnx {

// Rotate an 8-bit value left by two places.
constexpr uint8_t Rotl2(uint8_t x) {
  return static_cast<uint8_t>((x << 2) | (x >> 6));
}

// The frame checksum: rotate-left-2 XOR over the bytes, rotated once more at the end.
// Over "abc" it is 0xF3.
constexpr uint8_t Checksum(const uint8_t* data, size_t n) {
  uint8_t c = 0;
  for (size_t i = 0; i < n; ++i) c = static_cast<uint8_t>(Rotl2(c) ^ data[i]);
  return Rotl2(c);
}

}  // namespace vnx
