#include "engine/views/attitude_series.h"

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

namespace {

constexpr uint8_t kFixedSolution = 4;

void AddTimeAndFlag(AttitudeCharts& c, int32_t i, uint32_t timeMs, uint8_t flag) {
  c.timeOfDay.Add(i, timeMs / 1000.0);
  if (flag == 1)
    c.valid.Add(i, 1);
  else
    c.notValid.Add(i, 0);
}

void AddAttitude(AttitudeCharts& c, int32_t i, const ArBlock& ar) {
  AddTimeAndFlag(c, i, ar.time, ar.flag);
  c.angles[0].Add(i, ar.pitch);
  c.angles[1].Add(i, ar.roll);
  c.angles[2].Add(i, ar.heading);
}

// One "mr" or "MR" block; `baselines` only for "mr", whose block carries them.
void AddBaselineMessage(AttitudeCharts& c, int32_t i, const Mr37Block& m,
                        const float (*baselines)[3], const AttitudeChoice& choice) {
  const size_t k = static_cast<size_t>(choice.baseline);
  AddTimeAndFlag(c, i, m.time, m.flag);
  if (m.solType[k] == kFixedSolution)
    c.fixed.Add(i, 1);
  else
    c.floating.Add(i, 0);
  switch (choice.chart) {
    case BaselineChart::kBaselines:
      if (baselines)
        for (size_t j = 0; j < 3; ++j) c.baselines[j].Add(i, baselines[k][j]);
      break;
    case BaselineChart::kQMatrix:
      c.q[0].Add(i, m.q00);
      c.q[1].Add(i, m.q01);
      c.q[2].Add(i, m.q02);
      c.q[3].Add(i, m.q12);
      break;
    case BaselineChart::kRms:
      for (size_t j = 0; j < 3; ++j) c.rms[j].Add(i, m.rms[j]);
      break;
  }
}

void AddEpoch(AttitudeCharts& c, int32_t i, const EpochRec& rec, const AttitudeChoice& choice) {
  switch (choice.message) {
    case AttitudeMessage::kAR:
      if (rec.flags[kFlagAR]) AddAttitude(c, i, rec.ar);
      break;
    case AttitudeMessage::kMr73:
      if (rec.flags[kFlagMR73]) AddBaselineMessage(c, i, rec.mr73.head, rec.mr73.baseline, choice);
      break;
    case AttitudeMessage::kMr37:
      if (rec.flags[kFlagMR37]) AddBaselineMessage(c, i, rec.mr37, nullptr, choice);
      break;
  }
}

bool MessageSeen(AttitudeSeen seen, AttitudeMessage m) {
  switch (m) {
    case AttitudeMessage::kAR:
      return seen.ar;
    case AttitudeMessage::kMr73:
      return seen.mr73;
    case AttitudeMessage::kMr37:
      return seen.mr37;
  }
  return false;
}

}  // namespace

AttitudeCharts DrawAttitudeCharts(const std::string& dataEpochsPath, int32_t epochCount,
                                  AttitudeSeen seen, const AttitudeChoice& requested) {
  AttitudeCharts c;
  if (epochCount <= 0) return c;
  RecordReader epochs(dataEpochsPath, sizeof(EpochRec));
  if (!epochs.IsOpen()) {
    c.message = "Error Opening File DataEpochs.dat ! ";
    return c;
  }
  if (!MessageSeen(seen, requested.message)) return c;
  AttitudeChoice choice = requested;
  if (choice.baseline < 0 || choice.baseline > 2) choice.baseline = 0;
  EpochRec rec;
  for (int32_t i = 1; i <= epochCount; ++i) {
    if (!epochs.Read(&rec)) {
      c.message = "Unexpected end of file";
      break;
    }
    AddEpoch(c, i, rec, choice);
  }
  return c;
}

AttitudeCharts DrawAttitudeCharts(const ScanResult& ctx, const AttitudeChoice& choice) {
  return DrawAttitudeCharts(ctx.Files().PathOf(WorkFile::DataEpochs), ctx.EpochCount(),
                            {ctx.ArSeen(), ctx.Mr73Seen(), ctx.Mr37Seen()}, choice);
}

}  // namespace vnx
