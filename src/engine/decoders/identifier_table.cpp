#include "engine/decoders/identifier_table.h"

#include "engine/decoders/ephemeris_messages.h"
#include "engine/decoders/event_message.h"
#include "engine/decoders/external_events.h"
#include "engine/decoders/file_identifier.h"
#include "engine/decoders/observables.h"
#include "engine/decoders/other_epoch_messages.h"
#include "engine/decoders/parameter_messages.h"
#include "engine/decoders/position_messages.h"
#include "engine/decoders/satellite_messages.h"
#include "engine/decoders/time_messages.h"

namespace vnx {

namespace {

template <class Message>
constexpr DecodeEntry kWith = &DecodeWith<Message>;
template <const ObservableMember& Member>
constexpr DecodeEntry kObs = &DecodeWith<MemberMessage<Member>>;

constexpr IdentifierRow Row(const char* id, DecodeEntry decode, uint8_t variant, const char* name,
                            uint16_t minLength, bool silent = false) {
  return {{id[0], id[1], 0}, decode, variant, name, minLength, silent};
}

// A storing message whose layout reads nothing past the checksum of its shortest body; a
// layout that does fails the build here.
constexpr IdentifierRow LayoutRow(const char* id, DecodeEntry decode, uint8_t variant,
                                  const char* name, uint16_t minLength, const BlockLayout& layout) {
  if (!LayoutFits(layout, minLength)) throw "block layout reads past the body";
  return Row(id, decode, variant, name, minLength);
}
template <const BlockLayout& Layout>
constexpr IdentifierRow BlockRow(const char* id, const char* name, uint16_t minLength) {
  return LayoutRow(id, &DecodeWith<Block<Layout>>, 0, name, minLength, Layout);
}

constexpr DecodeEntry kChecked = kWith<CheckedOnlyMessage>;
constexpr DecodeEntry kPps = kWith<PpsOffsetMessage>;
constexpr DecodeEntry kClock = kWith<ClockValueMessage>;
constexpr DecodeEntry kScaleOffset = kWith<TimeScaleOffsetMessage>;
constexpr DecodeEntry kAngle = kWith<AngleMessage>;
constexpr DecodeEntry kKepler = kWith<KeplerEphemerisMessage>;

}  // namespace

// Observables: the variant is the signal index (0 C/A L1, 1 P L1, 2 P L2, 3 C/A L2, 4 L5).
// clang-format off
constexpr std::array<IdentifierRow, kIdentifierCount> kIdentifierTable{{
    Row("VN", kWith<TVN055>, 0, "VN055", 85, true),
    Row("==", &DecodeEventMessage, 0, "Event", 0),
    Row("~~", kWith<TRT>, 0, "~~", 5),
    Row("RD", kWith<TRD>, 0, "RD", 6),
    Row("GT", kWith<TGT>, 0, "GT", 7),
    Row("UO", kWith<TUO>, 0, "UO", 24),
    Row("TO", kWith<TTO>, 0, "TO", 9),
    Row("DO", kClock, ClockValueMessage::kDO, "DO", 5),
    Row("OO", kClock, ClockValueMessage::kOO, "OO", 5),
    Row("BP", kClock, ClockValueMessage::kBP, "BP", 5),
    Row("NT", kWith<TNT>, 0, "NT", 7),
    Row("NO", kScaleOffset, 0, "NO", 6),
    Row("GO", kScaleOffset, 1, "GO", 6),
    Row("PO", kWith<TPO>, 0, "PO", 30),
    Row("VE", kWith<TVE>, 0, "VE", 18),
    Row("PV", kWith<TPV>, 0, "PV", 46),
    Row("DP", kWith<TDP>, 0, "DP", 14),
    Row("SG", kWith<TSG>, 0, "SG", 18),
    Row("SP", kWith<TSP>, 0, "SP", 42),
    Row("SV", kWith<TSV>, 0, "SV", 42),
    Row("SI", kWith<TSI>, 0, "SI", 0),
    Row("AN", kWith<TAN>, 0, "AN", 0),
    Row("NN", kWith<TNN>, 0, "NN", 0),
    Row("EL", kAngle, 0, "EL", 0),
    Row("AZ", kAngle, 1, "AZ", 0),
    Row("RC", kObs<kFullCode>, 0, "RC", 0), Row("R1", kObs<kFullCode>, 1, "R1", 0),
    Row("R2", kObs<kFullCode>, 2, "R2", 0), Row("R3", kObs<kFullCode>, 3, "R3", 0),
    Row("R5", kObs<kFullCode>, 4, "R5", 0),
    Row("rc", kObs<kCompactCode>, 0, "rc", 0), Row("r1", kObs<kCompactCode>, 1, "r1", 0),
    Row("r2", kObs<kCompactCode>, 2, "r2", 0), Row("r3", kObs<kCompactCode>, 3, "r3", 0),
    Row("r5", kObs<kCompactCode>, 4, "r5", 0),
    Row("1R", kObs<kRelativeCode>, 1, "1R", 0), Row("2R", kObs<kRelativeCode>, 2, "2R", 0),
    Row("3R", kObs<kRelativeCode>, 3, "3R", 0), Row("5R", kObs<kRelativeCode>, 4, "5R", 0),
    Row("1r", kObs<kCompactRelativeCode>, 1, "1r", 0),
    Row("2r", kObs<kCompactRelativeCode>, 2, "2r", 0),
    Row("3r", kObs<kCompactRelativeCode>, 3, "3r", 0),
    Row("5r", kObs<kCompactRelativeCode>, 4, "5r", 0),
    Row("CC", kObs<kSmoothingCorrection>, 0, "CC", 0),
    Row("C1", kObs<kSmoothingCorrection>, 1, "C1", 0),
    Row("C2", kObs<kSmoothingCorrection>, 2, "C2", 0),
    Row("cc", kObs<kCompactSmoothingCorrection>, 0, "cc", 0),
    Row("c1", kObs<kCompactSmoothingCorrection>, 1, "c1", 0),
    Row("c2", kObs<kCompactSmoothingCorrection>, 2, "c2", 0),
    Row("PC", kObs<kFullPhase>, 0, "PC", 0), Row("P1", kObs<kFullPhase>, 1, "P1", 0),
    Row("P2", kObs<kFullPhase>, 2, "P2", 0), Row("P3", kObs<kFullPhase>, 3, "P3", 0),
    Row("P5", kObs<kFullPhase>, 4, "P5", 0),
    Row("pc", kObs<kCompactPhase>, 0, "pc", 0), Row("p1", kObs<kCompactPhase>, 1, "p1", 0),
    Row("p2", kObs<kCompactPhase>, 2, "p2", 0), Row("p3", kObs<kCompactPhase>, 3, "p3", 0),
    Row("p5", kObs<kCompactPhase>, 4, "p5", 0),
    Row("CP", kObs<kRelativePhase>, 0, "CP", 0), Row("1P", kObs<kRelativePhase>, 1, "1P", 0),
    Row("2P", kObs<kRelativePhase>, 2, "2P", 0), Row("3P", kObs<kRelativePhase>, 3, "3P", 0),
    Row("5P", kObs<kRelativePhase>, 4, "5P", 0),
    Row("cp", kObs<kCompactRelativePhase>, 0, "cp", 0),
    Row("1p", kObs<kCompactRelativePhase>, 1, "1p", 0),
    Row("2p", kObs<kCompactRelativePhase>, 2, "2p", 0),
    Row("3p", kObs<kCompactRelativePhase>, 3, "3p", 0),
    Row("5p", kObs<kCompactRelativePhase>, 4, "5p", 0),
    Row("DC", kObs<kDopplerCount>, 0, "DC", 0), Row("D1", kObs<kDopplerCount>, 1, "D1", 0),
    Row("D2", kObs<kDopplerCount>, 2, "D2", 0), Row("D3", kObs<kDopplerCount>, 3, "D3", 0),
    Row("D5", kObs<kDopplerCount>, 4, "D5", 0),
    Row("EC", kObs<kSnrWhole>, 0, "EC", 0), Row("E1", kObs<kSnrWhole>, 1, "E1", 0),
    Row("E2", kObs<kSnrWhole>, 2, "E2", 0), Row("E3", kObs<kSnrWhole>, 3, "E3", 0),
    Row("E5", kObs<kSnrWhole>, 4, "E5", 0),
    Row("CE", kObs<kSnrQuarter>, 0, "CE", 0), Row("1E", kObs<kSnrQuarter>, 1, "1E", 0),
    Row("2E", kObs<kSnrQuarter>, 2, "2E", 0), Row("3E", kObs<kSnrQuarter>, 3, "3E", 0),
    Row("5E", kObs<kSnrQuarter>, 4, "5E", 0),
    Row("FC", kObs<kSlotWords>, 0, "FC", 0), Row("F1", kObs<kSlotWords>, 1, "F1", 0),
    Row("F2", kObs<kSlotWords>, 2, "F2", 0), Row("F3", kObs<kSlotWords>, 3, "F3", 0),
    Row("F5", kObs<kSlotWords>, 4, "F5", 0),
    Row("SS", kObs<kSlotStatus>, 0, "SS", 0),
    Row("TC", kObs<kSlotWords>, 0, "TC", 0),
    Row("TT", kChecked, 0, "TT", 5),
    Row("GA", kChecked, 0, "GA", 47),
    Row("NA", kChecked, 0, "NA", 46),
    Row("IO", kWith<TIO>, 0, "IO", 39),
    Row("PM", kWith<TPM>, 0, "PM", 0),
    Row("XA", kWith<TXAXB>, 0, "XA", 10), Row("XB", kWith<TXAXB>, 1, "XB", 10),
    Row("GE", kKepler, 0, "GE", 123),
    Row("EN", kKepler, 1, "EN", 144),
    Row("NE", kWith<TNE>, 0, "NE", 80),
    Row("WE", kWith<TWE>, 0, "WE", 71),
    Row("SE", kWith<TSE>, 0, "SE", 6, true),
    LayoutRow("ZA", kPps, 0, "ZA", 5, kZaLayout), LayoutRow("ZB", kPps, 1, "ZB", 5, kZbLayout),
    BlockRow<kLtLayout>("LT", "LT", 2),
    Row("YA", kChecked, 0, "YA", 10), Row("YB", kChecked, 0, "YA", 10),
    BlockRow<kMr73Layout>("mr", "MR73", 73),
    BlockRow<kMr37Layout>("MR", "MR37", 37),
    BlockRow<kArLayout>("AR", "AR", 30),
    BlockRow<kWoLayout>("WO", "WO", 31),
    Row("WA", kChecked, 0, "WA", 39),
    Row("ID", kChecked, 0, "ID", 0),
    BlockRow<kPtLayout>("PT", "PT", 5),
    BlockRow<kStLayout>("ST", "ST", 6),
    BlockRow<kPsLayout>("PS", "PS", 9),
    BlockRow<kBiLayout>("BI", "BI", 28),
    BlockRow<kBlLayout>("BL", "BL", 34),
    BlockRow<kVgLayout>("VG", "VG", 18),
    BlockRow<kPgLayout>("PG", "PG", 30),
    Row(">>", kWith<TWrEcho>, 0, ">>", 0),
    Row("GP", nullptr, 0, nullptr, 0), Row("PA", nullptr, 0, nullptr, 0),
    Row("SO", nullptr, 0, nullptr, 0), Row("UP", nullptr, 0, nullptr, 0),
}};
// clang-format on

namespace {

// Row index + 1 for every 16-bit identifier, 0 for identifiers outside the table.
struct LookupTable {
  std::array<uint8_t, 65536> index{};
  constexpr LookupTable() {
    for (int i = 0; i < kIdentifierCount; ++i) {
      const IdentifierRow& r = kIdentifierTable[i];
      index[IdentifierCode(r.id[0], r.id[1])] = static_cast<uint8_t>(i + 1);
    }
  }
};

const LookupTable& Lookup() {
  static const LookupTable table;
  return table;
}

}  // namespace

const IdentifierRow* LookupIdentifier(uint16_t code) {
  const uint8_t i = Lookup().index[code];
  return i == 0 ? nullptr : &kIdentifierTable[i - 1];
}

}  // namespace vnx
