#pragma once
// The object names of the window's controls that show engine results. Help pages, tests and
// vnx-check's reports name the controls this way, so the window and vnx-check both take them
// from here; the engine itself knows only what a value means.
#include "engine/gnss/signals.h"

namespace vnx {

// The Measurements value of the summary ("STC1", "STL1_CA", ...).
const char* ObservableControl(Observable o);

}  // namespace vnx
