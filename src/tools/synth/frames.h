#pragma once
// The messages of a receiver log, encoded the way the receiver writes them. Each function
// returns one complete frame (identifier, length, body, checksum where the message has one).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/synth/gnss.h"
#include "tools/synth/rinex_nav.h"

namespace vnx::synth {

std::string FrameIdentifier();                               // "VN"
std::string FrameParameter(const std::string& text);         // "PM", no checksum
std::string FrameReceiverTime(uint32_t msOfDay);             // "~~"
std::string FrameGpsTime(uint32_t msOfWeek, uint16_t week);  // "GT"
std::string FrameDate(int year, int month, int day);         // "RD"
std::string FrameEvent(int32_t msOfDay, uint8_t type, const std::string& text);  // "=="

std::string FrameSatIndex(const std::vector<uint8_t>& usi);      // "SI"
std::string FrameAntennas(const std::string& letters);           // "AN"
std::string FrameGloNumbers(const std::vector<uint8_t>& slots);  // "NN"
// Degrees; NaN for an unknown angle.
std::string FrameElevations(const std::vector<double>& deg);  // "EL"
std::string FrameAzimuths(const std::vector<double>& deg);    // "AZ"

struct Solution {
  double x = 0, y = 0, z = 0;
  float sigma = 0;
  float vx = 0, vy = 0, vz = 0, vSigma = 0;
  float hdop = 0, vdop = 0, tdop = 0;
  float hpos = 0, vpos = 0, hvel = 0, vvel = 0;
  uint8_t type = 1;
};
std::string FramePosition(const Solution& s);  // "PO"
std::string FrameVelocity(const Solution& s);  // "VE"
std::string FrameDops(const Solution& s);      // "DP"
std::string FrameRms(const Solution& s);       // "SG"

// Ionosphere and UTC parameters; weeks as the receiver gives them.
std::string FrameIono(uint32_t tot, uint16_t week, const std::array<double, 4>& alpha,
                      const std::array<double, 4>& beta);  // "IO"
struct UtcParameters {
  double a0 = 0, a1 = 0;
  uint32_t tot = 0;
  uint16_t wnt = 0;
  int8_t dtls = 18;
  uint8_t dn = 7;
  uint16_t wnlsf = 0;
  int8_t dtlsf = 18;
};
std::string FrameUtc(const UtcParameters& u);  // "UO"

// "GE" (GPS) or "EN" (Galileo) from a Keplerian record; `galIon` fills the Galileo extras.
std::string FrameKepler(const KeplerEph& eph, const std::array<double, 3>& galIon);
// "NE" from a GLONASS record: `tbGps` is its reference time on the GPS scale,
// `dayNumber` the day within the four-year period that the receiver gives it.
std::string FrameGlonassEph(const GloEph& eph, double tauSys, int dayNumber, int32_t tb,
                            int32_t tk);

std::string FrameExternalEvent(bool inputA, int32_t ms, int32_t ns, uint8_t scale);  // "XA"/"XB"
std::string FramePpsOffset(bool inputA, float ns);                                   // "ZA"/"ZB"

struct Attitude {
  uint32_t ms = 0;
  float pitch = 0, roll = 0, heading = 0;
  float rms[3] = {0, 0, 0};
  float q00 = 0, q01 = 0, q02 = 0, q12 = 0;
  float baselineRms[3] = {0, 0, 0};
  uint8_t solType[3] = {4, 4, 4};
  float baseline[3][3] = {};
};
std::string FrameAttitude(const Attitude& a);   // "AR"
std::string FrameBaselines(const Attitude& a);  // "mr"

// The receiver's time text used in every error line: " 1h2m3.4s".
std::string TimeText(uint32_t msOfDay);

}  // namespace vnx::synth
