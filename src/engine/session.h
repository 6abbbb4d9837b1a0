#pragma once
// One program run of the engine without its window: the working files, the scan context and
// the scanner of the latest scan. The desktop application and vnx-check drive scans through it,
// so both always scan the same way.
#include <memory>
#include <string>
#include <vector>

#include "engine/epoch/scan_context.h"
#include "engine/epoch/scan_result.h"
#include "engine/scan/scanner.h"

namespace vnx {

class Session {
 public:
  // `ui` receives what the scan shows; without one the scan runs headless.
  explicit Session(ScanUi* ui = nullptr);
  ~Session();

  // Creates the working files in `dir`, making the directory and those above it when they are
  // missing. On failure shows "Error Opening File <name> ! " followed by the system's reason
  // and the path, and returns false.
  bool CreateWorkingFiles(const std::string& dir);
  // The working files in memory only (the same records, nothing on disk).
  bool CreateWorkingFilesInMemory();
  // Closes and deletes the working files and removes their directory.
  void RemoveWorkingFiles();

  // Resets the per-scan state and reopens the working files at their first record.
  void ResetScanState();

  // Maps `path` and scans it. Returns false when the file could not be mapped; otherwise true,
  // with the scanner's result (1 processed, 0 too short) in ResultCode().
  bool Scan(const std::string& path);
  // The same over a log already in memory, exactly `size` bytes at `data`, shown as `name`.
  bool ScanMemory(const std::string& name, const uint8_t* data, size_t size);
  uint8_t ResultCode() const { return scanResult_; }

  const std::vector<ScanError>& Errors() const { return ctx_.errors; }
  // The engine state for the scan loop and tests; the window and the views read Context().
  ScanContext& MutableContext() { return ctx_; }
  const ScanContext& Context() const { return ctx_; }
  // What the scan left for the views, vnx-check and the window.
  ScanResult Result() const { return ScanResult(ctx_); }
  TVNXFile* Scanner() { return scanner_.get(); }
  // The message of a working file that could not be written during the last scan, or empty.
  const std::string& WriteFailure() const { return writeFailure_; }

  // What the window may change in the engine's state.
  // Stop pressed: the running scan ends at its next checkpoint.
  void RequestStop() { ctx_.stopRequested = true; }
  // The mask of the Satellites view's counts.
  void SetElevationMask(int32_t degrees) { ctx_.elevationMask = degrees; }
  // A new file is chosen: the date and time labels start again.
  void ResetTimeLabels();

  // For tests: the date the future-date check compares with (default: the computer's date).
  void SetToday(CalendarDate today) { fixedToday_ = today; }

 private:
  void FinishScan();
  void BeginScan();
  bool RunScanner();
  void ShowOpenFailure(const std::string& failedName, const std::string& where);

  std::unique_ptr<HeadlessUi> headless_;
  ScanContext ctx_;
  std::unique_ptr<TVNXFile> scanner_;
  uint8_t scanResult_ = 0;
  std::string writeFailure_;
  CalendarDate fixedToday_{};
};

}  // namespace vnx
