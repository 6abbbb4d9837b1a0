#include "engine/decoders/observables.h"

#include <cstring>

#include "engine/decoders/common.h"
#include "engine/decoders/satellite_messages.h"

namespace vnx {

namespace {

template <class T>
bool ReadInteger(const uint8_t* src, int64_t missing, long double& raw) {
  T v;
  std::memcpy(&v, src, sizeof v);
  if (static_cast<int64_t>(v) == missing) return false;
  raw = v;
  return true;
}

bool IsSbasUsi(uint8_t usi) {
  return usi >= 120 && usi <= 138;
}

}  // namespace

uint8_t ObservableMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (IsEpochUnusable(ctx) || !LengthFits() || m_.entry == ObsEntry::None) return 1;
  bool stored = false;
  const uint8_t* entry = Body;
  for (int i = 1; i <= ctx.epoch.SlotLimit(); ++i, entry += m_.width) {
    long double value;
    if (!ctx.SlotTaken(i) || !ValueOf(i, entry, value)) continue;
    Put(i, signal_, value);
    if (m_.alsoSignal1 && signal_ == 0) Put(i, 1, value);
    stored = true;
  }
  if (stored) {
    ctx.epochRec.flags[m_.flag] = 1;
    if (m_.lights) ctx.Light(IndicatorOf(ObservableOf(signal_, m_.target)));
  }
  return 1;
}

bool ObservableMessage::LengthFits() {
  const int32_t n = ctx.epoch.SatCount;
  if (Length == n * m_.width + m_.trailer) return true;
  AddError(LengthMismatchText(n, m_.wholeLength ? Length : (Length - 1) / m_.width));
  return false;
}

// False when the entry holds its missing marker.
bool ObservableMessage::ReadEntry(const uint8_t* entry, long double& raw) const {
  switch (m_.entry) {
    case ObsEntry::Float64: {
      double d;
      if (!ReadFiniteDouble(entry, d)) return false;
      raw = d;
      return true;
    }
    case ObsEntry::Float32Interval:
      // The interval is only tested for its marker; the value follows as a plain float.
      if (!ReadInteger<uint16_t>(entry + 4, m_.missing, raw)) return false;
      [[fallthrough]];
    case ObsEntry::Float32: {
      float f;
      if (!ReadFiniteSingle(entry, f)) return false;
      raw = f;
      return true;
    }
    case ObsEntry::Int32:
      return ReadInteger<int32_t>(entry, m_.missing, raw);
    case ObsEntry::Int16:
      return ReadInteger<int16_t>(entry, m_.missing, raw);
    case ObsEntry::UInt32:
      return ReadInteger<uint32_t>(entry, m_.missing, raw);
    case ObsEntry::UInt8:
      return ReadInteger<uint8_t>(entry, m_.missing, raw);
    case ObsEntry::None:
      break;
  }
  return false;
}

// The value of slot i in extended precision; false when the slot gets nothing (missing entry,
// implausible value, or no pseudorange to refer to).
bool ObservableMessage::ValueOf(int i, const uint8_t* entry, long double& value) const {
  long double raw;
  if (!ReadEntry(entry, raw)) return false;
  if (m_.below > m_.lowest) {
    const auto x = static_cast<double>(raw);
    if (!(x >= m_.lowest && x < m_.below)) return false;
  }
  const bool sbas = IsSbasUsi(ctx.epoch.Usi[i]) && m_.sbasOffset != 0;
  value = raw * m_.scale + (sbas ? m_.sbasOffset : m_.offset);
  if (m_.reference != ObsReference::None) {
    const int k = m_.reference == ObsReference::CodeL1 ? 0 : signal_;
    const SignalObs& ref = ctx.epoch.Obs[i][k];
    if (!ref.Present[kRange]) return false;
    value += ref.Range;
  }
  if (m_.timesCarrier) value *= CarrierFrequency(ctx, i, signal_);
  return true;
}

void ObservableMessage::Put(int i, int k, long double value) {
  SignalObs& o = ctx.epoch.Obs[i][k];
  switch (m_.target) {
    case kRange:
      o.Range = static_cast<double>(value);
      break;
    case kSmoothing:
      o.Smoothing = static_cast<float>(value);
      break;
    case kPhase:
      o.Phase = static_cast<double>(value);
      break;
    case kDoppler:
      o.Doppler = static_cast<float>(value);
      break;
    case kSnr:
      o.Snr = static_cast<float>(value);
      break;
  }
  o.Present[m_.target] = 1;
}

}  // namespace vnx
