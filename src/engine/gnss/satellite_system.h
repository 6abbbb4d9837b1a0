#pragma once
// The satellite systems: one type for the decoders, the records, the views, the window, the
// checker and the log generator, and one table of what each system is called and numbered.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vnx {

// The values are the system codes that satellite slots and records carry.
enum class SatSystem : uint8_t { None = 0, Gps = 1, Glonass = 2, Sbas = 3, Galileo = 4, Other = 5 };

inline constexpr int kSatSystemCount = 4;
inline constexpr std::array<SatSystem, kSatSystemCount> kSatSystems{
    SatSystem::Gps, SatSystem::Glonass, SatSystem::Sbas, SatSystem::Galileo};

struct SatSystemInfo {
  char letter;            // 'G', 'R', 'S', 'E'
  const char* shortName;  // "GPS", "GLO", "GEO", "GAL"
  uint32_t colour;        // 0xRRGGBB of the system in every chart, readable on white
  // The numbers the views give the system's satellites (GPS and Galileo PRN, GLONASS slot,
  // SBAS PRN - 100) and what a satellite record carries for them: label + numberOffset.
  int firstLabel;
  int lastLabel;
  int numberOffset;
  int LabelCount() const { return lastLabel - firstLabel + 1; }
};

inline constexpr std::array<SatSystemInfo, kSatSystemCount> kSatSystemInfo{{
    {'G', "GPS", 0xFF0000, 1, 32, 0},
    {'R', "GLO", 0x0000FF, 1, 24, 0},
    {'S', "GEO", 0x8000FF, 20, 38, 100},
    {'E', "GAL", 0xE08000, 1, 32, 70},
}};

// 0..3 for the four systems: the position in kSatSystems and in arrays kept per system.
constexpr int SystemIndex(SatSystem s) {
  return static_cast<int>(s) - 1;
}
constexpr bool IsSatSystem(SatSystem s) {
  return s >= SatSystem::Gps && s <= SatSystem::Galileo;
}
// For the four systems only.
constexpr const SatSystemInfo& InfoOf(SatSystem s) {
  return kSatSystemInfo[static_cast<size_t>(SystemIndex(s))];
}

}  // namespace vnx
