#pragma once
// The ephemerides in vnx-check: how many distinct ephemerides each satellite has, and one
// ephemeris field by field as the Ephemeris view shows it.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "engine/ephemeris/ephemeris_store.h"
#include "engine/session.h"
#include "engine/views/ephemeris_text.h"

namespace vnx {

// "G5:2": system letter (G, R, S, E), satellite as the view numbers it (SBAS PRN - 100),
// ordinal N of the ephemeris among the satellite's records.
struct EphemerisSelector {
  SatSystem system = SatSystem::Gps;
  int satellite = 0;
  int32_t ordinal = 0;
};
// False when the text is malformed or the satellite lies outside the system's buttons.
bool ParseEphemerisSelector(const std::string& text, EphemerisSelector& out);

// --ephemerides: a heading per system, then one line per satellite with its count.
std::vector<std::string> EphemerisCountLines(const EphemerisStore& store);
nlohmann::json EphemerisCountsJson(const EphemerisStore& store);

// --ephemeris: "control<TAB>text" per label of the page, the title (STEphem) first.
std::vector<std::string> EphemerisPageLines(const EphemerisPage& page);

struct EphemerisQuery {
  bool counts = false;   // --ephemerides
  std::string selector;  // --ephemeris, empty when not asked
  bool json = false;
};

// Prints the asked ephemeris output of the scan in `session` to `out`, message boxes to `err`
// (text mode). Returns the exit status: 0 done, 1 the ephemeris was not found, 2 the file could
// not be scanned or the selector is malformed.
int RunEphemerisQuery(const Session& session, bool mapped, const EphemerisQuery& query,
                      const std::string& file, std::vector<std::string> messages, std::ostream& out,
                      std::ostream& err);

}  // namespace vnx
