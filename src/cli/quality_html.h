#pragma once
// The quality report as one self-contained HTML file: the summary, the tables and the charts
// as inline SVG, with no external file or script.
#include <string>

#include "cli/check_report.h"
#include "engine/quality/quality_report.h"

namespace vnx {

std::string QualityHtml(const QualityReport& quality, const CheckReport& check);

}  // namespace vnx
