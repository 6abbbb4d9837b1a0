#pragma once
// Fixed-column text fields of RINEX files.
#include <string>

namespace vnx::synth {

std::string Trim(const std::string& s);
// The number in columns [start, start + width) of `line`; Fortran "D" exponents are accepted;
// blank or missing columns give 0.
double Field(const std::string& line, size_t start, size_t width);

}  // namespace vnx::synth
