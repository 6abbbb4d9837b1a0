#include "engine/views/error_list.h"

#include <iterator>

namespace vnx {

std::string HexOffset(uint64_t v) {
  char buf[20];
  int n = 0;
  do {
    buf[n++] = "0123456789abcdef"[v & 15];
    v >>= 4;
  } while (v != 0);
  return std::string(std::make_reverse_iterator(buf + n), std::make_reverse_iterator(buf));
}

const char* ErrorKindName(ScanErrorKind kind) {
  switch (kind) {
    case ScanErrorKind::Message:
      return "message";
    case ScanErrorKind::UnframedBytes:
      return "unframed_bytes";
    case ScanErrorKind::File:
      return "file";
    case ScanErrorKind::Epoch:
      return "epoch";
  }
  return "file";
}

std::vector<std::string> ErrorTexts(const ScanError& e) {
  switch (e.kind) {
    case ScanErrorKind::Message: {
      std::string line = "Addr ( 0x )  " + HexOffset(e.first) + " - " + HexOffset(e.last) + " ( " +
                         e.time + " ) " + "   Error in " + e.message + " message : ";
      for (const std::string& text : e.lines) line += text;
      return {line};
    }
    case ScanErrorKind::UnframedBytes: {
      std::vector<std::string> out{
          "Error: Other text  len=" + std::to_string(e.last - e.first + 1) + " 0X   " +
          HexOffset(e.first) + " (0X " + HexOffset(e.last) + " )" + " ( " + e.time + " ) "};
      out.insert(out.end(), e.lines.begin(), e.lines.end());
      return out;
    }
    case ScanErrorKind::File:
    case ScanErrorKind::Epoch:
      break;
  }
  return e.lines;
}

std::vector<std::string> ErrorListLines(const std::vector<ScanError>& errors) {
  std::vector<std::string> out{kErrorListHeading};
  for (const ScanError& e : errors)
    for (std::string& line : ErrorTexts(e)) out.push_back(std::move(line));
  return out;
}

}  // namespace vnx
