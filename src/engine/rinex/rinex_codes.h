#pragma once
// What each observable of the log is called in RINEX: one row per satellite system and signal
// of the log, with the RINEX 3 observation codes of its code, phase, Doppler and signal strength
// and the two-character codes of RINEX 2.11. The reasoning behind every attribute letter is
// beside the table in rinex_codes.cpp, and the same table is printed in the manual and the README.
#include <cstdint>
#include <string_view>

namespace vnx::rinex {

// The satellite systems a RINEX file of ours can hold, in the order files list them.
// TODO(one system type): replace with the engine's satellite-system type once it has one.
enum class Sys : uint8_t { Gps, Glonass, Galileo, Sbas };
inline constexpr int kSysCount = 4;

// The system letter of RINEX: 'G', 'R', 'E', 'S'.
char SysLetter(Sys s);
// The system of a satellite record's code (1 GPS, 2 GLONASS, 3 SBAS, 4 Galileo); false for others.
bool SysFromRecordCode(uint8_t code, Sys& out);
// The satellite number RINEX gives a record's satellite: GPS PRN, GLONASS slot, Galileo PRN
// (the record holds the raw index 71..102), SBAS PRN - 100 (120 -> 20).
int RinexSatNumber(Sys s, int recordNumber);

// The four observation types per signal, in the order a satellite line lists them.
enum class ObsType : uint8_t { Code, Phase, Doppler, Strength };
inline constexpr int kObsTypeCount = 4;
inline constexpr int kLogSignals = 5;  // C/A L1, P L1, P L2, C/A L2, L5

struct SignalCodes {
  const char* band3;  // RINEX 3 band and attribute ("1C"); null when RINEX has no place for it
  const char* code2;  // RINEX 2 code of the pseudorange ("C1", "P1", ...); null as above
  char band2;         // RINEX 2 band digit of phase, Doppler and strength ('1', '2', '5')
};

// The row of a system and log signal 0..4.
const SignalCodes& CodesOf(Sys s, int signal);

// RINEX 3 observation code ("C1C", "L2W", "D5Q", "S1X"); empty when the signal has none.
std::string_view Rinex3Code(Sys s, int signal, ObsType t, char (&buf)[4]);
// RINEX 2 observation code ("C1", "P2", "L1", "D5", "S2"); empty when the signal has none.
std::string_view Rinex2Code(Sys s, int signal, ObsType t, char (&buf)[3]);

}  // namespace vnx::rinex
