// The system and signal tables are read by index; their rows must stand where they are read.
#include "engine/gnss/satellite_system.h"
#include "engine/gnss/signals.h"

namespace vnx {

namespace {

constexpr bool ObservablesInOrder() {
  for (int i = 0; i < kObservableCount; ++i) {
    const ObservableInfo& o = kObservables[static_cast<size_t>(i)];
    if (static_cast<int>(o.id) != i || ObservableOf(o.signal, o.kind) != o.id) return false;
  }
  return true;
}
static_assert(ObservablesInOrder());

constexpr bool SystemsInOrder() {
  for (int i = 0; i < kSatSystemCount; ++i)
    if (SystemIndex(kSatSystems[static_cast<size_t>(i)]) != i) return false;
  return true;
}
static_assert(SystemsInOrder());

}  // namespace

}  // namespace vnx
