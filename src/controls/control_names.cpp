#include "controls/control_names.h"

#include <array>
#include <string>
#include <vector>

namespace vnx {

namespace {

// By Observable.
constexpr std::array<const char*, kObservableCount> kObservableControls{
    "STC1",    "STP1", "STP2", "STC2",    "STC5", "STL1_CA", "STL1", "STL2", "STL2_CA", "STL5",
    "STD1_CA", "STD1", "STD2", "STD2_CA", "STD5", "STS1_CA", "STS1", "STS2", "STS2_CA", "STS5",
};

// By row of kSolutionRows.
constexpr std::array<const char*, kSolutionCount> kSolutionControls{"STSA", "STCD", "STFloat",
                                                                    "STFixed"};

void AddEpochTexts(const SummaryEpochFigures& f, std::vector<ControlText>& out) {
  out.push_back({"Epochs", "STSumStartEp", "", f.start});
  out.push_back({"Epochs", "STSumFinish", "", f.finish});
  out.push_back({"Epochs", "STSumNumEp", "", f.epochs});
  out.push_back({"Epochs", "STSumInterval", "", f.interval});
  out.push_back({"Epochs", "STSumGap", "", f.gaps});
}

void AddSatelliteTexts(const Summary& s, std::vector<ControlText>& out) {
  if (s.records) {
    out.push_back({"Satellites", "STSumMaxSat", "", s.records->maxSatsText});
    out.push_back({"Satellites", "STSumMinSat", "", s.records->minSatsText});
  }
  const SummaryEpochFigures& f = *s.epochs;
  out.push_back({"Satellites", "STSumElMask", "", f.elevationMaskText});
  out.push_back({"Satellites", "STSumAzim", "", f.azimuths});
  out.push_back({"Satellites", "ESumGPS", "GPS", f.gps.text});
  out.push_back({"Satellites", "ESumGLO", "GLO", f.glo.text});
  out.push_back({"Satellites", "ESumGEO", "GEO", f.geo.text});
  out.push_back({"Satellites", "ESumGAL", "GAL", f.gal.text});
  out.push_back({"Ephemeris", "EGPSEph", "GPS", f.gpsEph.text});
  out.push_back({"Ephemeris", "EGLOEph", "GLO", f.gloEph.text});
  out.push_back({"Ephemeris", "EGEOEph", "GEO", f.geoEph.text});
  out.push_back({"Ephemeris", "EGALEph", "GAL", f.galEph.text});
}

void AddRecordTexts(const SummaryRecordFigures& f, std::vector<ControlText>& out) {
  for (int k = 0; k < kSolutionCount; ++k)
    out.push_back({"Solutions", SolutionControl(k), kSolutionRows[k].caption, f.SolutionText(k)});
}

void AddMeasurementTexts(const SummaryRecordFigures& f, std::vector<ControlText>& out) {
  for (int k = 0; k < kObservableCount; ++k)
    out.push_back({"Measurements", ObservableControl(static_cast<Observable>(k)),
                   kObservables[static_cast<size_t>(k)].caption, f.ObservableText(k)});
}

}  // namespace

const char* SolutionControl(int k) {
  return kSolutionControls[static_cast<size_t>(k)];
}

const char* ObservableControl(Observable o) {
  return kObservableControls[static_cast<size_t>(o)];
}

std::vector<ControlText> SummaryControlTexts(const Summary& s) {
  std::vector<ControlText> out;
  if (s.epochs) {
    AddEpochTexts(*s.epochs, out);
    AddSatelliteTexts(s, out);
  }
  if (s.records) AddRecordTexts(*s.records, out);
  if (s.epochs) {
    out.push_back({"Events", "STSumXA", "", s.epochs->xa});
    out.push_back({"Events", "STSumXB", "", s.epochs->xb});
  }
  if (s.records) AddMeasurementTexts(*s.records, out);
  out.push_back({"Errors", "STSumErr", "", s.errorFlag.text});
  return out;
}

}  // namespace vnx
