#pragma once
// The object names of the window's controls that show engine results. Help pages, tests and
// vnx-check's reports name the controls this way, so the window and vnx-check both take them
// from here; the engine itself knows only what a value means.
#include <string>
#include <utility>
#include <vector>

#include "engine/gnss/satellite_system.h"
#include "engine/gnss/signals.h"
#include "engine/views/summary.h"

namespace vnx {

// The Measurements value of the summary ("STC1", "STL1_CA", ...).
const char* ObservableControl(Observable o);
// The value of the summary's Solutions row k ("STSA", ...).
const char* SolutionControl(int k);

// One text of the Summary panel: its group, its control, the caption beside it (empty when
// the text carries its own label) and the text.
struct ControlText {
  const char* group;
  const char* control;
  std::string caption;
  std::string text;
};

// "PCEphGPS", "PCEphGLO", "PCEphGEO", "PCEphGAL": the Ephemeris view's page for the system.
const char* EphPageControl(SatSystem s);
// Control name and its text, in the order the page shows them; "STEphem" (the title) first.
using ControlTexts = std::vector<std::pair<std::string, std::string>>;
// The Ephemeris page's texts of the system under the names of their labels.
ControlTexts NameEphemerisTexts(SatSystem s, const std::vector<std::string>& texts);

// The Summary panel's texts in its order, leaving out what the summary did not compute.
std::vector<ControlText> SummaryControlTexts(const Summary& s);

}  // namespace vnx
