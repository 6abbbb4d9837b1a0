#pragma once
// The Positions view's passes over DataEpochs.dat: the receiver's own solution (a coordinate,
// RMS or sigma of the position or of the velocity) split by solution type, and the dilution of
// precision values. Nothing is computed beyond selecting and filtering.
#include <array>
#include <cstdint>
#include <string>

#include "engine/views/point_series.h"

namespace vnx {

class ScanResult;

// Items of the quantity radio group before "DOP".
enum class SolutionItem : int { X = 0, Y, Z, RmsHor, RmsVer, Sep };

// Solution types 1..4 (stand-alone, code differential, float, fixed) go to series 0..3.
inline constexpr int kSolutionTypeCount = 4;

struct SolutionRequest {
  SolutionItem item = SolutionItem::X;
  bool velocity = false;  // "Vel" instead of "Pos"
  std::array<bool, kSolutionTypeCount> types{true, false, false, false};
};

struct SolutionChart {
  std::array<PointSeries, kSolutionTypeCount> series;
  std::string message;  // empty when every epoch was read
};

// Reads `epochCount` epoch records from DataEpochs.dat under `dir`. An epoch is drawn when its
// type's box is checked, it carries the quantity, and the position quantity of the same row is
// not zero (so "Vel" draws a velocity of exactly zero when the position is known).
SolutionChart SolutionSeries(const std::string& dir, int32_t epochCount,
                             const SolutionRequest& request);
SolutionChart SolutionSeries(const ScanResult& ctx, const SolutionRequest& request);

// The left-axis title of a solution chart with its unit: "X [m]", "Vx [m/s]", "RMS_hor [m]",
// "RMS_hor velocity [m/s]", "SEP [m]", "SEP velocity [m/s]".
std::string SolutionAxisTitle(const SolutionRequest& request);
// DOP values are ratios.
inline constexpr const char* kDopAxisTitle = "DOP [unitless]";

enum DopIndex : int { kHdop = 0, kVdop, kTdop, kPdop, kGdop, kDopCount };

struct DopChart {
  std::array<PointSeries, kDopCount> series;
  std::string message;
};

// The checked DOPs of every epoch with DOP values, zeros left out.
DopChart DopSeries(const std::string& dir, int32_t epochCount,
                   const std::array<bool, kDopCount>& shown);
DopChart DopSeries(const ScanResult& ctx, const std::array<bool, kDopCount>& shown);

}  // namespace vnx
