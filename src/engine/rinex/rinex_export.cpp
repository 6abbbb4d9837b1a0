#include "engine/rinex/rinex_export.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "engine/rinex/nav_writer.h"
#include "engine/rinex/obs_writer.h"

namespace vnx::rinex {
namespace {

using SinkFactory = std::function<std::unique_ptr<Sink>(const std::string& path)>;

std::string DirOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string StemOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string TwoDigitYear(int year) {
  const int yy = ((year % 100) + 100) % 100;
  return std::string(1, static_cast<char>('0' + yy / 10)) + static_cast<char>('0' + yy % 10);
}

// True when `path` names the log itself (the same file, by any name).
bool IsTheLog(const std::string& path, const std::string& logPath) {
  if (path == logPath) return true;
  struct stat a {
  }, b{};
  return ::stat(path.c_str(), &a) == 0 && ::stat(logPath.c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class Exporter {
 public:
  Exporter(const ExportInput& in, const ExportOptions& o, SinkFactory factory)
      : in_(in), o_(o), factory_(std::move(factory)) {}
  ExportResult Run();

 private:
  // Writes one file through a sink; the body fills the buffer. False on any failure.
  template <class Body>
  bool WriteFile(const std::string& path, const std::string& kind, Body body);

  const ExportInput& in_;
  const ExportOptions& o_;
  SinkFactory factory_;
  ObsSurvey survey_;
  ExportResult r_;
};

int CurrentYear(const ExportOptions& o) {
  std::time_t now = o.created != 0 ? o.created : std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  return tm.tm_year + 1900;
}

template <class Body>
bool Exporter::WriteFile(const std::string& path, const std::string& kind, Body body) {
  if (!in_.logPath.empty() && IsTheLog(path, in_.logPath)) {
    r_.error = "will not overwrite the log " + path;
    return false;
  }
  for (const ExportedFile& f : r_.files) {
    if (f.path == path) {
      r_.error = "two outputs name the same file " + path;
      return false;
    }
  }
  std::unique_ptr<Sink> sink = factory_(path);
  if (!sink) {
    r_.error = "cannot create " + path;
    return false;
  }
  if (!sink->Error().empty()) {
    r_.error = sink->Error();
    return false;
  }
  TextBuffer out(*sink);
  std::string error;
  const bool ok = body(out, error);
  out.Flush();
  if (!ok || r_.stopped || !out.Ok()) {
    r_.error = !error.empty() ? error : sink->Error();
    sink->Abandon();
    return false;
  }
  if (!sink->Finish()) {
    r_.error = sink->Error();
    return false;
  }
  r_.files.push_back({path, kind, out.BytesWritten()});
  return true;
}

ExportResult Exporter::Run() {
  if (in_.records == nullptr) {
    r_.error = "nothing to export: no scan records";
    return r_;
  }
  std::string error;
  if (!SurveyObservations(in_, o_, survey_, error)) {
    r_.error = error;
    return r_;
  }
  r_.satellites = survey_.satellites;
  const int year = survey_.epochs > 0 ? survey_.first.year : CurrentYear(o_);
  const std::vector<PlannedFile> plan = PlanFiles(in_, o_, year);
  if (o_.writeObs && survey_.epochs == 0)
    r_.notes.push_back("no epochs in the log: no observation file written");
  if (o_.writeNav &&
      std::none_of(plan.begin(), plan.end(), [](const PlannedFile& f) { return !f.observation; }))
    r_.notes.push_back("no ephemerides in the log: no navigation file written");
  bool wrote = false;
  for (const PlannedFile& f : plan) {
    bool ok = true;
    if (f.observation) {
      if (survey_.epochs == 0) continue;
      ok = WriteFile(f.path, f.kind, [&](TextBuffer& out, std::string& err) {
        ObsWriteResult w;
        const bool done = WriteObservationFile(in_, o_, survey_, out, w, err);
        r_.stopped = w.stopped;
        r_.epochs = w.epochs;
        r_.events = w.events;
        return done;
      });
    } else {
      ok = WriteFile(f.path, f.kind, [&](TextBuffer& out, std::string& err) {
        int64_t n = 0;
        const bool done = WriteNavigationFile(in_, o_, survey_, f.systems, out, n, err);
        r_.ephemerides += n;
        return done;
      });
    }
    if (!ok) return r_;
    wrote = true;
  }
  r_.ok = wrote;
  if (!wrote && r_.error.empty())
    r_.error = "nothing to export: the log has no epochs and no ephemerides";
  return r_;
}

}  // namespace

ExportInput ExportInputFromScan(const ScanResult& scan, const std::string& logPath) {
  ExportInput in;
  in.records = WorkingFileSource(scan.Files().Dir());
  in.epochCount = scan.EpochCount();
  in.xaCount = scan.XaCount();
  in.xbCount = scan.XbCount();
  for (SatSystem sys : kSatSystems) {
    for (int n : scan.Ephemerides().Satellites(sys))
      in.ephemerisCount[SystemIndex(sys)] += scan.Ephemerides().Count(sys, n);
  }
  in.receiverNumber = scan.HeaderInfo()[kHeaderReceiverId];
  in.receiverType = scan.HeaderInfo()[kHeaderLogType];
  in.receiverVersion = scan.HeaderInfo()[kHeaderMainVersion];
  in.logPath = logPath;
  return in;
}

std::vector<PlannedFile> PlanFiles(const ExportInput& in, const ExportOptions& o, int firstYear) {
  std::vector<PlannedFile> plan;
  const bool v3 = o.version == Version::V304;
  if (o.writeObs && in.epochCount > 0) {
    PlannedFile f;
    f.path = o.obsPath.empty() ? DefaultObsPath(in.logPath, o.version, firstYear) : o.obsPath;
    f.kind = "observation";
    f.observation = true;
    plan.push_back(f);
  }
  if (!o.writeNav) return plan;
  std::array<bool, kSatSystemCount> wanted{};
  for (SatSystem sys : kSatSystems) {
    const int i = SystemIndex(sys);
    wanted[i] = o.systems[i] && in.ephemerisCount[i] > 0;
  }
  if (std::none_of(wanted.begin(), wanted.end(), [](bool w) { return w; })) return plan;
  // 3.04: one mixed file; 2.11: one file per system.
  for (SatSystem sys : kFileOrder) {
    if (!v3 && !wanted[SystemIndex(sys)]) continue;
    PlannedFile f;
    if (o.navPath.empty()) {
      f.path = DefaultNavPath(in.logPath, o.version, firstYear, sys);
    } else {
      f.path = o.navPath;
      if (!v3) f.path.back() = Nav2FileOf(sys).letter;
    }
    f.kind = v3 ? "navigation" : std::string("navigation ") + InfoOf(sys).shortName;
    if (v3) {
      f.systems = wanted;
    } else {
      f.systems[SystemIndex(sys)] = true;
    }
    plan.push_back(f);
    if (v3) break;
  }
  return plan;
}

int FirstEpochYear(const ExportInput& in, std::time_t now) {
  const std::unique_ptr<RecordStream> epochs =
      in.records != nullptr ? in.records->Open(WorkFile::DataEpochs) : nullptr;
  EpochRec rec;
  for (int64_t i = 0; epochs != nullptr && i < in.epochCount && epochs->Next(rec); ++i) {
    Instant t;
    if (InstantFromTimeRec(rec.time, t)) return t.year;
  }
  std::tm tm{};
  gmtime_r(&now, &tm);
  return tm.tm_year + 1900;
}

std::string DefaultObsPath(const std::string& logPath, Version v, int firstYear) {
  const std::string base = DirOf(logPath) + StemOf(logPath);
  return v == Version::V304 ? base + ".obs" : base + "." + TwoDigitYear(firstYear) + "o";
}

std::string DefaultNavPath(const std::string& logPath, Version v, int firstYear, SatSystem s) {
  const std::string base = DirOf(logPath) + StemOf(logPath);
  return v == Version::V304 ? base + ".nav"
                            : base + "." + TwoDigitYear(firstYear) + Nav2FileOf(s).letter;
}

ExportResult ExportRinex(const ExportInput& in, const ExportOptions& options) {
  return Exporter(in, options,
                  [](const std::string& path) -> std::unique_ptr<Sink> {
                    auto sink = std::make_unique<FileSink>(path);
                    sink->Open();
                    return sink;
                  })
      .Run();
}

ExportResult ExportRinexToMemory(const ExportInput& in, const ExportOptions& options,
                                 std::map<std::string, std::string>& out) {
  // Each memory sink hands its text over when the export finishes it.
  class MapSink : public MemorySink {
   public:
    MapSink(std::map<std::string, std::string>& out, std::string path)
        : out_(out), path_(std::move(path)) {}
    bool Finish() override {
      out_[path_] = Take();
      return true;
    }

   private:
    std::map<std::string, std::string>& out_;
    std::string path_;
  };
  return Exporter(in, options,
                  [&out](const std::string& path) -> std::unique_ptr<Sink> {
                    return std::make_unique<MapSink>(out, path);
                  })
      .Run();
}

}  // namespace vnx::rinex
