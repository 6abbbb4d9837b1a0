#include "fuzz/fuzz_paths.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ephemeris_report.h"
#include "engine/decoders/dispatch.h"
#include "engine/decoders/identifier_table.h"
#include "engine/epoch/close_epoch.h"
#include "engine/rinex/rinex_export.h"
#include "engine/session.h"
#include "engine/stream/checksum.h"
#include "reports/check_report.h"

namespace vnx::fuzz {

namespace {

constexpr char kName[] = "input.vnx";

// The selector of the last ephemeris of the first satellite of `s` that has one.
std::string LastEphemerisSelector(const EphemerisStore& store, SatSystem s) {
  const std::vector<int> sats = store.Satellites(s);
  if (sats.empty()) return {};
  return std::string(1, InfoOf(s).letter) + std::to_string(sats.front()) + ":" +
         std::to_string(store.Count(s, sats.front()));
}

// Frames of the prepared start, built once.
std::string Frame(const char* id, std::string body) {
  const std::string length = [&] {
    char b[4];
    std::snprintf(b, sizeof b, "%03X", static_cast<unsigned>(body.size() + 1));
    return std::string(b);
  }();
  std::string frame = std::string(id, 2) + length + body;
  frame +=
      static_cast<char>(Checksum(reinterpret_cast<const uint8_t*>(frame.data()), frame.size()));
  return frame;
}

// Dispatches one frame held in a buffer of exactly its size, so a read past it is caught.
void DispatchExact(ScanContext& ctx, const std::string& frame) {
  const size_t n = frame.size();
  std::unique_ptr<uint8_t[]> exact(new uint8_t[n]);
  std::memcpy(exact.get(), frame.data(), n);
  const uint16_t id = IdentifierCode(frame[0], frame[1]);
  // The frame is the whole "file": what a decoder reads around its body must lie inside it.
  ctx.frame.fileBase = exact.get();
  ctx.frame.fileEnd = exact.get() + n;
  Dispatch(ctx, id, exact.get() + 5, static_cast<int32_t>(n - 5), 0);
  ctx.frame.fileBase = ctx.frame.fileEnd = nullptr;
}

}  // namespace

// One session for the whole run, as the window keeps one: every input starts with empty
// working files, a new file's labels and the reset every scan makes, so an input gives the
// same result whatever ran before it.
static Session& FreshSession() {
  static HeadlessUi ui;
  static Session session(&ui);
  session.SetToday({2026, 12, 9});
  session.ResetTimeLabels();
  session.CreateWorkingFilesInMemory();
  return session;
}

void RunCheckPath(const uint8_t* data, size_t size) {
  std::vector<std::string> messages;
  Session& session = FreshSession();
  const bool mapped = session.ScanMemory(kName, data, size);
  const CheckReport report = BuildCheckReport(session, kName, mapped, messages);
  std::ostringstream out, err;
  for (const std::string& line : ReportLines(report, true)) out << line << '\n';
  out << JsonText(ReportJson(report, true));
  EphemerisQuery counts;
  counts.counts = true;
  counts.json = true;
  RunEphemerisQuery(session, mapped, counts, kName, messages, out, err);
  for (const SatSystem s :
       {SatSystem::Gps, SatSystem::Glonass, SatSystem::Sbas, SatSystem::Galileo}) {
    EphemerisQuery page;
    page.selector = LastEphemerisSelector(session.Result().Ephemerides(), s);
    if (page.selector.empty()) continue;
    RunEphemerisQuery(session, mapped, page, kName, messages, out, err);
  }
}

void RunDispatchPath(const uint8_t* data, size_t size) {
  Session& session = FreshSession();
  session.ResetScanState();
  ScanContext& ctx = session.MutableContext();
  // What a new scan of a log starts with (as Session::Scan and the scanner set it).
  ctx.epoch = EpochState{};
  ctx.antennaLetters.clear();
  ctx.askAntenna = true;
  ctx.selectedAntenna = '0';
  // A date, a time and one satellite of every system (GPS 5, GLONASS channel 40 with its
  // slot, Galileo 75, SBAS 122), as a log has them before its observables.
  static const std::vector<std::string> kStart = {
      Frame("RD", std::string("\xD9\x07\x06\x17\x00", 5)),
      Frame("~~", std::string("\xE8\x03\x00\x00", 4)),
      Frame("SI", std::string("\x05\x28\x4B\x7A", 4)),
      Frame("NN", std::string("\x03", 1)),
  };
  for (const std::string& f : kStart) DispatchExact(ctx, f);
  size_t at = 0;
  while (at + 3 <= size) {
    const uint8_t choice = data[at];
    size_t length = (data[at + 1] | data[at + 2] << 8) & 0xFFF;
    at += 3;
    if (length > size - at) length = size - at;
    const IdentifierRow& row = kIdentifierTable[(choice & 0x7F) % kIdentifierCount];
    std::string body(reinterpret_cast<const char*>(data + at), length);
    at += length;
    char head[6];
    std::snprintf(head, sizeof head, "%c%c%03X", row.id[0], row.id[1],
                  static_cast<unsigned>(body.size()));
    std::string frame = std::string(head, 5) + body;
    if ((choice & 0x80) == 0 && !body.empty())
      frame.back() = static_cast<char>(
          Checksum(reinterpret_cast<const uint8_t*>(frame.data()), frame.size() - 1));
    DispatchExact(ctx, frame);
  }
  CloseEpoch(ctx);
}

void RunExportPath(const uint8_t* data, size_t size) {
  Session& session = FreshSession();
  if (!session.ScanMemory(kName, data, size)) return;
  const ScanResult scan = session.Result();
  rinex::ExportInput in = rinex::ExportInputFromScan(scan, kName);
  // The working files are memory files: their bytes go to the export through a memory source.
  auto records = std::make_shared<rinex::MemoryRecordSource>();
  for (int i = 0; i < kWorkFileCount; ++i) {
    const WorkFile f = static_cast<WorkFile>(i);
    std::ifstream file(scan.Files().PathOf(f), std::ios::binary);
    records->Set(f, std::string(std::istreambuf_iterator<char>(file), {}));
  }
  in.records = records;
  rinex::ExportOptions options;
  options.created = 1765238400;  // a fixed creation time: the same input, the same text
  std::map<std::string, std::string> out;
  rinex::ExportRinexToMemory(in, options, out);
  options.version = rinex::Version::V211;
  options.maskDegrees = 10;
  out.clear();
  rinex::ExportRinexToMemory(in, options, out);
}

}  // namespace vnx::fuzz
