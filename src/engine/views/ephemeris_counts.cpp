#include "engine/views/ephemeris_counts.h"

namespace vnx {

EphemerisCounts EphemerisCountsOf(const EphemerisStore& store) {
  EphemerisCounts c;
  for (int n = 1; n <= 32; ++n) c.gps[n - 1] = store.Count(EphSystem::Gps, n);
  for (int n = 1; n <= 24; ++n) c.glo[n - 1] = store.Count(EphSystem::Glonass, n);
  for (int n = 1; n <= 38; ++n) c.sbas[n - 1] = store.Count(EphSystem::Sbas, n);
  for (int n = 1; n <= 32; ++n) c.gal[n - 1] = store.Count(EphSystem::Galileo, n);
  return c;
}

}  // namespace vnx
