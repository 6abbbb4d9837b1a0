#pragma once
// The per-slot measurement families as data. Every member has one entry per slot of "SI" and
// differs from the others only in what its table row says: entry width and form, missing
// marker, value formula, the pseudorange it is relative to, the field it fills, the epoch flag
// it sets and the indicator it lights per signal.
#include <cstdint>

#include "engine/epoch/records.h"
#include "engine/ui/scan_ui.h"

namespace vnx {

// How a slot entry is laid out.
enum class ObsEntry : uint8_t {
  None,  // the message is only checked: nothing is read
  Float64,
  Float32,
  Float32Interval,  // a float32 and a uint16 interval; the interval's marker drops the entry
  Int32,
  Int16,
  UInt32,
  UInt8,
};

// The pseudorange of the running epoch that a member's value is added to.
enum class ObsReference : uint8_t {
  None,
  CodeL1,   // C/A L1 of the same slot: only there when "RC" or "rc" came earlier
  OwnCode,  // the pseudorange of the member's own signal
};

struct ObservableMember {
  uint8_t width = 0;         // bytes per slot entry
  uint8_t trailer = 1;       // bytes after the entries: the checksum ("SS" adds its solution type)
  bool wholeLength = false;  // the length complaint names the whole body length ("SS")
  ObsEntry entry = ObsEntry::None;
  int64_t missing = 0;  // marker of an integer entry (of the interval for Float32Interval)
  // value = raw x scale + offset; SBAS slots take sbasOffset instead when it is not 0.
  long double scale = 1;
  long double offset = 0;
  long double sbasOffset = 0;
  // Only raw values in [lowest, below) are kept; lowest = below = 0 keeps everything.
  double lowest = 0;
  double below = 0;
  ObsReference reference = ObsReference::None;
  bool timesCarrier = false;  // the sum is a travel time, stored in cycles of the slot's carrier
  ObsKind target = kRange;
  EpochFlag flag = kFlagRange;
  bool lights = false;       // lights the lamp of its observable; not smoothing corrections
  bool alsoSignal1 = false;  // "DC": the C/A L1 Doppler also fills signal 1
};

// The members, one per shape; the identifier table names the identifiers of each.
extern const ObservableMember kFullCode;                    // float64 travel time
extern const ObservableMember kCompactCode;                 // int32 count of 10 ps past an offset
extern const ObservableMember kRelativeCode;                // float32 relative to the C/A code
extern const ObservableMember kCompactRelativeCode;         // int16 count relative to the C/A code
extern const ObservableMember kSmoothingCorrection;         // float32 correction and its interval
extern const ObservableMember kCompactSmoothingCorrection;  // int16 correction
extern const ObservableMember kFullPhase;                   // float64 cycles
extern const ObservableMember kCompactPhase;                // uint32 in 1/1024 cycle
extern const ObservableMember kRelativePhase;         // float32 travel time against the C/A code
extern const ObservableMember kCompactRelativePhase;  // int32 in 2^-40 s against the C/A code
extern const ObservableMember kDopplerCount;          // int32 in 0.1 mHz
extern const ObservableMember kSnrWhole;              // uint8 in dB-Hz
extern const ObservableMember kSnrQuarter;            // uint8 in 0.25 dB-Hz
extern const ObservableMember kSlotStatus;            // a byte per slot and the solution type
extern const ObservableMember kSlotWords;             // a 16-bit word per slot

}  // namespace vnx
