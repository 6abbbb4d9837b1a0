#include "tools/synth/damage.h"

#include <cstdio>

#include "engine/stream/checksum.h"

namespace vnx::synth {
namespace {

bool IsSeparator(uint8_t b) {
  return b == 13 || b == 10 || b == 0;
}
bool IsIdentifierByte(uint8_t b) {
  return b >= 0x30 && b <= 0x7E;
}

int HexDigit(uint8_t b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'A' && b <= 'F') return b - 'A' + 10;
  return -1;
}

std::string Hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(v));
  return text;
}

uint8_t At(std::string_view log, size_t p) {
  return static_cast<uint8_t>(log[p]);
}

}  // namespace

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::Garbage:
      return "garbage";
    case FaultKind::BadChecksum:
      return "bad-checksum";
    case FaultKind::Truncated:
      return "truncated-frame";
    case FaultKind::TimeStepBack:
      return "time-step-back";
    case FaultKind::Gap:
      return "gap";
  }
  return "?";
}

size_t SkipSeparators(std::string_view log, size_t p) {
  while (p < log.size() && IsSeparator(At(log, p))) {
    while (p < log.size() && IsSeparator(At(log, p))) ++p;
    if (p < log.size() && At(log, p) >= 0x21 && At(log, p) <= 0x2F) {
      while (p < log.size() && At(log, p) != 13 && At(log, p) != 10) ++p;
    }
  }
  return p;
}

bool FrameHeadAt(std::string_view log, size_t p, int& length) {
  if (p + 5 > log.size()) return false;
  if (!IsIdentifierByte(At(log, p)) || !IsIdentifierByte(At(log, p + 1))) return false;
  length = 0;
  for (size_t i = 2; i < 5; ++i) {
    int d = HexDigit(At(log, p + i));
    if (d < 0) return false;
    length = length * 16 + d;
  }
  return true;
}

ResyncResult FindNextFrame(std::string_view log, size_t cursor) {
  ResyncResult r;
  size_t p = SkipSeparators(log, cursor);
  r.start = p;
  int length;
  if (p + 5 >= log.size()) return r;
  if (FrameHeadAt(log, p, length)) {
    r.direct = r.found = true;
    r.target = p;
    return r;
  }
  for (; p + 5 < log.size(); ++p) {
    if (!FrameHeadAt(log, p, length) || p + 5 + length >= log.size()) continue;
    size_t q = SkipSeparators(log, p + 5 + length);
    int next;
    if (q + 5 < log.size() && FrameHeadAt(log, q, next) && next > 0) {
      r.found = true;
      r.target = p;
      return r;
    }
  }
  return r;
}

bool LandsCleanly(std::string_view log, const ResyncResult& r, size_t target) {
  if (r.direct || !r.found || r.target != target) return false;
  for (size_t p = r.start; p < r.target; ++p) {
    int length;
    if (FrameHeadAt(log, p, length) && p + 5 + length >= log.size()) return false;
  }
  return true;
}

bool ChecksumFails(std::string_view log, size_t at, size_t declaredLength) {
  if (at + 5 + declaredLength > log.size() || declaredLength == 0) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(log.data() + at);
  return Checksum(bytes, 5 + declaredLength - 1) != bytes[5 + declaredLength - 1];
}

std::string OtherTextLine(uint64_t start, uint64_t length, const std::string& timeText) {
  return "Error: Other text  len=" + std::to_string(length) + " 0X   " + Hex(start) + " (0X " +
         Hex(start + length - 1) + " )" + " ( " + timeText + " ) ";
}

std::string HexBytesLine(std::string_view bytes) {
  std::string line;
  char two[4];
  for (char c : bytes) {
    std::snprintf(two, sizeof two, "%02x", static_cast<unsigned>(static_cast<uint8_t>(c)));
    line += two;
    line += ' ';
  }
  return line;
}

std::string DecoderErrorLine(uint64_t start, uint64_t end, const std::string& timeText,
                             const std::string& name, const std::string& error) {
  return "Addr ( 0x )  " + Hex(start) + " - " + Hex(end) + " ( " + timeText + " ) " +
         "   Error in " + name + " message : " + error;
}

std::string FaultReport(const std::vector<Fault>& faults) {
  std::string out;
  for (const Fault& f : faults) {
    out += std::string(FaultName(f.kind)) + " offset=" + std::to_string(f.offset) + " (0x" +
           Hex(f.offset) + ") length=" + std::to_string(f.length) +
           " frame=" + (f.frameId.empty() ? "-" : f.frameId) + " time=" + f.timeText + "\n";
    for (const std::string& line : f.expectedErrors) out += "    expect: " + line + "\n";
  }
  return out;
}

}  // namespace vnx::synth
