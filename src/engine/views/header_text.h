#pragma once
// The texts of the Header view: the receiver description collected during the scan and the
// antenna of the first epoch.
#include <string>

#include "engine/epoch/scan_result.h"

namespace vnx {

struct HeaderTexts {
  std::string receiver, recId, recVers, recBoard;  // STReceiver, STRecID, STRecVers, STRecBoard
  std::string antType, antNum, antH;               // STAntType, STAntNum, STAntH
};

HeaderTexts BuildHeaderTexts(const ScanResult& ctx);

// " Height  " + the height right-aligned in 14 characters with 4 decimals, + "s" for a
// non-zero slant height.
std::string AntennaHeightText(double height, bool slant);

}  // namespace vnx
