#include "engine/views/summary.h"

#include <algorithm>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

const std::array<SolutionRow, kSolutionCount> kSolutionRows = {{
    {"STAND ALONE", 1},
    {"CODE DIFF", 2},
    {"PHASE FLOAT", 3},
    {"PHASE FIXED", 4},
}};

namespace {

SatelliteList ListOf(std::vector<int> numbers) {
  SatelliteList list{std::move(numbers), ""};
  // Appended piece by piece: `" " + std::to_string(n)` sets off a false -Wrestrict in GCC 12
  // at -O3.
  for (int n : list.numbers) {
    list.text += ' ';
    list.text += std::to_string(n);
  }
  if (list.text.empty()) list.text = " No";
  return list;
}

// Flags indexed by satellite number; index 0 is unused.
SatelliteList SeenList(std::span<const bool> seen) {
  std::vector<int> numbers;
  for (size_t i = 1; i < seen.size(); ++i)
    if (seen[i]) numbers.push_back(static_cast<int>(i));
  return ListOf(std::move(numbers));
}

// Counts indexed by satellite number - 1.
template <size_t N>
SatelliteList EphemerisList(const std::array<int32_t, N>& counts) {
  std::vector<int> numbers;
  for (size_t i = 0; i < N; ++i)
    if (counts[i] > 0) numbers.push_back(static_cast<int>(i + 1));
  return ListOf(std::move(numbers));
}

SummaryErrorFlag ErrorFlag(const std::vector<ScanError>& errors) {
  if (!errors.empty()) return {"Yes", SummaryColour::Red, true};
  return {" No", SummaryColour::Yellow, false};
}

// The lowest elevation among the satellite records actually written: satellites of another
// antenna, or without any elevation, do not set the mask.
struct LowestElevation {
  bool seen = false;
  int32_t degrees = 0;
  void Take(const SvRec& sv) {
    if (!HasElevation(sv)) return;
    degrees = seen ? std::min<int32_t>(degrees, sv.elevation) : sv.elevation;
    seen = true;
  }
};

void FillElevations(const ScanResult& ctx, const LowestElevation& lowest, SummaryEpochFigures& f) {
  f.elevationMaskEnabled = lowest.seen;
  f.elevationMask = lowest.seen ? lowest.degrees : 0;
  f.elevationMaskText = " Elevation Mask =  " + std::to_string(f.elevationMask);
  f.azimuthsPresent = ctx.AzimuthsSeen();
  f.azimuths = ctx.AzimuthsSeen() ? " Azimuths  Present" : " Azimuths not Present";
}

SummaryEpochFigures EpochFigures(const ScanResult& ctx, const EpochAnalysis& analysis,
                                 const EphemerisCounts& eph) {
  SummaryEpochFigures f;
  f.start = "Start   " + analysis.FirstLine();
  f.finish = "Finish " + analysis.LastLine();
  f.epochs = "Epochs" + std::string(11, ' ') + std::to_string(ctx.EpochCount());
  f.interval = "Interval  " + std::string(8, ' ') + std::to_string(ctx.EpochInterval()) + " ms";
  f.gaps = "Gaps  " + std::string(13, ' ') + std::to_string(analysis.gapCount);
  f.xa = " XA   " + std::to_string(ctx.XaCount());
  f.xb = " XB   " + std::to_string(ctx.XbCount());
  f.gps = SeenList(ctx.Seen(SatSystem::Gps));
  f.geo = SeenList(ctx.Seen(SatSystem::Sbas));
  f.glo = SeenList(ctx.Seen(SatSystem::Glonass));
  f.gal = SeenList(ctx.Seen(SatSystem::Galileo));
  f.gpsEph = EphemerisList(eph.gps);
  f.gloEph = EphemerisList(eph.glo);
  f.geoEph = EphemerisList(eph.sbas);
  f.galEph = EphemerisList(eph.gal);
  return f;
}

void CountSolution(uint8_t type, SummaryRecordFigures& f) {
  for (int k = 0; k < kSolutionCount; ++k)
    if (kSolutionRows[k].type == type) ++f.solutions[k];
}

void CountObservables(const SvRec& sv, SummaryRecordFigures& f) {
  for (int k = 0; k < kObservableCount; ++k) {
    const ObservableInfo& o = kObservables[k];
    if (sv.sig[o.signal].present[o.kind]) ++f.observables[k];
  }
}

// Reads the epochs and their satellite records once; false (with the message) when a file
// ends before the scan's counts are reached.
bool CountRecords(const ScanResult& ctx, RecordReader& epochs, RecordReader& svs,
                  SummaryRecordFigures& f, LowestElevation& lowest, std::string& message) {
  EpochRec rec;
  SvRec sv;
  for (int32_t i = 1; i <= ctx.EpochCount(); ++i) {
    if (!epochs.Read(&rec)) {
      message = "Unexpected end of file";
      return false;
    }
    CountSolution(rec.pos.solutionType, f);
    const int32_t n = rec.satsWritten;
    f.maxSats = std::max(f.maxSats, n);
    f.minSats = std::min(f.minSats, n);
    for (int32_t k = 0; k < n; ++k) {
      if (!svs.Read(&sv)) {
        message = "Unexpected end of file";
        return false;
      }
      CountObservables(sv, f);
      lowest.Take(sv);
    }
  }
  return true;
}

std::optional<SummaryRecordFigures> RecordFigures(const ScanResult& ctx,
                                                  const std::string& inputFile,
                                                  LowestElevation& lowest, std::string& message) {
  RecordReader svs(ctx.Files().PathOf(WorkFile::SVRecs), sizeof(SvRec));
  if (!svs.IsOpen()) {
    message = "Error Opening File SVRecs.dat ! ";
    return std::nullopt;
  }
  RecordReader epochs(ctx.Files().PathOf(WorkFile::DataEpochs), sizeof(EpochRec));
  if (!epochs.IsOpen()) {
    message = "Error Opening File DataEpochs.dat ! ";
    return std::nullopt;
  }
  SummaryRecordFigures f;
  if (!CountRecords(ctx, epochs, svs, f, lowest, message)) return std::nullopt;
  f.maxSatsText = " Maximum  " + std::to_string(f.maxSats);
  f.minSatsText = " Minimum  " + std::to_string(f.minSats);
  f.file = inputFile;
  return f;
}

}  // namespace

Summary BuildSummary(const ScanResult& ctx, const EpochAnalysis& analysis,
                     const std::string& inputFile, const EphemerisCounts& ephemerides) {
  Summary s;
  if (!analysis.HasLines()) {
    s.errorFlag = {"Yes", SummaryColour::Red, std::nullopt};
    s.message = "There was no epochs with measurements!";
    return s;
  }
  s.errorFlag = ErrorFlag(ctx.Errors());
  s.epochs = EpochFigures(ctx, analysis, ephemerides);
  LowestElevation lowest;
  s.records = RecordFigures(ctx, inputFile, lowest, s.message);
  // From the records read, also when a file ended early.
  FillElevations(ctx, lowest, *s.epochs);
  return s;
}

}  // namespace vnx
