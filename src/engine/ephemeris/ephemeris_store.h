#pragma once
// The ephemeris writers of one scan: per system and satellite, the number of records written
// and the last record written. A record whose reference time repeats the last one of its
// satellite is dropped, so a satellite whose ephemeris the receiver repeats every few seconds
// gets one record per distinct ephemeris.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/ephemeris/ephemeris_records.h"
#include "engine/gnss/satellite_system.h"
#include "engine/stream/working_files.h"

namespace vnx {

// The file of the system's records.
WorkFile EphemerisFileOf(SatSystem s);

// Reference times within 0.001 s of each other, compared field by field.
bool SameReferenceTime(const TimeRec& a, const TimeRec& b);

template <class Rec, int N>
struct EphemerisTable {
  std::array<int32_t, N> counts{};
  std::array<Rec, N> last{};
};

class EphemerisStore {
 public:
  // The writers: append the record to the system's file unless it repeats the last record of
  // its satellite. Satellites outside the system's range are not stored. Returns true when the
  // record reached the file; only then is it counted.
  bool WriteGps(WorkingFiles& files, const EphemGPSRec& rec);
  bool WriteGlonass(WorkingFiles& files, const EphemGLORec& rec);
  bool WriteSbas(WorkingFiles& files, const EphemGEORec& rec);
  bool WriteGalileo(WorkingFiles& files, const EphemGALRec& rec);

  // Records written in this scan for satellite `n` as the view numbers it (GPS and Galileo
  // PRN, GLONASS slot, SBAS PRN - 100); 0 outside the range.
  int32_t Count(SatSystem s, int n) const;
  // The numbers (as above) of the satellites with at least one record, in increasing order.
  std::vector<int> Satellites(SatSystem s) const;

  void Reset() { *this = EphemerisStore{}; }

 private:
  EphemerisTable<EphemGPSRec, 32> gps_;
  EphemerisTable<EphemGLORec, 24> glo_;
  EphemerisTable<EphemGEORec, 38> sbas_;  // index PRN - 101; 19..37 used
  EphemerisTable<EphemGALRec, 32> gal_;
};

}  // namespace vnx
