#pragma once
// Builds .vnx logs for tests and benchmarks, frame by frame, with CR LF between frames.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tools/synth/frame_builder.h"

namespace vnx::test {

class LogBuilder {
 public:
  // The identifier frame "VN055RLOGF VNX Receiver Log File" padded to 85 body bytes.
  LogBuilder& Header(std::string_view logType = "VNX");
  LogBuilder& Frame(std::string_view id, std::string_view payload);  // checksummed
  LogBuilder& RawFrame(std::string_view id, std::string_view body);  // body as given
  LogBuilder& Bytes(std::string_view bytes);                         // no line break added
  LogBuilder& Date(int year, int month, int day);                    // "RD"
  LogBuilder& Time(uint32_t ms);                                     // "~~"
  LogBuilder& GpsTime(uint32_t towMs, uint16_t week);                // "GT"
  LogBuilder& Sats(std::initializer_list<uint8_t> usi);              // "SI"
  LogBuilder& Sats(const std::vector<uint8_t>& usi);
  LogBuilder& GloNumbers(std::initializer_list<uint8_t> slots);      // "NN"
  LogBuilder& Elevations(std::initializer_list<int8_t> degrees);     // "EL"
  LogBuilder& Azimuths(std::initializer_list<uint8_t> halfDegrees);  // "AZ"
  LogBuilder& Antennas(std::string_view letters);                    // "AN"

  const std::string& str() const { return log_; }
  size_t size() const { return log_.size(); }
  // Offset from the start of the log where the next frame will begin.
  size_t Offset() const { return log_.size(); }

 private:
  std::string log_;
};

}  // namespace vnx::test
