#include "support/rinex_nav_frames.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "engine/time/gps_time.h"
#include "tools/synth/frame_builder.h"

namespace vnx::test {

namespace {

constexpr double kGpsPi = 3.1415926535898;  // the value the GPS interface uses

double Number(const std::string& line, size_t col) {
  if (line.size() <= col) return 0;
  std::string s = line.substr(col, 19);
  std::replace(s.begin(), s.end(), 'D', 'E');
  std::replace(s.begin(), s.end(), 'd', 'E');
  return s.find_first_not_of(' ') == std::string::npos ? 0 : std::stod(s);
}

// "G30 2022 01 01 02 00 00": satellite number and epoch.
template <class Rec>
void ReadEpoch(const std::string& line, int& number, Rec& r) {
  number = std::stoi(line.substr(1, 2));
  r.year = std::stoi(line.substr(4, 4));
  r.month = std::stoi(line.substr(9, 2));
  r.day = std::stoi(line.substr(12, 2));
  r.hour = std::stoi(line.substr(15, 2));
  r.minute = std::stoi(line.substr(18, 2));
  r.second = std::stoi(line.substr(21, 2));
}

// The four values of a continuation line, or the three of an epoch line.
std::vector<double> Values(const std::string& line, bool epochLine) {
  std::vector<double> v;
  const size_t first = epochLine ? 23 : 4;
  for (size_t c = first; c < first + 4 * 19 && v.size() < (epochLine ? 3u : 4u); c += 19)
    v.push_back(Number(line, c));
  return v;
}

RinexGpsRecord ReadGps(std::istream& in, const std::string& head) {
  RinexGpsRecord r;
  ReadEpoch(head, r.prn, r);
  std::vector<double> v = Values(head, true);
  std::string line;
  for (int i = 0; i < 7 && std::getline(in, line); ++i) {
    const std::vector<double> more = Values(line, false);
    v.insert(v.end(), more.begin(), more.end());
  }
  v.resize(31, 0.0);
  double* fields[] = {&r.af0,     &r.af1,  &r.af2,          &r.iode,       &r.crs,
                      &r.deltaN,  &r.m0,   &r.cuc,          &r.ecc,        &r.cus,
                      &r.sqrtA,   &r.toe,  &r.cic,          &r.omega0,     &r.cis,
                      &r.i0,      &r.crc,  &r.omega,        &r.omegaDot,   &r.idot,
                      &r.codesL2, &r.week, &r.l2pFlag,      &r.accuracy,   &r.health,
                      &r.tgd,     &r.iodc, &r.transmitTime, &r.fitInterval};
  for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = v[i];
  return r;
}

RinexGloRecord ReadGlonass(std::istream& in, const std::string& head) {
  RinexGloRecord r;
  ReadEpoch(head, r.slot, r);
  const std::vector<double> first = Values(head, true);
  r.minusTauN = first[0];
  r.gammaN = first[1];
  r.frameTime = first[2];
  std::string line;
  double* extra[] = {&r.health, &r.channel, &r.age};
  for (int i = 0; i < 3 && std::getline(in, line); ++i) {
    const std::vector<double> v = Values(line, false);
    r.pos[i] = v[0];
    r.vel[i] = v[1];
    r.acc[i] = v[2];
    *extra[i] = v[3];
  }
  return r;
}

void ReadHeaderLine(const std::string& line, RinexNav& nav) {
  const std::string label = line.size() > 60 ? line.substr(60) : "";
  if (label.rfind("TIME SYSTEM CORR", 0) == 0 && line.rfind("GPUT", 0) == 0) {
    nav.gpsA0 = std::stod(line.substr(5, 17));
    nav.gpsA1 = std::stod(line.substr(22, 16));
    nav.gpsTot = std::stoi(line.substr(38, 7));
    nav.gpsWeek = std::stoi(line.substr(45, 5));
  } else if (label.rfind("TIME SYSTEM CORR", 0) == 0 && line.rfind("GLUT", 0) == 0) {
    nav.glonassTauC = std::stod(line.substr(5, 17));
  } else if (label.rfind("LEAP SECONDS", 0) == 0) {
    nav.leapSeconds = std::stoi(line.substr(0, 6));
  }
}

int64_t GpsSeconds(int y, int mo, int d, int h, int mi, int s) {
  return TGPSTime::FromCalendar(y, mo, d, h, mi, s).Seconds();
}

}  // namespace

RinexNav ReadRinex3Nav(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  RinexNav nav;
  std::string line;
  while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos)
    ReadHeaderLine(line, nav);
  while (std::getline(in, line)) {
    if (line.rfind("G", 0) == 0)
      nav.gps.push_back(ReadGps(in, line));
    else if (line.rfind("R", 0) == 0)
      nav.glonass.push_back(ReadGlonass(in, line));
  }
  return nav;
}

