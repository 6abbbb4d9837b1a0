#pragma once
// The tests and sums of the quality analysis, each on plain numbers so it can be checked by
// hand: the cycle-slip test between two points of a satellite, the receiver clock-jump test
// between two epochs, and the running sums of a multipath arc.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vnx {

// A slip between two consecutive points: the geometry-free phase moved by more than this many
// metres, or the Melbourne-Wuebbena combination by more than this many wide-lane cycles.
inline constexpr double kGeometryFreeSlipM = 0.15;
inline constexpr double kWideLaneSlipCycles = 4.0;

struct SlipTest {
  bool geometryFree = false;
  bool wideLane = false;
  bool Any() const { return geometryFree || wideLane; }
};
SlipTest TestSlip(double gfBefore, double gfAfter, double mwBefore, double mwAfter);

// A millisecond of light travel, and how near a code jump must come to a whole number of them.
inline constexpr double kMillisecondOfLight = 299792.458;  // metres
inline constexpr double kClockJumpTolerance = 1000.0;      // metres

// Code change minus phase change (metres) of every satellite common to two epochs, first
// frequency. A receiver clock jump moves every code by the same whole number k != 0 of
// milliseconds of light while the phases run on; the result is k, or nothing. At least two
// satellites must agree.
std::optional<int> TestClockJump(const std::vector<double>& codeMinusPhaseSteps);

// Elevation bins of the multipath figures (5 degrees) and of the signal strength (10 degrees).
inline constexpr int kMultipathBinDeg = 5;
inline constexpr int kMultipathBins = 90 / kMultipathBinDeg;
inline constexpr int kSnrBinDeg = 10;
inline constexpr int kSnrBins = 90 / kSnrBinDeg;
// The bin of an elevation in degrees; below 0 goes to the first bin, 90 to the last.
int ElevationBin(double elevationDeg, int binDeg);

// A sum of squares of points around a mean, of arcs whose means are removed.
struct SquareSum {
  int64_t count = 0;
  double sum = 0;  // of the squares
  void Add(const SquareSum& o) {
    count += o.count;
    sum += o.sum;
  }
  std::optional<double> Rms() const;
};

// The points of one arc of one combination, kept as sums about the arc's first value so that
// the mean can be removed when the arc ends without keeping the points.
class ArcSums {
 public:
  void Add(double value, int bin);
  int64_t Count() const { return count_; }
  double Mean() const;
  // The squares about the arc's mean, in total and per elevation bin (bin -1: no elevation).
  SquareSum Total() const;
  SquareSum Bin(int bin) const;
  void Clear() { *this = ArcSums{}; }

 private:
  struct Sums {
    int64_t n = 0;
    double s = 0, s2 = 0;
  };
  static SquareSum About(const Sums& sums, double offset);
  bool started_ = false;
  double origin_ = 0;
  int64_t count_ = 0;
  Sums all_;
  std::array<Sums, kMultipathBins> bins_{};
};

// Minimum points of an arc whose multipath counts.
inline constexpr int kMinArcPoints = 10;

// Mean and standard deviation of a running set of values.
struct MeanStd {
  int64_t count = 0;
  double sum = 0, sum2 = 0;
  void Add(double v) {
    ++count;
    sum += v;
    sum2 += v * v;
  }
  void Add(const MeanStd& o) {
    count += o.count;
    sum += o.sum;
    sum2 += o.sum2;
  }
  std::optional<double> Mean() const;
  std::optional<double> Std() const;  // population standard deviation
};

}  // namespace vnx
