// libFuzzer target: the RINEX export of the input as a log, into memory.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnx::fuzz::RunExportPath(data, size);
  return 0;
}
