#include "tools/synth/rinex_nav.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/synth/rinex_text.h"

namespace vnx::synth {
namespace {

class NavReader {
 public:
  explicit NavReader(std::istream& in) : in_(in) {}
  NavData Read();

 private:
  bool NextLine(std::string& line);
  void HeaderLine(const std::string& line, const std::string& label);
  void Record(const std::string& first);
  void KeplerRecord(SatId id, double toc, const std::vector<double>& v);
  void GloRecord(int slot, double toc, const std::vector<double>& v);

  std::istream& in_;
  NavData data_;
  double version_ = 0;
  char fileSystem_ = 'G';
  std::string pending_;
  bool hasPending_ = false;
};

bool NavReader::NextLine(std::string& line) {
  if (hasPending_) {
    line = pending_;
    hasPending_ = false;
    return true;
  }
  if (!std::getline(in_, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() < 80) line.resize(80, ' ');
  return true;
}

void NavReader::HeaderLine(const std::string& line, const std::string& label) {
  NavHeader& h = data_.header;
  if (label == "RINEX VERSION / TYPE") {
    version_ = Field(line, 0, 9);
    char type = line[20];
    if (type != 'N' && type != 'G') throw std::runtime_error("not a navigation file");
    fileSystem_ = type == 'G' ? 'R' : (version_ >= 3 ? line[40] : 'G');
  } else if (label == "ION ALPHA" || label == "ION BETA") {
    auto& target = label == "ION ALPHA" ? h.alpha : h.beta;
    for (int i = 0; i < 4; ++i) target[i] = Field(line, 2 + 12 * i, 12);
    h.hasIon = true;
  } else if (label == "IONOSPHERIC CORR") {
    std::string kind = line.substr(0, 4);
    if (kind == "GPSA" || kind == "GPSB") {
      auto& target = kind == "GPSA" ? h.alpha : h.beta;
      for (int i = 0; i < 4; ++i) target[i] = Field(line, 5 + 12 * i, 12);
      h.hasIon = true;
    } else if (kind == "GAL ") {
      for (int i = 0; i < 3; ++i) h.galIon[i] = Field(line, 5 + 12 * i, 12);
      h.hasGalIon = true;
    }
  } else if (label == "DELTA-UTC: A0,A1,T,W") {
    h.a0 = Field(line, 3, 19);
    h.a1 = Field(line, 22, 19);
    h.tot = static_cast<int>(Field(line, 41, 9));
    h.wnt = static_cast<int>(Field(line, 50, 9));
    h.hasUtc = true;
  } else if (label == "TIME SYSTEM CORR") {
    std::string kind = line.substr(0, 4);
    if (kind == "GPUT") {
      h.a0 = Field(line, 5, 17);
      h.a1 = Field(line, 22, 16);
      h.tot = static_cast<int>(Field(line, 38, 7));
      h.wnt = static_cast<int>(Field(line, 45, 5));
      h.hasUtc = true;
    } else if (kind == "GLUT") {
      h.tauC = Field(line, 5, 17);
      h.hasGloCorr = true;
    }
  } else if (label == "CORR TO SYSTEM TIME") {
    h.tauC = Field(line, 21, 19);
    h.hasGloCorr = true;
  } else if (label == "LEAP SECONDS") {
    h.leap = static_cast<int>(Field(line, 0, 6));
    if (version_ >= 3 && !Trim(line.substr(6, 18)).empty()) {
      h.leapFuture = static_cast<int>(Field(line, 6, 6));
      h.leapWeek = static_cast<int>(Field(line, 12, 6));
      h.leapDay = static_cast<int>(Field(line, 18, 6));
    }
  }
}

void NavReader::KeplerRecord(SatId id, double toc, const std::vector<double>& v) {
  if (v.size() < 26) return;
  KeplerEph e;
  e.id = id;
  e.gm = id.sys == Gnss::Galileo ? kGalileoGm : kGpsGm;
  e.toc = toc;
  e.af0 = v[0], e.af1 = v[1], e.af2 = v[2];
  e.iode = v[3], e.crs = v[4], e.deltaN = v[5], e.m0 = v[6];
  e.cuc = v[7], e.ecc = v[8], e.cus = v[9], e.sqrtA = v[10];
  double toeOfWeek = v[11];
  e.cic = v[12], e.omega0 = v[13], e.cis = v[14];
  e.i0 = v[15], e.crc = v[16], e.omega = v[17], e.omegaDot = v[18];
  e.idot = v[19], e.codesL2 = v[20], e.l2pFlag = v[22];
  double week = v[21];
  e.accuracy = v[23], e.health = v[24], e.tgd = v[25];
  e.iodc = v.size() > 26 ? v[26] : 0;
  e.toe = week * kSecondsPerWeek + toeOfWeek;
  double tx = v.size() > 27 ? v[27] : 0;
  // A transmission time beyond the week belongs to the week before; 0.9999e9 means unknown.
  e.transmitTime = (tx <= 0 || tx > 1e6) ? e.toe - 7200 : week * kSecondsPerWeek + tx;
  if (e.transmitTime - e.toe > kSecondsPerWeek / 2) e.transmitTime -= kSecondsPerWeek;
  if (e.toe - e.transmitTime > kSecondsPerWeek / 2) e.transmitTime += kSecondsPerWeek;
  e.fitInterval = v.size() > 28 ? v[28] : 0;
  if (e.sqrtA > 1000) data_.kepler.push_back(e);
}

void NavReader::GloRecord(int slot, double toc, const std::vector<double>& v) {
  if (v.size() < 15) return;
  GloEph e;
  e.slot = slot;
  e.tocUtc = toc;
  e.clockBias = v[0], e.gammaN = v[1], e.frameTime = v[2];
  for (int i = 0; i < 3; ++i) {
    e.pos[i] = v[3 + 4 * i];
    e.vel[i] = v[4 + 4 * i];
    e.acc[i] = v[5 + 4 * i];
  }
  e.health = v[6];
  e.channel = static_cast<int>(v[10]);
  e.age = v[14];
  data_.glonass.push_back(e);
}

void NavReader::Record(const std::string& first) {
  bool v3 = version_ >= 3;
  char sysLetter = v3 ? first[0] : fileSystem_;
  int prn = v3 ? std::atoi(first.substr(1, 2).c_str()) : std::atoi(first.substr(0, 2).c_str());
  int year, month, day, hour, minute;
  double second;
  size_t valuesAt;
  if (v3) {
    year = static_cast<int>(Field(first, 4, 4));
    month = static_cast<int>(Field(first, 9, 2));
    day = static_cast<int>(Field(first, 12, 2));
    hour = static_cast<int>(Field(first, 15, 2));
    minute = static_cast<int>(Field(first, 18, 2));
    second = Field(first, 21, 2);
    valuesAt = 23;
  } else {
    year = static_cast<int>(Field(first, 3, 2));
    year += year < 80 ? 2000 : 1900;
    month = static_cast<int>(Field(first, 6, 2));
    day = static_cast<int>(Field(first, 9, 2));
    hour = static_cast<int>(Field(first, 12, 2));
    minute = static_cast<int>(Field(first, 15, 2));
    second = Field(first, 17, 5);
    valuesAt = 22;
  }
  std::vector<double> v;
  for (int i = 0; i < 3; ++i) v.push_back(Field(first, valuesAt + 19 * i, 19));
  std::string line;
  size_t continuationAt = v3 ? 4 : 3;
  while (NextLine(line)) {
    if (line.compare(0, 3, "   ") != 0) {
      pending_ = line;
      hasPending_ = true;
      break;
    }
    for (int i = 0; i < 4; ++i) v.push_back(Field(line, continuationAt + 19 * i, 19));
  }
  double toc = GpsSecondsFromCalendar(year, month, day, hour, minute, second);
  if (sysLetter == 'G') KeplerRecord({Gnss::Gps, prn}, toc, v);
  if (sysLetter == 'E') KeplerRecord({Gnss::Galileo, prn}, toc, v);
  if (sysLetter == 'R') GloRecord(prn, toc, v);
}

NavData NavReader::Read() {
  std::string line;
  bool ended = false;
  while (NextLine(line)) {
    std::string label = Trim(line.substr(60, 20));
    if (label == "END OF HEADER") {
      ended = true;
      break;
    }
    HeaderLine(line, label);
  }
  if (!ended || version_ <= 0) throw std::runtime_error("navigation header not found");
  while (NextLine(line)) {
    if (Trim(line).empty()) continue;
    Record(line);
  }
  auto byToe = [](const KeplerEph& a, const KeplerEph& b) {
    return a.id == b.id ? a.toe < b.toe : a.id < b.id;
  };
  std::stable_sort(data_.kepler.begin(), data_.kepler.end(), byToe);
  std::stable_sort(data_.glonass.begin(), data_.glonass.end(),
                   [](const GloEph& a, const GloEph& b) {
                     return a.slot == b.slot ? a.tocUtc < b.tocUtc : a.slot < b.slot;
                   });
  return std::move(data_);
}

}  // namespace

NavData ReadNav(std::istream& in) {
  return NavReader(in).Read();
}

NavData ReadNavFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  return ReadNav(in);
}

void MergeNav(NavData& into, const NavData& from) {
  NavHeader& h = into.header;
  const NavHeader& f = from.header;
  if (!h.hasIon && f.hasIon) h.hasIon = true, h.alpha = f.alpha, h.beta = f.beta;
  if (!h.hasUtc && f.hasUtc)
    h.hasUtc = true, h.a0 = f.a0, h.a1 = f.a1, h.tot = f.tot, h.wnt = f.wnt;
  if (h.leap < 0) h.leap = f.leap;
  if (h.leapWeek < 0 && f.leapWeek >= 0)
    h.leapFuture = f.leapFuture, h.leapWeek = f.leapWeek, h.leapDay = f.leapDay;
  if (!h.hasGloCorr && f.hasGloCorr) h.hasGloCorr = true, h.tauC = f.tauC;
  if (!h.hasGalIon && f.hasGalIon) h.hasGalIon = true, h.galIon = f.galIon;
  into.kepler.insert(into.kepler.end(), from.kepler.begin(), from.kepler.end());
  into.glonass.insert(into.glonass.end(), from.glonass.begin(), from.glonass.end());
  std::stable_sort(into.kepler.begin(), into.kepler.end(),
                   [](const KeplerEph& a, const KeplerEph& b) {
                     return a.id == b.id ? a.toe < b.toe : a.id < b.id;
                   });
  std::stable_sort(into.glonass.begin(), into.glonass.end(), [](const GloEph& a, const GloEph& b) {
    return a.slot == b.slot ? a.tocUtc < b.tocUtc : a.slot < b.slot;
  });
}

}  // namespace vnx::synth
