// libFuzzer target: the whole path of vnx-check over the input as a log.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnx::fuzz::RunCheckPath(data, size);
  return 0;
}
