#pragma once
// One entry of the error list as the scan finds it. The texts of the list are made from it
// where the list is shown (views/error_list.h).
#include <cstdint>
#include <string>
#include <vector>

namespace vnx {

enum class ScanErrorKind : uint8_t {
  Message,        // a decoder found its frame wrong
  UnframedBytes,  // bytes between two frames that belong to no frame
  File,           // the log as a whole: its first frame, its size, no epochs at all
  Epoch,          // an epoch written without satellites
};

struct ScanError {
  ScanErrorKind kind = ScanErrorKind::File;
  // First and last byte concerned, counted from the first byte of the log (Message and
  // UnframedBytes only).
  uint64_t first = 0;
  uint64_t last = 0;
  std::string time;     // the receiver's time of day at the error, as error lines show it
  std::string message;  // the name of the message (Message only)
  // What was found: one line, or for UnframedBytes the bytes in hex.
  std::vector<std::string> lines;
};

}  // namespace vnx
