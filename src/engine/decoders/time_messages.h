#pragma once
// Receiver time of day "~~", GPS time "GT", receiver date "RD", UTC parameters "UO" and the
// clock messages "TO", "DO", "OO", "BP", "NT", "NO", "GO". "~~" and "GT" close the running
// epoch before their own time becomes the time of the next one.
#include <cstdint>
#include <string>

#include "engine/stream/message.h"

namespace vnx {

// " 1h2m3.4s": the time of day in error lines.
std::string TimeOfDayText(int64_t ms);
// "01:02:03.004": the time label of the scan panel.
std::string TimeOfDayLabel(int64_t ms);
// "06/01/2009": the date label.
std::string DateLabel(int32_t year, int32_t month, int32_t day);

class TRT : public TRecivMess {
 public:
  TRT(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "~~", 5) {}
  uint8_t Decode();
};

class TGT : public TRecivMess {
 public:
  TGT(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "GT", 7) {}
  uint8_t Decode();
};

// With a body length of 0 the object is a date made by an ephemeris decoder: the body is six
// bytes of its making, and neither the length nor the checksum is tested.
class TRD : public TRecivMess {
 public:
  TRD(ScanContext& c, const uint8_t* body, int32_t length)
      : TRecivMess(c, body, length, "RD", length == 0 ? 0 : 6) {}
  uint8_t Decode();
};

// The clock and parameter messages share one shape: checksum, fields in body order, store.
class TUO : public TRecivMess {
 public:
  TUO(ScanContext& c, const uint8_t* body, int32_t length)
      : TRecivMess(c, body, length, "UO", 24) {}
  uint8_t Decode();
};

class TTO : public TRecivMess {
 public:
  TTO(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "TO", 9) {}
  uint8_t Decode();
};

// "DO", "OO" and "BP": one float each.
class TClockFloat : public TRecivMess {
 public:
  enum Kind { kDO, kOO, kBP };
  TClockFloat(ScanContext& c, const uint8_t* body, int32_t length, Kind kind)
      : TRecivMess(c, body, length,
                   kind == kDO   ? "DO"
                   : kind == kOO ? "OO"
                                 : "BP",
                   5),
        kind_(kind) {}
  uint8_t Decode();

 private:
  Kind kind_;
};

class TNT : public TRecivMess {
 public:
  TNT(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "NT", 7) {}
  uint8_t Decode();
};

// "NO" and "GO": seconds and nanoseconds of a time-scale offset.
class TNOGO : public TRecivMess {
 public:
  TNOGO(ScanContext& c, const uint8_t* body, int32_t length, bool isGO)
      : TRecivMess(c, body, length, isGO ? "GO" : "NO", 6), isGO_(isGO) {}
  uint8_t Decode();

 private:
  bool isGO_;
};

}  // namespace vnx

namespace vnx {

class TDO : public TClockFloat {
 public:
  TDO(ScanContext& c, const uint8_t* body, int32_t length) : TClockFloat(c, body, length, kDO) {}
};
class TOO : public TClockFloat {
 public:
  TOO(ScanContext& c, const uint8_t* body, int32_t length) : TClockFloat(c, body, length, kOO) {}
};
class TBP : public TClockFloat {
 public:
  TBP(ScanContext& c, const uint8_t* body, int32_t length) : TClockFloat(c, body, length, kBP) {}
};
class TNO : public TNOGO {
 public:
  TNO(ScanContext& c, const uint8_t* body, int32_t length) : TNOGO(c, body, length, false) {}
};
class TGO : public TNOGO {
 public:
  TGO(ScanContext& c, const uint8_t* body, int32_t length) : TNOGO(c, body, length, true) {}
};

}  // namespace vnx
