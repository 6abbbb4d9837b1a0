#pragma once
// The running epoch as the decoders fill it: the satellite slots of the last "SI", the
// observables per slot and signal, the receiver time and the flags that make an epoch unusable.
// The capitalised members carry the scanner's documented state names (SatCount, TimeLost, ...);
// members of our own are camelCase, as everywhere else in the engine.
#include <array>
#include <cstdint>

#include "engine/epoch/records.h"
#include "engine/gnss/satellite_system.h"

namespace vnx {

inline constexpr int kMaxSlots = 70;

// False for the numbers a satellite record may carry: 1..32, 71..102, 120..152.
inline bool IsSatNumberInvalid(uint8_t n) {
  return !((n >= 1 && n <= 32) || (n >= 71 && n <= 102) || (n >= 120 && n <= 138) ||
           (n >= 129 && n <= 152));
}

struct SatSlot {
  uint8_t Number = 0;  // GPS/SBAS PRN, GLONASS slot (255 until "NN"), Galileo raw index
  SatSystem System = SatSystem::None;  // None = empty slot
  int8_t Elevation = kNoElevation;     // until an elevation of the satellite arrives
  int16_t Azimuth = 0;
  int32_t Channel = 0;
};

struct SignalObs {
  uint8_t Present[6] = {};  // indexed by ObsKind
  float Snr = 0;
  double Range = 0;  // seconds of signal travel time during the scan
  double Phase = 0;  // cycles
  float Doppler = 0;
  float Smoothing = 0;  // seconds
};

struct EpochState {
  int32_t SatCount = 0;
  bool TimeSeen = true;
  bool TimeLost = true;
  bool SatIndexBad = true;
  bool GloNumbersBad = true;
  bool UtcSeen = false;
  bool UtcKnown = false;
  // Index 1..70 (slot 0 unused) so slot numbers read as they do in the log.
  std::array<uint8_t, kMaxSlots + 1> Usi{};
  std::array<SatSlot, kMaxSlots + 1> Slots{};
  std::array<std::array<SignalObs, 5>, kMaxSlots + 1> Obs{};
  int32_t EpochInterval = 0;
  int32_t LeapSeconds = 0;
  int64_t TimeOfDayMs = 0;
  int64_t DayNumber = 0;
  bool SkipNextDiff = true;
  int64_t RtOffset = 0;
  bool FirstEpochPending = true;
  bool EpochSeen = false;

  bool IsUnusable() const { return TimeLost || SatIndexBad || GloNumbersBad; }
  // Slots 1..n that exist in the table; a list never reaches beyond slot 70.
  int SlotLimit() const { return SatCount < kMaxSlots ? SatCount : kMaxSlots; }
};

}  // namespace vnx
