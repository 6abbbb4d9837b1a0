#pragma once
// The real RINEX files the synthesiser tests read, and logs made from them.
#include <sstream>
#include <string>

#include "tools/synth/synth.h"

namespace vnx::synth::test {

inline std::string RealFile(const std::string& name) {
  return std::string(VNX_SOURCE_DIR) + "/tests/data/real/" + name;
}

inline const char* kOpecObs = "OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx";
inline const char* kOpecGpsNav = "OPEC00NOR_S_20220010000_01D_GN.rnx";
inline const char* kOpecGloNav = "OPEC00NOR_S_20220010000_01D_RN.rnx";

// The observation file and its navigation data of one of the three real sets.
struct RealSet {
  ObsData obs;
  NavData nav;
};

inline RealSet Opec() {
  RealSet s{ReadObsFile(RealFile(kOpecObs)), ReadNavFile(RealFile(kOpecGpsNav))};
  MergeNav(s.nav, ReadNavFile(RealFile(kOpecGloNav)));
  return s;
}

inline RealSet Pdel() {
  RealSet s{ReadObsFile(RealFile("pdel0010.21o")), ReadNavFile(RealFile("cbw10010.21n"))};
  MergeNav(s.nav, ReadNavFile(RealFile("dlf10010.21g")));
  return s;
}

inline RealSet Slac() {
  return {ReadObsFile(RealFile("slac1180.21o")), ReadNavFile(RealFile("brdc1180.21n"))};
}

inline std::string MakeLog(const RealSet& set, const SynthOptions& options,
                           SynthResult* result = nullptr) {
  std::ostringstream out;
  SynthResult r = Synthesize(set.obs, set.nav, options, out);
  if (result != nullptr) *result = r;
  return out.str();
}

}  // namespace vnx::synth::test
