#include "tools/synth/rinex_obs.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "tools/synth/rinex_text.h"

namespace vnx::synth {
namespace {

bool SystemOf(char c, Gnss& sys) {
  switch (c) {
    case 'G':
    case ' ':
      sys = Gnss::Gps;
      return true;
    case 'R':
      sys = Gnss::Glonass;
      return true;
    case 'E':
      sys = Gnss::Galileo;
      return true;
    case 'S':
      sys = Gnss::Sbas;
      return true;
    default:
      return false;
  }
}

int SystemIndex(char c) {
  Gnss sys;
  return SystemOf(c, sys) ? ::vnx::SystemIndex(sys) : -1;
}

uint8_t KindOf(char c) {
  switch (c) {
    case 'C':
    case 'P':
      return kHasCode;
    case 'L':
      return kHasPhase;
    case 'D':
      return kHasDoppler;
    case 'S':
      return kHasSnr;
    default:
      return 0;
  }
}

// Signal of a RINEX 3 band/attribute pair, -1 when the log has no place for it.
int SignalOf3(Gnss sys, char band, char attr) {
  switch (sys) {
    case Gnss::Gps:
      if (band == '1')
        return attr == 'C' ? 0 : (attr == 'W' || attr == 'P' || attr == 'Y') ? 1 : -1;
      if (band == '2') return (attr == 'W' || attr == 'P' || attr == 'Y' || attr == 'D') ? 2 : 3;
      return band == '5' ? 4 : -1;
    case Gnss::Glonass:
      if (band == '1') return attr == 'C' ? 0 : attr == 'P' ? 1 : -1;
      if (band == '2') return attr == 'C' ? 3 : attr == 'P' ? 2 : -1;
      return -1;
    case Gnss::Galileo:
      if (band == '1') return (attr == 'B' || attr == 'C' || attr == 'X') ? 0 : -1;
      return band == '5' ? 4 : -1;
    case Gnss::Sbas:
      return band == '1' ? 0 : band == '5' ? 4 : -1;
    default:
      break;
  }
  return -1;
}

// Signal of a RINEX 2 observation type ("C1", "P2", "L2", ...).
int SignalOf2(Gnss sys, const std::string& code, bool hasP2) {
  char band = code[1];
  if (band == '1') return code[0] == 'P' ? 1 : 0;
  if (band == '2' && sys != Gnss::Galileo && sys != Gnss::Sbas) {
    if (code[0] == 'P') return 2;
    if (code[0] == 'C') return 3;
    return hasP2 ? 2 : 3;
  }
  return band == '5' ? 4 : -1;
}

struct TypeTable {
  // Per system index: the observation codes in file order.
  std::array<std::vector<std::string>, 4> codes;
  std::vector<std::string> codes2;  // RINEX 2: one list for every system
};

class ObsReader {
 public:
  explicit ObsReader(std::istream& in) : in_(in) {}
  ObsData Read();

