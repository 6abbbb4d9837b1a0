#include "reports/check_report.h"

#include "controls/control_names.h"
#include "engine/views/ephemeris_counts.h"
#include "engine/views/error_list.h"

namespace vnx {

namespace {

using nlohmann::json;

std::vector<std::string> SummaryLines(const Summary& s) {
  std::vector<std::string> out;
  std::string group;
  for (const ControlText& t : SummaryControlTexts(s)) {
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
  for (const ControlText& t : SummaryControlTexts(s)) texts[t.control] = t.text;
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

namespace {

CheckReport ReportOf(const Session& session, const std::string& file, bool mapped,
                     std::vector<std::string> messages) {
  const ScanResult ctx = session.Result();
  CheckReport r;
  r.file = file;
  r.mapped = mapped;
  r.processed = mapped && session.ResultCode() == 1;
  r.errors = ctx.Errors();
  r.messages = std::move(messages);
  r.writeFailure = session.WriteFailure();
  if (!mapped) return r;
  r.epochs = ctx.EpochCount();
  r.intervalMs = ctx.EpochInterval();
  r.xaCount = ctx.XaCount();
  r.xbCount = ctx.XbCount();
  r.analysis = RunEpochAnalysis(ctx);
  if (!r.analysis.ok) r.messages.push_back(r.analysis.message);
  r.summary = BuildSummary(ctx, r.analysis, file, EphemerisCountsOf(ctx.Ephemerides()));
  if (!r.summary.message.empty()) r.messages.push_back(r.summary.message);
  return r;
}

}  // namespace

CheckReport BuildCheckReport(Session& session, const std::string& file, bool mapped,
                             std::vector<std::string> messages) {
  CheckReport r = ReportOf(session, file, mapped, std::move(messages));
  if (r.summary.epochs) session.SetElevationMask(r.summary.epochs->elevationMask);
  return r;
}

CheckReport CheckReportOfScan(const Session& session, const std::string& file) {
  std::vector<std::string> messages;
  if (!session.WriteFailure().empty()) messages.push_back(session.WriteFailure());
  if (session.ResultCode() == 0) messages.push_back("Processed   false");
  return ReportOf(session, file, true, std::move(messages));
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

std::string JsonText(const nlohmann::json& j, int indent) {
  return j.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace vnx
