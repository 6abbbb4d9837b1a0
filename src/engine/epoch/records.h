#pragma once
// Records of the working files. Each layout is declared once, packed and little-endian, and
// pinned by static_asserts; the writers and every reader use these same definitions.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/gnss/signals.h"
#include "engine/time/time_rec.h"

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");

namespace vnx {

#pragma pack(push, 1)

// A length byte followed by 20 characters.
struct ShortString20 {
  uint8_t length;
  char chars[20];

  void Set(std::string_view s) {
    length = static_cast<uint8_t>(s.size() < 20 ? s.size() : 20);
    std::memset(chars, 0, sizeof chars);
    if (length > 0) std::memcpy(chars, s.data(), length);  // an empty view may have no data
  }
  std::string_view View() const { return {chars, length <= 20 ? length : size_t{20}}; }
};
static_assert(sizeof(ShortString20) == 21);

// A length byte followed by 5 characters ("SE").
struct ShortString5 {
  uint8_t length;
  char chars[5];
};
static_assert(sizeof(ShortString5) == 6);

struct SiteInfo {
  ShortString20 siteName;     // _SIT=
  ShortString20 siteText2;    // emptied by each _SIT= event
  ShortString20 antennaName;  // _ANT=
  ShortString20 antennaText;  // set to "-Unknown-" by each _ANT= event
  uint8_t slant;              // 1 when the antenna height is a slant height
  uint8_t reserved85[3];
  double antennaHeight;
  uint8_t isStatic;  // 1 static, 0 dynamic
  uint8_t reserved97[7];
};
static_assert(sizeof(SiteInfo) == 104);
static_assert(offsetof(SiteInfo, antennaName) == 42);
static_assert(offsetof(SiteInfo, antennaText) == 63);
static_assert(offsetof(SiteInfo, slant) == 84);
static_assert(offsetof(SiteInfo, antennaHeight) == 88);
static_assert(offsetof(SiteInfo, isStatic) == 96);

struct PosBlock {
  uint8_t velocityPresent;
  uint8_t positionPresent;
  uint8_t rmsPresent;
  uint8_t dopPresent;
  uint8_t solutionType;
  uint8_t reserved5[3];
  double x, y, z;
  float positionSigma;
  float velocitySigma;
  float pdop, gdop, hdop, vdop, tdop;
  float vx, vy, vz;
  float doValue;
  float hpos, vpos, hvel, vvel;
  uint8_t reserved92[4];
};
static_assert(sizeof(PosBlock) == 96);
static_assert(offsetof(PosBlock, x) == 8);
static_assert(offsetof(PosBlock, positionSigma) == 32);
static_assert(offsetof(PosBlock, pdop) == 40);
static_assert(offsetof(PosBlock, hdop) == 48);
static_assert(offsetof(PosBlock, vx) == 60);
static_assert(offsetof(PosBlock, doValue) == 72);
static_assert(offsetof(PosBlock, hpos) == 76);
static_assert(offsetof(PosBlock, vvel) == 88);

struct UtcBlock {
  double a0;
  float a1;
  uint32_t tot;
  uint16_t wnt;
  int8_t dtls;
  uint8_t dn;
  uint16_t wnlsf;
  int8_t dtlsf;
  uint8_t reserved23;
};
static_assert(sizeof(UtcBlock) == 24);
static_assert(offsetof(UtcBlock, wnt) == 16);
static_assert(offsetof(UtcBlock, dtlsf) == 22);

struct IonoBlock {
  uint32_t tot;
  uint16_t wn;
  uint8_t reserved6[2];
  float alpha[4];
  float beta[4];
  uint8_t reserved40[4];
};
static_assert(sizeof(IonoBlock) == 44);
static_assert(offsetof(IonoBlock, alpha) == 8);
static_assert(offsetof(IonoBlock, beta) == 24);

struct PgBlock {
  double lat, lon, alt;
  float pSigma;
  uint8_t type;
  uint8_t reserved29[3];
};
static_assert(sizeof(PgBlock) == 32);
static_assert(offsetof(PgBlock, type) == 28);

struct BiBlock {
  double lat, lon, alt;
  uint16_t id;
  uint8_t type;
  uint8_t reserved27[5];
};
static_assert(sizeof(BiBlock) == 32);
static_assert(offsetof(BiBlock, type) == 26);

struct SpBlock {
  float cov[10];
  uint8_t tip;
  uint8_t reserved41[3];
};
static_assert(sizeof(SpBlock) == 44);

struct VgBlock {
  float lat, lon, alt, pSigma;
  uint8_t type;
  uint8_t reserved17[3];
};
static_assert(sizeof(VgBlock) == 20);

struct BlBlock {
  double lat, lon, alt;
  float pSigma;
  uint8_t type;
  uint8_t reserved29[3];
  uint32_t time;
  uint8_t reserved36[4];
};
static_assert(sizeof(BlBlock) == 40);
static_assert(offsetof(BlBlock, time) == 32);

struct PsBlock {
  uint8_t type, gpsLocked, gloLocked, gpsAvail, gloAvail, gpsUsed, gloUsed, fixProg;
};
static_assert(sizeof(PsBlock) == 8);

struct Mr37Block {
  uint32_t time;
  float q00, q01, q02, q12;
  float rms[3];
  uint8_t solType[3];
  uint8_t flag;
};
static_assert(sizeof(Mr37Block) == 36);
static_assert(offsetof(Mr37Block, solType) == 32);

struct Mr73Block {
  Mr37Block head;
  float baseline[3][3];
};
static_assert(sizeof(Mr73Block) == 72);

struct ArBlock {
  uint32_t time;
  float pitch, roll, heading;
  float extra[3];
  uint8_t flag;
  uint8_t reserved29[3];
};
static_assert(sizeof(ArBlock) == 32);
static_assert(offsetof(ArBlock, flag) == 28);

// Presence flags at the start of an EpochRec: 1 when the message was decoded with usable
// values during the epoch.
enum EpochFlag : int {
  kFlagPosition = 0,
  kFlagUO = 1,
  kFlagIO = 2,
  kFlagSE = 3,
  kFlagNN = 4,
  kFlagGT = 5,
  kFlagTO = 6,
  kFlagDO = 7,
  kFlagOO = 8,
  kFlagBP = 9,
  kFlagNT = 10,
  kFlagNO = 11,
  kFlagGO = 12,
  kFlagPG = 13,
  kFlagSP = 14,
  kFlagVG = 16,
  kFlagBL = 17,
  kFlagBI = 18,
  kFlagPS = 19,
  kFlagST = 20,
  kFlagPT = 21,
  kFlagWO = 23,
  kFlagMR73 = 24,
  kFlagMR37 = 25,
  kFlagAR = 26,
  kFlagZA = 27,
  kFlagZB = 28,
  kFlagLT = 29,
  kFlagEL = 30,
  kFlagAZ = 31,
  kFlagRange = 32,
  kFlagSmoothing = 33,
  kFlagPhase = 34,
  kFlagDoppler = 35,
  kFlagSnr = 36,
  kFlagTOExtended = 37,
};

struct EpochRec {
  uint8_t flags[38];
  uint8_t reserved38[2];
  uint8_t toExtended[10];
  uint8_t reserved50[6];
  SiteInfo site;
  TimeRec time;
  PosBlock pos;
  int32_t gpsWritten, gloWritten, sbasWritten, galWritten;
  int32_t satsWritten;  // SvRec records that follow in SVRecs.dat
  int32_t eventCount;   // "==" frames in this epoch
  int32_t taggedPmCount;
  uint8_t reserved324[4];
  UtcBlock utc;
  IonoBlock iono;
  ShortString5 se;
  uint8_t usi[70];
  uint8_t gloNumber[70];
  uint8_t reserved542[2];
  int32_t echoCount;
  uint32_t gtTow;
  uint16_t gtWn;
  uint8_t reserved554[6];
  double toValue;
  float doValue, ooValue, bpValue;
  int32_t ntTod;
  int16_t ntDn;
  uint8_t noSec;
  uint8_t reserved587;
  int32_t noNs;
  uint8_t goSec;
  uint8_t reserved593[3];
  int32_t goNs;
  PgBlock pg;
  SpBlock sp;
  uint8_t reserved676[44];
  VgBlock vg;
  uint8_t reserved740[4];
  BlBlock bl;
  BiBlock bi;
  PsBlock ps;
  uint32_t stTime, stType;
  uint32_t ptTime;
  uint8_t reserved836[4];
  uint8_t wo[32];
  Mr73Block mr73;
  Mr37Block mr37;
  ArBlock ar;
  float zaOffset, zbOffset;
  uint8_t lt;
  uint8_t reserved1021[3];
};
static_assert(sizeof(EpochRec) == 1024);
static_assert(offsetof(EpochRec, toExtended) == 40);
static_assert(offsetof(EpochRec, site) == 56);
static_assert(offsetof(EpochRec, site) + offsetof(SiteInfo, isStatic) == 152);
static_assert(offsetof(EpochRec, time) == 160);
static_assert(offsetof(EpochRec, pos) == 200);
static_assert(offsetof(EpochRec, pos) + offsetof(PosBlock, solutionType) == 204);
static_assert(offsetof(EpochRec, gpsWritten) == 296);
static_assert(offsetof(EpochRec, galWritten) == 308);
static_assert(offsetof(EpochRec, satsWritten) == 312);
static_assert(offsetof(EpochRec, eventCount) == 316);
static_assert(offsetof(EpochRec, taggedPmCount) == 320);
static_assert(offsetof(EpochRec, utc) == 328);
static_assert(offsetof(EpochRec, iono) == 352);
static_assert(offsetof(EpochRec, se) == 396);
static_assert(offsetof(EpochRec, usi) == 402);
static_assert(offsetof(EpochRec, gloNumber) == 472);
static_assert(offsetof(EpochRec, echoCount) == 544);
static_assert(offsetof(EpochRec, gtTow) == 548);
static_assert(offsetof(EpochRec, gtWn) == 552);
static_assert(offsetof(EpochRec, toValue) == 560);
static_assert(offsetof(EpochRec, doValue) == 568);
static_assert(offsetof(EpochRec, ooValue) == 572);
static_assert(offsetof(EpochRec, bpValue) == 576);
static_assert(offsetof(EpochRec, ntTod) == 580);
static_assert(offsetof(EpochRec, ntDn) == 584);
static_assert(offsetof(EpochRec, noSec) == 586);
static_assert(offsetof(EpochRec, noNs) == 588);
static_assert(offsetof(EpochRec, goSec) == 592);
static_assert(offsetof(EpochRec, goNs) == 596);
static_assert(offsetof(EpochRec, pg) == 600);
static_assert(offsetof(EpochRec, sp) == 632);
static_assert(offsetof(EpochRec, vg) == 720);
static_assert(offsetof(EpochRec, bl) == 744);
static_assert(offsetof(EpochRec, bi) == 784);
static_assert(offsetof(EpochRec, ps) == 816);
static_assert(offsetof(EpochRec, stTime) == 824);
static_assert(offsetof(EpochRec, stType) == 828);
static_assert(offsetof(EpochRec, ptTime) == 832);
static_assert(offsetof(EpochRec, wo) == 840);
static_assert(offsetof(EpochRec, mr73) == 872);
static_assert(offsetof(EpochRec, mr37) == 944);
static_assert(offsetof(EpochRec, ar) == 980);
static_assert(offsetof(EpochRec, zaOffset) == 1012);
static_assert(offsetof(EpochRec, zbOffset) == 1016);
static_assert(offsetof(EpochRec, lt) == 1020);

// One signal of a satellite record: C/A L1, P L1, P L2, C/A L2, L5 by index 0..4.

struct SignalBlock {
  uint8_t present[6];  // indexed by ObsKind; [5] always 0
  uint8_t reserved6[2];
  float snr;  // dB-Hz
  uint8_t reserved12[4];
  double range;     // metres
  double phase;     // cycles
  float doppler;    // Hz
  float smoothing;  // metres
};
static_assert(sizeof(SignalBlock) == 40);
static_assert(offsetof(SignalBlock, snr) == 8);
static_assert(offsetof(SignalBlock, range) == 16);
static_assert(offsetof(SignalBlock, phase) == 24);
static_assert(offsetof(SignalBlock, doppler) == 32);
static_assert(offsetof(SignalBlock, smoothing) == 36);

// The elevation byte's "missing" value: a satellite record carries it when no elevation of the
// satellite arrived in its epoch.
inline constexpr int8_t kNoElevation = 127;

struct SvRec {
  uint8_t number;
  uint8_t system;    // SatSystem: 1 GPS, 2 GLONASS, 3 SBAS, 4 Galileo
  int8_t elevation;  // degrees, -90..90; kNoElevation when none arrived
  uint8_t reserved3;
  int16_t azimuth;
  uint8_t reserved6[2];
  int32_t channel;  // low byte only: GLONASS channel -7 is stored as 249
  uint8_t reserved12[4];
  SignalBlock sig[kSignalCount];
};
static_assert(sizeof(SvRec) == 216);
static_assert(offsetof(SvRec, azimuth) == 4);
static_assert(offsetof(SvRec, channel) == 8);
static_assert(offsetof(SvRec, sig) == 16);

// Whether the record carries an elevation at all; "missing" is never an angle.
inline bool HasElevation(const SvRec& sv) {
  return sv.elevation >= -90 && sv.elevation <= 90;
}

struct EventRec {
  int32_t time;
  uint8_t type;
  ShortString20 text;
  ShortString20 key;
  ShortString20 antennaName;
  ShortString20 antennaHeightText;
  uint8_t dynamic;
  ShortString20 siteName;
  ShortString20 can;
  ShortString20 sav;
  ShortString20 dsc;
  ShortString20 fea;
  ShortString20 user;
};
static_assert(sizeof(EventRec) == 216);
static_assert(offsetof(EventRec, key) == 26);
static_assert(offsetof(EventRec, antennaName) == 47);
static_assert(offsetof(EventRec, antennaHeightText) == 68);
static_assert(offsetof(EventRec, dynamic) == 89);
static_assert(offsetof(EventRec, siteName) == 90);
static_assert(offsetof(EventRec, can) == 111);
static_assert(offsetof(EventRec, sav) == 132);
static_assert(offsetof(EventRec, dsc) == 153);
static_assert(offsetof(EventRec, fea) == 174);
static_assert(offsetof(EventRec, user) == 195);

struct ExtEventRec {
  TimeRec time;
  uint8_t reserved40[8];
  uint8_t isXA;       // 1 XA, 0 XB
  uint8_t timeScale;  // 0 GPS, 1 UTC, 15 unknown
  uint8_t reserved50[6];
};
static_assert(sizeof(ExtEventRec) == 56);
static_assert(offsetof(ExtEventRec, isXA) == 48);
static_assert(offsetof(ExtEventRec, timeScale) == 49);

struct ZOffsetRec {
  uint8_t isZA;  // 1 ZA, 0 ZB
  uint8_t reserved1[3];
  float offset;  // nanoseconds
};
static_assert(sizeof(ZOffsetRec) == 8);

#pragma pack(pop)

}  // namespace vnx
