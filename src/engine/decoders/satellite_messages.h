#pragma once
// The satellite list of an epoch ("SI"), antenna names ("AN"), GLONASS slot numbers ("NN"),
// elevations ("EL") and azimuths ("AZ"). The position of a satellite in "SI" is its slot for
// every per-satellite message of the epoch.
#include <cstdint>

#include "engine/stream/message.h"

namespace vnx {

// The slot a universal satellite index describes.
SatSlot SlotFromUsi(uint8_t usi);

class TSI : public TRecivMess {
 public:
  TSI(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "SI") {}
  uint8_t Decode();

 private:
  bool FindDuplicate(int count, const uint8_t* list);
};

class TAN : public TRecivMess {
 public:
  TAN(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "AN") {}
  uint8_t Decode();
};

class TNN : public TRecivMess {
 public:
  TNN(ScanContext& c, const uint8_t* body, int32_t length) : TRecivMess(c, body, length, "NN") {}
  uint8_t Decode();
};

// "EL" and "AZ" share one shape: one byte per slot.
class TAngles : public TRecivMess {
 public:
  TAngles(ScanContext& c, const uint8_t* body, int32_t length, bool azimuth)
      : TRecivMess(c, body, length, azimuth ? "AZ" : "EL"), azimuth_(azimuth) {}
  uint8_t Decode();

 private:
  bool azimuth_;
};

class TEL : public TAngles {
 public:
  TEL(ScanContext& c, const uint8_t* body, int32_t length) : TAngles(c, body, length, false) {}
};
class TAZ : public TAngles {
 public:
  TAZ(ScanContext& c, const uint8_t* body, int32_t length) : TAngles(c, body, length, true) {}
};

// "    Error Len! Expected:" n " arrived: " m, the length complaint of the per-slot messages.
std::string LengthMismatchText(int32_t expected, int32_t arrived);

}  // namespace vnx
