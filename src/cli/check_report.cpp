#include "cli/check_report.h"

#include "controls/control_names.h"
#include "engine/views/ephemeris_counts.h"
#include "engine/views/error_list.h"

namespace vnx {

namespace {

using nlohmann::json;

// One text of the Summary panel: its group, its control, the caption beside it (empty when
// the text carries its own label) and the text.
struct PanelText {
  const char* group;
  const char* control;
  std::string caption;
  std::string text;
};

void AddEpochTexts(const SummaryEpochFigures& f, std::vector<PanelText>& out) {
  out.push_back({"Epochs", "STSumStartEp", "", f.start});
  out.push_back({"Epochs", "STSumFinish", "", f.finish});
  out.push_back({"Epochs", "STSumNumEp", "", f.epochs});
  out.push_back({"Epochs", "STSumInterval", "", f.interval});
  out.push_back({"Epochs", "STSumGap", "", f.gaps});
}

void AddSatelliteTexts(const Summary& s, std::vector<PanelText>& out) {
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

void AddRecordTexts(const SummaryRecordFigures& f, std::vector<PanelText>& out) {
  for (int k = 0; k < kSolutionCount; ++k)
    out.push_back(
        {"Solutions", kSolutionRows[k].control, kSolutionRows[k].caption, f.SolutionText(k)});
}

void AddMeasurementTexts(const SummaryRecordFigures& f, std::vector<PanelText>& out) {
  for (int k = 0; k < kObservableCount; ++k)
    out.push_back({"Measurements", ObservableControl(static_cast<Observable>(k)),
                   kObservables[static_cast<size_t>(k)].caption, f.ObservableText(k)});
}

// The panel's texts in its order, leaving out what the summary did not compute.
std::vector<PanelText> PanelTexts(const Summary& s) {
  std::vector<PanelText> out;
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

std::vector<std::string> SummaryLines(const Summary& s) {
  std::vector<std::string> out;
  std::string group;
  for (const PanelText& t : PanelTexts(s)) {
    if (group != t.group) {
      group = t.group;
      out.push_back("[" + group + "]");
    }
    if (t.caption.empty()) {
      out.push_back(t.text);
    } else {
      out.push_back(t.caption + ":" + (t.text.starts_with(' ') ? "" : " ") + t.text);
    }
  }
  return out;
}

template <class T>
json OrNull(bool known, const T& value) {
  return known ? json(value) : json(nullptr);
}

json SatellitesJson(const SatelliteList& gps, const SatelliteList& glo, const SatelliteList& geo,
                    const SatelliteList& gal) {
  return {{"gps", gps.numbers},
          {"glonass", glo.numbers},
          {"sbas", geo.numbers},
          {"galileo", gal.numbers}};
}

void AddEpochJson(const Summary& s, json& j) {
  const SummaryEpochFigures* f = s.epochs ? &*s.epochs : nullptr;
  j["elevation_mask"] = f ? json(f->elevationMask) : json(nullptr);
  j["elevation_mask_enabled"] = f ? json(f->elevationMaskEnabled) : json(nullptr);
  j["azimuths"] = f ? json(f->azimuthsPresent) : json(nullptr);
  j["satellites"] = f ? SatellitesJson(f->gps, f->glo, f->geo, f->gal) : json(nullptr);
  j["ephemerides"] = f ? SatellitesJson(f->gpsEph, f->gloEph, f->geoEph, f->galEph) : json(nullptr);
}

void AddRecordJson(const Summary& s, json& j) {
  const SummaryRecordFigures* f = s.records ? &*s.records : nullptr;
  j["max_sats"] = f ? json(f->maxSats) : json(nullptr);
  j["min_sats"] = f ? json(f->minSats) : json(nullptr);
  j["solutions"] = json(nullptr);
  j["observables"] = json(nullptr);
  if (!f) return;
  const char* keys[kSolutionCount] = {"stand_alone", "code_diff", "phase_float", "phase_fixed"};
  for (int k = 0; k < kSolutionCount; ++k) j["solutions"][keys[k]] = f->solutions[k];
  for (int k = 0; k < kObservableCount; ++k)
    j["observables"][kObservables[static_cast<size_t>(k)].caption] = f->observables[k];
}

json ErrorsFlagJson(const SummaryErrorFlag& flag) {
  const bool known = flag.showErrorsEnabled.has_value();
  return {{"text", flag.text},
          {"colour", flag.colour == SummaryColour::Red ? "red" : "yellow"},
          {"show_errors_enabled", OrNull(known, flag.showErrorsEnabled.value_or(false))}};
}

json TextsJson(const Summary& s) {
  json texts = json::object();
  for (const PanelText& t : PanelTexts(s)) texts[t.control] = t.text;
  if (s.records) texts["ESumFile"] = s.records->file;
  return texts;
}

// What the analysis and the summary computed; null where they did not run or stopped earlier.
void AddSummaryJson(const CheckReport& r, json& j) {
  const Summary& s = r.summary;
  const bool ran = r.mapped;
  const bool lines = r.analysis.HasLines();
  j["analysis_ok"] = OrNull(ran, r.analysis.ok);
  j["gaps"] = OrNull(ran, r.analysis.gapCount);
  j["summary_message"] = s.message;
  j["errors_flag"] = ran ? ErrorsFlagJson(s.errorFlag) : json(nullptr);
  j["start_epoch"] = lines ? json(r.analysis.FirstLine()) : json(nullptr);
  j["finish_epoch"] = lines ? json(r.analysis.LastLine()) : json(nullptr);
  AddEpochJson(s, j);
  AddRecordJson(s, j);
  j["texts"] = ran ? TextsJson(s) : json::object();
}

}  // namespace

// The error list as records, beside its texts: kind, byte range, time, message, lines.
json ErrorEntriesJson(const std::vector<ScanError>& errors) {
  json out = json::array();
  for (const ScanError& e : errors) {
    json j;
    j["kind"] = ErrorKindName(e.kind);
    if (e.kind == ScanErrorKind::Message || e.kind == ScanErrorKind::UnframedBytes) {
      j["first_byte"] = e.first;
      j["last_byte"] = e.last;
      j["time"] = e.time;
    }
    if (e.kind == ScanErrorKind::Message) j["message"] = e.message;
    j["lines"] = e.lines;
    out.push_back(std::move(j));
  }
  return out;
}

CheckReport BuildCheckReport(Session& session, const std::string& file, bool mapped,
                             std::vector<std::string> messages) {
  const ScanContext& ctx = session.Context();
  CheckReport r;
  r.file = file;
  r.mapped = mapped;
  r.processed = mapped && session.ScanResult() == 1;
  r.errors = ctx.errors;
  r.messages = std::move(messages);
  r.writeFailure = session.WriteFailure();
  if (!mapped) return r;
  r.epochs = ctx.epochCount;
  r.intervalMs = ctx.epoch.EpochInterval;
  r.xaCount = ctx.xaCount;
  r.xbCount = ctx.xbCount;
  r.analysis = RunEpochAnalysis(ctx);
  if (!r.analysis.ok) r.messages.push_back(r.analysis.message);
  r.summary = BuildSummary(ctx, r.analysis, file, EphemerisCountsOf(ctx.ephemerides));
  if (r.summary.epochs) session.StartElevationMask();
  if (!r.summary.message.empty()) r.messages.push_back(r.summary.message);
  return r;
}

std::vector<std::string> ReportLines(const CheckReport& r, bool withEpochs) {
  std::vector<std::string> out = ErrorListLines(r.errors);
  out.push_back("");
  out.push_back("File: " + r.file);
  if (!r.mapped) {
    out.push_back("Not scanned: the file could not be mapped");
    return out;
  }
  if (!r.processed) out.push_back("Not processed: very short file");
  if (!r.writeFailure.empty()) out.push_back("Scan stopped: " + r.writeFailure);
  for (auto& line : SummaryLines(r.summary)) out.push_back(std::move(line));
  if (withEpochs) {
    out.push_back("");
    out.push_back("     Epoch Date/Time            #Epoch");
    out.insert(out.end(), r.analysis.lines.begin(), r.analysis.lines.end());
  }
  return out;
}

nlohmann::json ReportJson(const CheckReport& r, bool withEpochs) {
  json j;
  j["file"] = r.file;
  j["mapped"] = r.mapped;
  j["processed"] = r.processed;
  std::vector<std::string> texts = ErrorListLines(r.errors);
  texts.erase(texts.begin());  // the heading
  j["errors"] = texts;
  j["error_entries"] = ErrorEntriesJson(r.errors);
  j["messages"] = r.messages;
  j["write_failure"] = r.writeFailure;
  j["epochs"] = r.epochs;
  j["interval_ms"] = r.intervalMs;
  j["xa"] = r.xaCount;
  j["xb"] = r.xbCount;
  AddSummaryJson(r, j);
  if (withEpochs) j["epochs_list"] = r.analysis.lines;
  j["exit_status"] = ReportExitStatus(r);
  return j;
}

int ReportExitStatus(const CheckReport& r) {
  if (!r.mapped || !r.processed || !r.writeFailure.empty()) return 2;
  return r.errors.empty() ? 0 : 1;
}

}  // namespace vnx
