#include "engine/views/summary.h"

#include <algorithm>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/scan_context.h"

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
  for (int n : list.numbers) list.text += " " + std::to_string(n);
  if (list.text.empty()) list.text = " No";
  return list;
}

// Flags indexed by satellite number; index 0 is unused.
template <size_t N>
SatelliteList SeenList(const std::array<bool, N>& seen) {
  std::vector<int> numbers;
  for (size_t i = 1; i < N; ++i)
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

void FillElevations(const ScanContext& ctx, SummaryEpochFigures& f) {
  f.elevationMaskEnabled = ctx.elevSeen;
  f.elevationMask = LowestElevationSeen(ctx);
  f.elevationMaskText = " Elevation Mask =  " + std::to_string(f.elevationMask);
  f.azimuthsPresent = ctx.azimSeen;
  f.azimuths = ctx.azimSeen ? " Azimuths  Present" : " Azimuths not Present";
}

SummaryEpochFigures EpochFigures(const ScanContext& ctx, const EpochAnalysis& analysis,
                                 const EphemerisCounts& eph) {
  SummaryEpochFigures f;
  f.start = "Start   " + analysis.FirstLine();
  f.finish = "Finish " + analysis.LastLine();
  f.epochs = "Epochs" + std::string(11, ' ') + std::to_string(ctx.epochCount);
  f.interval = "Interval  " + std::string(8, ' ') + std::to_string(ctx.epoch.EpochInterval) + " ms";
  f.gaps = "Gaps  " + std::string(13, ' ') + std::to_string(analysis.gapCount);
  f.xa = " XA   " + std::to_string(ctx.xaCount);
  f.xb = " XB   " + std::to_string(ctx.xbCount);
  FillElevations(ctx, f);
  f.gps = SeenList(ctx.gpsSeen);
  f.geo = SeenList(ctx.sbasSeen);
  f.glo = SeenList(ctx.gloSeen);
  f.gal = SeenList(ctx.galSeen);
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
bool CountRecords(const ScanContext& ctx, RecordReader& epochs, RecordReader& svs,
                  SummaryRecordFigures& f, std::string& message) {
  EpochRec rec;
  SvRec sv;
  for (int32_t i = 1; i <= ctx.epochCount; ++i) {
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
    }
  }
  return true;
}

std::optional<SummaryRecordFigures> RecordFigures(const ScanContext& ctx,
                                                  const std::string& inputFile,
                                                  std::string& message) {
  RecordReader svs(ctx.files.PathOf(WorkFile::SVRecs), sizeof(SvRec));
  if (!svs.IsOpen()) {
    message = "Error Opening File SVRecs.dat ! ";
    return std::nullopt;
  }
  RecordReader epochs(ctx.files.PathOf(WorkFile::DataEpochs), sizeof(EpochRec));
  if (!epochs.IsOpen()) {
    message = "Error Opening File DataEpochs.dat ! ";
    return std::nullopt;
  }
  SummaryRecordFigures f;
  if (!CountRecords(ctx, epochs, svs, f, message)) return std::nullopt;
  f.maxSatsText = " Maximum  " + std::to_string(f.maxSats);
  f.minSatsText = " Minimum  " + std::to_string(f.minSats);
  f.file = inputFile;
  return f;
}

}  // namespace

Summary BuildSummary(const ScanContext& ctx, const EpochAnalysis& analysis,
                     const std::string& inputFile, const EphemerisCounts& ephemerides) {
  Summary s;
  if (!analysis.HasLines()) {
    s.errorFlag = {"Yes", SummaryColour::Red, std::nullopt};
    s.message = "There was no epochs with measurements!";
    return s;
  }
  s.errorFlag = ErrorFlag(ctx.errors);
  s.epochs = EpochFigures(ctx, analysis, ephemerides);
  s.records = RecordFigures(ctx, inputFile, s.message);
  return s;
}

}  // namespace vnx
