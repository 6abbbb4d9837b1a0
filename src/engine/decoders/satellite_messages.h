#pragma once
// The satellite list of an epoch ("SI"), antenna names ("AN"), GLONASS slot numbers ("NN"),
// elevations ("EL") and azimuths ("AZ"). The position of a satellite in "SI" is its slot for
// every per-satellite message of the epoch.
#include <cstdint>

#include "engine/decoders/message.h"

namespace vnx {

// The slot a universal satellite index describes.
SatSlot SlotFromUsi(uint8_t usi);

class TSI : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();

 private:
  bool FindDuplicate(int count, const uint8_t* list);
};

class TAN : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

class TNN : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// "EL" and "AZ" share one shape: one byte per slot; variant 1 is the azimuth.
class AngleMessage : public TRecivMess {
 public:
  using TRecivMess::TRecivMess;
  uint8_t Decode();
};

// "    Error Len! Expected:" n " arrived: " m, the length complaint of the per-slot messages.
std::string LengthMismatchText(int32_t expected, int32_t arrived);

}  // namespace vnx
