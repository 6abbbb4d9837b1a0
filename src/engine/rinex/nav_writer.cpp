#include "engine/rinex/nav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/ephemeris/ephemeris_records.h"
#include "engine/ephemeris/ephemeris_store.h"
#include "engine/time/gps_time.h"

namespace vnx::rinex {
namespace {

// The value of pi the GPS and Galileo orbit algorithms prescribe; the log gives angles in
// semi-circles.
constexpr double kSemiCircle = 3.1415926535898;
constexpr int64_t kWeek = 604800;

template <class Rec>
bool ReadAll(const ExportInput& in, SatSystem s, std::vector<Rec>& out, std::string& error) {
  const int64_t count = in.ephemerisCount[SystemIndex(s)];
  if (count == 0) return true;
  const WorkFile file = EphemerisFileOf(s);
  const std::unique_ptr<RecordStream> r = in.records->Open(file);
  out.resize(static_cast<size_t>(count));
  for (Rec& rec : out) {
    if (r == nullptr || !r->Next(rec)) {
      error = std::string("Unexpected end of file ") + WorkFileName(file);
      return false;
    }
  }
  // Satellite by satellite, in time order within each.
  std::stable_sort(out.begin(), out.end(), [](const Rec& a, const Rec& b) {
    if (a.sv != b.sv) return a.sv < b.sv;
    return TGPSTime::FromTimeRec(a.time).Seconds() < TGPSTime::FromTimeRec(b.time).Seconds();
  });
  return true;
}

class NavWriter {
 public:
  NavWriter(const ExportOptions& o, TextBuffer& out)
      : v3_(o.version == Version::V304), exp_(v3_ ? 'E' : 'D'), out_(out) {}

  // The first line of a record: satellite, epoch (whole seconds since 1980 on the record's own
  // calendar) and three values.
  void First(SatSystem s, int number, uint32_t epoch, double a, double b, double c) {
    l_.Clear();
    const TGPSTime t(epoch);
    if (v3_) {
      char* p = l_.At(0);
      p[0] = InfoOf(s).letter;
      PutInt(p + 1, 2, number, 2);
      PutInt(p + 4, 4, t.Year());
      PutInt(p + 9, 2, t.Month(), 2);
      PutInt(p + 12, 2, t.Day(), 2);
      PutInt(p + 15, 2, t.Hour(), 2);
      PutInt(p + 18, 2, t.Minute(), 2);
      PutInt(p + 21, 2, t.Second(), 2);
    } else {
      char* p = l_.At(0);
      PutInt(p, 2, number);
      PutInt(p + 3, 2, t.Year() % 100, 2);
      PutInt(p + 6, 2, t.Month());
      PutInt(p + 9, 2, t.Day());
      PutInt(p + 12, 2, t.Hour());
      PutInt(p + 15, 2, t.Minute());
      PutFixed(p + 17, 5, 1, t.Second());
    }
    const int at = v3_ ? 23 : 22;
    PutD19(l_.At(at), a, exp_);
    PutD19(l_.At(at + 19), b, exp_);
    PutD19(l_.At(at + 38), c, exp_);
    out_.Put(l_, false);
  }
  // A broadcast-orbit line of up to four values; NaN leaves a field blank.
  void Orbit(double a, double b = NAN, double c = NAN, double d = NAN) {
    l_.Clear();
    const int at = v3_ ? 4 : 3;
    const double v[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i)
      if (!std::isnan(v[i])) PutD19(l_.At(at + 19 * i), v[i], exp_);
    out_.Put(l_, false);
  }

  void Kepler(SatSystem s, const KeplerEphFields& k, const float* galileo);
  void Glonass(const EphemGLORec& r);
  void Sbas(const EphemGEORec& r);

