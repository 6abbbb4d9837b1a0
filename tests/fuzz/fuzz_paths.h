#pragma once
// What the fuzz targets run on one input; also replayed by the ordinary test suite over the
// committed regression inputs.
#include <cstddef>
#include <cstdint>

namespace vnx::fuzz {

// The whole path of vnx-check over the input as a log: scan with the working files in memory,
// epoch analysis, summary, text and JSON report, ephemeris counts and one ephemeris page of
// every system that has one.
void RunCheckPath(const uint8_t* data, size_t size);

// Frames straight into the dispatch, after a prepared start (a date, a time, satellites of
// every system with their GLONASS numbers). The input is a sequence of records: one byte
// choosing the identifier row (its top bit keeps the body's last byte as the checksum instead
// of computing it), two bytes of body length (little-endian, at most 4095), the body.
void RunDispatchPath(const uint8_t* data, size_t size);

// The RINEX export of the input as a log: the scan with the working files in memory, then the
// export into memory (3.04 with every satellite, 2.11 with a 10 degree elevation mask) reading
// those records back.
void RunExportPath(const uint8_t* data, size_t size);

}  // namespace vnx::fuzz
