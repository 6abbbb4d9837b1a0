#include "engine/views/ephemeris_text.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "engine/epoch/record_reader.h"
#include "engine/time/extended80.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLowestPlainExponent = -5;  // 0.00001

std::string Num(int64_t v) {
  return std::to_string(v);
}

std::string Bit(unsigned value, unsigned bit) {
  return (value >> bit) & 1u ? "1" : "0";
}

// Two flag bits read as a number 0..3: the lower bit counts 1, the upper 2.
std::string BitPair(unsigned value, unsigned lowBit) {
  return Num(((value >> lowBit) & 1u) + 2 * ((value >> (lowBit + 1)) & 1u));
}

std::string DecimalSeparator() {
  const std::lconv* lc = std::localeconv();
  return lc && lc->decimal_point && *lc->decimal_point ? lc->decimal_point : ".";
}

// The value rounded to 15 significant digits: its digits without trailing zeros and the
// decimal exponent of the first one.
void SignificantDigits(double magnitude, std::string& digits, int& exponent) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, magnitude);
  std::string text(buf);
  const size_t e = text.find_first_of("eE");
  digits.clear();
  for (size_t i = 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  exponent = std::stoi(text.substr(e + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

std::string PlainForm(const std::string& digits, int exponent, const std::string& sep) {
  if (exponent < 0)
    return "0" + sep + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  const auto whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) return digits + std::string(whole - digits.size(), '0');
  return digits.substr(0, whole) + sep + digits.substr(whole);
}

std::string FormTimeText(const TimeRec& t) {
  int64_t whole = 0, ns = 0;
  Ext80SplitSeconds(t.seconds, whole, ns);
  return EphTimeText(t.hour, t.minute, static_cast<int32_t>(whole));
}

std::string FormDateText(const TimeRec& t) {
  return EphDateText(t.year, t.month, t.day);
}

// ---- GPS and Galileo ----

using KeplerValue = std::string (*)(const KeplerEphFields&, bool galileo);

struct KeplerLabel {
  const char* label;
  KeplerValue value;
};

TGPSTime ToeTime(const KeplerEphFields& k) {
  const int64_t t = static_cast<int64_t>(TGPSWeek(k.wn).Week()) * kSecondsPerWeek + k.toe;
  return TGPSTime(static_cast<uint32_t>(t));
}

// The labels of the GPS page, tab by tab; values are the record's fields.
const std::array<KeplerLabel, 35> kKeplerLabels{{
    {" Time of week [s]     ", [](const KeplerEphFields& k, bool) { return Num(k.tow); }},
    {" Date  ",
     [](const KeplerEphFields& k, bool) {
       const TGPSTime t = ToeTime(k);
       return EphDateText(t.Year(), t.Month(), t.Day());
     }},
    {" Time  ",
     [](const KeplerEphFields& k, bool) {
       const TGPSTime t = ToeTime(k);
       return EphTimeText(t.Hour(), t.Minute(), t.Second());
     }},
    {" Curve fit interval     ", [](const KeplerEphFields& k, bool) { return Bit(k.flags, 0); }},
    {" Data flag for L2 P-code     ",
     [](const KeplerEphFields& k, bool) { return Bit(k.flags, 1); }},
    {" Code on L2 channel     ",
     [](const KeplerEphFields& k, bool) { return BitPair(k.flags, 2); }},
    {" Anti-spoof flag (from HOW)     ",
     [](const KeplerEphFields& k, bool) { return Bit(k.flags, 4); }},
    {" 'Alert' flag (from HOW)     ",
     [](const KeplerEphFields& k, bool) { return Bit(k.flags, 5); }},
    {" Retrieved from non-volatile memory     ",
     [](const KeplerEphFields& k, bool) { return Bit(k.flags, 6); }},
    {" Issue of data, clock (IODC)     ",
     [](const KeplerEphFields& k, bool) { return Num(k.iodc); }},
    {" Clock data reference time (toc) [s]     ",
     [](const KeplerEphFields& k, bool) { return Num(k.toc); }},
    {" User range accuracy (URA)     ", [](const KeplerEphFields& k, bool) { return Num(k.ura); }},
    {" Satellite health (healthS)     ",
     [](const KeplerEphFields& k, bool galileo) {
       return galileo ? Num(static_cast<int8_t>(k.health)) : Num(k.health);
     }},
    {" Week number (wn)     ", [](const KeplerEphFields& k, bool) { return Num(k.wn); }},
    {" Estimated group delay differential (tgd) [s]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.tgd); }},
    {"Af2 [s/(s^2)]     ", [](const KeplerEphFields& k, bool) { return EphFloatText(k.af2); }},
    {"Af1 [s/s]     ", [](const KeplerEphFields& k, bool) { return EphFloatText(k.af1); }},
    {"Af0 [s]     ", [](const KeplerEphFields& k, bool) { return EphFloatText(k.af0); }},
    {" Ephemeris reference time (toe) [s]     ",
     [](const KeplerEphFields& k, bool) { return Num(k.toe); }},
    {" Issue of data, ephemeris (IODE)     ",
     [](const KeplerEphFields& k, bool) { return Num(k.iode); }},
    {" Square root of the semi-major axis [m^0.5]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.rootA); }},
    {" Eccentricity     ", [](const KeplerEphFields& k, bool) { return EphFloatText(k.ecc); }},
    {" Mean anomaly at reference time (wn,toe) [semi-circles]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.m0); }},
    {" Longitude of ascending node  [semi-circles]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.omega0); }},
    {" Inclination angle at reference time  [semi-circles]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.inc0); }},
    {" Argument of perigee  [semi-circles]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.per); }},
    {" Mean motion difference from computed [semi-circles/s]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.deln); }},
    {" Rate of right ascension [semi-circles/s]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.omDot); }},
    {" Rate of inclination angle [semi-circles/s]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.iDot); }},
    {" Cosine correction to radius [m]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.crc); }},
    {" Sine correction to radius [m]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.crs); }},
    {" Cosine correction to latitude [rad]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.cuc); }},
    {" Sine correction to latitude [rad]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.cus); }},
    {" Cosine correction to inclination [rad]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.cic); }},
    {" Sine correction to inclination [rad]     ",
     [](const KeplerEphFields& k, bool) { return EphFloatText(k.cis); }},
}};

void AddKeplerTexts(const KeplerEphFields& k, bool galileo, FieldTexts& out) {
  for (const KeplerLabel& row : kKeplerLabels) out.push_back(row.label + row.value(k, galileo));
}

std::string Title(const char* head, int32_t number, int32_t ordinal) {
  return head + Num(number) + "   N=" + Num(ordinal);
}

// ---- record finder ----

template <class Rec>
std::optional<Rec> FindRecord(const WorkingFiles& files, WorkFile f, int32_t sv, int32_t ordinal,
                              std::vector<std::string>& messages) {
  RecordReader reader(files.PathOf(f), sizeof(Rec));
  if (!reader.IsOpen()) {
    messages.push_back(std::string("Error Opening File ") + WorkFileName(f) + " ! ");
    return std::nullopt;
  }
  Rec rec;
  int32_t count = 0;
  while (count < ordinal && reader.Read(&rec))
    if (rec.sv == sv) ++count;
  if (count < ordinal) return std::nullopt;
  return rec;
}

template <class Rec>
bool FillFrom(const WorkingFiles& files, SatSystem s, int32_t sv, int32_t ordinal,
              FieldTexts (*texts)(const Rec&, int32_t), EphemerisPage& page) {
  const std::optional<Rec> rec =
      FindRecord<Rec>(files, EphemerisFileOf(s), sv, ordinal, page.messages);
  if (!rec) return false;
  page.texts = texts(*rec, ordinal);
  return true;
}

}  // namespace

std::string EphFloatText(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  std::string digits;
  int exponent = 0;
  SignificantDigits(std::fabs(v), digits, exponent);
  const std::string sep = DecimalSeparator();
  const std::string sign = v < 0 ? "-" : "";
  if (exponent >= kLowestPlainExponent && exponent < kSignificantDigits)
    return sign + PlainForm(digits, exponent, sep);
  std::string mantissa = digits.substr(0, 1);
  if (digits.size() > 1) mantissa += sep + digits.substr(1);
  return sign + mantissa + "E" + Num(exponent);
}

std::string EphDateText(int32_t year, int32_t month, int32_t day) {
  return Num(day) + "\\" + Num(month) + "\\" + Num(year);
}

std::string EphTimeText(int32_t hour, int32_t minute, int32_t second) {
  return Num(hour) + ":" + Num(minute) + ":" + Num(second) + ".000";
}

FieldTexts GpsEphemerisTexts(const EphemGPSRec& rec, int32_t ordinal) {
  FieldTexts out{Title("GPS Ephemeris  sv = ", rec.sv, ordinal)};
  AddKeplerTexts(rec.body.k, false, out);
  return out;
}

FieldTexts GalEphemerisTexts(const EphemGALRec& rec, int32_t ordinal) {
  FieldTexts out{Title("GAL Ephemeris  sv = ", rec.sv, ordinal)};
  const GalEphBody& b = rec.body;
  AddKeplerTexts(b.k, true, out);
  out.push_back("   Broadcast group delay E1-E5a               " + EphFloatText(b.bcdA));
  out.push_back("   Broadcast group delay E1-E5b               " + EphFloatText(b.bcdB));
  out.push_back("   Effective ionization level ai0               " + EphFloatText(b.ai0));
  out.push_back("   Effective ionization level ai1               " + EphFloatText(b.ai1));
  out.push_back("   Effective ionization level ai2               " + EphFloatText(b.ai2));
  out.push_back("   Ionospheric disturbance flags               " + Num(b.sfi));
  return out;
}

FieldTexts GloEphemerisTexts(const EphemGLORec& rec, int32_t ordinal) {
  const GloEphBody& b = rec.body;
  FieldTexts out{Title("GLONASS Ephemeris  sv= ", rec.sv, ordinal)};
  // General
  out.push_back(" Frame start time within current day [s]     " + Num(b.tk));
  out.push_back(" SV frequency channel number [-7..24]     " + Num(b.frqNum));
  out.push_back(" Day number within 4-year period     " + Num(b.dne));
  out.push_back(" MSB taken from Bn word     " + Bit(b.health, 0));
  out.push_back(" 'tau' and 'gamma' may be wrong     " + Bit(b.health, 1));
  out.push_back(" 'r[3]' 'v[3]' may be wrong     " + Bit(b.health, 2));
  out.push_back(" SV health status from almanac     " + Bit(b.health, 3));
  out.push_back(" SV health status from almanac is available     " + Bit(b.health, 4));
  out.push_back(" Ephemeris reference time [s]     " + Num(b.tb));
  out.push_back(" Date  " + FormDateText(rec.time));
  out.push_back(" Time  " + FormTimeText(rec.time) + "  (UTC)");
  // Ephemeris data
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" w[" + k + "]     " + EphFloatText(b.w[i]));
  }
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" v[" + k + "]     " + EphFloatText(b.v[i]));
  }
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" r[" + k + "]     " + EphFloatText(b.r[i]));
  }
  out.push_back(" Age of operational information [days]     " + Num(b.age));
  // Flags and clock data
  out.push_back(" p1 word     " + BitPair(b.flags, 0));
  out.push_back(" p2 word     " + Num(b.flags & 4));
  out.push_back(" p3 word     " + Num(b.flags & 8));
  out.push_back(" LSB taken from Bn word     " + BitPair(b.flags, 4));
  out.push_back("Retrieved from non-volatile memory     " + Num(b.flags & 64));
  out.push_back(" Time correction to GLONASS time scale     " + EphFloatText(b.tauSys));
  out.push_back(" Correction to satellite clock [s]     " + EphFloatText(b.tau));
  out.push_back(" Rate of satellite clock offset [s/s]     " + EphFloatText(b.gamma));
  return out;
}

FieldTexts GeoEphemerisTexts(const EphemGEORec& rec, int32_t ordinal) {
  const GeoEphBody& b = rec.body;
  FieldTexts out{Title("GEO Ephemeris  sv= ", rec.sv - 100, ordinal)};
  // General
  out.push_back(" Reference time (seconds of the day) [s]     " +
                Num(static_cast<uint32_t>(b.tod)));
  out.push_back("  Accuracy code (URA)     " + Num(b.ura));
  out.push_back(" Issue of data                " + Num(b.iod));
  out.push_back(" Date  " + FormDateText(rec.time));
  out.push_back(" Time  " + FormTimeText(rec.time));
  out.push_back(" SV clock offset factor \"a0\" [s]   " + EphFloatText(b.aGf0));
  out.push_back(" SV clock offset factor \"a1\" [s/s]  " + EphFloatText(b.aGf1));
  out.push_back("  GPS week                            " + Num(b.wn));
  out.push_back("  Time of GPS week                     " + Num(b.tow));
  // Ephemeris data
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" w[" + k + "]       " + EphFloatText(b.w[i]));
  }
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" v[" + k + "]       " + EphFloatText(b.v[i]));
  }
  for (int i = 0; i < 3; ++i) {
    const std::string k = Num(i + 1);
    out.push_back(" r[" + k + "]       " + EphFloatText(b.r[i]));
  }
  return out;
}

EphemerisPage FillEphemerisPage(const WorkingFiles& files, const EphemerisStore& store, SatSystem s,
                                int n, int32_t ordinal) {
  EphemerisPage page;
  page.system = s;
  if (ordinal < 1 || store.Count(s, n) < ordinal) return page;
  bool found = false;
  switch (s) {
    case SatSystem::Gps:
      found = FillFrom<EphemGPSRec>(files, s, n, ordinal, GpsEphemerisTexts, page);
      break;
    case SatSystem::Glonass:
      found = FillFrom<EphemGLORec>(files, s, n, ordinal, GloEphemerisTexts, page);
      break;
    case SatSystem::Sbas:
      found = FillFrom<EphemGEORec>(files, s, n + 100, ordinal, GeoEphemerisTexts, page);
      break;
    case SatSystem::Galileo:
      found = FillFrom<EphemGALRec>(files, s, n, ordinal, GalEphemerisTexts, page);
      break;
    default:
      break;
  }
  if (found) {
    page.outcome = EphPageOutcome::Filled;
    return page;
  }
  page.outcome = EphPageOutcome::NotFound;
  page.messages.push_back("Ephemeris " + Num(ordinal) + " for SV " + InfoOf(s).letter + Num(n) +
                          "  is not found");
  return page;
}

bool EphButtonEnabled(const EphemerisStore& store, SatSystem s, int n) {
  return store.Count(s, n) > 0;
}

bool EphMoreEnabled(const EphemerisStore& store, SatSystem s, int n, int32_t ordinal) {
  return ordinal < store.Count(s, n);
}

bool EphLessEnabled(int32_t ordinal) {
  return ordinal >= 2;
}

std::optional<std::pair<SatSystem, int>> EphAutomaticSelection(const EphemerisStore& store) {
  for (SatSystem s : {SatSystem::Gps, SatSystem::Glonass}) {
    const std::vector<int> sats = store.Satellites(s);
    if (!sats.empty()) return std::make_pair(s, sats.front());
  }
  return std::nullopt;
}

}  // namespace vnx
