#pragma once
// The vocabulary of the log format: every identifier the scanner knows, the message family
// that decodes it, the variant passed to the family (the signal index for observables, the
// input for XA/XB and ZA/ZB), the name used in error lines and the minimum body length.
#include <array>
#include <cstdint>

namespace vnx {

enum class Family : uint8_t {
  Unknown,  // not in the table: skipped silently
  Skip,     // in the table, accepted without decoding
  VN,
  Event,
  RT,
  RD,
  GT,
  UO,
  TO,
  DO,
  OO,
  BP,
  NT,
  NO,
  GO,
  PO,
  VE,
  PV,
  DP,
  SG,
  SP,
  SV,
  SI,
  AN,
  NN,
  EL,
  AZ,
  RC,
  RCInt,
  RCRel,
  RCRelInt,
  CC,
  CCInt,
  PC,
  PCInt,
  PCRel,
  PCRelInt,
  DC,
  EC,
  CE,
  FC,
  SS,
  TC,
  TT,
  GA,
  NA,
  IO,
  PM,
  XAXB,
  GE,
  EN,
  NE,
  WE,
  SE,
  ZAZB,
  LT,
  YAB,
  MR73,
  MR37,
  AR,
  WO,
  WA,
  ID,
  PT,
  ST,
  PS,
  BI,
  BL,
  VG,
  PG,
  WrEcho,
};

struct IdentifierRow {
  char id[3];
  Family family;
  uint8_t variant;
  const char* name;    // nullptr for the accepted-only identifiers
  uint16_t minLength;  // 0 = no length test
};

inline constexpr int kIdentifierCount = 126;
extern const std::array<IdentifierRow, kIdentifierCount> kIdentifierTable;

constexpr uint16_t IdentifierCode(char a, char b) {
  return static_cast<uint16_t>(static_cast<uint8_t>(a) * 256 + static_cast<uint8_t>(b));
}

// The row of an identifier, or nullptr when the table does not hold it.
const IdentifierRow* LookupIdentifier(uint16_t code);

}  // namespace vnx
