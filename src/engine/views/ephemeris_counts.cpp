#include "engine/views/ephemeris_counts.h"

namespace vnx {

EphemerisCounts EphemerisCountsOf(const EphemerisStore& store) {
  EphemerisCounts c;
  for (int n = 1; n <= 32; ++n) c.gps[n - 1] = store.Count(SatSystem::Gps, n);
  for (int n = 1; n <= 24; ++n) c.glo[n - 1] = store.Count(SatSystem::Glonass, n);
  for (int n = 1; n <= 38; ++n) c.sbas[n - 1] = store.Count(SatSystem::Sbas, n);
  for (int n = 1; n <= 32; ++n) c.gal[n - 1] = store.Count(SatSystem::Galileo, n);
  return c;
}

}  // namespace vnx
