#pragma once
// The texts of the Ionosphere view, formatted anew from the latest ionosphere block.
#include <array>
#include <string>

#include "engine/epoch/records.h"

namespace vnx {

struct IonoTexts {
  std::string tot, wn;               // STIOTot, STIOWn
  std::array<std::string, 4> alpha;  // STIOA0..STIOA3
  std::array<std::string, 4> beta;   // STIOB0..STIOB3
};

IonoTexts BuildIonoTexts(const IonoBlock& iono);

}  // namespace vnx
