#pragma once
// The scanner of one scan: owns the mapped log, walks every frame from the first byte to the
// last over separators, skipped lines and damaged stretches, and hands each frame to the
// identifier table.
#include <cstdint>
#include <string>

#include "engine/epoch/scan_context.h"
#include "engine/scan/separator_skipper.h"
#include "engine/stream/mapped_file.h"

namespace vnx {

// The scanner's documented name.
class TVNXFile {
 public:
  // Maps the file; when that works, the running epoch starts afresh. When it fails, the
  // object must not be scanned (Mapped() is false).
  TVNXFile(ScanContext& ctx, const std::string& fileName);
  // The same over a log already in memory (`data` must outlive the scanner).
  TVNXFile(ScanContext& ctx, const std::string& name, const uint8_t* data, uint64_t size);

  bool Mapped() const { return mapped_; }
  // The whole scan; 1 when the file was processed, 0 when it was too short.
  uint8_t Scan();

  // Framing primitives: functions of the bytes at p (a long walk hands its pages back).
  const uint8_t* SkipSeparators(const uint8_t* p);
  static bool IsIdentifier(const uint8_t* p);
  static int32_t ParseLength(const uint8_t* p);
  bool NextMessage();

  const std::string& HeaderText() const { return headerText_; }
  TOpenMappedFile& File() { return file_; }

  // "  1.500 KB": the file size as the scan panel shows it.
  static std::string FileSizeText(uint64_t size);

 private:
  void ReportResync(const uint8_t* start);
  void ReadFileHeader();
  void RunLoop();
  void Checkpoint(bool& stop);
  void Start();
  // A walk crossed [from, to) far from where the scan will look again.
  void Walked(const uint8_t* from, const uint8_t* to);

  ScanContext& ctx_;
  TOpenMappedFile file_;
  bool mapped_ = false;
  uint64_t fileSize_ = 0;
  const uint8_t* fileBase_ = nullptr;
  const uint8_t* fileEnd_ = nullptr;
  int32_t bodyLength_ = 0;
  bool resync_ = false;
  std::string headerText_;
  SeparatorSkipper skipper_;
};

}  // namespace vnx
