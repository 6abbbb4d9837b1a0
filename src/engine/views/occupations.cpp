#include "engine/views/occupations.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/epoch/record_reader.h"
#include "engine/epoch/scan_result.h"

namespace vnx {

// A site text holds at most 20 characters, so no value runs into the next column.
const std::array<OccupationColumn, kOccupationColumnCount> kOccupationColumns = {{
    {"#", 8, true},
    {"Marker Name", 20, false},
    {"Marker Number", 20, false},
    {"Antenna Offset", 14, true},
    {"Is Slant", 8, true},
    {"Is Static", 9, true},
    {"Epoch number", 12, true},
}};

namespace {

constexpr int kSignificantDigits = 8;

std::string NameOrUnknown(const ShortString20& s) {
  return s.length == 0 ? std::string("Unknown") : std::string(s.View());
}

std::string YesNo(bool yes) {
  return yes ? "yes" : "no";
}

// The cells padded to their columns' widths, two blanks apart; a wider value widens its cell.
template <class Text>
std::string Laid(const std::array<Text, kOccupationColumnCount>& cells) {
  std::string line;
  for (int c = 0; c < kOccupationColumnCount; ++c) {
    const std::string text(cells[static_cast<size_t>(c)]);
    const OccupationColumn& col = kOccupationColumns[static_cast<size_t>(c)];
    const size_t pad = text.size() < static_cast<size_t>(col.width) ? col.width - text.size() : 0;
    if (c > 0) line += "  ";
    line += col.right ? std::string(pad, ' ') + text : text + std::string(pad, ' ');
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string Heading() {
  std::array<const char*, kOccupationColumnCount> headings{};
  for (int c = 0; c < kOccupationColumnCount; ++c)
    headings[static_cast<size_t>(c)] = kOccupationColumns[static_cast<size_t>(c)].heading;
  return Laid(headings);
}

// Scientific form of a height too large for the fixed form: mantissa without trailing zeros,
// then "E" and the exponent.
std::string Scientific(double metres) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*E", kSignificantDigits - 1, metres);
  std::string s(buf);
  const size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  while (mantissa.back() == '0') mantissa.pop_back();
  if (mantissa.back() == '.') mantissa.pop_back();
  return mantissa + "E" + std::to_string(std::atoi(s.c_str() + e + 1));
}

// The site information before the first epoch: empty texts, height 0, not slant, static.
SiteInfo StartingSite() {
  SiteInfo s{};
  s.isStatic = 1;
  return s;
}

}  // namespace

std::string HeightText(double metres) {
  if (std::isnan(metres)) return "NAN";
  if (std::isinf(metres)) return metres > 0 ? "INF" : "-INF";
  // The height is first cut to 8 significant decimal digits, then those digits are rounded,
  // half away from zero, to 4 decimals.
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(metres));
  const std::string digits = std::string(1, buf[0]) + std::string(buf + 2, kSignificantDigits - 1);
  const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
  if (exponent >= kSignificantDigits) return Scientific(metres);
  // value = mantissa * 10^(exponent - 7); in units of 1e-4 that is mantissa * 10^(exponent - 3).
  int64_t units = std::stoll(digits);
  for (int k = exponent - 3; k > 0; --k) units *= 10;
  for (int k = exponent - 3; k < 0; ++k) units = k == -1 ? (units + 5) / 10 : units / 10;
  std::snprintf(buf, sizeof buf, "%s%lld.%04lld", metres < 0 && units != 0 ? "-" : "",
                static_cast<long long>(units / 10000), static_cast<long long>(units % 10000));
  return buf;
}

const std::string kOccupationHeading = Heading();

OccupationCells OccupationRow(int32_t epoch, const SiteInfo& site) {
  return {std::to_string(epoch),         NameOrUnknown(site.siteName),
          NameOrUnknown(site.siteText2), HeightText(site.antennaHeight),
          YesNo(site.slant != 0),        YesNo(site.isStatic != 0),
          std::to_string(epoch)};
}

std::string OccupationLine(int32_t epoch, const SiteInfo& site) {
  return Laid(OccupationRow(epoch, site));
}

bool SiteChanged(const SiteInfo& previous, const SiteInfo& site) {
  return previous.siteName.View() != site.siteName.View() ||
         previous.siteText2.View() != site.siteText2.View() || previous.isStatic != site.isStatic ||
         previous.slant != site.slant ||
         std::fabs(site.antennaHeight - previous.antennaHeight) > 1e-6;
}

OccupationList BuildOccupationList(const std::string& dir, int32_t epochCount) {
  OccupationList list;
  list.lines.push_back(kOccupationHeading);
  if (epochCount == 0) return list;
  RecordReader reader(dir + WorkFileName(WorkFile::DataEpochs), sizeof(EpochRec));
  if (!reader.IsOpen()) {
    list.message = OpeningFailure(WorkFile::DataEpochs);
    list.shown = false;
    return list;
  }
  SiteInfo previous = StartingSite();
  EpochRec rec;
  for (int32_t i = 1; i <= epochCount; ++i) {
    if (!reader.Read(&rec)) {
      list.message = kUnexpectedEnd;
      break;
    }
    if (i == 1 || SiteChanged(previous, rec.site)) {
      list.rows.push_back(OccupationRow(i, rec.site));
      list.lines.push_back(Laid(list.rows.back()));
    }
    previous = rec.site;
  }
  return list;
}

OccupationList BuildOccupationList(const ScanResult& ctx) {
  return BuildOccupationList(ctx.Files().Dir(), ctx.EpochCount());
}

OccupationBand BuildOccupationBand(const std::string& dir, int32_t epochCount) {
  OccupationBand band;
  if (epochCount == 0) return band;
  RecordReader reader(dir + WorkFileName(WorkFile::DataEpochs), sizeof(EpochRec));
  if (!reader.IsOpen()) {
    band.message = OpeningFailure(WorkFile::DataEpochs);
    return band;
  }
  EpochRec rec;
  for (int32_t i = 1; i <= epochCount; ++i) {
    if (!reader.Read(&rec)) {
      band.message = kUnexpectedEnd;
      break;
    }
    (rec.site.isStatic ? band.staticEpochs : band.kinematicEpochs).Add(i, 0);
  }
  return band;
}

OccupationBand BuildOccupationBand(const ScanResult& ctx) {
  return BuildOccupationBand(ctx.Files().Dir(), ctx.EpochCount());
}

}  // namespace vnx
