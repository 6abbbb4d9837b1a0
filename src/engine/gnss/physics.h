#pragma once
// Physical constants shared by the engine, the window, the checker and the log generator.

namespace vnx {

inline constexpr double kSpeedOfLight = 299792458.0;  // m/s

}  // namespace vnx
