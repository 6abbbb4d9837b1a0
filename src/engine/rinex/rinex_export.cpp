#include "engine/rinex/rinex_export.h"

#include <sys/stat.h>

#include <memory>

#include "engine/epoch/scan_context.h"
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

char NavLetter(Sys s) {
  switch (s) {
    case Sys::Gps:
      return 'n';
    case Sys::Glonass:
      return 'g';
    case Sys::Galileo:
      return 'l';
    case Sys::Sbas:
      return 'h';
  }
  return 'n';
}

const char* SysName(Sys s) {
  static constexpr const char* kNames[kSysCount] = {"GPS", "GLONASS", "Galileo", "SBAS"};
  return kNames[static_cast<int>(s)];
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
  int Year() const;

  const ExportInput& in_;
  const ExportOptions& o_;
  SinkFactory factory_;
  ObsSurvey survey_;
  ExportResult r_;
};

int Exporter::Year() const {
  if (survey_.epochs > 0) return survey_.first.year;
  std::time_t now = o_.created != 0 ? o_.created : std::time(nullptr);
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
  std::string error;
  if (!SurveyObservations(in_, o_, survey_, error)) {
    r_.error = error;
    return r_;
  }
  r_.satellites = survey_.satellites;
  const bool v3 = o_.version == Version::V304;
  bool wrote = false;
  if (o_.writeObs) {
    if (survey_.epochs == 0) {
      r_.notes.push_back("no epochs in the log: no observation file written");
    } else {
      const std::string path =
          o_.obsPath.empty() ? DefaultObsPath(in_.logPath, o_.version, Year()) : o_.obsPath;
      const bool ok = WriteFile(path, "observation", [&](TextBuffer& out, std::string& err) {
        ObsWriteResult w;
        const bool done = WriteObservationFile(in_, o_, survey_, out, w, err);
        r_.stopped = w.stopped;
        r_.epochs = w.epochs;
        r_.events = w.events;
        return done;
      });
      if (!ok) return r_;
      wrote = true;
    }
  }
  if (o_.writeNav) {
    bool any = false;
    for (int s = 0; s < kSysCount; ++s) any = any || (o_.systems[s] && in_.ephemerisCount[s] > 0);
    if (!any) r_.notes.push_back("no ephemerides in the log: no navigation file written");
    for (int s = 0; any && s < kSysCount; ++s) {
      bool which[kSysCount] = {};
      if (v3) {
        for (int k = 0; k < kSysCount; ++k) which[k] = o_.systems[k] && in_.ephemerisCount[k] > 0;
      } else {
        if (!o_.systems[s] || in_.ephemerisCount[s] == 0) continue;
        which[s] = true;
      }
      std::string path;
      if (o_.navPath.empty()) {
        path = DefaultNavPath(in_.logPath, o_.version, Year(), static_cast<Sys>(s));
      } else {
        path = o_.navPath;
        if (!v3) path.back() = NavLetter(static_cast<Sys>(s));
      }
      const std::string kind =
          v3 ? "navigation" : std::string("navigation ") + SysName(static_cast<Sys>(s));
      const bool ok = WriteFile(path, kind, [&](TextBuffer& out, std::string& err) {
        int64_t n = 0;
        const bool done = WriteNavigationFile(in_, o_, survey_, which, out, n, err);
        r_.ephemerides += n;
        return done;
      });
      if (!ok) return r_;
      wrote = true;
      if (v3) break;
    }
  }
  r_.ok = wrote;
  if (!wrote && r_.error.empty())
    r_.error = "nothing to export: the log has no epochs and no ephemerides";
  return r_;
}

}  // namespace

ExportInput ExportInputFromScan(const ScanContext& ctx, const std::string& logPath) {
  ExportInput in;
  in.workDir = ctx.files.Dir();
  if (!in.workDir.empty() && in.workDir.back() != '/') in.workDir += '/';
  in.epochCount = ctx.epochCount;
  in.xaCount = ctx.xaCount;
  in.xbCount = ctx.xbCount;
  const EphSystem systems[kSysCount] = {EphSystem::Gps, EphSystem::Glonass, EphSystem::Galileo,
                                        EphSystem::Sbas};
  for (int s = 0; s < kSysCount; ++s) {
    for (int n = EphSystemFirstNumber(systems[s]); n <= EphSystemLastNumber(systems[s]); ++n)
      in.ephemerisCount[s] += ctx.ephemerides.Count(systems[s], n);
  }
  in.receiverNumber = ctx.headerInfo[kHeaderReceiverId];
  in.receiverType = ctx.headerInfo[kHeaderLogType];
  in.receiverVersion = ctx.headerInfo[kHeaderMainVersion];
  in.logPath = logPath;
  return in;
}

std::string DefaultObsPath(const std::string& logPath, Version v, int firstYear) {
  const std::string base = DirOf(logPath) + StemOf(logPath);
  return v == Version::V304 ? base + ".obs" : base + "." + TwoDigitYear(firstYear) + "o";
}

std::string DefaultNavPath(const std::string& logPath, Version v, int firstYear, Sys s) {
  const std::string base = DirOf(logPath) + StemOf(logPath);
  return v == Version::V304 ? base + ".nav" : base + "." + TwoDigitYear(firstYear) + NavLetter(s);
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
