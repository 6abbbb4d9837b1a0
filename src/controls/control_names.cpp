#include "controls/control_names.h"

#include <array>

namespace vnx {

namespace {

// By Observable.
constexpr std::array<const char*, kObservableCount> kObservableControls{
    "STC1",    "STP1", "STP2", "STC2",    "STC5", "STL1_CA", "STL1", "STL2", "STL2_CA", "STL5",
    "STD1_CA", "STD1", "STD2", "STD2_CA", "STD5", "STS1_CA", "STS1", "STS2", "STS2_CA", "STS5",
};

}  // namespace

const char* ObservableControl(Observable o) {
  return kObservableControls[static_cast<size_t>(o)];
}

}  // namespace vnx
