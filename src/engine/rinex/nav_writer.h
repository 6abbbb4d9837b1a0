#pragma once
// RINEX navigation files from the ephemeris records of the scan: GPS and Galileo Keplerian
// records, GLONASS state vectors (times in UTC, as RINEX wants them) and SBAS state vectors,
// with the header's ionosphere, UTC and leap-second parameters from the log.
#include <array>
#include <cstdint>
#include <string>

#include "engine/rinex/obs_writer.h"

namespace vnx::rinex {

// Writes one navigation file holding the records of the systems set in `which` (3.04: a mixed
// file; 2.11: one system). False with `error` set when a record file cannot be read.
bool WriteNavigationFile(const ExportInput& in, const ExportOptions& o, const ObsSurvey& s,
                         const std::array<bool, kSatSystemCount>& which, TextBuffer& out,
                         int64_t& records, std::string& error);

// Nominal user range accuracy in metres of an accuracy index (0..15).
double UraMetres(int index);
// Curve-fit interval in hours from the fit flag and the issue of data, clock.
double FitIntervalHours(bool flag, int iodc);

}  // namespace vnx::rinex
