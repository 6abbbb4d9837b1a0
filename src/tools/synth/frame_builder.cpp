#include "tools/synth/frame_builder.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "engine/stream/checksum.h"

namespace vnx {

std::string BuildRawFrame(std::string_view id, std::string_view body) {
  if (id.size() != 2 || body.size() > 0xFFF) throw std::invalid_argument("bad frame");
  char head[6];
  std::snprintf(head, sizeof head, "%03X", static_cast<unsigned>(body.size()));
  std::string frame;
  frame.reserve(5 + body.size());
  frame.append(id);
  frame.append(head, 3);
  frame.append(body);
  return frame;
}

std::string BuildFrame(std::string_view id, std::string_view payload) {
  std::string frame = BuildRawFrame(id, std::string(payload) + '\0');
  frame.back() =
      static_cast<char>(Checksum(reinterpret_cast<const uint8_t*>(frame.data()), frame.size() - 1));
  return frame;
}

Payload& Payload::U8(uint8_t v) {
  data_.push_back(static_cast<char>(v));
  return *this;
}
Payload& Payload::U16(uint16_t v) {
  return U8(v & 0xFF).U8(v >> 8);
}
Payload& Payload::U32(uint32_t v) {
  return U16(v & 0xFFFF).U16(v >> 16);
}
Payload& Payload::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return U32(bits);
}
Payload& Payload::F64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
}
Payload& Payload::Bytes(std::string_view s) {
  data_.append(s);
  return *this;
}

}  // namespace vnx
