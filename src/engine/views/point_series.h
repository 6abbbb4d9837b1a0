#pragma once
// The points of one chart series, kept as two parallel columns so that a window can hand them to
// its chart in one go.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/stream/working_files.h"

namespace vnx {

struct PointSeries {
  std::vector<double> x, y;

  void Add(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
  size_t size() const { return x.size(); }
  bool empty() const { return x.empty(); }
  void clear() {
    x.clear();
    y.clear();
  }
};

// Receives the gauge percentage while a long pass runs.
using ProgressCallback = std::function<void(int percent)>;

// The message a view shows when it cannot reopen one of the working files.
inline std::string OpeningFailure(WorkFile f) {
  return std::string("Error Opening File ") + WorkFileName(f) + " ! ";
}

inline constexpr const char* kUnexpectedEnd = "Unexpected end of file";

}  // namespace vnx
