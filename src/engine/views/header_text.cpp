#include "engine/views/header_text.h"

#include <cstdio>

namespace vnx {

std::string AntennaHeightText(double height, bool slant) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " Height  %14.4f", height);
  std::string s = buf;
  if (slant && height != 0.0) s += "s";
  return s;
}

HeaderTexts BuildHeaderTexts(const ScanResult& ctx) {
  HeaderTexts t;
  t.receiver = " Type     " + ctx.HeaderInfo()[kHeaderLogType];
  t.recId = " ID       " + ctx.HeaderInfo()[kHeaderReceiverId];
  t.recVers = " Version  " + ctx.HeaderInfo()[kHeaderMainVersion];
  t.recBoard = " Board    " + ctx.HeaderInfo()[kHeaderBoardVersion];
  const SiteInfo& s = ctx.FirstSite();
  t.antType = " Type     " + std::string(s.antennaName.View());
  t.antNum = " Number      " + std::string(s.antennaText.View());
  t.antH = AntennaHeightText(s.antennaHeight, s.slant != 0);
  return t;
}

}  // namespace vnx
