// libFuzzer target: frames straight into the dispatch after a prepared start.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnx::fuzz::RunDispatchPath(data, size);
  return 0;
}
