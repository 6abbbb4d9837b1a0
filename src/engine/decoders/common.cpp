#include "engine/decoders/common.h"

namespace vnx {

double CarrierFrequency(const ScanContext& ctx, int slot, int signal) {
  static constexpr double kFixed[5] = {1575420000.0, 1575420000.0, 1227600000.0, 1227600000.0,
                                       1176450000.0};
  static constexpr double kGloBase[5] = {1602000000.0, 1602000000.0, 1246000000.0, 1246000000.0,
                                         1176450000.0};
  static constexpr double kGloStep[5] = {562500.0, 562500.0, 437500.0, 437500.0, 437500.0};
  const SatSlot& s = ctx.epoch.Slots[slot];
  if (s.System == SatSystem::Gps || s.System == SatSystem::Sbas || s.System == SatSystem::Galileo)
    return kFixed[signal];
  return kGloBase[signal] + s.Channel * kGloStep[signal];
}

}  // namespace vnx
