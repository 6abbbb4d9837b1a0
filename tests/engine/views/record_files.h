#pragma once
// Working files written record by record for the chart tests: epoch records, each followed in
// SVRecs.dat by its satellite records, exactly as a scan leaves them.
#include <fstream>
#include <string>
#include <vector>

#include "engine/epoch/records.h"
#include "engine/views/measurements_series.h"
#include "support/scan_fixture.h"

namespace vnx::test {

class RecordFiles {
 public:
  // Starts a new epoch; its satellite records follow through AddSat.
  EpochRec& AddEpoch() {
    epochs_.push_back(EpochRec{});
    sats_.emplace_back();
    return epochs_.back();
  }
  SvRec& AddSat(uint8_t number, uint8_t system, int8_t elevation = 30) {
    SvRec sv{};
    sv.number = number;
    sv.system = system;
    sv.elevation = elevation;
    sats_.back().push_back(sv);
    return sats_.back().back();
  }
  // Writes both files; each epoch's satellites-written count is its records' number.
  void Write() {
    std::ofstream e(EpochsPath(), std::ios::binary | std::ios::trunc);
    std::ofstream s(SvPath(), std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < epochs_.size(); ++i) {
      epochs_[i].satsWritten = static_cast<int32_t>(sats_[i].size());
      e.write(reinterpret_cast<const char*>(&epochs_[i]), sizeof(EpochRec));
      for (const SvRec& sv : sats_[i]) s.write(reinterpret_cast<const char*>(&sv), sizeof sv);
    }
  }
  // Cuts a written file down to its first `bytes`.
  void Truncate(const std::string& path, size_t bytes) const {
    std::ifstream in(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data.substr(0, bytes);
  }

  std::string EpochsPath() const { return dir_.path() + "/DataEpochs.dat"; }
  std::string SvPath() const { return dir_.path() + "/SVRecs.dat"; }
  int32_t EpochCount() const { return static_cast<int32_t>(epochs_.size()); }
  ChartSource Source() const { return {EpochsPath(), SvPath(), EpochCount()}; }
  ChartSource Source(int32_t epochCount) const { return {EpochsPath(), SvPath(), epochCount}; }

 private:
  TempDir dir_;
  std::vector<EpochRec> epochs_;
  std::vector<std::vector<SvRec>> sats_;
};

}  // namespace vnx::test
