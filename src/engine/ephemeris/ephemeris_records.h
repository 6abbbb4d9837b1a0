#pragma once
// The four ephemeris records of EphemGPSRecs.dat, EphemGALRecs.dat, EphemGLORecs.dat and
// EphemGEORecs.dat. Packed, little-endian, declared once; the decoders build them and the
// ephemeris view reads them back with these same definitions.
#include <cstddef>
#include <cstdint>

#include "engine/time/time_rec.h"

namespace vnx {

#pragma pack(push, 1)

// The orbit and clock fields that GPS and Galileo share (the first 132 bytes of both bodies).
struct KeplerEphFields {
  uint8_t sv;
  uint8_t reserved1[3];
  uint32_t tow;
  uint8_t flags;  // bit 0 fit interval, 1 L2 P data, 2-3 L2 code, 4 A-S, 5 alert, 6 from memory
  uint8_t reserved9;
  int16_t iodc;
  int32_t toc;
  int8_t ura;
  uint8_t health;
  int16_t wn;  // as received
  float tgd;
  float af2;
  float af1;
  float af0;
  int32_t toe;  // normalised: may be negative or beyond the end of the week
  int16_t iode;
  uint8_t reserved42[6];
  double rootA;
  double ecc;
  double m0;
  double omega0;
  double inc0;
  double per;
  float deln;
  float omDot;
  float iDot;
  float crc;
  float crs;
  float cuc;
  float cus;
  float cic;
  float cis;
};
static_assert(sizeof(KeplerEphFields) == 132);
static_assert(offsetof(KeplerEphFields, tow) == 4);
static_assert(offsetof(KeplerEphFields, flags) == 8);
static_assert(offsetof(KeplerEphFields, iodc) == 10);
static_assert(offsetof(KeplerEphFields, toc) == 12);
static_assert(offsetof(KeplerEphFields, ura) == 16);
static_assert(offsetof(KeplerEphFields, health) == 17);
static_assert(offsetof(KeplerEphFields, wn) == 18);
static_assert(offsetof(KeplerEphFields, tgd) == 20);
static_assert(offsetof(KeplerEphFields, af2) == 24);
static_assert(offsetof(KeplerEphFields, af1) == 28);
static_assert(offsetof(KeplerEphFields, af0) == 32);
static_assert(offsetof(KeplerEphFields, toe) == 36);
static_assert(offsetof(KeplerEphFields, iode) == 40);
static_assert(offsetof(KeplerEphFields, rootA) == 48);
static_assert(offsetof(KeplerEphFields, ecc) == 56);
static_assert(offsetof(KeplerEphFields, m0) == 64);
static_assert(offsetof(KeplerEphFields, omega0) == 72);
static_assert(offsetof(KeplerEphFields, inc0) == 80);
static_assert(offsetof(KeplerEphFields, per) == 88);
static_assert(offsetof(KeplerEphFields, deln) == 96);
static_assert(offsetof(KeplerEphFields, omDot) == 100);
static_assert(offsetof(KeplerEphFields, iDot) == 104);
static_assert(offsetof(KeplerEphFields, crc) == 108);
static_assert(offsetof(KeplerEphFields, crs) == 112);
static_assert(offsetof(KeplerEphFields, cuc) == 116);
static_assert(offsetof(KeplerEphFields, cus) == 120);
static_assert(offsetof(KeplerEphFields, cic) == 124);
static_assert(offsetof(KeplerEphFields, cis) == 128);

struct GpsEphBody {
  KeplerEphFields k;
  uint8_t reserved132[4];
};
static_assert(sizeof(GpsEphBody) == 136);

struct GalEphBody {
  KeplerEphFields k;
  float bcdA;  // broadcast group delay E1-E5a
  float bcdB;  // broadcast group delay E1-E5b
  float ai0;
  float ai1;
  float ai2;
  uint8_t sfi;
  uint8_t reserved153[7];
};
static_assert(sizeof(GalEphBody) == 160);
static_assert(offsetof(GalEphBody, bcdA) == 132);
static_assert(offsetof(GalEphBody, bcdB) == 136);
static_assert(offsetof(GalEphBody, ai0) == 140);
static_assert(offsetof(GalEphBody, ai1) == 144);
static_assert(offsetof(GalEphBody, ai2) == 148);
static_assert(offsetof(GalEphBody, sfi) == 152);

struct GloEphBody {
  uint8_t sv;  // slot
  int8_t frqNum;
  int16_t dne;  // day within the four-year period
  int32_t tk;
  int32_t tb;
  uint8_t health;
  uint8_t age;
  uint8_t flags;
  uint8_t reserved15;
  double r[3];  // km
  float v[3];   // km/s
  float w[3];
  double tauSys;
  float tau;
  float gamma;
};
static_assert(sizeof(GloEphBody) == 80);
static_assert(offsetof(GloEphBody, frqNum) == 1);
static_assert(offsetof(GloEphBody, dne) == 2);
static_assert(offsetof(GloEphBody, tk) == 4);
static_assert(offsetof(GloEphBody, tb) == 8);
static_assert(offsetof(GloEphBody, health) == 12);
static_assert(offsetof(GloEphBody, age) == 13);
static_assert(offsetof(GloEphBody, flags) == 14);
static_assert(offsetof(GloEphBody, r) == 16);
static_assert(offsetof(GloEphBody, v) == 40);
static_assert(offsetof(GloEphBody, w) == 52);
static_assert(offsetof(GloEphBody, tauSys) == 64);
static_assert(offsetof(GloEphBody, tau) == 72);
static_assert(offsetof(GloEphBody, gamma) == 76);

struct GeoEphBody {
  uint8_t sv;
  uint8_t svAux;  // stored, never interpreted
  uint8_t iod;
  uint8_t ura;
  int32_t tod;
  double r[3];  // m
  float v[3];   // m/s
  float w[3];   // m/s^2
  float aGf0;
  float aGf1;
  uint32_t tow;  // ms
  uint16_t wn;
  uint8_t reserved70[2];
};
static_assert(sizeof(GeoEphBody) == 72);
static_assert(offsetof(GeoEphBody, iod) == 2);
static_assert(offsetof(GeoEphBody, ura) == 3);
static_assert(offsetof(GeoEphBody, tod) == 4);
static_assert(offsetof(GeoEphBody, r) == 8);
static_assert(offsetof(GeoEphBody, v) == 32);
static_assert(offsetof(GeoEphBody, w) == 44);
static_assert(offsetof(GeoEphBody, aGf0) == 56);
static_assert(offsetof(GeoEphBody, aGf1) == 60);
static_assert(offsetof(GeoEphBody, tow) == 64);
static_assert(offsetof(GeoEphBody, wn) == 68);

struct EphemGPSRec {
  int32_t sv;
  uint8_t reserved4[4];
  TimeRec time;  // the normalised toe
  GpsEphBody body;
};
static_assert(sizeof(EphemGPSRec) == 184);
static_assert(offsetof(EphemGPSRec, time) == 8);
static_assert(offsetof(EphemGPSRec, body) == 48);

struct EphemGALRec {
  int32_t sv;
  uint8_t reserved4[4];
  TimeRec time;
  GalEphBody body;
};
static_assert(sizeof(EphemGALRec) == 208);
static_assert(offsetof(EphemGALRec, time) == 8);
static_assert(offsetof(EphemGALRec, body) == 48);

struct EphemGLORec {
  int32_t sv;
  uint8_t reserved4[4];
  TimeRec time;  // UTC
  GloEphBody body;
};
static_assert(sizeof(EphemGLORec) == 128);
static_assert(offsetof(EphemGLORec, time) == 8);
static_assert(offsetof(EphemGLORec, body) == 48);

struct EphemGEORec {
  int32_t sv;
  int32_t svAux;
  int32_t zero;
  uint8_t reserved12[4];
  TimeRec time;
  GeoEphBody body;
};
static_assert(sizeof(EphemGEORec) == 128);
static_assert(offsetof(EphemGEORec, svAux) == 4);
static_assert(offsetof(EphemGEORec, zero) == 8);
static_assert(offsetof(EphemGEORec, time) == 16);
static_assert(offsetof(EphemGEORec, body) == 56);

#pragma pack(pop)

}  // namespace vnx
