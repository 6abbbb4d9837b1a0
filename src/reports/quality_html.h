#pragma once
// The quality report as one self-contained HTML file: the summary, the tables and the charts
// as inline SVG, with no external file or script.
#include <string>

#include "engine/quality/quality_report.h"
#include "reports/check_report.h"

namespace vnx {

std::string QualityHtml(const QualityReport& quality, const CheckReport& check);
// The report's skyplot coloured by |MP1|, with its colour scale, as one SVG document.
std::string QualitySkyplotSvg(const QualityReport& quality);

}  // namespace vnx
