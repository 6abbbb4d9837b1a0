#include "engine/rinex/rinex_codes.h"

namespace vnx::rinex {
namespace {

// Rows: system (GPS, GLONASS, Galileo, SBAS) x log signal (C/A L1, P L1, P L2, C/A L2, L5).
//
// Why these attribute letters:
// - GPS C/A on L1 is C1C. The receiver's P-code measurements on L1 and L2 are made under
//   anti-spoofing, where only the encrypted Y code is broadcast and a civil receiver tracks it
//   semi-codelessly: RINEX 3 names that W (C1W, C2W), not P.
// - GPS "C/A on L2" is the civil L2C signal. Receivers track its long, data-free CL code (or
//   CM+CL, whose long code dominates), so L: C2L.
// - GPS L5: a receiver tracks the data-free Q component for phase and code, so Q: C5Q.
// - GLONASS keeps its own names: the standard-accuracy code is C on both bands (C1C, C2C) and
//   the high-accuracy code is P (C1P, C2P). The log's fifth signal has no GLONASS counterpart
//   (there is no GLONASS signal on the L5 carrier), so it is not exported.
// - Galileo's first signal is E1 and the log does not say whether data (B), pilot (C) or both
//   were tracked: X (B+C) is the honest name, C1X. Its fifth signal is E5a, again of unknown
//   component: C5X. Galileo has no P code and no L2 signal, so signals 1..3 are not exported.
// - SBAS broadcasts C/A on L1 (C1C) and, on L5, only the I component: C5I.
// RINEX 2.11 has a single code per band and kind: C1, P1, P2, C2 (L2C code) and C5 for the
// pseudoranges; L1/L2/L5, D1/D2/D5 and S1/S2/S5 for the rest. Where two log signals share a
// band (C/A and P on L1; P and C/A on L2) the 2.11 writer fills L, D and S of that band from
// the first of them that the satellite has: C/A on L1, P on L2 (the usual 2.11 reading of L2).
constexpr SignalCodes kTable[kSysCount][kLogSignals] = {
    {{"1C", "C1", '1'}, {"1W", "P1", '1'}, {"2W", "P2", '2'}, {"2L", "C2", '2'}, {"5Q", "C5", '5'}},
    {{"1C", "C1", '1'},
     {"1P", "P1", '1'},
     {"2P", "P2", '2'},
     {"2C", "C2", '2'},
     {nullptr, nullptr, 0}},
    {{"1X", "C1", '1'},
     {nullptr, nullptr, 0},
     {nullptr, nullptr, 0},
     {nullptr, nullptr, 0},
     {"5X", "C5", '5'}},
    {{"1C", "C1", '1'},
     {nullptr, nullptr, 0},
     {nullptr, nullptr, 0},
     {nullptr, nullptr, 0},
     {"5I", "C5", '5'}},
};

constexpr char kTypeLetter[kObsTypeCount] = {'C', 'L', 'D', 'S'};

}  // namespace

char SysLetter(Sys s) {
  static constexpr char kLetters[kSysCount] = {'G', 'R', 'E', 'S'};
  return kLetters[static_cast<int>(s)];
}

bool SysFromRecordCode(uint8_t code, Sys& out) {
  switch (code) {
    case 1:
      out = Sys::Gps;
      return true;
    case 2:
      out = Sys::Glonass;
      return true;
    case 3:
      out = Sys::Sbas;
      return true;
    case 4:
      out = Sys::Galileo;
      return true;
    default:
      return false;
  }
}

int RinexSatNumber(Sys s, int recordNumber) {
  switch (s) {
    case Sys::Galileo:
      return recordNumber - 70;
    case Sys::Sbas:
      return recordNumber - 100;
    default:
      return recordNumber;
  }
}

const SignalCodes& CodesOf(Sys s, int signal) {
  return kTable[static_cast<int>(s)][signal];
}

std::string_view Rinex3Code(Sys s, int signal, ObsType t, char (&buf)[4]) {
  const SignalCodes& c = CodesOf(s, signal);
  if (c.band3 == nullptr) return {};
  buf[0] = kTypeLetter[static_cast<int>(t)];
  buf[1] = c.band3[0];
  buf[2] = c.band3[1];
  buf[3] = 0;
  return {buf, 3};
}

std::string_view Rinex2Code(Sys s, int signal, ObsType t, char (&buf)[3]) {
  const SignalCodes& c = CodesOf(s, signal);
  if (c.code2 == nullptr) return {};
  if (t == ObsType::Code) {
    buf[0] = c.code2[0];
    buf[1] = c.code2[1];
  } else {
    buf[0] = kTypeLetter[static_cast<int>(t)];
    buf[1] = c.band2;
  }
  buf[2] = 0;
  return {buf, 2};
}

}  // namespace vnx::rinex
