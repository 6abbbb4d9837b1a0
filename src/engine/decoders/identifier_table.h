#pragma once
// The vocabulary of the log format: one row per identifier the scanner knows, and that row is
// the message's whole identity: its decoder, the variant handed to the decoder (the signal
// index of an observable, the input of XA/XB and ZA/ZB, ...), the name used in error lines and
// the minimum body length the decoder tests.
#include <array>
#include <cstdint>

namespace vnx {

struct ScanContext;
struct IdentifierRow;

// Decodes one frame of the row's identifier; returns 1 when the frame is accepted (the scan
// steps over it), anything else when it is rejected.
using DecodeEntry = uint8_t (*)(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                                int32_t length);

struct IdentifierRow {
  char id[3];
  DecodeEntry decode;  // nullptr for the identifiers accepted without decoding
  uint8_t variant;
  const char* name;    // nullptr for the accepted-only identifiers
  uint16_t minLength;  // 0 = no length test
  bool silent;         // what the decoder finds wrong never reaches the error list
};

inline constexpr int kIdentifierCount = 126;
extern const std::array<IdentifierRow, kIdentifierCount> kIdentifierTable;

constexpr uint16_t IdentifierCode(char a, char b) {
  return static_cast<uint16_t>(static_cast<uint8_t>(a) * 256 + static_cast<uint8_t>(b));
}

// The row of an identifier, or nullptr when the table does not hold it.
const IdentifierRow* LookupIdentifier(uint16_t code);

}  // namespace vnx
