#include "engine/rinex/rinex_codes.h"

namespace vnx::rinex {
namespace {

struct CodeRow {
  SatSystem system;
  Observable observable;
  std::string_view rinex3;
  std::string_view rinex2;
};

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
// the first of them in the log's signal order that the satellite has: C/A on L1, P on L2 (the
// usual 2.11 reading of L2).
using enum Observable;
constexpr SatSystem G = SatSystem::Gps, R = SatSystem::Glonass, E = SatSystem::Galileo,
                    S = SatSystem::Sbas;
constexpr CodeRow kCodes[] = {
    {G, C1, "C1C", "C1"}, {G, L1_CA, "L1C", "L1"}, {G, D1_CA, "D1C", "D1"}, {G, S1_CA, "S1C", "S1"},
    {G, P1, "C1W", "P1"}, {G, L1, "L1W", "L1"},    {G, D1, "D1W", "D1"},    {G, S1, "S1W", "S1"},
    {G, P2, "C2W", "P2"}, {G, L2, "L2W", "L2"},    {G, D2, "D2W", "D2"},    {G, S2, "S2W", "S2"},
    {G, C2, "C2L", "C2"}, {G, L2_CA, "L2L", "L2"}, {G, D2_CA, "D2L", "D2"}, {G, S2_CA, "S2L", "S2"},
    {G, C5, "C5Q", "C5"}, {G, L5, "L5Q", "L5"},    {G, D5, "D5Q", "D5"},    {G, S5, "S5Q", "S5"},

    {R, C1, "C1C", "C1"}, {R, L1_CA, "L1C", "L1"}, {R, D1_CA, "D1C", "D1"}, {R, S1_CA, "S1C", "S1"},
    {R, P1, "C1P", "P1"}, {R, L1, "L1P", "L1"},    {R, D1, "D1P", "D1"},    {R, S1, "S1P", "S1"},
    {R, P2, "C2P", "P2"}, {R, L2, "L2P", "L2"},    {R, D2, "D2P", "D2"},    {R, S2, "S2P", "S2"},
    {R, C2, "C2C", "C2"}, {R, L2_CA, "L2C", "L2"}, {R, D2_CA, "D2C", "D2"}, {R, S2_CA, "S2C", "S2"},

    {E, C1, "C1X", "C1"}, {E, L1_CA, "L1X", "L1"}, {E, D1_CA, "D1X", "D1"}, {E, S1_CA, "S1X", "S1"},
    {E, C5, "C5X", "C5"}, {E, L5, "L5X", "L5"},    {E, D5, "D5X", "D5"},    {E, S5, "S5X", "S5"},

    {S, C1, "C1C", "C1"}, {S, L1_CA, "L1C", "L1"}, {S, D1_CA, "D1C", "D1"}, {S, S1_CA, "S1C", "S1"},
    {S, C5, "C5I", "C5"}, {S, L5, "L5I", "L5"},    {S, D5, "D5I", "D5"},    {S, S5, "S5I", "S5"},
};

// The rows by system and observable, for lookups; null where RINEX has no code.
struct CodeIndex {
  const CodeRow* rows[kSatSystemCount][kObservableCount] = {};
};

constexpr CodeIndex MakeIndex() {
  CodeIndex index;
  for (const CodeRow& row : kCodes)
    index.rows[SystemIndex(row.system)][static_cast<int>(row.observable)] = &row;
  return index;
}
constexpr CodeIndex kIndex = MakeIndex();

// Every code of a row names the row's kind (C, L, D, S) before its band; RINEX 2 has no
// letter for a kind the row does not have.
constexpr bool CodesMatchTheirKind() {
  constexpr char kLetter[] = {'C', '?', 'L', 'D', 'S'};  // by ObsKind; smoothing never exported
  for (const CodeRow& row : kCodes) {
    const ObservableInfo& info = InfoOf(row.observable);
    const char letter = kLetter[info.kind];
    if (row.rinex3.size() != 3 || row.rinex3[0] != letter || row.rinex2.size() != 2) return false;
    if (info.kind != kRange && row.rinex2[0] != letter) return false;
    if (row.rinex3[1] != row.rinex2[1]) return false;  // the same band in both versions
  }
  return true;
}
static_assert(CodesMatchTheirKind());

const CodeRow* RowOf(SatSystem s, Observable o) {
  if (!IsSatSystem(s)) return nullptr;
  return kIndex.rows[SystemIndex(s)][static_cast<int>(o)];
}

// By SystemIndex: GPS, GLONASS, SBAS, Galileo.
constexpr Nav2File kNav2Files[kSatSystemCount] = {
    {'n', "N: GPS NAV DATA"},
    {'g', "G: GLONASS NAV DATA"},
    {'h', "H: GEO NAV MSG DATA"},
    {'l', "L: GALILEO NAV DATA"},
};
static_assert(SystemIndex(SatSystem::Sbas) == 2 && SystemIndex(SatSystem::Galileo) == 3);

}  // namespace

const Nav2File& Nav2FileOf(SatSystem s) {
  return kNav2Files[SystemIndex(s)];
}

std::string_view Rinex3Code(SatSystem s, Observable o) {
  const CodeRow* row = RowOf(s, o);
  return row == nullptr ? std::string_view() : row->rinex3;
}

std::string_view Rinex2Code(SatSystem s, Observable o) {
  const CodeRow* row = RowOf(s, o);
  return row == nullptr ? std::string_view() : row->rinex2;
}

}  // namespace vnx::rinex
