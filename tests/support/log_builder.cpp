#include "support/log_builder.h"

namespace vnx::test {

LogBuilder& LogBuilder::Header(std::string_view logType) {
  std::string body = "RLOGF " + std::string(logType) + " Receiver Log File";
  body.resize(84, ' ');
  return Frame("VN", body);
}

LogBuilder& LogBuilder::Frame(std::string_view id, std::string_view payload) {
  log_ += BuildFrame(id, payload);
  log_ += "\r\n";
  return *this;
}

LogBuilder& LogBuilder::RawFrame(std::string_view id, std::string_view body) {
  log_ += BuildRawFrame(id, body);
  log_ += "\r\n";
  return *this;
}

LogBuilder& LogBuilder::Bytes(std::string_view bytes) {
  log_ += bytes;
  return *this;
}

LogBuilder& LogBuilder::Date(int year, int month, int day) {
  return Frame("RD", Payload()
                         .U16(static_cast<uint16_t>(year))
                         .U8(static_cast<uint8_t>(month))
                         .U8(static_cast<uint8_t>(day))
                         .U8(0));
}

LogBuilder& LogBuilder::Time(uint32_t ms) {
  return Frame("~~", Payload().U32(ms));
}

LogBuilder& LogBuilder::GpsTime(uint32_t towMs, uint16_t week) {
  return Frame("GT", Payload().U32(towMs).U16(week));
}

LogBuilder& LogBuilder::Sats(std::initializer_list<uint8_t> usi) {
  return Sats(std::vector<uint8_t>(usi));
}

LogBuilder& LogBuilder::Sats(const std::vector<uint8_t>& usi) {
  return Frame("SI", std::string(usi.begin(), usi.end()));
}

LogBuilder& LogBuilder::GloNumbers(std::initializer_list<uint8_t> slots) {
  return Frame("NN", std::string(slots.begin(), slots.end()));
}

LogBuilder& LogBuilder::Elevations(std::initializer_list<int8_t> degrees) {
  std::string s;
  for (int8_t d : degrees) s += static_cast<char>(d);
  return Frame("EL", s);
}

LogBuilder& LogBuilder::Azimuths(std::initializer_list<uint8_t> halfDegrees) {
  return Frame("AZ", std::string(halfDegrees.begin(), halfDegrees.end()));
}

LogBuilder& LogBuilder::Antennas(std::string_view letters) {
  return Frame("AN", letters);
}

}  // namespace vnx::test