 private:
  bool NextLine(std::string& line) {
    if (!std::getline(in_, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 80) line.resize(80, ' ');
    return true;
  }
  void ReadHeader();
  void HeaderLine(const std::string& line, const std::string& label);
  bool ReadEpoch2(const std::string& first);
  bool ReadEpoch3(const std::string& first);
  void StoreValues(SatObs& sat, const std::vector<std::string>& codes, const std::string& fields);
  void SkipLines(int n) {
    std::string line;
    for (int i = 0; i < n && NextLine(line); ++i) {
    }
  }

  std::istream& in_;
  ObsData data_;
  TypeTable types_;
  bool hasP2_ = false;
  std::string pendingSys3_;  // system letter of a continued SYS / # / OBS TYPES record
};

void ObsReader::HeaderLine(const std::string& line, const std::string& label) {
  ObsHeader& h = data_.header;
  if (label == "RINEX VERSION / TYPE") {
    h.version = Field(line, 0, 9);
    if (line[20] != 'O') throw std::runtime_error("not an observation file");
  } else if (label == "MARKER NAME") {
    h.markerName = Trim(line.substr(0, 60));
  } else if (label == "APPROX POSITION XYZ") {
    for (int i = 0; i < 3; ++i) h.position[i] = Field(line, i * 14, 14);
  } else if (label == "ANTENNA: DELTA H/E/N") {
    h.antennaHeight = Field(line, 0, 14);
  } else if (label == "INTERVAL") {
    h.interval = Field(line, 0, 10);
  } else if (label == "LEAP SECONDS") {
    h.leapSeconds = static_cast<int>(Field(line, 0, 6));
  } else if (label == "# / TYPES OF OBSERV") {
    for (int i = 0; i < 9; ++i) {
      std::string code = Trim(line.substr(10 + 6 * i, 2));
      if (!code.empty()) types_.codes2.push_back(code);
    }
  } else if (label == "SYS / # / OBS TYPES") {
    if (line[0] != ' ') {
      pendingSys3_ = line.substr(0, 1);
    }
    int index = SystemIndex(pendingSys3_.empty() ? 'X' : pendingSys3_[0]);
    for (int i = 0; i < 13; ++i) {
      std::string code = Trim(line.substr(7 + 4 * i, 3));
      if (code.empty()) continue;
      if (index >= 0) types_.codes[index].push_back(code);  // other systems are not kept
    }
  } else if (label == "GLONASS SLOT / FRQ #") {
    for (int i = 0; i < 8; ++i) {
      std::string sat = line.substr(4 + 7 * i, 3);
      if (sat[0] != 'R') continue;
      h.glonassChannel[std::atoi(sat.c_str() + 1)] = static_cast<int>(Field(line, 8 + 7 * i, 2));
    }
  }
}

void ObsReader::ReadHeader() {
  std::string line;
  while (NextLine(line)) {
    std::string label = Trim(line.substr(60, 20));
    if (label == "END OF HEADER") {
      hasP2_ = std::find(types_.codes2.begin(), types_.codes2.end(), "P2") != types_.codes2.end();
      return;
    }
    HeaderLine(line, label);
  }
  throw std::runtime_error("observation header without END OF HEADER");
}

void ObsReader::StoreValues(SatObs& sat, const std::vector<std::string>& codes,
                            const std::string& fields) {
  for (size_t i = 0; i < codes.size(); ++i) {
    size_t at = 16 * i;
    if (at + 14 > fields.size()) break;
    std::string text = fields.substr(at, 14);
    if (Trim(text).empty()) continue;
    double value = Field(text, 0, 14);
    if (value == 0.0) continue;
    ObsSlot slot = MapObsCode(sat.id.sys, codes[i], hasP2_);
    if (slot.signal < 0) continue;
    SignalValues& s = sat.sig[slot.signal];
    if (s.has & slot.kind) continue;  // the first code listed for a signal wins
    s.has |= slot.kind;
    if (slot.kind == kHasCode) s.code = value;
    if (slot.kind == kHasPhase) {
      s.phase = value;
      char lli = at + 14 < fields.size() ? fields[at + 14] : ' ';
      s.slip = lli >= '0' && lli <= '9' && ((lli - '0') & 1);
    }
    if (slot.kind == kHasDoppler) s.doppler = value;
    if (slot.kind == kHasSnr) s.snr = value;
  }
}

bool ObsReader::ReadEpoch3(const std::string& first) {
  int flag = first[31] - '0';
  int count = static_cast<int>(Field(first, 32, 3));
  if (flag > 1) {
    SkipLines(count);
    return true;
  }
  ObsEpoch epoch;
  epoch.time = GpsSecondsFromCalendar(
      static_cast<int>(Field(first, 2, 4)), static_cast<int>(Field(first, 7, 2)),
      static_cast<int>(Field(first, 10, 2)), static_cast<int>(Field(first, 13, 2)),
      static_cast<int>(Field(first, 16, 2)), Field(first, 18, 11));
  std::string line;
  for (int i = 0; i < count && std::getline(in_, line); ++i) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    int index = line.empty() ? -1 : SystemIndex(line[0]);
    if (index < 0 || line.size() < 3) continue;
    SatObs sat;
    sat.id = {kSatSystems[static_cast<size_t>(index)], std::atoi(line.substr(1, 2).c_str())};
    if (sat.id.sys == Gnss::Sbas) sat.id.prn += 100;
    StoreValues(sat, types_.codes[index], line.substr(3));
    epoch.sats.push_back(sat);
  }
  if (flag <= 1) data_.epochs.push_back(std::move(epoch));
  return true;
}

bool ObsReader::ReadEpoch2(const std::string& first) {
  int flag = first[28] - '0';
  int count = static_cast<int>(Field(first, 29, 3));
  if (flag > 1) {
    SkipLines(count);
    return true;
  }
  int year = static_cast<int>(Field(first, 1, 2));
  year += year < 80 ? 2000 : 1900;
  ObsEpoch epoch;
  epoch.time = GpsSecondsFromCalendar(year, static_cast<int>(Field(first, 4, 2)),
                                      static_cast<int>(Field(first, 7, 2)),
                                      static_cast<int>(Field(first, 10, 2)),
                                      static_cast<int>(Field(first, 13, 2)), Field(first, 15, 11));
  std::vector<std::string> names;
  std::string line = first;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && i % 12 == 0 && !NextLine(line)) return false;
    names.push_back(line.substr(32 + 3 * (i % 12), 3));
  }
  int linesPerSat = (static_cast<int>(types_.codes2.size()) + 4) / 5;
  for (const std::string& name : names) {
    std::string fields;
    for (int l = 0; l < linesPerSat; ++l) {
      if (!NextLine(line)) return false;
      fields += line.substr(0, 80);
    }
    Gnss sys;
    if (!SystemOf(name[0], sys)) continue;
    SatObs sat;
    sat.id = {sys, std::atoi(name.substr(1, 2).c_str())};
    if (sys == Gnss::Sbas) sat.id.prn += 100;
    StoreValues(sat, types_.codes2, fields);
    epoch.sats.push_back(sat);
  }
  data_.epochs.push_back(std::move(epoch));
  return true;
}