 private:
  bool v3_;
  char exp_;
  TextBuffer& out_;
  Line l_;
};

void NavWriter::Kepler(SatSystem s, const KeplerEphFields& k, const float* galileo) {
  const int64_t week = TGPSWeek(k.wn).Week();
  const int64_t toe = week * kWeek + k.toe;  // toe was normalised next to the time of week
  const int64_t toeWeek = toe >= 0 ? toe / kWeek : (toe - kWeek + 1) / kWeek;
  int64_t toc = week * kWeek + k.toc;
  if (toc - toe > kWeek / 2) toc -= kWeek;
  if (toe - toc > kWeek / 2) toc += kWeek;
  const double pi = kSemiCircle;
  First(s, k.sv, static_cast<uint32_t>(std::max<int64_t>(toc, 0)), k.af0, k.af1, k.af2);
  Orbit(k.iode, k.crs, k.deln * pi, k.m0 * pi);
  Orbit(k.cuc, k.ecc, k.cus, k.rootA);
  Orbit(static_cast<double>(toe - toeWeek * kWeek), k.cic, k.omega0 * pi, k.cis);
  Orbit(k.inc0 * pi, k.crc, k.per * pi, k.omDot * pi);
  const double transmit = static_cast<double>(week * kWeek + k.tow - toeWeek * kWeek);
  if (galileo == nullptr) {
    Orbit(k.iDot * pi, (k.flags >> 2) & 3, static_cast<double>(toeWeek), (k.flags >> 1) & 1);
    Orbit(UraMetres(k.ura), k.health, k.tgd, k.iodc);
    Orbit(transmit, FitIntervalHours(k.flags & 1, k.iodc));
  } else {
    // Data sources 517: I/NAV on E1-B and E5b with the clock for E5b/E1; the record carries
    // both group delays, which only the I/NAV message gives.
    Orbit(k.iDot * pi, 517, static_cast<double>(toeWeek), 0.0);
    Orbit(UraMetres(k.ura), k.health, galileo[0], galileo[1]);
    Orbit(transmit);
  }
}

void NavWriter::Glonass(const EphemGLORec& r) {
  const GloEphBody& b = r.body;
  const uint32_t toc = TGPSTime::FromTimeRec(r.time).Seconds();  // UTC
  // tk is the frame's start on the Moscow day (UTC + 3 h); RINEX counts it in seconds of the
  // UTC week, on the day of the reference time or the day next to it.
  int64_t frame =
      static_cast<int64_t>(toc) / 86400 * 86400 + ((b.tk - 10800) % 86400 + 86400) % 86400;
  if (frame - toc > 43200) frame -= 86400;
  if (static_cast<int64_t>(toc) - frame > 43200) frame += 86400;
  First(SatSystem::Glonass, b.sv, toc, -static_cast<double>(b.tau), b.gamma,
        static_cast<double>(((frame % kWeek) + kWeek) % kWeek));
  Orbit(b.r[0], b.v[0], b.w[0], b.health & 1);
  Orbit(b.r[1], b.v[1], b.w[1], b.frqNum);
  Orbit(b.r[2], b.v[2], b.w[2], b.age);
}

void NavWriter::Sbas(const EphemGEORec& r) {
  const GeoEphBody& b = r.body;
  const uint32_t toc = TGPSTime::FromTimeRec(r.time).Seconds();
  // RINEX gives SBAS positions in kilometres; the log in metres.
  First(SatSystem::Sbas, RinexSatNumber(SatSystem::Sbas, b.sv), toc, b.aGf0, b.aGf1,
        std::round(b.tow / 1000.0));
  Orbit(b.r[0] / 1000, b.v[0] / 1000, b.w[0] / 1000, 0.0);
  Orbit(b.r[1] / 1000, b.v[1] / 1000, b.w[1] / 1000, b.ura);
  Orbit(b.r[2] / 1000, b.v[2] / 1000, b.w[2] / 1000, b.iod);
}

void PutHeaderLine(TextBuffer& out, Line& l, std::string_view label) {
  l.Label(label);
  out.Put(l, true);
  l.Clear();
}

struct NavRecords {
  std::vector<EphemGPSRec> gps;
  std::vector<EphemGLORec> glo;
  std::vector<EphemGALRec> gal;
  std::vector<EphemGEORec> sbas;
};

void PutNavHeader(TextBuffer& out, const ExportOptions& o, const ObsSurvey& s,
                  const std::array<bool, kSatSystemCount>& which, const NavRecords& recs) {
  const bool v3 = o.version == Version::V304;
  const char exp = v3 ? 'E' : 'D';
  Line l;
  PutFixed(l.At(0), 9, 2, v3 ? 3.04 : 2.11);
  if (v3) {
    PutText(l.At(20), 20, "N: GNSS NAV DATA");
    PutText(l.At(40), 20, "M: MIXED");
  } else {
    // A 2.11 file holds one system.
    for (SatSystem sys : kSatSystems)
      if (which[SystemIndex(sys)]) PutText(l.At(20), 20, Nav2FileOf(sys).type);
  }
  PutHeaderLine(out, l, "RINEX VERSION / TYPE");
  PutProgramLine(out, o);
  const bool gps = which[SystemIndex(SatSystem::Gps)];
  const int firstWeek =
      static_cast<int>(TGPSTime(static_cast<uint32_t>(s.first.key / 1000000000)).Week().Week());
  if (gps && s.hasIono) {
    for (int b = 0; b < 2; ++b) {
      // Copied out: the packed block gives its floats no alignment.
      float v[4];
      std::memcpy(v, b == 0 ? s.iono.alpha : s.iono.beta, sizeof v);
      if (v3) {
        PutText(l.At(0), 4, b == 0 ? "GPSA" : "GPSB");
        for (int i = 0; i < 4; ++i) PutExp(l.At(5 + 12 * i), 12, 4, v[i], exp);
        PutHeaderLine(out, l, "IONOSPHERIC CORR");
      } else {
        for (int i = 0; i < 4; ++i) PutExp(l.At(2 + 12 * i), 12, 4, v[i], exp);
        PutHeaderLine(out, l, b == 0 ? "ION ALPHA" : "ION BETA");
      }
    }
  }
  if (v3 && which[SystemIndex(SatSystem::Galileo)] && !recs.gal.empty()) {
    PutText(l.At(0), 4, "GAL");
    const GalEphBody& g = recs.gal.front().body;
    PutExp(l.At(5), 12, 4, g.ai0, exp);
    PutExp(l.At(17), 12, 4, g.ai1, exp);
    PutExp(l.At(29), 12, 4, g.ai2, exp);
    PutExp(l.At(41), 12, 4, 0.0, exp);
    PutHeaderLine(out, l, "IONOSPHERIC CORR");
  }
  if (gps && s.hasUtc) {
    // The week of tot as the log gives it may be eight bits, and a scan replaces it once by the
    // week of an ephemeris; tot itself lies within half a week of the data, which fixes the week.
    const int64_t firstSow = s.first.key / 1000000000 - int64_t{firstWeek} * kWeek;
    const int wnt =
        firstWeek +
        static_cast<int>(std::llround(static_cast<double>(firstSow - int64_t{s.utc.tot}) / kWeek));
    if (v3) {
      PutText(l.At(0), 4, "GPUT");
      PutExp(l.At(5), 17, 10, s.utc.a0, exp);
      PutExp(l.At(22), 16, 9, s.utc.a1, exp);
      PutInt(l.At(38), 7, s.utc.tot);
      PutInt(l.At(45), 5, wnt);
      PutHeaderLine(out, l, "TIME SYSTEM CORR");
    } else {
      PutD19(l.At(3), s.utc.a0, exp);
      PutD19(l.At(22), s.utc.a1, exp);
      PutInt(l.At(41), 9, s.utc.tot);
      PutInt(l.At(50), 9, wnt);
      PutHeaderLine(out, l, "DELTA-UTC: A0,A1,T,W");
    }
  }
  if (which[SystemIndex(SatSystem::Glonass)] && !recs.glo.empty()) {
    const EphemGLORec& g = recs.glo.front();
    if (v3) {
      PutText(l.At(0), 4, "GLUT");
      PutExp(l.At(5), 17, 10, g.body.tauSys, exp);
      PutExp(l.At(22), 16, 9, 0.0, exp);
      PutInt(l.At(38), 7, 0);
      PutInt(l.At(45), 5, 0);
      PutHeaderLine(out, l, "TIME SYSTEM CORR");
    } else {
      PutInt(l.At(0), 6, g.time.year);
      PutInt(l.At(6), 6, g.time.month);
      PutInt(l.At(12), 6, g.time.day);
      PutD19(l.At(21), g.body.tauSys, exp);
      PutHeaderLine(out, l, "CORR TO SYSTEM TIME");
    }
  }
  PutLeapSecondsLine(out, s, o.version);
  PutHeaderLine(out, l, "END OF HEADER");
}

}  // namespace

double UraMetres(int index) {
  static constexpr double kMetres[16] = {2.4, 3.4, 4.85, 6.85, 9.65, 13.65, 24,   48,
                                         96,  192, 384,  768,  1536, 3072,  6144, 6144};
  return kMetres[std::clamp(index, 0, 15)];
}

double FitIntervalHours(bool flag, int iodc) {
  if (!flag) return 4;
  if (iodc >= 240 && iodc <= 247) return 8;
  if ((iodc >= 248 && iodc <= 255) || iodc == 496) return 14;
  if ((iodc >= 497 && iodc <= 503) || (iodc >= 1021 && iodc <= 1023)) return 26;
  if (iodc >= 504 && iodc <= 510) return 50;
  if (iodc == 511 || (iodc >= 752 && iodc <= 756)) return 74;
  if (iodc == 757) return 98;
  return 6;
}

bool WriteNavigationFile(const ExportInput& in, const ExportOptions& o, const ObsSurvey& s,
                         const std::array<bool, kSatSystemCount>& which, TextBuffer& out,
                         int64_t& records, std::string& error) {
  NavRecords recs;
  if ((which[SystemIndex(SatSystem::Gps)] && !ReadAll(in, SatSystem::Gps, recs.gps, error)) ||
      (which[SystemIndex(SatSystem::Glonass)] &&
       !ReadAll(in, SatSystem::Glonass, recs.glo, error)) ||
      (which[SystemIndex(SatSystem::Galileo)] &&
       !ReadAll(in, SatSystem::Galileo, recs.gal, error)) ||
      (which[SystemIndex(SatSystem::Sbas)] && !ReadAll(in, SatSystem::Sbas, recs.sbas, error)))
    return false;
  PutNavHeader(out, o, s, which, recs);
  NavWriter w(o, out);
  for (const EphemGPSRec& r : recs.gps) w.Kepler(SatSystem::Gps, r.body.k, nullptr);
  for (const EphemGLORec& r : recs.glo) w.Glonass(r);
  for (const EphemGALRec& r : recs.gal) {
    const float groupDelays[2] = {r.body.bcdA, r.body.bcdB};
    w.Kepler(SatSystem::Galileo, r.body.k, groupDelays);
  }
  for (const EphemGEORec& r : recs.sbas) w.Sbas(r);
  records =
      static_cast<int64_t>(recs.gps.size() + recs.glo.size() + recs.gal.size() + recs.sbas.size());
  return true;
}

}  // namespace vnx::rinex
