#include "engine/epoch/close_epoch.h"

#include <cstring>

#include "engine/gnss/physics.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

// The bytes of the log before the first receiver-time frame, one byte per record.
void CaptureHeader(ScanContext& ctx) {
  ctx.headerEnd = ctx.epoch.RtOffset;
  ctx.headerCaptured = true;
  ctx.siteFirst = ctx.site;
  if (ctx.headerEnd < 2 || ctx.frame.fileBase == nullptr) return;
  const auto n = static_cast<uint64_t>(ctx.headerEnd - 1);
  const uint64_t available = static_cast<uint64_t>(ctx.frame.fileEnd - ctx.frame.fileBase);
  ctx.files.AppendMany(WorkFile::Header, ctx.frame.fileBase, n < available ? n : available);
}

void FillSvRec(SvRec& rec, const SatSlot& slot, const std::array<SignalObs, 5>& obs) {
  rec.number = slot.Number;
  rec.system = static_cast<uint8_t>(slot.System);
  rec.elevation = slot.Elevation;
  rec.azimuth = slot.Azimuth;
  rec.channel = slot.Channel & 0xFF;
  for (int s = 0; s < kSignalCount; ++s) {
    SignalBlock& b = rec.sig[s];
    std::memcpy(b.present, obs[s].Present, sizeof b.present);
    b.snr = obs[s].Snr;
    b.range = obs[s].Range * kSpeedOfLight;
    b.phase = obs[s].Phase;
    b.doppler = obs[s].Doppler;
    b.smoothing = static_cast<float>(static_cast<double>(obs[s].Smoothing) * kSpeedOfLight);
  }
}

void CountSystem(EpochRec& rec, SatSystem system) {
  switch (system) {
    case SatSystem::Gps:
      ++rec.gpsWritten;
      break;
    case SatSystem::Glonass:
      ++rec.gloWritten;
      break;
    case SatSystem::Sbas:
      ++rec.sbasWritten;
      break;
    case SatSystem::Galileo:
      ++rec.galWritten;
      break;
    default:
      break;
  }
}

}  // namespace

void ClearSlots(EpochState& e) {
  for (SatSlot& s : e.Slots) s = SatSlot{};
}

uint8_t CloseEpoch(ScanContext& ctx) {
  EpochState& e = ctx.epoch;
  if (!ctx.headerCaptured && !ctx.closeByIdentifier) CaptureHeader(ctx);
  ctx.closeByIdentifier = false;
  if (e.DayNumber == 0 || e.IsUnusable()) return ctx.fileOpened;

  EpochRec& rec = ctx.epochRec;
  if (e.SatCount == 0)
    ctx.AddError(ScanErrorKind::Epoch,
                 " Haven't satellites in epoch " + std::to_string(ctx.epochCount + 1));
  e.EpochSeen = true;
  e.FirstEpochPending = false;
  ++ctx.epochCount;
  rec.site = ctx.site;
  const TGPSTimeNS t(static_cast<uint32_t>(e.TimeOfDayMs / 1000 + e.DayNumber * kSecondsPerDay),
                     (e.TimeOfDayMs % 1000) * 1000000);
  rec.time = TimeRecFromTimeNS(t);

  std::memset(ctx.svStaging.data(), 0, sizeof(SvRec) * ctx.svStaging.size());
  rec.gpsWritten = rec.gloWritten = rec.sbasWritten = rec.galWritten = 0;
  int n = 0;
  for (int i = 1; i <= e.SlotLimit(); ++i) {
    if (IsSatNumberInvalid(e.Slots[i].Number)) continue;
    FillSvRec(ctx.svStaging[n++], e.Slots[i], e.Obs[i]);
    CountSystem(rec, e.Slots[i].System);
  }
  rec.satsWritten = n;
  for (auto& slotObs : e.Obs) slotObs.fill(SignalObs{});

  if (rec.flags[kFlagUO]) rec.utc = ctx.utc;
  if (rec.flags[kFlagIO]) rec.iono = ctx.iono;
  if (rec.flags[kFlagPosition]) rec.pos = ctx.pos;
  ctx.pos = PosBlock{};

  ctx.files.AppendEpoch(&rec, ctx.svStaging.data(), static_cast<size_t>(n));

  rec = EpochRec{};
  rec.site.isStatic = 1;
  return ctx.fileOpened;
}

}  // namespace vnx
