#pragma once
// Everything a scan reads and writes, in one place: the window interface, the error list, the
// working files, the running epoch, the module-wide blocks and the per-scan counters. Every
// decoder receives this one context.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ephemeris/ephemeris_store.h"
#include "engine/epoch/epoch_state.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_error.h"
#include "engine/stream/working_files.h"
#include "engine/ui/scan_ui.h"

namespace vnx {

struct CalendarDate {
  int32_t year = 0, month = 0, day = 0;
};

// Header texts shown by the Header view.
enum HeaderEntry : int {
  kHeaderReceiverId = 1,
  kHeaderLogType = 2,
  kHeaderMainVersion = 3,
  kHeaderBoardVersion = 4,
  kHeaderEntries = 12
};

// The frame being decoded: its offsets from the first byte of the log (for error lines) and
// the end of the mapped file (for the one message that may read past its body).
struct FrameInfo {
  uint64_t start = 0;
  uint64_t end = 0;
  const uint8_t* fileBase = nullptr;
  const uint8_t* fileEnd = nullptr;
};

struct ScanContext {
  explicit ScanContext(ScanUi& ui) : ui(&ui) {}

  ScanUi* ui;
  std::vector<ScanError> errors;
  WorkingFiles files;
  FrameInfo frame;

  // The running epoch; renewed for every scanner.
  EpochState epoch;
  // The scanner's result code: 1 while a scan runs normally; what CloseEpoch returns.
  uint8_t fileOpened = 0;

  // Module-wide epoch state.
  EpochRec epochRec{};
  PosBlock pos{};
  UtcBlock utc{};
  IonoBlock iono{};
  bool ionoSeen = false;  // an "IO" frame was decoded in this scan
  SiteInfo site{};
  SiteInfo siteFirst{};
  EventRec eventRec{};
  std::array<SvRec, kMaxSlots> svStaging{};
  int32_t epochCount = 0;
  int64_t headerEnd = 0;
  bool headerCaptured = false;
  bool closeByIdentifier = false;
  std::array<std::string, kHeaderEntries> headerInfo;

  // Records written to the event and offset files in this scan.
  int32_t xaCount = 0, xbCount = 0, zaCount = 0, zbCount = 0, eventCount = 0;

  // Time texts of the receiver-time decoders.
  std::string lastTimeText = " --h--m--s ";
  std::string prevTimeText;
  std::string shownDateText;
  int32_t timeMsgCount = 0;
  CalendarDate today;  // the computer's date, for the future-date check

  // Satellites seen in this scan, by GPS PRN, GLONASS slot, SBAS PRN - 100, Galileo PRN.
  std::array<bool, 33> gpsSeen{};
  std::array<bool, 25> gloSeen{};
  std::array<bool, 39> sbasSeen{};
  std::array<bool, 33> galSeen{};
  int32_t minElevationSeen = 90;
  int32_t elevationMask = 90;
  bool elevSeen = false;
  bool azimSeen = false;

  // Antennas.
  char selectedAntenna = '0';
  bool askAntenna = true;
  std::array<char, kMaxSlots + 1> slotAntenna{};
  std::string antennaLetters;  // distinct letters seen, in order; renewed per scanner

  bool stopRequested = false;
  bool utcWeekFromEphemeris = false;
  EphemerisStore ephemerides;  // ephemeris counts and last records written in this scan
  bool arSeen = false, mr73Seen = false, mr37Seen = false;

  // Indicators already lit in this scan: the window hears of each one once, not per frame.
  std::array<bool, kIndicatorCount> indicatorLit{};

  void AddError(ScanError e) { errors.push_back(std::move(e)); }
  // An error about the log as a whole, or about an epoch: one line of text.
  void AddError(ScanErrorKind kind, std::string text) {
    ScanError e;
    e.kind = kind;
    e.lines.push_back(std::move(text));
    errors.push_back(std::move(e));
  }
  void Light(Indicator which) {
    bool& lit = indicatorLit[static_cast<int>(which)];
    if (lit) return;
    lit = true;
    ui->LightIndicator(which);
  }
  bool SlotTaken(int i) const {
    return selectedAntenna == '0' || slotAntenna[i] == selectedAntenna;
  }
};

// The elevation mask a scan starts the Satellites view with: the lowest elevation seen, 0 when
// the log has no elevations.
inline int32_t LowestElevationSeen(const ScanContext& ctx) {
  return ctx.elevSeen ? ctx.minElevationSeen : 0;
}

// Defaults of the site information: four "-Unknown-" texts, static, height 0.
SiteInfo DefaultSiteInfo();

// Resets everything that belongs to one scan (before every file choice and every scan).
void ResetScanState(ScanContext& ctx);

}  // namespace vnx
