#include "engine/rinex/obs_writer.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/epoch/epoch_state.h"
#include "engine/time/extended80.h"
#include "engine/time/gps_time.h"
#include "engine/views/occupations.h"

namespace vnx::rinex {
namespace {

constexpr int64_t kNsPerSecond = 1000000000;
constexpr const char* kUnknown = "-Unknown-";

bool Has(uint32_t bits, Observable o) {
  return (bits >> static_cast<int>(o)) & 1u;
}

// The observables of a satellite record that RINEX has a place for, as survey bits.
uint32_t ExportedBits(SatSystem sys, const SvRec& sv) {
  uint32_t bits = 0;
  for (int k = 0; k < kSignalCount; ++k) {
    for (ObsKind kind : kExportedKinds) {
      const Observable o = ObservableOf(k, kind);
      if (sv.sig[k].present[kind] && !Rinex3Code(sys, o).empty()) bits |= 1u << static_cast<int>(o);
    }
  }
  return bits;
}

// The place of a system in the files' order.
int FileRank(SatSystem s) {
  return static_cast<int>(std::find(kFileOrder.begin(), kFileOrder.end(), s) - kFileOrder.begin());
}

// The satellite as the file shows it, or false when the options leave it out.
bool Included(const ExportOptions& o, const EpochRec& epoch, const SvRec& sv, SatSystem& sys) {
  sys = static_cast<SatSystem>(sv.system);
  if (!IsSatSystem(sys) || !o.systems[SystemIndex(sys)]) return false;
  // A missing elevation leaves 0 in the record; with no azimuth either the angle is unknown
  // and the satellite is kept.
  const bool angleKnown = epoch.flags[kFlagEL] && (sv.elevation != 0 || sv.azimuth != 0);
  if (o.maskDegrees > 0 && angleKnown && sv.elevation < o.maskDegrees) return false;
  return ExportedBits(sys, sv) != 0;
}

std::string SiteText(const ShortString20& s) {
  const std::string_view v = s.View();
  return v == kUnknown ? std::string() : std::string(v);
}

std::string FileStem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string MarkerName(const ExportInput& in, const SiteInfo& site) {
  const std::string name = SiteText(site.siteName);
  return name.empty() ? FileStem(in.logPath) : name;
}

void PutHeader(TextBuffer& out, Line& l, std::string_view label) {
  l.Label(label);
  out.Put(l, true);
  l.Clear();
}

// "  2022    01    01    00    00   00.0000000     GPS" (5I6, F13.7, 5X, A3).
void PutTimeOfObs(char* p, const Instant& t) {
  PutInt(p, 6, t.year);
  PutInt(p + 6, 6, t.month, 2);
  PutInt(p + 12, 6, t.day, 2);
  PutInt(p + 18, 6, t.hour, 2);
  PutInt(p + 24, 6, t.minute, 2);
  PutFixed(p + 30, 13, 7, static_cast<double>(t.nsOfMinute) / 1e9);
  PutText(p + 48, 3, "GPS");
}

// Seconds of the minute in F11.7, from whole nanoseconds (no binary rounding on the way).
void PutSeconds11(char* p, int64_t nsOfMinute) {
  const int64_t units = (nsOfMinute + 50) / 100;  // 100 ns
  PutInt(p, 3, units / 10000000);
  p[3] = '.';
  PutInt(p + 4, 7, units % 10000000, 7);
}

// Column of the epoch line where the flag stands: 31 (RINEX 3) or 28 (RINEX 2).
void PutEpochLine(Line& l, Version v, const Instant& t, int flag, int count) {
  if (v == Version::V304) {
    l.At(0)[0] = '>';
    PutInt(l.At(2), 4, t.year);
    PutInt(l.At(7), 2, t.month, 2);
    PutInt(l.At(10), 2, t.day, 2);
    PutInt(l.At(13), 2, t.hour, 2);
    PutInt(l.At(16), 2, t.minute, 2);
    PutSeconds11(l.At(18), t.nsOfMinute);
    PutInt(l.At(31), 1, flag);
    PutInt(l.At(32), 3, count);
  } else {
    PutInt(l.At(1), 2, t.year % 100, 2);
    PutInt(l.At(4), 2, t.month);
    PutInt(l.At(7), 2, t.day);
    PutInt(l.At(10), 2, t.hour);
    PutInt(l.At(13), 2, t.minute);
    PutSeconds11(l.At(15), t.nsOfMinute);
    PutInt(l.At(28), 1, flag);
    PutInt(l.At(29), 3, count);
  }
}

// One column of the observation list: the kind and, per system, the log signals that fill it
// in order of preference (RINEX 2 folds two signals of a band into one column).
struct Column {
  std::string_view code;
  ObsKind kind = kRange;
  std::array<std::array<int8_t, 2>, kSatSystemCount> signals{};
};

// Column lists by SystemIndex: RINEX 3 one per system; RINEX 2 one list shared by every system.
struct Columns {
  std::array<std::vector<Column>, kSatSystemCount> bySys;
  const std::vector<Column>& Of(SatSystem s) const { return bySys[SystemIndex(s)]; }
};

Columns BuildColumns(Version v, const ObsSurvey& s) {
  Columns c;
  if (v == Version::V304) {
    for (SatSystem sys : kSatSystems) {
      const int i = SystemIndex(sys);
      for (int k = 0; k < kSignalCount; ++k) {
        for (ObsKind kind : kExportedKinds) {
          const Observable o = ObservableOf(k, kind);
          if (!Has(s.present[i], o)) continue;
          Column col{Rinex3Code(sys, o), kind, {}};
          for (auto& sig : col.signals) sig = {-1, -1};
          col.signals[i] = {static_cast<int8_t>(k), -1};
          c.bySys[i].push_back(col);
        }
      }
    }
    return c;
  }
  std::vector<Column> all;
  for (std::string_view name : kRinex2Order) {
    Column col{name, kRange, {}};
    for (auto& sig : col.signals) sig = {-1, -1};
    bool occurs = false;
    for (SatSystem sys : kSatSystems) {
      const int i = SystemIndex(sys);
      int n = 0;
      for (int k = 0; k < kSignalCount; ++k) {
        for (ObsKind kind : kExportedKinds) {
          const Observable o = ObservableOf(k, kind);
          if (Rinex2Code(sys, o) != name) continue;
          col.kind = kind;
          if (n < 2) col.signals[i][n++] = static_cast<int8_t>(k);
          occurs = occurs || Has(s.present[i], o);
        }
      }
    }
    if (occurs) all.push_back(col);
  }
  for (auto& list : c.bySys) list = all;
  return c;
}

void PutObsTypes(TextBuffer& out, Version v, const Columns& c) {
  Line l;
  if (v == Version::V211) {
    const std::vector<Column>& all = c.bySys[0];
    PutInt(l.At(0), 6, static_cast<int64_t>(all.size()));
    for (size_t i = 0; i < all.size(); ++i) {
      if (i > 0 && i % 9 == 0) PutHeader(out, l, "# / TYPES OF OBSERV");
      PutText(l.At(10 + 6 * static_cast<int>(i % 9)), 2, all[i].code);
    }
    PutHeader(out, l, "# / TYPES OF OBSERV");
    return;
  }
  for (SatSystem sys : kFileOrder) {
    const std::vector<Column>& list = c.Of(sys);
    if (list.empty()) continue;
    l.At(0)[0] = InfoOf(sys).letter;
    PutInt(l.At(3), 3, static_cast<int64_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
      if (i > 0 && i % 13 == 0) PutHeader(out, l, "SYS / # / OBS TYPES");
      PutText(l.At(7 + 4 * static_cast<int>(i % 13)), 3, list[i].code);
    }
    PutHeader(out, l, "SYS / # / OBS TYPES");
  }
}

void PutGlonassSlots(TextBuffer& out, const ObsSurvey& s) {
  std::vector<std::pair<int, int>> slots;
  for (int slot = 1; slot <= 24; ++slot)
    if (s.glonassChannel[slot] != kNoChannel) slots.emplace_back(slot, s.glonassChannel[slot]);
  Line l;
  PutInt(l.At(0), 3, static_cast<int64_t>(slots.size()));
  for (size_t i = 0; i < slots.size(); ++i) {
    if (i > 0 && i % 8 == 0) PutHeader(out, l, "GLONASS SLOT / FRQ #");
    char* p = l.At(4 + 7 * static_cast<int>(i % 8));
    p[0] = 'R';
    PutInt(p + 1, 2, slots[i].first, 2);
    PutInt(p + 4, 2, slots[i].second);
  }
  PutHeader(out, l, "GLONASS SLOT / FRQ #");
}

void PutSiteLines(TextBuffer& out, const ExportInput& in, const SiteInfo& site, bool number) {
  Line l;
  PutText(l.At(0), 60, MarkerName(in, site));
  PutHeader(out, l, "MARKER NAME");
  if (number) PutHeader(out, l, "MARKER NUMBER");
  PutText(l.At(20), 20, SiteText(site.antennaName));
  PutHeader(out, l, "ANT # / TYPE");
  PutFixed(l.At(0), 14, 4, site.antennaHeight);
  PutFixed(l.At(14), 14, 4, 0.0);
  PutFixed(l.At(28), 14, 4, 0.0);
  PutHeader(out, l, "ANTENNA: DELTA H/E/N");
  if (site.slant) {
    PutText(l.At(0), 60, "ANTENNA HEIGHT ABOVE IS A SLANT HEIGHT");
    PutHeader(out, l, "COMMENT");
  }
}

void PutObsHeader(TextBuffer& out, const ExportInput& in, const ExportOptions& o,
                  const ObsSurvey& s, const Columns& c) {
  const bool v3 = o.version == Version::V304;
  Line l;
  PutFixed(l.At(0), 9, 2, v3 ? 3.04 : 2.11);
  PutText(l.At(20), 20, "OBSERVATION DATA");
  PutText(l.At(40), 20, v3 ? "M" : "M (MIXED)");
  PutHeader(out, l, "RINEX VERSION / TYPE");
  PutProgramLine(out, o);
  PutText(l.At(0), 60, MarkerName(in, s.firstSite));
  PutHeader(out, l, "MARKER NAME");
  PutHeader(out, l, "MARKER NUMBER");
  PutHeader(out, l, "OBSERVER / AGENCY");
  auto known = [](const std::string& t) { return t == kUnknown ? std::string() : t; };
  PutText(l.At(0), 20, known(in.receiverNumber));
  PutText(l.At(20), 20, known(in.receiverType));
  PutText(l.At(40), 20, known(in.receiverVersion));
  PutHeader(out, l, "REC # / TYPE / VERS");
  PutText(l.At(20), 20, SiteText(s.firstSite.antennaName));
  PutHeader(out, l, "ANT # / TYPE");
  for (int i = 0; i < 3; ++i) PutFixed(l.At(14 * i), 14, 4, s.position[i]);
  PutHeader(out, l, "APPROX POSITION XYZ");
  PutFixed(l.At(0), 14, 4, s.firstSite.antennaHeight);
  PutFixed(l.At(14), 14, 4, 0.0);
  PutFixed(l.At(28), 14, 4, 0.0);
  PutHeader(out, l, "ANTENNA: DELTA H/E/N");
  if (s.firstSite.slant) {
    PutText(l.At(0), 60, "ANTENNA HEIGHT ABOVE IS A SLANT HEIGHT");
    PutHeader(out, l, "COMMENT");
  }
  if (!v3) {
    PutInt(l.At(0), 6, 1);
    PutInt(l.At(6), 6, 1);
    PutHeader(out, l, "WAVELENGTH FACT L1/2");
  }
  PutObsTypes(out, o.version, c);
  if (v3) {
    PutText(l.At(0), 20, "DBHZ");
    PutHeader(out, l, "SIGNAL STRENGTH UNIT");
  }
  if (s.intervalSeconds > 0) {
    PutFixed(l.At(0), 10, 3, s.intervalSeconds);
    PutHeader(out, l, "INTERVAL");
  }
  PutTimeOfObs(l.At(0), s.first);
  PutHeader(out, l, "TIME OF FIRST OBS");
  PutTimeOfObs(l.At(0), s.last);
  PutHeader(out, l, "TIME OF LAST OBS");
  if (v3) {
    // The log knows no phase shifts or GLONASS biases: the lines say so with blank values.
    for (SatSystem sys : kFileOrder) {
      for (const Column& col : c.Of(sys)) {
        if (col.kind != kPhase) continue;
        l.At(0)[0] = InfoOf(sys).letter;
        PutText(l.At(2), 3, col.code);
        PutHeader(out, l, "SYS / PHASE SHIFT");
      }
    }
    if (!c.Of(SatSystem::Glonass).empty()) {
      PutGlonassSlots(out, s);
      PutHeader(out, l, "GLONASS COD/PHS/BIS");
    }
  }
  PutLeapSecondsLine(out, s, o.version);
  PutHeader(out, l, "END OF HEADER");
}

// One external event: flag 5 with a comment that names the input.
struct EventTime {
  Instant at;
  bool inputA = true;
  uint8_t scale = 0;
};

bool ReadEvents(const ExportInput& in, std::vector<EventTime>& events, std::string& error) {
  for (int input = 0; input < 2; ++input) {
    const WorkFile f = input == 0 ? WorkFile::ExtEventXA : WorkFile::ExtEventXB;
    const int64_t count = input == 0 ? in.xaCount : in.xbCount;
    if (count == 0) continue;
    const std::unique_ptr<RecordStream> r = in.records->Open(f);
    for (int64_t i = 0; i < count; ++i) {
      ExtEventRec rec;
      if (r == nullptr || !r->Next(rec)) {
        error = std::string("Unexpected end of file ") + WorkFileName(f);
        return false;
      }
      EventTime e;
      if (!InstantFromTimeRec(rec.time, e.at)) continue;
      e.inputA = input == 0;
      e.scale = rec.timeScale;
      events.push_back(e);
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const EventTime& a, const EventTime& b) { return a.at.key < b.at.key; });
  return true;
}

class EpochWriter {
 public:
  EpochWriter(const ExportInput& in, const ExportOptions& o, const ObsSurvey& s, TextBuffer& out)
      : in_(in), o_(o), s_(s), out_(out), columns_(BuildColumns(o.version, s)) {
    lastPhase_.assign(kSatSystemCount * 256 * kSignalCount, -1);
  }
  const Columns& columns() const { return columns_; }
  bool Run(ObsWriteResult& r, std::string& error);

