#include "engine/views/measurements_series.h"

#include "engine/epoch/record_reader.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

namespace {

constexpr int kGaugeStep = 2000;

using O = Observable;
// In the order of the radio groups.
constexpr std::array<ObservableItem, kObservableItemCount> kObservableItems{{
    {O::C1, kRange},      {O::C2, kRange},    {O::C5, kRange},      {O::P1, kRange},
    {O::P2, kRange},      {O::L1_CA, kPhase}, {O::L1, kPhase},      {O::L2_CA, kPhase},
    {O::L2, kPhase},      {O::L5, kPhase},    {O::D1_CA, kDoppler}, {O::D1, kDoppler},
    {O::D2_CA, kDoppler}, {O::D2, kDoppler},  {O::D5, kDoppler},    {O::S1_CA, kSnr},
    {O::S1, kSnr},        {O::S2_CA, kSnr},   {O::S2, kSnr},        {O::S5, kSnr},
}};

// The smoothing correction of a code, shown in metres as the code is.
constexpr std::array<ObservableItem, kSmoothingItemCount> kSmoothingItems{{
    {O::C1, kSmoothing},
    {O::C2, kSmoothing},
    {O::C5, kSmoothing},
    {O::P1, kSmoothing},
    {O::P2, kSmoothing},
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
  if (row) chart.title = row->Title();
  auto visit = [&](int32_t epoch, const SvRec& sv) {
    if (!row) return;
    const SignalBlock& b = sv.sig[row->Signal()];
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

ChartSource ChartSourceOf(const ScanResult& ctx) {
  return {ctx.Files().PathOf(WorkFile::DataEpochs), ctx.Files().PathOf(WorkFile::SVRecs),
          ctx.EpochCount()};
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
