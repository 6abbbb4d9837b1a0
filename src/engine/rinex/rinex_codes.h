#pragma once
// What each observable of the log is called in RINEX: one row per satellite system and
// observable of the log, with its RINEX 3 observation code and its RINEX 2.11 code. The
// reasoning behind every attribute letter is beside the table in rinex_codes.cpp, and the same
// table is printed in the manual and the README.
#include <array>
#include <string_view>

#include "engine/gnss/satellite_system.h"
#include "engine/gnss/signals.h"

namespace vnx::rinex {

// The order in which the files list the systems: G, R, E, S.
inline constexpr std::array<SatSystem, kSatSystemCount> kFileOrder{
    SatSystem::Gps, SatSystem::Glonass, SatSystem::Galileo, SatSystem::Sbas};

// The kinds of a signal block a RINEX file carries, in the order a RINEX 3 list gives them:
// code, phase, Doppler, signal strength (the smoothing correction has no place in RINEX).
inline constexpr std::array<ObsKind, 4> kExportedKinds{kRange, kPhase, kDoppler, kSnr};

// The satellite number RINEX gives a record's satellite: GPS PRN, GLONASS slot, Galileo PRN
// (the record holds 71..102), SBAS PRN - 100 (120 -> 20).
constexpr int RinexSatNumber(SatSystem s, int recordNumber) {
  return recordNumber - InfoOf(s).numberOffset;
}

// RINEX 3 observation code ("C1C", "L2W", "D5Q", "S1X"); empty when RINEX has no place for
// the observable of that system.
std::string_view Rinex3Code(SatSystem s, Observable o);
// RINEX 2.11 observation code ("C1", "P2", "L1", "D5", "S2"); empty as above.
std::string_view Rinex2Code(SatSystem s, Observable o);

// The RINEX 2.11 codes in the order the observation header lists them.
inline constexpr std::array<std::string_view, 14> kRinex2Order{
    "C1", "P1", "P2", "C2", "C5", "L1", "L2", "L5", "D1", "D2", "D5", "S1", "S2", "S5"};

// The RINEX 2.11 navigation file of a system: the last letter of its extension (".22g") and
// the file type its first line gives.
struct Nav2File {
  char letter;
  std::string_view type;
};
const Nav2File& Nav2FileOf(SatSystem s);

}  // namespace vnx::rinex
