#pragma once
// A small reader for RINEX 3 GPS and GLONASS navigation files and the conversion of their
// records into "GE", "NE" and "UO" bodies as a receiver would log them. Enough for tests
// that build logs from real broadcast ephemerides.
#include <string>
#include <vector>

#include "engine/ephemeris/ephemeris_records.h"

namespace vnx::test {

// One GPS record as the file gives it (seconds, metres, radians).
struct RinexGpsRecord {
  int prn = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // toc
  double af0 = 0, af1 = 0, af2 = 0;
  double iode = 0, crs = 0, deltaN = 0, m0 = 0;
  double cuc = 0, ecc = 0, cus = 0, sqrtA = 0;
  double toe = 0, cic = 0, omega0 = 0, cis = 0;
  double i0 = 0, crc = 0, omega = 0, omegaDot = 0;
  double idot = 0, codesL2 = 0, week = 0, l2pFlag = 0;
  double accuracy = 0, health = 0, tgd = 0, iodc = 0;
  double transmitTime = 0, fitInterval = 0;
};

// One GLONASS record (UTC epoch of tb; km, km/s, km/s^2).
struct RinexGloRecord {
  int slot = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  double minusTauN = 0, gammaN = 0, frameTime = 0;
  double pos[3] = {}, vel[3] = {}, acc[3] = {};
  double health = 0, channel = 0, age = 0;
};

struct RinexNav {
  // GPUT and LEAP SECONDS of a GPS file, GLUT of a GLONASS file.
  double gpsA0 = 0, gpsA1 = 0;
  int gpsTot = 0, gpsWeek = 0;
  int leapSeconds = 0;
  double glonassTauC = 0;
  std::vector<RinexGpsRecord> gps;
  std::vector<RinexGloRecord> glonass;
};

// Reads the GPS and GLONASS records of a RINEX 3 navigation file; other systems are skipped.
// Throws std::runtime_error when the file cannot be read.
RinexNav ReadRinex3Nav(const std::string& path);

// The GE fields of a record: angles in semi-circles, wn and tow of the transmission time.
KeplerEphFields GeFields(const RinexGpsRecord& r);
// GPS seconds of the record's toe.
int64_t ToeSeconds(const RinexGpsRecord& r);

// The NE fields: tb on the GLONASS scale (UTC + 3 h), dne the day of the UTC date within its
// four-year period, so that the date follows from the receiver's date as the decoder expects.
GloEphBody NeFields(const RinexGloRecord& r, double tauC);

// The UO body of the GPS file's header (UTC parameters and leap seconds).
std::string UoPayload(const RinexNav& nav);

}  // namespace vnx::test
