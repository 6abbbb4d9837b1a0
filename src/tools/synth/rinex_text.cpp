#include "tools/synth/rinex_text.h"

#include <cstdlib>

namespace vnx::synth {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

double Field(const std::string& line, size_t start, size_t width) {
  if (start >= line.size()) return 0.0;
  std::string text = line.substr(start, width);
  for (char& c : text)
    if (c == 'D' || c == 'd') c = 'E';
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace vnx::synth