int64_t ToeSeconds(const RinexGpsRecord& r) {
  return static_cast<int64_t>(r.week) * kSecondsPerWeek + static_cast<int64_t>(r.toe);
}

KeplerEphFields GeFields(const RinexGpsRecord& r) {
  // The receiver logs the week and time of week of the moment it sent the message; toe keeps
  // its own seconds of week, which may belong to the following week.
  int64_t sent = static_cast<int64_t>(r.week) * kSecondsPerWeek + std::llround(r.transmitTime);
  if (r.transmitTime - r.toe > kSecondsPerWeek / 2) sent -= kSecondsPerWeek;
  KeplerEphFields k{};
  k.sv = static_cast<uint8_t>(r.prn);
  k.tow = static_cast<uint32_t>(sent % kSecondsPerWeek);
  k.wn = static_cast<int16_t>(sent / kSecondsPerWeek);
  k.flags = static_cast<uint8_t>((r.fitInterval > 4 ? 1 : 0) | (r.l2pFlag != 0 ? 2 : 0) |
                                 (static_cast<int>(r.codesL2) & 3) << 2);
  k.iodc = static_cast<int16_t>(r.iodc);
  k.toc = static_cast<int32_t>(GpsSeconds(r.year, r.month, r.day, r.hour, r.minute, r.second) %
                               kSecondsPerWeek);
  k.ura = static_cast<int8_t>(r.accuracy <= 2.4 ? 0 : std::ceil(std::log2(r.accuracy / 2.4) * 2));
  k.health = static_cast<uint8_t>(r.health);
  k.tgd = static_cast<float>(r.tgd);
  k.af2 = static_cast<float>(r.af2);
  k.af1 = static_cast<float>(r.af1);
  k.af0 = static_cast<float>(r.af0);
  k.toe = static_cast<int32_t>(std::llround(r.toe));
  k.iode = static_cast<int16_t>(r.iode);
  k.rootA = r.sqrtA;
  k.ecc = r.ecc;
  k.m0 = r.m0 / kGpsPi;
  k.omega0 = r.omega0 / kGpsPi;
  k.inc0 = r.i0 / kGpsPi;
  k.per = r.omega / kGpsPi;
  k.deln = static_cast<float>(r.deltaN / kGpsPi);
  k.omDot = static_cast<float>(r.omegaDot / kGpsPi);
  k.iDot = static_cast<float>(r.idot / kGpsPi);
  k.crc = static_cast<float>(r.crc);
  k.crs = static_cast<float>(r.crs);
  k.cuc = static_cast<float>(r.cuc);
  k.cus = static_cast<float>(r.cus);
  k.cic = static_cast<float>(r.cic);
  k.cis = static_cast<float>(r.cis);
  return k;
}

GloEphBody NeFields(const RinexGloRecord& r, double tauC) {
  const int periodStart = r.year - r.year % 4;
  const int64_t day = TGPSTime::FromCalendar(r.year, r.month, r.day, 0, 0, 0).DayCount();
  const int64_t first = TGPSTime::FromCalendar(periodStart, 1, 1, 0, 0, 0).DayCount();
  const int32_t ofDay = r.hour * 3600 + r.minute * 60 + r.second;
  GloEphBody b{};
  b.sv = static_cast<uint8_t>(r.slot);
  b.frqNum = static_cast<int8_t>(r.channel);
  b.dne = static_cast<int16_t>(day - first + 1);
  b.tb = (ofDay + 10800) % 86400;
  b.tk = static_cast<int32_t>((std::llround(r.frameTime) % 86400 + 10800) % 86400);
  b.health = static_cast<uint8_t>(r.health != 0 ? 1 : 0);
  b.age = static_cast<uint8_t>(r.age);
  for (int i = 0; i < 3; ++i) {
    b.r[i] = r.pos[i];
    b.v[i] = static_cast<float>(r.vel[i]);
    b.w[i] = static_cast<float>(r.acc[i]);
  }
  b.tauSys = tauC;
  b.tau = static_cast<float>(-r.minusTauN);
  b.gamma = static_cast<float>(r.gammaN);
  return b;
}

std::string UoPayload(const RinexNav& nav) {
  // The file gives no announced leap second; the one in force is repeated.
  return Payload()
      .F64(nav.gpsA0)
      .F32(static_cast<float>(nav.gpsA1))
      .U32(static_cast<uint32_t>(nav.gpsTot))
      .U16(static_cast<uint16_t>(nav.gpsWeek))
      .I8(static_cast<int8_t>(nav.leapSeconds))
      .U8(7)
      .U16(1929)
      .I8(static_cast<int8_t>(nav.leapSeconds))
      .str();
}

}  // namespace vnx::test
