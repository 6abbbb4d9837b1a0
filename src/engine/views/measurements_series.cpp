#include "engine/views/measurements_series.h"

#include "engine/epoch/record_reader.h"
#include "engine/epoch/scan_context.h"

namespace vnx {

namespace {

constexpr int kGaugeStep = 2000;

constexpr std::array<ObservableItem, kObservableItemCount> kObservableItems{{
    {"C1", 0, kRange, "C1 [m]"},          {"C2", 3, kRange, "C2 [m]"},
    {"C5", 4, kRange, "C5 [m]"},          {"P1", 1, kRange, "P1 [m]"},
    {"P2", 2, kRange, "P2 [m]"},          {"CA/L1", 0, kPhase, "CA/L1 [cycles]"},
    {"L1", 1, kPhase, "L1 [cycles]"},     {"CA/L2", 3, kPhase, "CA/L2 [cycles]"},
    {"L2", 2, kPhase, "L2 [cycles]"},     {"L5", 4, kPhase, "L5 [cycles]"},
    {"CA/D1", 0, kDoppler, "CA/D1 [Hz]"}, {"D1", 1, kDoppler, "D1 [Hz]"},
    {"CA/D2", 3, kDoppler, "CA/D2 [Hz]"}, {"D2", 2, kDoppler, "D2 [Hz]"},
    {"D5", 4, kDoppler, "D5 [Hz]"},       {"CA/S1", 0, kSnr, "CA/S1 [dB*Hz]"},
    {"S1", 1, kSnr, "S1 [dB*Hz]"},        {"CA/S2", 3, kSnr, "CA/S2 [dB*Hz]"},
    {"S2", 2, kSnr, "S2 [dB*Hz]"},        {"S5", 4, kSnr, "S5 [dB*Hz]"},
}};

constexpr std::array<ObservableItem, kSmoothingItemCount> kSmoothingItems{{
    {"C1", 0, kSmoothing, "C1 [m]"},
    {"C2", 3, kSmoothing, "C2 [m]"},
    {"C5", 4, kSmoothing, "C5 [m]"},
    {"P1", 1, kSmoothing, "P1 [m]"},
    {"P2", 2, kSmoothing, "P2 [m]"},
}};

double ValueOf(const SignalBlock& b, ObsKind kind) {
  switch (kind) {
    case kRange:
      return b.range;
    case kSmoothing:
      return b.smoothing;
    case kPhase:
      return b.phase;
    case kDoppler:
      return b.doppler;
    case kSnr:
      return b.snr;
  }
  return 0;
}

template <size_t N>
MeasurementChart DrawItemChart(const std::array<ObservableItem, N>& items, const ChartSource& src,
                               SelectedSatellite sat, int item, const ProgressCallback& gauge) {
  MeasurementChart chart;
  const ObservableItem* row =
      item >= 0 && item < static_cast<int>(N) ? &items[static_cast<size_t>(item)] : nullptr;
  if (row) chart.title = row->title;
  auto visit = [&](int32_t epoch, const SvRec& sv) {
    if (!row) return;
    const SignalBlock& b = sv.sig[row->signal];
    if (b.present[row->kind]) chart.values.Add(epoch, ValueOf(b, row->kind));
  };
  // Every satellite record read leaves the right axis without a title.
  if (RunSatellitePass(src, sat, gauge, visit, chart)) chart.rightTitle = "";
  if (!chart.drawn) chart.title.clear();
  return chart;
}

bool Fail(MeasurementChart& chart, const char* message) {
  chart.message = message;
  return false;
}

// Reads epochs 1..EpochCount and their satellite records. False (with the message) when a file
// ends early.
bool ReadEpochs(RecordReader& epochs, RecordReader& svs, int32_t epochCount, SelectedSatellite sat,
                const ProgressCallback& gauge, const SatelliteVisitor& visit,
                MeasurementChart& chart, bool& anyRecord) {
  EpochRec rec;
  SvRec sv;
  for (int32_t i = 1; i <= epochCount; ++i) {
    if (!epochs.Read(&rec)) return Fail(chart, "Unexpected end of file Epochs");
    if (i % kGaugeStep == 0 && gauge)
      gauge(static_cast<int>(static_cast<double>(i) / epochCount * 100));
    for (int32_t k = 0; k < rec.satsWritten; ++k) {
      if (!svs.Read(&sv)) return Fail(chart, "Unexpected end of file SVs");
      anyRecord = true;
      if (sat.Matches(sv)) visit(i, sv);
    }
  }
  return true;
}

}  // namespace

ChartSource ChartSourceOf(const ScanContext& ctx) {
  return {ctx.files.PathOf(WorkFile::DataEpochs), ctx.files.PathOf(WorkFile::SVRecs),
          ctx.epochCount};
}

const std::array<ObservableItem, kObservableItemCount>& ObservableItems() {
  return kObservableItems;
}
const std::array<ObservableItem, kSmoothingItemCount>& SmoothingItems() {
  return kSmoothingItems;
}

MeasurementChart DrawObservableChart(const ChartSource& src, SelectedSatellite sat, int item,
                                     const ProgressCallback& gauge) {
  return DrawItemChart(kObservableItems, src, sat, item, gauge);
}

MeasurementChart DrawSmoothingChart(const ChartSource& src, SelectedSatellite sat, int item,
                                    const ProgressCallback& gauge) {
  return DrawItemChart(kSmoothingItems, src, sat, item, gauge);
}

bool RunSatellitePass(const ChartSource& src, SelectedSatellite sat, const ProgressCallback& gauge,
                      const SatelliteVisitor& visit, MeasurementChart& chart) {
  if (src.epochCount <= 0) return false;
  RecordReader svs(src.svRecsPath, sizeof(SvRec));
  if (!svs.IsOpen()) return Fail(chart, "Error Opening File SVRecs.dat ! ");
  RecordReader epochs(src.dataEpochsPath, sizeof(EpochRec));
  if (!epochs.IsOpen()) return Fail(chart, "Error Opening File DataEpochs.dat ! ");
  if (epochs.AtEnd()) return Fail(chart, "Unexpected end of file Epochs");
  chart.drawn = true;
  bool anyRecord = false;
  chart.complete = ReadEpochs(epochs, svs, src.epochCount, sat, gauge, visit, chart, anyRecord);
  return anyRecord;
}

}  // namespace vnx
