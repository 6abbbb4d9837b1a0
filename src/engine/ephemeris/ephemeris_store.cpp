#include "engine/ephemeris/ephemeris_store.h"

#include <cmath>

#include "engine/time/extended80.h"

namespace vnx {

namespace {

constexpr double kSameSecondsTolerance = 0.001;

// Appends one record and writes it out at once: ephemerides are rare, and a record counts only
// once it is in the file. A failed write is recorded by the file set, which stops the scan.
bool AppendThrough(WorkingFiles& files, WorkFile f, const void* rec) {
  if (!files.Append(f, rec)) return false;
  if (files.File(f).Flush()) return true;
  files.FlushAll();  // lets the file set note the failure now, not at the end of the scan
  return false;
}

template <class Rec, int N>
bool WriteRecord(WorkingFiles& files, WorkFile f, EphemerisTable<Rec, N>& table, int index,
                 const Rec& rec) {
  if (index < 0 || index >= N) return false;
  Rec& last = table.last[index];
  if (SameReferenceTime(last.time, rec.time)) return false;
  if (!AppendThrough(files, f, &rec)) return false;
  ++table.counts[index];
  last = rec;
  return true;
}

template <class Rec, int N>
int32_t CountAt(const EphemerisTable<Rec, N>& table, int index) {
  return index >= 0 && index < N ? table.counts[index] : 0;
}

}  // namespace

WorkFile EphemerisFileOf(SatSystem s) {
  switch (s) {
    case SatSystem::Gps:
      return WorkFile::EphemGPS;
    case SatSystem::Glonass:
      return WorkFile::EphemGLO;
    case SatSystem::Sbas:
      return WorkFile::EphemGEO;
    case SatSystem::Galileo:
      return WorkFile::EphemGAL;
    default:
      break;
  }
  return WorkFile::EphemGPS;
}

bool SameReferenceTime(const TimeRec& a, const TimeRec& b) {
  if (a.year != b.year || a.month != b.month || a.day != b.day || a.hour != b.hour ||
      a.minute != b.minute)
    return false;
  return std::fabs(Ext80ToDouble(a.seconds) - Ext80ToDouble(b.seconds)) <= kSameSecondsTolerance;
}

bool EphemerisStore::WriteGps(WorkingFiles& files, const EphemGPSRec& rec) {
  return WriteRecord(files, WorkFile::EphemGPS, gps_, rec.sv - 1, rec);
}

bool EphemerisStore::WriteGlonass(WorkingFiles& files, const EphemGLORec& rec) {
  return WriteRecord(files, WorkFile::EphemGLO, glo_, rec.sv - 1, rec);
}

bool EphemerisStore::WriteSbas(WorkingFiles& files, const EphemGEORec& rec) {
  // PRN 120..138 take the entries 19..37, which the view reaches as buttons 20..38.
  return WriteRecord(files, WorkFile::EphemGEO, sbas_, rec.sv - 101, rec);
}

bool EphemerisStore::WriteGalileo(WorkingFiles& files, const EphemGALRec& rec) {
  return WriteRecord(files, WorkFile::EphemGAL, gal_, rec.sv - 1, rec);
}

int32_t EphemerisStore::Count(SatSystem s, int n) const {
  switch (s) {
    case SatSystem::Gps:
      return CountAt(gps_, n - 1);
    case SatSystem::Glonass:
      return CountAt(glo_, n - 1);
    case SatSystem::Sbas:
      return CountAt(sbas_, n - 1);
    case SatSystem::Galileo:
      return CountAt(gal_, n - 1);
    default:
      break;
  }
  return 0;
}

std::vector<int> EphemerisStore::Satellites(SatSystem s) const {
  std::vector<int> out;
  for (int n = 1; n <= InfoOf(s).lastLabel; ++n)
    if (Count(s, n) > 0) out.push_back(n);
  return out;
}

}  // namespace vnx
