// vnx-fuzz-seeds OUTDIR: writes the per-identifier seeds of the fuzz corpus. For the whole-path
// target (OUTDIR/check/) one small log per identifier: the file header, a date, a time, four
// satellites of different systems, and one valid frame of the identifier with a correct
// checksum. For the dispatch target (OUTDIR/dispatch/) the same frame as a dispatch record.
// The logs made by vnx-synth beside them come from scripts/fuzz.sh --seeds.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "engine/decoders/identifier_table.h"
#include "engine/decoders/observable_members.h"
#include "support/ephemeris_frames.h"
#include "support/log_builder.h"

namespace {

using vnx::ObservableMember;
using vnx::Payload;

// The satellites of every seed: GPS 5, GLONASS channel 40 (slot 3), Galileo 75, SBAS 122.
constexpr int kSats = 4;

struct MemberIds {
  const char* ids;
  const ObservableMember* member;
};
const MemberIds kMembers[] = {
    {"RC R1 R2 R3 R5", &vnx::kFullCode},
    {"rc r1 r2 r3 r5", &vnx::kCompactCode},
    {"1R 2R 3R 5R", &vnx::kRelativeCode},
    {"1r 2r 3r 5r", &vnx::kCompactRelativeCode},
    {"CC C1 C2", &vnx::kSmoothingCorrection},
    {"cc c1 c2", &vnx::kCompactSmoothingCorrection},
    {"PC P1 P2 P3 P5", &vnx::kFullPhase},
    {"pc p1 p2 p3 p5", &vnx::kCompactPhase},
    {"CP 1P 2P 3P 5P", &vnx::kRelativePhase},
    {"cp 1p 2p 3p 5p", &vnx::kCompactRelativePhase},
    {"DC D1 D2 D3 D5", &vnx::kDopplerCount},
    {"EC E1 E2 E3 E5", &vnx::kSnrWhole},
    {"CE 1E 2E 3E 5E", &vnx::kSnrQuarter},
    {"FC F1 F2 F3 F5 TC", &vnx::kSlotWords},
    {"SS", &vnx::kSlotStatus},
};

const ObservableMember* MemberOf(const std::string& id) {
  for (const MemberIds& m : kMembers)
    if (std::string(m.ids).find(id) != std::string::npos) return m.member;
  return nullptr;
}

// One entry of every satellite in the member's form, with plausible values.
std::string ObservablePayload(const ObservableMember& m) {
  Payload p;
  for (int i = 0; i < kSats; ++i) {
    switch (m.entry) {
      case vnx::ObsEntry::Float64:
        p.F64(m.target == vnx::kRange ? 0.0712 + i * 1e-3 : 1.1e8 + i);
        break;
      case vnx::ObsEntry::Float32:
        p.F32(1.5e-9f * static_cast<float>(i + 1));
        break;
      case vnx::ObsEntry::Float32Interval:
        p.F32(0.25f).U16(static_cast<uint16_t>(100 + i));
        break;
      case vnx::ObsEntry::Int32:
      case vnx::ObsEntry::UInt32:
        p.I32(123456 + i);
        break;
      case vnx::ObsEntry::Int16:
        p.I16(static_cast<int16_t>(-20 + i));
        break;
      case vnx::ObsEntry::UInt8:
        p.U8(static_cast<uint8_t>(160 + i));
        break;
      case vnx::ObsEntry::None:
        for (int b = 0; b < m.width; ++b) p.U8(static_cast<uint8_t>(i));
        break;
    }
  }
  for (int b = 1; b < m.trailer; ++b) p.U8(0);  // "SS": the solution type
  return p.str();
}

// Bodies (without the checksum) of the identifiers that are not per-slot observables.
std::map<std::string, std::string> SpecialPayloads() {
  using namespace vnx::test;
  std::map<std::string, std::string> m;
  const auto event = [](const char* text) { return Payload().I32(5000).U8(0).Bytes(text).str(); };
  m["=="] = event("_SIT=BASE1");
  m["~~"] = Payload().U32(2000).str();
  m["RD"] = Payload().U16(2009).U8(6).U8(23).U8(0).str();
  m["GT"] = Payload().U32(172802000).U16(1537).str();
  m["SI"] = Payload().U8(5).U8(40).U8(75).U8(122).str();
  m["AN"] = "AAAB";
  m["NN"] = Payload().U8(3).str();
  m["EL"] = Payload().I8(10).I8(20).I8(30).I8(40).str();
  m["AZ"] = Payload().U8(10).U8(90).U8(180).U8(250).str();
  m["PO"] = Payload().F64(2.8e6).F64(1.2e6).F64(5.6e6).F32(0.5f).U8(0).str();
  m["UO"] =
      Payload().F64(1e-9).F32(1e-15f).U32(405504).U16(1537).I8(15).U8(7).U16(1537).I8(15).str();
  m["GE"] = GePayload(SampleKepler(5, 1537, 172800, 180000));
  vnx::GalEphBody gal{};
  gal.k = SampleKepler(11, 1537, 172800, 180000);
  m["EN"] = EnPayload(gal);
  m["NE"] = NePayload(SampleGlonass(3, 0, 900));
  m["WE"] = WePayload(SampleSbas(122, 172800000, 3600, 1537));
  m["PM"] = "PM text of the receiver";
  m["ID"] = "receiver id 1.0";
  m[">>"] = "%set,/par/out,on";
  return m;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vnx-fuzz-seeds OUTDIR\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out / "check");
  std::filesystem::create_directories(out / "dispatch");
  const auto special = SpecialPayloads();
  for (int i = 0; i < vnx::kIdentifierCount; ++i) {
    const vnx::IdentifierRow& row = vnx::kIdentifierTable[i];
    const std::string id(row.id, 2);
    std::string body;
    bool raw = id == "PM" || id == ">>";
    if (const auto it = special.find(id); it != special.end()) {
      body = it->second;
    } else if (const ObservableMember* m = MemberOf(id)) {
      body = ObservablePayload(*m);
    } else {
      // The shortest body the decoder accepts, in a pattern that is no missing-value marker.
      for (int b = 0; b + 1 < std::max<int>(row.minLength, 2); ++b)
        body += static_cast<char>(b * 7 + 1);
    }
    vnx::test::LogBuilder log;
    log.Header().Date(2009, 6, 23).Time(1000).Sats({5, 40, 75, 122}).GloNumbers({3});
    if (raw)
      log.RawFrame(id, body);
    else
      log.Frame(id, body);
    log.Time(2000).Sats({5, 40, 75, 122});
    // Names without the identifier's characters: "==" and ">>" are no file names to keep.
    char name[32];
    std::snprintf(name, sizeof name, "id-%03d-%02x%02x", i, static_cast<uint8_t>(id[0]),
                  static_cast<uint8_t>(id[1]));
    Write(out / "check" / name, log.str());
    const std::string framed = raw ? body : body + '\0';  // the dispatch target makes the checksum
    std::string record(1, static_cast<char>(i | (raw ? 0x80 : 0)));
    record += static_cast<char>(framed.size() & 0xFF);
    record += static_cast<char>(framed.size() >> 8);
    Write(out / "dispatch" / name, record + framed);
  }
  return 0;
}
