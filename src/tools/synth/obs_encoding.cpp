#include "tools/synth/obs_encoding.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "tools/synth/frame_builder.h"

namespace vnx::synth {
namespace {

constexpr const char* kCodeIds[4][kSignals] = {{"RC", "R1", "R2", "R3", "R5"},
                                               {"rc", "r1", "r2", "r3", "r5"},
                                               {"", "1R", "2R", "3R", "5R"},
                                               {"", "1r", "2r", "3r", "5r"}};
constexpr const char* kPhaseIds[4][kSignals] = {{"PC", "P1", "P2", "P3", "P5"},
                                                {"pc", "p1", "p2", "p3", "p5"},
                                                {"CP", "1P", "2P", "3P", "5P"},
                                                {"cp", "1p", "2p", "3p", "5p"}};
constexpr const char* kDopplerIds[kSignals] = {"DC", "D1", "D2", "D3", "D5"};
constexpr const char* kSnrIds[2][kSignals] = {{"EC", "E1", "E2", "E3", "E5"},
                                              {"CE", "1E", "2E", "3E", "5E"}};

constexpr double kTwo40 = 1099511627776.0;
constexpr int32_t kMissing32 = 0x7FFFFFFF;

using Values = std::vector<std::optional<double>>;

// One message being built: its body and the values a reader will decode from it.
struct Encoded {
  Payload body;
  Values decoded;
  bool fits = true;
};

double NanDouble() {
  return std::numeric_limits<double>::quiet_NaN();
}
float NanFloat() {
  return std::numeric_limits<float>::quiet_NaN();
}

bool FitsInt32(double v) {
  return v >= -2147483648.0 && v <= 2147483646.0;
}

Encoded EncodeCode(const Values& seconds, const Values& pr0, const std::vector<SlotSignals>& slots,
                   Form form) {
  Encoded out;
  for (size_t i = 0; i < seconds.size(); ++i) {
    const auto& x = seconds[i];
    bool usable = x.has_value() && (form == Form::Full || form == Form::Int || pr0[i]);
    if (form == Form::Full) {
      bool inRange = usable && *x >= 0.03 && *x < 0.2;
      out.body.F64(inRange ? *x : NanDouble());
      out.decoded.push_back(inRange ? x : std::nullopt);
      continue;
    }
    if (form == Form::Int) {
      double base = slots[i].sys == Gnss::Sbas ? 0.115 : 0.075;
      double v = usable ? std::round((*x - base) / 1e-11) : 0;
      usable = usable && FitsInt32(v);
      out.fits = out.fits && (usable || !x);
      out.body.I32(usable ? static_cast<int32_t>(v) : kMissing32);
      out.decoded.push_back(usable ? std::optional(v * 1e-11 + base) : std::nullopt);
    } else if (form == Form::Rel) {
      float d = usable ? static_cast<float>(*x - *pr0[i]) : NanFloat();
      out.fits = out.fits && (usable || !x);
      out.body.F32(d);
      out.decoded.push_back(usable ? std::optional(d + *pr0[i]) : std::nullopt);
    } else {
      double v = usable ? std::round((*x - *pr0[i] - 2e-7) / 1e-11) : 0;
      usable = usable && v >= -32768 && v <= 32766;
      out.fits = out.fits && (usable || !x);
      out.body.I16(usable ? static_cast<int16_t>(v) : int16_t{0x7FFF});
      out.decoded.push_back(usable ? std::optional(v * 1e-11 + 2e-7 + *pr0[i]) : std::nullopt);
    }
    if (usable && std::fabs(*out.decoded.back() - *x) * kLightSpeed > kCodeResolutionM)
      out.fits = false;
  }
  return out;
}

Encoded EncodePhase(const Values& cycles, const Values& pr0, const std::vector<SlotSignals>& slots,
                    int signal, Form form) {
  Encoded out;
  for (size_t i = 0; i < cycles.size(); ++i) {
    const auto& x = cycles[i];
    bool usable = x.has_value() && (form == Form::Full || form == Form::Int || pr0[i]);
    double f = CarrierFrequency(slots[i].sys, signal, slots[i].channel);
    std::optional<double> back;
    if (form == Form::Full) {
      out.body.F64(usable ? *x : NanDouble());
      back = usable ? x : std::nullopt;
    } else if (form == Form::Int) {
      double v = usable ? std::round(*x * 1024) : 0;
      usable = usable && v >= 0 && v <= 4294967294.0;
      out.body.U32(usable ? static_cast<uint32_t>(v) : 0xFFFFFFFFu);
      if (usable) back = v / 1024;
    } else if (form == Form::Rel) {
      float d = usable ? static_cast<float>(*x / f - *pr0[i]) : NanFloat();
      out.body.F32(d);
      if (usable) back = (d + *pr0[i]) * f;
    } else {
      double v = usable ? std::round((*x / f - *pr0[i]) * kTwo40) : 0;
      usable = usable && FitsInt32(v);
      out.body.I32(usable ? static_cast<int32_t>(v) : kMissing32);
      if (usable) back = (v / kTwo40 + *pr0[i]) * f;
    }
    out.fits = out.fits && (usable || !x);
    if (back && std::fabs(*back - *x) > kPhaseResolutionCycles) out.fits = false;
    out.decoded.push_back(back);
  }
  return out;
}

bool AnyValue(const Values& v) {
  for (const auto& x : v)
    if (x) return true;
  return false;
}

Values Collect(const std::vector<SlotSignals>& slots, int signal, uint8_t kind) {
  Values v;
  for (const SlotSignals& s : slots) {
    const SignalValues& sv = (*s.sig)[signal];
    if (!(sv.has & kind)) {
      v.push_back(std::nullopt);
    } else if (kind == kHasCode) {
      v.push_back(sv.code / kLightSpeed);
    } else if (kind == kHasPhase) {
      v.push_back(sv.phase);
    } else if (kind == kHasDoppler) {
      v.push_back(sv.doppler);
    } else {
      v.push_back(sv.snr);
    }
  }
  return v;
}

void EncodeDopplerAndSnr(const std::vector<SlotSignals>& slots, bool quarterSnr,
                         std::vector<std::string>& frames) {
  for (int k = 0; k < kSignals; ++k) {
    Values d = Collect(slots, k, kHasDoppler);
    if (AnyValue(d)) {
      Payload p;
      for (const auto& x : d) {
        double v = x ? std::round(*x / 1e-4) : 0;
        p.I32(x && FitsInt32(v) ? static_cast<int32_t>(v) : kMissing32);
      }
      frames.push_back(BuildFrame(kDopplerIds[k], p));
    }
  }
  for (int k = 0; k < kSignals; ++k) {
    Values s = Collect(slots, k, kHasSnr);
    if (!AnyValue(s)) continue;
    Payload p;
    for (const auto& x : s) {
      double v = x ? std::round(*x * (quarterSnr ? 4 : 1)) : 255;
      p.U8(v >= 0 && v < 255 ? static_cast<uint8_t>(v) : 255);
    }
    frames.push_back(BuildFrame(kSnrIds[quarterSnr ? 1 : 0][k], p));
  }
}

}  // namespace

Scheme SchemeForEpoch(int64_t epochIndex) {
  static const Scheme kRotation[4] = {{Form::Full, Form::Full, false},
                                      {Form::Int, Form::Int, true},
                                      {Form::Rel, Form::Rel, false},
                                      {Form::RelInt, Form::RelInt, true}};
  return kRotation[epochIndex % 4];
}

double SnrResolution(bool quarterSnr) {
  return quarterSnr ? 0.125 : 0.5;
}

void EncodeObservables(const std::vector<SlotSignals>& slots, Scheme scheme,
                       std::vector<std::string>& frames) {
  Values none(slots.size());
  // The C/A L1 code comes first: the relative encodings of the epoch refer to it as decoded.
  Values pr0(slots.size());
  for (int k = 0; k < kSignals; ++k) {
    Values code = Collect(slots, k, kHasCode);
    if (!AnyValue(code)) continue;
    Form form = scheme.code;
    if (k == 0 && form == Form::Rel) form = Form::Int;
    if (k == 0 && form == Form::RelInt) form = Form::Full;
    Encoded e = EncodeCode(code, k == 0 ? none : pr0, slots, form);
    if (!e.fits) {
      form = Form::Full;
      e = EncodeCode(code, none, slots, form);
    }
    frames.push_back(BuildFrame(kCodeIds[static_cast<int>(form)][k], e.body));
    if (k == 0) pr0 = e.decoded;
  }
  for (int k = 0; k < kSignals; ++k) {
    Values phase = Collect(slots, k, kHasPhase);
    if (!AnyValue(phase)) continue;
    Form form = scheme.phase;
    Encoded e = EncodePhase(phase, pr0, slots, k, form);
    if (!e.fits) {
      form = Form::Full;
      e = EncodePhase(phase, pr0, slots, k, form);
    }
    frames.push_back(BuildFrame(kPhaseIds[static_cast<int>(form)][k], e.body));
  }
  EncodeDopplerAndSnr(slots, scheme.quarterSnr, frames);
}

}  // namespace vnx::synth
