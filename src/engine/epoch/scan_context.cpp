#include "engine/epoch/scan_context.h"

namespace vnx {

SiteInfo DefaultSiteInfo() {
  SiteInfo s{};
  s.siteName.Set("-Unknown-");
  s.siteText2.Set("-Unknown-");
  s.antennaName.Set("-Unknown-");
  s.antennaText.Set("-Unknown-");
  s.isStatic = 1;
  return s;
}

void ResetScanState(ScanContext& ctx) {
  ctx.errors.clear();
  ctx.xaCount = ctx.xbCount = ctx.zaCount = ctx.zbCount = ctx.eventCount = 0;
  ctx.epochCount = 0;
  ctx.pos = PosBlock{};
  // The ionosphere parameters of an earlier log must not pass for this one's.
  ctx.iono = IonoBlock{};
  ctx.ionoSeen = false;
  ctx.epochRec = EpochRec{};
  ctx.headerEnd = 0;
  ctx.headerCaptured = false;
  ctx.closeByIdentifier = false;
  for (int i = 0; i < kHeaderEntries; ++i) ctx.headerInfo[i] = "-Unknown-";
  ctx.headerInfo[5] = "RUN BY";
  ctx.headerInfo[6] = "OBSERVER";
  ctx.headerInfo[7] = "AGENCY";
  ctx.site = DefaultSiteInfo();
  ctx.siteFirst = DefaultSiteInfo();
  ctx.eventRec = EventRec{};
  ctx.lastTimeText = " --h--m--s ";
  ctx.prevTimeText.clear();
  ctx.shownDateText.clear();
  ctx.timeMsgCount = 0;
  ctx.gpsSeen.fill(false);
  ctx.gloSeen.fill(false);
  ctx.sbasSeen.fill(false);
  ctx.galSeen.fill(false);
  ctx.minElevationSeen = 90;
  ctx.elevationMask = 90;
  ctx.elevSeen = ctx.azimSeen = false;
  ctx.utcWeekFromEphemeris = false;
  ctx.ephemerides.Reset();
  ctx.arSeen = ctx.mr73Seen = ctx.mr37Seen = false;
  ctx.stopRequested = false;
  ctx.indicatorLit.fill(false);
}

}  // namespace vnx
