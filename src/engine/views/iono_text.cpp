#include "engine/views/iono_text.h"

#include <cstdio>

namespace vnx {

namespace {

// Fixed notation, "." whatever the locale, right-aligned in `width` (never cut).
std::string Fixed(double v, int decimals, int width) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  for (char& c : s)
    if (c == ',') c = '.';
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
  return s;
}

}  // namespace

IonoTexts BuildIonoTexts(const IonoBlock& iono) {
  IonoTexts t;
  t.tot = " Time of week [s]     " + std::to_string(iono.tot);
  t.wn = " Week number          " + std::to_string(iono.wn);
  for (int i = 0; i < 4; ++i) {
    t.alpha[i] = " Alpha" + std::to_string(i) + "          " + Fixed(iono.alpha[i], 10, 15);
    t.beta[i] = " Beta" + std::to_string(i) + "           " + Fixed(iono.beta[i], 5, 15);
  }
  return t;
}

}  // namespace vnx
