#include "cli/ephemeris_report.h"

#include <array>
#include <cctype>

#include "controls/control_names.h"
#include "reports/check_report.h"

namespace vnx {

namespace {

constexpr const auto& kSystems = kSatSystems;

const char* SystemName(SatSystem s) {
  return InfoOf(s).shortName;
}

const char* JsonKey(SatSystem s) {
  switch (s) {
    case SatSystem::Gps:
      return "gps";
    case SatSystem::Glonass:
      return "glonass";
    case SatSystem::Sbas:
      return "sbas";
    case SatSystem::Galileo:
      return "galileo";
    default:
      break;
  }
  return "";
}

bool SystemFromLetter(char c, SatSystem& s) {
  for (SatSystem candidate : kSystems)
    if (InfoOf(candidate).letter == c) {
      s = candidate;
      return true;
    }
  return false;
}

// A decimal number of at most six digits, nothing else.
bool ParseNumber(const std::string& text, int& out) {
  if (text.empty() || text.size() > 6) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  out = std::stoi(text);
  return true;
}

bool ScanUsable(const Session& session, bool mapped) {
  return mapped && session.ResultCode() == 1 && session.WriteFailure().empty();
}

nlohmann::json PageJson(const EphemerisSelector& sel, const EphemerisPage& page) {
  nlohmann::json texts = nlohmann::json::array();
  for (const auto& [control, text] : NameEphemerisTexts(page.system, page.texts))
    texts.push_back({{"control", control}, {"text", text}});
  return {{"system", std::string(1, InfoOf(sel.system).letter)},
          {"satellite", sel.satellite},
          {"ordinal", sel.ordinal},
          {"found", page.outcome == EphPageOutcome::Filled},
          {"page_control", EphPageControl(sel.system)},
          {"texts", texts}};
}

// The selected ephemeris; a satellite with fewer than N ephemerides is reported as not found
// here, where the view would simply show nothing new.
EphemerisPage SelectedPage(const Session& session, const EphemerisSelector& sel) {
  const ScanResult ctx = session.Result();
  EphemerisPage page =
      FillEphemerisPage(ctx.Files(), ctx.Ephemerides(), sel.system, sel.satellite, sel.ordinal);
  if (page.outcome == EphPageOutcome::Unchanged)
    page.messages.push_back("Ephemeris " + std::to_string(sel.ordinal) + " for SV " +
                            InfoOf(sel.system).letter + std::to_string(sel.satellite) +
                            "  is not found");
  return page;
}

void PrintText(const std::vector<std::string>& lines, std::ostream& out) {
  for (const auto& line : lines) out << line << '\n';
}

}  // namespace

bool ParseEphemerisSelector(const std::string& text, EphemerisSelector& out) {
  const size_t colon = text.find(':');
  if (text.size() < 4 || colon == std::string::npos) return false;
  EphemerisSelector sel;
  if (!SystemFromLetter(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
                        sel.system))
    return false;
  int n = 0, ordinal = 0;
  if (!ParseNumber(text.substr(1, colon - 1), n) || !ParseNumber(text.substr(colon + 1), ordinal))
    return false;
  if (n < InfoOf(sel.system).firstLabel || n > InfoOf(sel.system).lastLabel || ordinal < 1)
    return false;
  sel.satellite = n;
  sel.ordinal = ordinal;
  out = sel;
  return true;
}

std::vector<std::string> EphemerisCountLines(const EphemerisStore& store) {
  std::vector<std::string> out;
  for (SatSystem s : kSystems) {
    const std::vector<int> sats = store.Satellites(s);
    int32_t total = 0;
    for (int n : sats) total += store.Count(s, n);
    out.push_back(std::string(SystemName(s)) + ": " + std::to_string(sats.size()) +
                  " satellites, " + std::to_string(total) + " ephemerides");
    for (int n : sats)
      out.push_back("  " + std::string(1, InfoOf(s).letter) + std::to_string(n) + " " +
                    std::to_string(store.Count(s, n)));
  }
  return out;
}

nlohmann::json EphemerisCountsJson(const EphemerisStore& store) {
  nlohmann::json j = nlohmann::json::object();
  for (SatSystem s : kSystems) {
    nlohmann::json list = nlohmann::json::array();
    for (int n : store.Satellites(s))
      list.push_back({{"satellite", n}, {"ephemerides", store.Count(s, n)}});
    j[JsonKey(s)] = list;
  }
  return j;
}

std::vector<std::string> EphemerisPageLines(const EphemerisPage& page) {
  std::vector<std::string> out;
  for (const auto& [control, text] : NameEphemerisTexts(page.system, page.texts))
    out.push_back(control + "\t" + text);
  return out;
}

int RunEphemerisQuery(const Session& session, bool mapped, const EphemerisQuery& query,
                      const std::string& file, std::vector<std::string> messages, std::ostream& out,
                      std::ostream& err) {
  nlohmann::json j{{"file", file}};
  int status = ScanUsable(session, mapped) ? 0 : 2;
  EphemerisSelector sel;
  if (!query.selector.empty() && !ParseEphemerisSelector(query.selector, sel)) {
    messages.push_back("Not an ephemeris selector: " + query.selector);
    status = 2;
  }
  std::vector<std::string> lines;
  if (status == 0 && query.counts) {
    j["ephemerides"] = EphemerisCountsJson(session.Result().Ephemerides());
    lines = EphemerisCountLines(session.Result().Ephemerides());
  }
  if (status == 0 && !query.selector.empty()) {
    const EphemerisPage page = SelectedPage(session, sel);
    messages.insert(messages.end(), page.messages.begin(), page.messages.end());
    if (page.outcome != EphPageOutcome::Filled) status = 1;
    j["ephemeris"] = PageJson(sel, page);
    const std::vector<std::string> pageLines = EphemerisPageLines(page);
    lines.insert(lines.end(), pageLines.begin(), pageLines.end());
  }
  if (query.json) {
    j["messages"] = messages;
    j["exit_status"] = status;
    out << JsonText(j) << '\n';
  } else {
    PrintText(messages, err);
    PrintText(lines, out);
  }
  return status;
}

}  // namespace vnx
