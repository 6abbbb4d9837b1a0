#pragma once
// RINEX export of a scanned log: an observation file and navigation files made from what the
// scan decoded (the epoch, satellite, external-event and ephemeris records of the working files)
// and the texts the scan kept in memory. It reads exactly what the views read, so an exported
// file agrees with the viewer by construction.
//
// The export can be driven by a window: it reports progress, honours a stop flag and returns
// the files written with their epochs and satellites. ExportRinexToMemory runs the same path
// into memory; with a MemoryRecordSource as its input it touches no disk at all.
#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/epoch/scan_result.h"
#include "engine/rinex/record_source.h"
#include "engine/rinex/rinex_codes.h"

namespace vnx::rinex {

// What the export reads: the scan's records, how many of each belong to the scan, and the
// receiver texts collected during the scan.
struct ExportInput {
  std::shared_ptr<const RecordSource> records;
  int64_t epochCount = 0;
  int64_t xaCount = 0, xbCount = 0;
  // Ephemeris records of this scan per system (by SystemIndex).
  std::array<int64_t, kSatSystemCount> ephemerisCount{};
  std::string receiverNumber;   // "rcvid" of the log
  std::string receiverType;     // the log type of its first line
  std::string receiverVersion;  // the main firmware version
  std::string logPath;          // the log, for default names and the never-overwrite rule
};

// The records of a finished scan, read from its working files.
ExportInput ExportInputFromScan(const ScanResult& scan, const std::string& logPath);

enum class Version { V304, V211 };

struct ExportOptions {
  Version version = Version::V304;
  // Empty: next to the log, <stem>.obs / <stem>.nav (3.04), <stem>.<yy>o / .<yy>n .<yy>g
  // .<yy>l .<yy>h (2.11).
  std::string obsPath;
  std::string navPath;  // 2.11: the base name; the system's letter replaces the last character
  bool writeObs = true;
  bool writeNav = true;
  std::array<bool, kSatSystemCount> systems{true, true, true, true};  // by SystemIndex
  double maskDegrees = 0;  // satellites below this elevation are left out (0: none)
  std::string program = "vnx-rinex";
  std::time_t created = 0;  // the PGM / RUN BY / DATE time; 0 = now
  // Called with 0..100 every 256 observation epochs and once with 100 at the end.
  std::function<void(int percent)> progress;
  const std::atomic<bool>* stop = nullptr;
};

struct ExportedFile {
  std::string path;
  std::string kind;  // "observation", "navigation GPS", ...
  uint64_t bytes = 0;
};

struct ExportResult {
  bool ok = false;       // every file that was wanted and had data was written
  bool stopped = false;  // the stop flag ended it; nothing was left under a final name
  std::vector<ExportedFile> files;
  int64_t epochs = 0;      // observation epochs written
  int64_t satellites = 0;  // distinct satellites in the observation file
  int64_t events = 0;      // event records (flags 2..5)
  int64_t ephemerides = 0;
  std::vector<std::string> notes;  // what was not written and why
  std::string error;               // the failure, naming the file and the system's reason
};

// The file names the export uses when the options leave them empty. `firstYear` is the year of
// the first epoch (for the 2.11 extensions).
std::string DefaultObsPath(const std::string& logPath, Version v, int firstYear);
std::string DefaultNavPath(const std::string& logPath, Version v, int firstYear, SatSystem s);

// One file an export writes.
struct PlannedFile {
  std::string path;
  std::string kind;  // as ExportedFile::kind
  bool observation = false;
  std::array<bool, kSatSystemCount> systems{};  // a navigation file's systems, by SystemIndex
};

// The files an export with these options writes, in order: the observation file when the scan
// has epochs, then one mixed navigation file (3.04) or one per system (2.11) of the chosen
// systems that have ephemerides. `firstYear` names the 2.11 files: FirstEpochYear gives it.
std::vector<PlannedFile> PlanFiles(const ExportInput& in, const ExportOptions& o, int firstYear);
// The year of the scan's first epoch; the year of `now` when it has none.
int FirstEpochYear(const ExportInput& in, std::time_t now);

// Writes the files to disk, each through a temporary file renamed into place when complete.
ExportResult ExportRinex(const ExportInput& in, const ExportOptions& options);

// The same export into memory: file name (as it would be written) -> text.
ExportResult ExportRinexToMemory(const ExportInput& in, const ExportOptions& options,
                                 std::map<std::string, std::string>& out);

}  // namespace vnx::rinex
