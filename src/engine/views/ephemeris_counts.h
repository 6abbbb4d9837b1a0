#pragma once
#include "engine/ephemeris/ephemeris_store.h"
#include "engine/views/summary.h"

namespace vnx {

// The ephemeris records per satellite of this scan, in the form the Summary reads them.
EphemerisCounts EphemerisCountsOf(const EphemerisStore& store);

}  // namespace vnx
