#pragma once
// Builds framed messages the way a receiver writes them: two identifier characters, three
// upper-case hex digits of body length, the body. Used by the tests and by vnx-synth.
#include <cstdint>
#include <string>
#include <string_view>

namespace vnx {

// Frame with a checksum byte appended to `payload`; the declared length is payload + 1.
std::string BuildFrame(std::string_view id, std::string_view payload);

// Frame whose body is taken as it is (no checksum appended): "PM", ">>" and damaged frames.
std::string BuildRawFrame(std::string_view id, std::string_view body);

// Little-endian appenders for building payloads.
class Payload {
 public:
  Payload& U8(uint8_t v);
  Payload& I8(int8_t v) { return U8(static_cast<uint8_t>(v)); }
  Payload& U16(uint16_t v);
  Payload& I16(int16_t v) { return U16(static_cast<uint16_t>(v)); }
  Payload& U32(uint32_t v);
  Payload& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  Payload& F32(float v);
  Payload& F64(double v);
  Payload& Bytes(std::string_view s);
  const std::string& str() const { return data_; }
  operator std::string_view() const { return data_; }

 private:
  std::string data_;
};

}  // namespace vnx
