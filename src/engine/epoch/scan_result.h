#pragma once
// What a scan left for the views, vnx-check and the window, read-only: its counts, the working
// files, what was seen, the header texts, the ephemerides and the error list. Made from the
// scan's context; holds no copy, so it reads the state as it is now.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/epoch/scan_context.h"

namespace vnx {

class ScanResult {
 public:
  // Implicit: every view of a scan reads a scan's result.
  ScanResult(const ScanContext& ctx) : ctx_(&ctx) {}  // NOLINT(google-explicit-constructor)

  int32_t EpochCount() const { return ctx_->epochCount; }
  int32_t EpochInterval() const { return ctx_->epoch.EpochInterval; }  // ms
  const WorkingFiles& Files() const { return ctx_->files; }
  const std::vector<ScanError>& Errors() const { return ctx_->errors; }

  // Records written to the event and PPS offset files.
  int32_t XaCount() const { return ctx_->xaCount; }
  int32_t XbCount() const { return ctx_->xbCount; }
  int32_t ZaCount() const { return ctx_->zaCount; }
  int32_t ZbCount() const { return ctx_->zbCount; }
  // Attitude and baseline blocks were stored.
  bool ArSeen() const { return ctx_->arSeen; }
  bool Mr73Seen() const { return ctx_->mr73Seen; }
  bool Mr37Seen() const { return ctx_->mr37Seen; }

  const std::array<std::string, kHeaderEntries>& HeaderInfo() const { return ctx_->headerInfo; }
  // The site information of the first epoch (the file header's).
  const SiteInfo& FirstSite() const { return ctx_->siteFirst; }
  const IonoBlock& Iono() const { return ctx_->iono; }
  bool IonoSeen() const { return ctx_->ionoSeen; }
  const EphemerisStore& Ephemerides() const { return ctx_->ephemerides; }
  char SelectedAntenna() const { return ctx_->selectedAntenna; }

  // Satellites seen, indexed by the number the views give them (GPS and Galileo PRN, GLONASS
  // slot, SBAS PRN - 100); index 0 unused.
  std::span<const bool> Seen(SatSystem s) const;
  bool ElevationsSeen() const { return ctx_->elevSeen; }
  bool AzimuthsSeen() const { return ctx_->azimSeen; }
  int32_t LowestElevation() const { return LowestElevationSeen(*ctx_); }
  int32_t ElevationMask() const { return ctx_->elevationMask; }

 private:
  const ScanContext* ctx_;
};

inline std::span<const bool> ScanResult::Seen(SatSystem s) const {
  switch (s) {
    case SatSystem::Gps:
      return ctx_->gpsSeen;
    case SatSystem::Glonass:
      return ctx_->gloSeen;
    case SatSystem::Sbas:
      return ctx_->sbasSeen;
    case SatSystem::Galileo:
      return ctx_->galSeen;
    default:
      break;
  }
  return {};
}

}  // namespace vnx
