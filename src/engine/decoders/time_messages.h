#pragma once
// Receiver time of day "~~", GPS time "GT", receiver date "RD", UTC parameters "UO" and the
// clock messages "TO", "DO", "OO", "BP", "NT", "NO", "GO". "~~" and "GT" close the running
// epoch before their own time becomes the time of the next one.
#include <cstdint>
#include <string>

#include "engine/decoders/message.h"

namespace vnx {

// " 1h2m3.4s": the time of day in error lines.
std::string TimeOfDayText(int64_t ms);
// "01:02:03.004": the time label of the scan panel.
std::string TimeOfDayLabel(int64_t ms);
// "06/01/2009": the date label.
std::string DateLabel(int32_t year, int32_t month, int32_t day);

class TRT : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

class TGT : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// A frame of the log is always held to its length and checksum, whatever length it declares.
// Only a date made by an ephemeris decoder (TakeDerivedDate) skips both: its body is four bytes
// of our own making.
class TRD : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 private:
  friend void TakeDerivedDate(ScanContext& ctx, uint16_t year, uint8_t month, uint8_t day);
  bool derived_ = false;
};

// The clock and parameter messages share one shape: checksum, fields in body order, store.
class TUO : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

class TTO : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// "DO", "OO" and "BP": one float each; the row's variant says which.
class ClockValueMessage : public TRecivMess {
 public:
  enum Kind : uint8_t { kDO, kOO, kBP };
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

class TNT : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// "NO" and "GO": seconds and nanoseconds of a time-scale offset; variant 1 is "GO".
class TimeScaleOffsetMessage : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// A date of the receiver that an ephemeris supplied: decoded as an "RD" of our making, without
// length or checksum test.
void TakeDerivedDate(ScanContext& ctx, uint16_t year, uint8_t month, uint8_t day);

}  // namespace vnx
