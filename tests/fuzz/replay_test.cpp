// The fuzz targets' paths over every committed seed and every regression input: what a fuzz
// campaign once found stays fixed, and the sanitizer build checks the whole corpus each run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "fuzz/fuzz_paths.h"

namespace vnx::test {
namespace {

namespace fs = std::filesystem;

int ReplayAll(const std::string& target, void (*run)(const uint8_t*, size_t)) {
  int replayed = 0;
  for (const char* set : {"corpus", "regressions"}) {
    const fs::path dir = fs::path(VNX_SOURCE_DIR) / "tests" / "fuzz" / set / target;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
      // An exact copy: a read one byte past the input is a sanitizer finding here too.
      std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
      std::copy(bytes.begin(), bytes.end(), exact.get());
      SCOPED_TRACE(entry.path().string());
      run(exact.get(), bytes.size());
      ++replayed;
    }
  }
  return replayed;
}

TEST(FuzzReplay, CheckPathOverCorpusAndRegressions) {
  EXPECT_GE(ReplayAll("check", fuzz::RunCheckPath), 126);
}

TEST(FuzzReplay, DispatchPathOverCorpusAndRegressions) {
  EXPECT_GE(ReplayAll("dispatch", fuzz::RunDispatchPath), 126);
}

// The export target mutates logs: it starts from the whole-path seeds.
TEST(FuzzReplay, ExportPathOverCorpusAndRegressions) {
  EXPECT_GE(ReplayAll("check", fuzz::RunExportPath), 126);
  ReplayAll("export", fuzz::RunExportPath);
}

}  // namespace
}  // namespace vnx::test
