#pragma once
// The stored, broken-down time of the working files: 40 bytes, little-endian.
#include <cstddef>
#include <cstdint>

#include "engine/time/extended80.h"

namespace vnx {

#pragma pack(push, 1)
struct TimeRec {
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  uint8_t reserved20[4];
  uint8_t seconds[10];  // 80-bit extended: seconds of the minute with the fraction
  uint8_t reserved34[6];
};
#pragma pack(pop)
static_assert(sizeof(TimeRec) == 40);
static_assert(offsetof(TimeRec, minute) == 16);
static_assert(offsetof(TimeRec, seconds) == 24);

}  // namespace vnx
