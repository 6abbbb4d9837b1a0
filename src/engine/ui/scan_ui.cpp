#include "engine/ui/scan_ui.h"

#include <cstdio>

namespace vnx {

void HeadlessUi::ShowMessage(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace vnx