 private:
  void PutEvent(const EventTime& e);
  void PutSiteChange(const Instant& at, const SiteInfo& before, const SiteInfo& now);
  void PutEpoch(const EpochRec& rec, const Instant& t, const std::vector<SvRec>& svs);
  void PutSatellite(SatSystem sys, const SvRec& sv, char* p);
  void PutValue(char* p, const Column& col, SatSystem sys, const SvRec& sv);
  int64_t& LastPhase(SatSystem sys, int number, int signal) {
    return lastPhase_[static_cast<size_t>((SystemIndex(sys) * 256 + number) * kSignalCount +
                                          signal)];
  }

  const ExportInput& in_;
  const ExportOptions& o_;
  const ObsSurvey& s_;
  TextBuffer& out_;
  Columns columns_;
  std::vector<int64_t> lastPhase_;  // by system, number, signal: epoch of the last phase
  int64_t epoch_ = 0;               // index of the epoch being written
  int64_t events_ = 0;
  std::vector<std::pair<SatSystem, const SvRec*>> kept_;
};

void EpochWriter::PutEvent(const EventTime& e) {
  Line l;
  PutEpochLine(l, o_.version, e.at, 5, 1);
  out_.Put(l, false);
  l.Clear();
  std::string text = std::string("EXTERNAL EVENT INPUT ") + (e.inputA ? "A" : "B");
  if (e.scale == 1) text += ", UTC TIME";
  if (e.scale != 0 && e.scale != 1) text += ", TIME SCALE UNKNOWN";
  PutText(l.At(0), 60, text);
  PutHeader(out_, l, "COMMENT");
  ++events_;
}

void EpochWriter::PutSiteChange(const Instant& at, const SiteInfo& before, const SiteInfo& now) {
  Line l;
  if (before.isStatic && !now.isStatic) {
    PutEpochLine(l, o_.version, at, 2, 0);  // start moving antenna
    out_.Put(l, false);
    ++events_;
    return;
  }
  // A new site, or standing still again after moving, is a new occupation; a new antenna or
  // height at the same site is header information.
  const bool newSite = before.siteName.View() != now.siteName.View() ||
                       before.siteText2.View() != now.siteText2.View() ||
                       (!before.isStatic && now.isStatic);
  const int lines = (newSite ? 4 : 3) + (now.slant ? 1 : 0);
  PutEpochLine(l, o_.version, at, newSite ? 3 : 4, lines);
  out_.Put(l, false);
  PutSiteLines(out_, in_, now, newSite);
  ++events_;
}

void EpochWriter::PutValue(char* p, const Column& col, SatSystem sys, const SvRec& sv) {
  const ObsKind kind = col.kind;
  int signal = -1;
  for (int8_t k : col.signals[SystemIndex(sys)]) {
    if (k >= 0 && sv.sig[k].present[kind]) {
      signal = k;
      break;
    }
  }
  std::memset(p, ' ', 16);
  if (signal < 0) return;
  const SignalBlock& b = sv.sig[signal];
  double v = 0;
  switch (kind) {
    case kRange:
      v = b.range;
      break;
    case kPhase:
      v = b.phase;
      break;
    case kDoppler:
      v = b.doppler;
      break;
    default:
      v = b.snr;
      break;
  }
  if (!PutFixed(p, 14, 3, v)) return;
  if (kind == kPhase) {
    // The records keep no lock counters: a phase track that resumes after an epoch without
    // phase has lost lock in between.
    const int64_t last = LastPhase(sys, sv.number, signal);
    if (last >= 0 && last != epoch_ - 1) p[14] = '1';
  }
  if (b.present[kSnr]) {
    const int ssi = std::clamp(static_cast<int>(b.snr / 6.0), 1, 9);
    p[15] = static_cast<char>('0' + ssi);
  }
}

void EpochWriter::PutSatellite(SatSystem sys, const SvRec& sv, char* p) {
  const std::vector<Column>& cols = columns_.Of(sys);
  for (const Column& col : cols) {
    PutValue(p, col, sys, sv);
    p += 16;
  }
}

void EpochWriter::PutEpoch(const EpochRec& rec, const Instant& t, const std::vector<SvRec>& svs) {
  kept_.clear();
  for (const SvRec& sv : svs) {
    SatSystem sys;
    if (Included(o_, rec, sv, sys)) kept_.emplace_back(sys, &sv);
  }
  if (o_.version == Version::V304) {
    // RINEX 3 lists the satellites system by system.
    std::stable_sort(kept_.begin(), kept_.end(), [](const auto& a, const auto& b) {
      return FileRank(a.first) < FileRank(b.first);
    });
  }
  Line l;
  const int n = static_cast<int>(kept_.size());
  PutEpochLine(l, o_.version, t, 0, n);
  const bool clock = rec.flags[kFlagTO] != 0;
  // "TO" gives reference time minus receiver time; RINEX wants the receiver clock's offset.
  const double offset = -rec.toValue;
  if (o_.version == Version::V304) {
    if (clock) PutFixed(l.At(41), 15, 12, offset);
    out_.Put(l, false);
  } else {
    if (clock) PutFixed(l.At(68), 12, 9, offset);
    // Twelve satellites a line; the rest continue on lines of their own.
    for (int i = 0; i < n; ++i) {
      if (i > 0 && i % 12 == 0) {
        out_.Put(l, false);
        l.Clear();
      }
      char* p = l.At(32 + 3 * (i % 12));
      p[0] = InfoOf(kept_[i].first).letter;
      PutInt(p + 1, 2, RinexSatNumber(kept_[i].first, kept_[i].second->number), 2);
    }
    out_.Put(l, false);
  }
  for (const auto& [sys, sv] : kept_) {
    const size_t cols = columns_.Of(sys).size();
    if (o_.version == Version::V304) {
      char* p = out_.Reserve(3 + 16 * cols + 1);
      p[0] = InfoOf(sys).letter;
      PutInt(p + 1, 2, RinexSatNumber(sys, sv->number), 2);
      PutSatellite(sys, *sv, p + 3);
      size_t len = 3 + 16 * cols;
      while (len > 3 && p[len - 1] == ' ') --len;
      p[len] = '\n';
      out_.Commit(len + 1);
    } else {
      const size_t lines = cols == 0 ? 1 : (cols + 4) / 5;
      char* p = out_.Reserve(16 * lines * 5 + lines);
      char* values = p;  // written in place, then split into lines of five
      PutSatellite(sys, *sv, values);
      std::memset(values + 16 * cols, ' ', 16 * (lines * 5 - cols));
      // Shift from the back so each line gains its line break.
      for (size_t li = lines; li-- > 0;) {
        char* src = values + 80 * li;
        char* dst = p + 81 * li;
        std::memmove(dst, src, 80);
      }
      size_t used = 0;
      for (size_t li = 0; li < lines; ++li) {
        char* line = p + 81 * li;
        size_t len = 80;
        while (len > 0 && line[len - 1] == ' ') --len;
        std::memmove(p + used, line, len);
        used += len;
        p[used++] = '\n';
      }
      out_.Commit(used);
    }
    const SvRec& rec2 = *sv;
    for (int k = 0; k < kSignalCount; ++k)
      if (rec2.sig[k].present[kPhase]) LastPhase(sys, rec2.number, k) = epoch_;
  }
}

bool EpochWriter::Run(ObsWriteResult& r, std::string& error) {
  std::vector<EventTime> events;
  if (!ReadEvents(in_, events, error)) return false;
  const std::unique_ptr<RecordStream> epochs = in_.records->Open(WorkFile::DataEpochs);
  const std::unique_ptr<RecordStream> sats = in_.records->Open(WorkFile::SVRecs);
  if (epochs == nullptr || sats == nullptr) {
    error = "cannot read " + in_.records->Describe();
    return false;
  }
  size_t nextEvent = 0;
  SiteInfo site = s_.firstSite;
  std::vector<SvRec> svs;
  EpochRec rec;
  int lastPercent = -1;
  for (int64_t i = 0; i < in_.epochCount; ++i) {
    if ((i & 255) == 0) {
      if (o_.stop != nullptr && o_.stop->load()) {
        r.stopped = true;
        return true;
      }
      // Every checkpoint, not only on a new percentage: a window lets its events run here.
      const int percent = static_cast<int>(i * 100 / in_.epochCount);
      if (o_.progress) o_.progress(lastPercent = percent);
    }
    if (!epochs->Next(rec)) {
      error = "Unexpected end of file DataEpochs.dat";
      return false;
    }
    const int count = std::clamp(rec.satsWritten, 0, kMaxSlots);
    svs.resize(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
      if (!sats->Next(svs[static_cast<size_t>(k)])) {
        error = "Unexpected end of file SVRecs.dat";
        return false;
      }
    }
    Instant t;
    if (!InstantFromTimeRec(rec.time, t)) continue;
    for (; nextEvent < events.size() && events[nextEvent].at.key <= t.key; ++nextEvent)
      PutEvent(events[nextEvent]);
    if (i > 0 &&
        (SiteChanged(site, rec.site) || site.antennaName.View() != rec.site.antennaName.View()))
      PutSiteChange(t, site, rec.site);
    site = rec.site;
    PutEpoch(rec, t, svs);
    ++epoch_;
    if (!out_.Ok()) break;
  }
  for (; nextEvent < events.size(); ++nextEvent) PutEvent(events[nextEvent]);
  if (o_.progress && lastPercent != 100) o_.progress(100);
  r.epochs = epoch_;
  r.events = events_;
  return true;
}

}  // namespace

bool InstantFromTimeRec(const TimeRec& t, Instant& out) {
  const TGPSTimeNS g = TGPSTimeNS::FromTimeRec(t);
  int64_t whole = 0, ns = 0;
  if (g.Seconds() == 0 || !Ext80SplitSeconds(t.seconds, whole, ns)) return false;
  out.year = t.year;
  out.month = t.month;
  out.day = t.day;
  out.hour = t.hour;
  out.minute = t.minute;
  out.nsOfMinute = whole * kNsPerSecond + ns;
  out.key = static_cast<int64_t>(g.Seconds()) * kNsPerSecond + g.Nanoseconds();
  return true;
}

int UnwrapWeek(int week, int nearWeek) {
  const int period = week < 256 ? 256 : 1024;
  int w = week + (nearWeek - week) / period * period;
  while (w - nearWeek > period / 2) w -= period;
  while (nearWeek - w > period / 2) w += period;
  return w;
}

void PutProgramLine(TextBuffer& out, const ExportOptions& o) {
  std::time_t now = o.created != 0 ? o.created : std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  Line l;
  PutText(l.At(0), 20, o.program + " " + VNX_VERSION);
  char* p = l.At(40);
  PutInt(p, 4, tm.tm_year + 1900);
  PutInt(p + 4, 2, tm.tm_mon + 1, 2);
  PutInt(p + 6, 2, tm.tm_mday, 2);
  PutInt(p + 9, 2, tm.tm_hour, 2);
  PutInt(p + 11, 2, tm.tm_min, 2);
  PutInt(p + 13, 2, tm.tm_sec, 2);
  PutText(p + 16, 3, "UTC");
  PutHeader(out, l, "PGM / RUN BY / DATE");
}

void PutLeapSecondsLine(TextBuffer& out, const ObsSurvey& s, Version v) {
  if (!s.hasUtc) return;
  Line l;
  PutInt(l.At(0), 6, s.utc.dtls);
  if (v == Version::V304) {
    const TGPSTime first = TGPSTime(static_cast<uint32_t>(s.first.key / kNsPerSecond));
    PutInt(l.At(6), 6, s.utc.dtlsf);
    PutInt(l.At(12), 6, UnwrapWeek(s.utc.wnlsf, first.Week().Week()));
    PutInt(l.At(18), 6, s.utc.dn);
    PutText(l.At(24), 3, "GPS");
  }
  PutHeader(out, l, "LEAP SECONDS");
}

bool SurveyObservations(const ExportInput& in, const ExportOptions& o, ObsSurvey& s,
                        std::string& error) {
  s = ObsSurvey{};
  s.glonassChannel.fill(kNoChannel);
  s.firstSite = {};
  if (in.epochCount == 0) return true;
  const std::unique_ptr<RecordStream> epochs = in.records->Open(WorkFile::DataEpochs);
  const std::unique_ptr<RecordStream> sats = in.records->Open(WorkFile::SVRecs);
  if (epochs == nullptr || sats == nullptr) {
    error = "cannot read " + in.records->Describe();
    return false;
  }
  std::vector<std::bitset<256>> seen(kSatSystemCount);
  EpochRec rec;
  SvRec sv;
  int64_t previousKey = -1, step = 0;
  double sum[3] = {0, 0, 0};
  for (int64_t i = 0; i < in.epochCount; ++i) {
    if (!epochs->Next(rec)) {
      error = "Unexpected end of file DataEpochs.dat";
      return false;
    }
    for (int k = 0; k < std::clamp(rec.satsWritten, 0, kMaxSlots); ++k) {
      if (!sats->Next(sv)) {
        error = "Unexpected end of file SVRecs.dat";
        return false;
      }
      SatSystem sys;
      if (!Included(o, rec, sv, sys)) continue;
      s.present[SystemIndex(sys)] |= ExportedBits(sys, sv);
      seen[SystemIndex(sys)].set(sv.number);
      if (sys == SatSystem::Glonass && sv.number >= 1 && sv.number <= 24)
        s.glonassChannel[sv.number] = static_cast<int8_t>(sv.channel & 0xFF);
    }
    Instant t;
    if (!InstantFromTimeRec(rec.time, t)) continue;
    if (s.epochs == 0) {
      s.first = t;
      s.firstSite = rec.site;
    }
    s.last = t;
    ++s.epochs;
    if (previousKey >= 0 && t.key > previousKey && (step == 0 || t.key - previousKey < step))
      step = t.key - previousKey;
    previousKey = t.key;
    if (rec.flags[kFlagPosition] && rec.pos.positionPresent) {
      sum[0] += rec.pos.x;
      sum[1] += rec.pos.y;
      sum[2] += rec.pos.z;
      ++s.positions;
    }
    if (!s.hasIono && rec.flags[kFlagIO]) s.hasIono = true, s.iono = rec.iono;
    if (!s.hasUtc && rec.flags[kFlagUO]) s.hasUtc = true, s.utc = rec.utc;
  }
  for (int i = 0; i < 3 && s.positions > 0; ++i)
    s.position[i] = sum[i] / static_cast<double>(s.positions);
  s.intervalSeconds = static_cast<double>(step) / 1e9;
  for (const auto& b : seen) s.satellites += static_cast<int64_t>(b.count());
  return true;
}

bool WriteObservationFile(const ExportInput& in, const ExportOptions& o, const ObsSurvey& s,
                          TextBuffer& out, ObsWriteResult& r, std::string& error) {
  EpochWriter w(in, o, s, out);
  PutObsHeader(out, in, o, s, w.columns());
  return w.Run(r, error);
}

}  // namespace vnx::rinex
