#pragma once
// What the Ephemeris view shows, without the window: the record finder over the ephemeris
// files, the message boxes it can raise, and the text of every label of the four pages in
// the page's order (the window's control names for them are in controls/control_names.h).
// The window only copies these texts into its controls.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ephemeris/ephemeris_records.h"
#include "engine/ephemeris/ephemeris_store.h"
#include "engine/stream/working_files.h"

namespace vnx {

// The texts of a page in the order it shows them, the title first. GPS: the title, then the
// Kepler fields (time of week, date and time of toe, the flags, clock and orbit terms); Galileo
// likewise, then its group delays, ionisation levels and disturbance flags; GLONASS and SBAS
// their own fields.
using FieldTexts = std::vector<std::string>;

// The general float form of the view: at most 15 significant digits, trailing zeros dropped,
// plain between 0.00001 and 15 integer digits, otherwise mantissa "E" exponent (1.5E-7); the
// decimal separator of the current LC_NUMERIC locale.
std::string EphFloatText(double v);
// "5\3\2009" and "7:5:0.000": no leading zeros.
std::string EphDateText(int32_t year, int32_t month, int32_t day);
std::string EphTimeText(int32_t hour, int32_t minute, int32_t second);

// The texts of one record; `ordinal` is N, the record's place among its satellite's records.
FieldTexts GpsEphemerisTexts(const EphemGPSRec& rec, int32_t ordinal);
FieldTexts GalEphemerisTexts(const EphemGALRec& rec, int32_t ordinal);
FieldTexts GloEphemerisTexts(const EphemGLORec& rec, int32_t ordinal);
FieldTexts GeoEphemerisTexts(const EphemGEORec& rec, int32_t ordinal);

enum class EphPageOutcome {
  Unchanged,  // the satellite has fewer than N ephemerides: nothing is done
  NotFound,   // the finder failed: the message boxes are shown, the texts stay as they were
  Filled      // `texts` replace the page's texts
};

struct EphemerisPage {
  EphPageOutcome outcome = EphPageOutcome::Unchanged;
  std::vector<std::string> messages;  // message boxes, in the order they are shown
  SatSystem system = SatSystem::Gps;  // whose page the texts fill
  FieldTexts texts;
};

// The panel filler: the N-th ephemeris of satellite `n` as the view numbers it (GPS and
// Galileo PRN, GLONASS slot, SBAS button 20..38 = PRN - 100), read again from the system's
// file from its first record.
EphemerisPage FillEphemerisPage(const WorkingFiles& files, const EphemerisStore& store, SatSystem s,
                                int n, int32_t ordinal);

// The satellite button `n` of the system is enabled: the satellite has ephemerides.
bool EphButtonEnabled(const EphemerisStore& store, SatSystem s, int n);
// BBMore after showing ephemeris `ordinal`; BBLess likewise.
bool EphMoreEnabled(const EphemerisStore& store, SatSystem s, int n, int32_t ordinal);
bool EphLessEnabled(int32_t ordinal);
// The button selected when the view opens: the first GPS satellite with ephemerides, else the
// first GLONASS one; SBAS and Galileo are never chosen by themselves.
std::optional<std::pair<SatSystem, int>> EphAutomaticSelection(const EphemerisStore& store);

}  // namespace vnx
