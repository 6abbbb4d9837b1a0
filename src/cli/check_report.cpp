#include "cli/check_report.h"

#include "engine/epoch/record_reader.h"
#include "engine/epoch/records.h"
#include "engine/views/epoch_text.h"

namespace vnx {

namespace {

template <size_t N>
std::vector<int> SeenList(const std::array<bool, N>& seen) {
  std::vector<int> out;
  for (size_t i = 1; i < N; ++i)
    if (seen[i]) out.push_back(static_cast<int>(i));
  return out;
}

std::string SeenText(const std::vector<int>& list) {
  if (list.empty()) return " No";
  std::string s;
  for (int v : list) s += " " + std::to_string(v);
  return s;
}

// First and last epoch time, read back from the epoch file.
void ReadEpochSpan(const ScanContext& ctx, CheckReport& r) {
  if (ctx.epochCount <= 0) return;
  RecordReader reader(ctx.files.PathOf(WorkFile::DataEpochs), sizeof(EpochRec));
  EpochRec rec;
  for (int32_t i = 1; i <= ctx.epochCount; ++i) {
    if (!reader.Read(&rec)) return;
    if (i == 1) r.firstEpoch = EpochTimeText(rec.time);
    if (i == ctx.epochCount) r.lastEpoch = EpochTimeText(rec.time);
  }
}

}  // namespace

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
  r.gps = SeenList(ctx.gpsSeen);
  r.glonass = SeenList(ctx.gloSeen);
  r.sbas = SeenList(ctx.sbasSeen);
  r.galileo = SeenList(ctx.galSeen);
  ReadEpochSpan(ctx, r);
  return r;
}

std::vector<std::string> ReportLines(const CheckReport& r) {
  std::vector<std::string> out = r.errors;
  out.push_back("");
  out.push_back("File: " + r.file);
  if (!r.mapped) {
    out.push_back("Not scanned: the file could not be mapped");
    return out;
  }
  if (!r.processed) out.push_back("Not processed: very short file");
  if (!r.writeFailure.empty()) out.push_back("Scan stopped: " + r.writeFailure);
  out.push_back("Epochs: " + std::to_string(r.epochs));
  out.push_back("First epoch: " + r.firstEpoch);
  out.push_back("Last epoch: " + r.lastEpoch);
  out.push_back("Interval: " + std::to_string(r.intervalMs) + " ms");
  out.push_back("GPS:" + SeenText(r.gps));
  out.push_back("GLO:" + SeenText(r.glonass));
  out.push_back("GEO:" + SeenText(r.sbas));
  out.push_back("GAL:" + SeenText(r.galileo));
  return out;
}

nlohmann::json ReportJson(const CheckReport& r) {
  nlohmann::json j;
  j["file"] = r.file;
  j["mapped"] = r.mapped;
  j["processed"] = r.processed;
  j["errors"] =
      std::vector<std::string>(r.errors.begin() + (r.errors.empty() ? 0 : 1), r.errors.end());
  j["messages"] = r.messages;
  j["write_failure"] = r.writeFailure;
  j["epochs"] = r.epochs;
  j["interval_ms"] = r.intervalMs;
  j["first_epoch"] = r.firstEpoch;
  j["last_epoch"] = r.lastEpoch;
  j["satellites"] = {
      {"gps", r.gps}, {"glonass", r.glonass}, {"sbas", r.sbas}, {"galileo", r.galileo}};
  j["exit_status"] = ReportExitStatus(r);
  return j;
}

int ReportExitStatus(const CheckReport& r) {
  if (!r.mapped || !r.processed || !r.writeFailure.empty()) return 2;
  return r.errors.size() > 1 ? 1 : 0;
}

}  // namespace vnx
