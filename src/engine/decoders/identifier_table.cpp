#include "engine/decoders/identifier_table.h"

namespace vnx {

namespace {
using F = Family;
}

// clang-format off
const std::array<IdentifierRow, kIdentifierCount> kIdentifierTable{{
    {"VN", F::VN, 0, "VN055", 85},
    {"==", F::Event, 0, "Event", 0},
    {"~~", F::RT, 0, "~~", 5},
    {"RD", F::RD, 0, "RD", 6},
    {"GT", F::GT, 0, "GT", 7},
    {"UO", F::UO, 0, "UO", 24},
    {"TO", F::TO, 0, "TO", 9},
    {"DO", F::DO, 0, "DO", 5},
    {"OO", F::OO, 0, "OO", 5},
    {"BP", F::BP, 0, "BP", 5},
    {"NT", F::NT, 0, "NT", 7},
    {"NO", F::NO, 0, "NO", 6},
    {"GO", F::GO, 0, "GO", 6},
    {"PO", F::PO, 0, "PO", 30},
    {"VE", F::VE, 0, "VE", 18},
    {"PV", F::PV, 0, "PV", 46},
    {"DP", F::DP, 0, "DP", 14},
    {"SG", F::SG, 0, "SG", 18},
    {"SP", F::SP, 0, "SP", 42},
    {"SV", F::SV, 0, "SV", 42},
    {"SI", F::SI, 0, "SI", 0},
    {"AN", F::AN, 0, "AN", 0},
    {"NN", F::NN, 0, "NN", 0},
    {"EL", F::EL, 0, "EL", 0},
    {"AZ", F::AZ, 0, "AZ", 0},
    {"RC", F::RC, 0, "RC", 0}, {"R1", F::RC, 1, "R1", 0}, {"R2", F::RC, 2, "R2", 0},
    {"R3", F::RC, 3, "R3", 0}, {"R5", F::RC, 4, "R5", 0},
    {"rc", F::RCInt, 0, "rc", 0}, {"r1", F::RCInt, 1, "r1", 0}, {"r2", F::RCInt, 2, "r2", 0},
    {"r3", F::RCInt, 3, "r3", 0}, {"r5", F::RCInt, 4, "r5", 0},
    {"1R", F::RCRel, 1, "1R", 0}, {"2R", F::RCRel, 2, "2R", 0}, {"3R", F::RCRel, 3, "3R", 0},
    {"5R", F::RCRel, 4, "5R", 0},
    {"1r", F::RCRelInt, 1, "1r", 0}, {"2r", F::RCRelInt, 2, "2r", 0},
    {"3r", F::RCRelInt, 3, "3r", 0}, {"5r", F::RCRelInt, 4, "5r", 0},
    {"CC", F::CC, 0, "CC", 0}, {"C1", F::CC, 1, "C1", 0}, {"C2", F::CC, 2, "C2", 0},
    {"cc", F::CCInt, 0, "cc", 0}, {"c1", F::CCInt, 1, "c1", 0}, {"c2", F::CCInt, 2, "c2", 0},
    {"PC", F::PC, 0, "PC", 0}, {"P1", F::PC, 1, "P1", 0}, {"P2", F::PC, 2, "P2", 0},
    {"P3", F::PC, 3, "P3", 0}, {"P5", F::PC, 4, "P5", 0},
    {"pc", F::PCInt, 0, "pc", 0}, {"p1", F::PCInt, 1, "p1", 0}, {"p2", F::PCInt, 2, "p2", 0},
    {"p3", F::PCInt, 3, "p3", 0}, {"p5", F::PCInt, 4, "p5", 0},
    {"CP", F::PCRel, 0, "CP", 0}, {"1P", F::PCRel, 1, "1P", 0}, {"2P", F::PCRel, 2, "2P", 0},
    {"3P", F::PCRel, 3, "3P", 0}, {"5P", F::PCRel, 4, "5P", 0},
    {"cp", F::PCRelInt, 0, "cp", 0}, {"1p", F::PCRelInt, 1, "1p", 0},
    {"2p", F::PCRelInt, 2, "2p", 0}, {"3p", F::PCRelInt, 3, "3p", 0},
    {"5p", F::PCRelInt, 4, "5p", 0},
    {"DC", F::DC, 0, "DC", 0}, {"D1", F::DC, 1, "D1", 0}, {"D2", F::DC, 2, "D2", 0},
    {"D3", F::DC, 3, "D3", 0}, {"D5", F::DC, 4, "D5", 0},
    {"EC", F::EC, 0, "EC", 0}, {"E1", F::EC, 1, "E1", 0}, {"E2", F::EC, 2, "E2", 0},
    {"E3", F::EC, 3, "E3", 0}, {"E5", F::EC, 4, "E5", 0},
    {"CE", F::CE, 0, "CE", 0}, {"1E", F::CE, 1, "1E", 0}, {"2E", F::CE, 2, "2E", 0},
    {"3E", F::CE, 3, "3E", 0}, {"5E", F::CE, 4, "5E", 0},
    {"FC", F::FC, 0, "FC", 0}, {"F1", F::FC, 1, "F1", 0}, {"F2", F::FC, 2, "F2", 0},
    {"F3", F::FC, 3, "F3", 0}, {"F5", F::FC, 4, "F5", 0},
    {"SS", F::SS, 0, "SS", 0},
    {"TC", F::TC, 0, "TC", 0},
    {"TT", F::TT, 0, "TT", 5},
    {"GA", F::GA, 0, "GA", 47},
    {"NA", F::NA, 0, "NA", 46},
    {"IO", F::IO, 0, "IO", 39},
    {"PM", F::PM, 0, "PM", 0},
    {"XA", F::XAXB, 0, "XA", 10}, {"XB", F::XAXB, 1, "XB", 10},
    {"GE", F::GE, 0, "GE", 123},
    {"EN", F::EN, 0, "EN", 144},
    {"NE", F::NE, 0, "NE", 80},
    {"WE", F::WE, 0, "WE", 71},
    {"SE", F::SE, 0, "SE", 6},
    {"ZA", F::ZAZB, 0, "ZA", 5}, {"ZB", F::ZAZB, 1, "ZB", 5},
    {"LT", F::LT, 0, "LT", 2},
    {"YA", F::YAB, 0, "YA", 10}, {"YB", F::YAB, 0, "YA", 10},
    {"mr", F::MR73, 0, "MR73", 73},
    {"MR", F::MR37, 0, "MR37", 37},
    {"AR", F::AR, 0, "AR", 30},
    {"WO", F::WO, 0, "WO", 31},
    {"WA", F::WA, 0, "WA", 39},
    {"ID", F::ID, 0, "ID", 0},
    {"PT", F::PT, 0, "PT", 5},
    {"ST", F::ST, 0, "ST", 6},
    {"PS", F::PS, 0, "PS", 9},
    {"BI", F::BI, 0, "BI", 28},
    {"BL", F::BL, 0, "BL", 34},
    {"VG", F::VG, 0, "VG", 18},
    {"PG", F::PG, 0, "PG", 30},
    {">>", F::WrEcho, 0, ">>", 0},
    {"GP", F::Skip, 0, nullptr, 0}, {"PA", F::Skip, 0, nullptr, 0},
    {"SO", F::Skip, 0, nullptr, 0}, {"UP", F::Skip, 0, nullptr, 0},
}};
// clang-format on

namespace {

// Row index + 1 for every 16-bit identifier, 0 for identifiers outside the table.
struct LookupTable {
  std::array<uint8_t, 65536> index{};
  constexpr LookupTable() {
    for (int i = 0; i < kIdentifierCount; ++i) {
      const IdentifierRow& r = kIdentifierTable[i];
      index[IdentifierCode(r.id[0], r.id[1])] = static_cast<uint8_t>(i + 1);
    }
  }
};

const LookupTable& Lookup() {
  static const LookupTable table;
  return table;
}

}  // namespace

const IdentifierRow* LookupIdentifier(uint16_t code) {
  const uint8_t i = Lookup().index[code];
  return i == 0 ? nullptr : &kIdentifierTable[i - 1];
}

}  // namespace vnx