ObsData ObsReader::Read() {
  ReadHeader();
  bool v3 = data_.header.version >= 3.0;
  std::string line;
  while (NextLine(line)) {
    if (v3 && line[0] != '>') continue;
    if (!v3 && Trim(line).empty()) continue;
    if (!(v3 ? ReadEpoch3(line) : ReadEpoch2(line))) break;
  }
  std::stable_sort(data_.epochs.begin(), data_.epochs.end(),
                   [](const ObsEpoch& a, const ObsEpoch& b) { return a.time < b.time; });
  if (data_.epochs.empty()) throw std::runtime_error("observation file without epochs");
  if (data_.header.interval <= 0 && data_.epochs.size() > 1)
    data_.header.interval = data_.epochs[1].time - data_.epochs[0].time;
  if (data_.header.interval <= 0) data_.header.interval = 1;
  return std::move(data_);
}

}  // namespace

ObsSlot MapObsCode(Gnss sys, const std::string& code, bool hasP2) {
  ObsSlot slot;
  if (code.size() < 2) return slot;
  slot.kind = KindOf(code[0]);
  if (slot.kind == 0) return slot;
  slot.signal = code.size() >= 3 ? SignalOf3(sys, code[1], code[2]) : SignalOf2(sys, code, hasP2);
  if (code.size() == 2 && code[0] == 'P' && code[1] != '1' && code[1] != '2') slot.signal = -1;
  return slot;
}

ObsData ReadObs(std::istream& in) {
  return ObsReader(in).Read();
}

ObsData ReadObsFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  return ReadObs(in);
}

}  // namespace vnx::synth
