#include "controls/control_names.h"

#include <array>
#include <iterator>
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

// The Ephemeris pages' labels, in the order of the engine's page texts.
constexpr const char* kKeplerControls[] = {
    "STTimeWeek", "STDate",    "STTime",   "STCurvFitInt", "STDatFlagL2P", "STCodeL2P", "STASFlag",
    "STAlert",    "STFromMem", "STIODC",   "STRefTime",    "STURA",        "SThealth",  "STwn",
    "STGdelay",   "STaf2",     "STaf1",    "STaf0",        "STtoe",        "STIODE",    "STrootA",
    "STecc",      "STm0",      "STomega0", "STinc0",       "STPer",        "STdeln",    "STomDot",
    "STiDot",     "STcrc",     "STcrs",    "STcuc",        "STcus",        "STcic",     "STcis",
};
constexpr const char* kGalileoExtraControls[] = {
    "STBCDa", "STBCDb", "STai0", "STai1", "STai2", "STSFI",
};
constexpr const char* kGlonassControls[] = {
    "STEphem", "STtk",     "STfrqNum",  "STdne",     "STHeal0", "STHeal1", "STHeal2",  "STHeal3",
    "STHeal4", "STtb",     "STDateGLO", "STTimeGLO", "STw1",    "STw2",    "STw3",     "STv1",
    "STv2",    "STv3",     "STr1",      "STr2",      "STr3",    "STage",   "STFlag01", "STFlag2",
    "STFlag3", "STFlag45", "STFlag6",   "STtauSys",  "STtau",   "STgamma",
};
constexpr const char* kSbasControls[] = {
    "STEphem", "STtodGEO", "STuraGEO", "STiodGEO", "STDateGEO", "STTimeGEO", "STaGf0",
    "STaGf1",  "STwnGEO",  "STtowGEO", "STw1GEO",  "STw2GEO",   "STw3GEO",   "STv1GEO",
    "STv2GEO", "STv3GEO",  "STr1GEO",  "STr2GEO",  "STr3GEO",
};

std::vector<std::string> EphemerisControls(SatSystem s) {
  std::vector<std::string> names{"STEphem"};
  switch (s) {
    case SatSystem::Gps:
      names.insert(names.end(), std::begin(kKeplerControls), std::end(kKeplerControls));
      return names;
    case SatSystem::Galileo:
      // The Galileo page repeats the GPS labels with an "E" appended.
      for (const char* n : kKeplerControls) names.push_back(std::string(n) + "E");
      names.insert(names.end(), std::begin(kGalileoExtraControls), std::end(kGalileoExtraControls));
      return names;
    case SatSystem::Glonass:
      return {std::begin(kGlonassControls), std::end(kGlonassControls)};
    case SatSystem::Sbas:
      return {std::begin(kSbasControls), std::end(kSbasControls)};
    default:
      return {};
  }
}

}  // namespace

const char* EphPageControl(SatSystem s) {
  switch (s) {
    case SatSystem::Gps:
      return "PCEphGPS";
    case SatSystem::Glonass:
      return "PCEphGLO";
    case SatSystem::Sbas:
      return "PCEphGEO";
    case SatSystem::Galileo:
      return "PCEphGAL";
    default:
      break;
  }
  return "PCEphGPS";
}

ControlTexts NameEphemerisTexts(SatSystem s, const std::vector<std::string>& texts) {
  const std::vector<std::string> names = EphemerisControls(s);
  ControlTexts out;
  out.reserve(texts.size());
  for (size_t i = 0; i < texts.size() && i < names.size(); ++i)
    out.emplace_back(names[i], texts[i]);
  return out;
}

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
