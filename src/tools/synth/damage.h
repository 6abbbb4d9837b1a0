#pragma once
// Faults of a damaged log and what a log reader reports for each. The synthesiser damages
// an epoch's frames after encoding them; the checks here make sure every fault is seen by a
// reader exactly as described (a garbage run that happens to look like a frame head, or a
// cut frame whose checksum still matches by chance, is placed elsewhere).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vnx::synth {

enum class FaultKind { Garbage, BadChecksum, Truncated, TimeStepBack, Gap };
const char* FaultName(FaultKind kind);

struct Fault {
  FaultKind kind = FaultKind::Garbage;
  uint64_t offset = 0;   // first byte concerned, from the start of the log
  uint64_t length = 0;   // bytes inserted, cut or skipped; epochs left out for a gap
  std::string frameId;   // frame concerned, where there is one
  std::string timeText;  // receiver time text at the fault
  std::vector<std::string> expectedErrors;  // the reader's error lines, in order
};

// The framing rules of a log reader that decide where it finds frames.
size_t SkipSeparators(std::string_view log, size_t p);
bool FrameHeadAt(std::string_view log, size_t p, int& length);

struct ResyncResult {
  bool direct = false;  // the bytes at `start` are taken as a frame head without a search
  bool found = false;
  size_t start = 0;   // where the reader starts looking
  size_t target = 0;  // the frame head it accepts
};
// What a reader does when it looks for the next frame from `cursor`.
ResyncResult FindNextFrame(std::string_view log, size_t cursor);

// True when the search `r` ends on `target` and no byte on the way could be taken for a frame
// head by a reader that sees more of the file than `log` holds.
bool LandsCleanly(std::string_view log, const ResyncResult& r, size_t target);
// True when the frame at `at`, read with its declared body length, fails its checksum.
bool ChecksumFails(std::string_view log, size_t at, size_t declaredLength);

// Error lines as a log reader writes them.
std::string OtherTextLine(uint64_t start, uint64_t length, const std::string& timeText);
std::string HexBytesLine(std::string_view bytes);
std::string DecoderErrorLine(uint64_t start, uint64_t end, const std::string& timeText,
                             const std::string& name, const std::string& error);

// Writes one line per fault with its kind, offset, frame and expected reader lines.
std::string FaultReport(const std::vector<Fault>& faults);

}  // namespace vnx::synth
