#include "engine/decoders/satellite_messages.h"

#include <algorithm>

#include "engine/decoders/common.h"
#include "engine/epoch/close_epoch.h"

namespace vnx {

namespace {

bool IsGlonassUsi(uint8_t usi) {
  return usi >= 38 && usi <= 70;
}

void NoteSeen(ScanContext& ctx, uint8_t usi) {
  if (usi >= 1 && usi <= 32) {
    ctx.gpsSeen[usi] = true;
    ctx.Light(Indicator::Gps);
  } else if (usi >= 120 && usi <= 138) {
    ctx.sbasSeen[usi - 100] = true;
    ctx.Light(Indicator::Sbas);
  } else if (usi >= 71 && usi <= 102) {
    ctx.galSeen[usi - 70] = true;
    ctx.Light(Indicator::Gal);
  }
}

}  // namespace

std::string LengthMismatchText(int32_t expected, int32_t arrived) {
  return "    Error Len! Expected:" + std::to_string(expected) +
         " arrived: " + std::to_string(arrived);
}

// A new slot has no elevation until an "EL" frame gives one.
SatSlot SlotFromUsi(uint8_t usi) {
  SatSlot s;
  if (usi >= 1 && usi <= 32) {
    s = {usi, SatSystem::Gps, kNoElevation, 0, 99};
  } else if (IsGlonassUsi(usi)) {
    s = {255, SatSystem::Glonass, kNoElevation, 0, usi - 45};
  } else if (usi >= 71 && usi <= 102) {
    s = {usi, SatSystem::Galileo, kNoElevation, 0, usi - 70};
  } else if (usi >= 120 && usi <= 138) {
    s = {usi, SatSystem::Sbas, kNoElevation, 0, usi - 100};
  } else {
    s = {0, SatSystem::Other, kNoElevation, 0, 0};
  }
  return s;
}

bool TSI::FindDuplicate(int count, const uint8_t* list) {
  // Only the slots this scan takes are compared: with one antenna selected, the positions of
  // the other antennas hold nothing and must not read as a repeated satellite.
  const EpochState& e = ctx.epoch;
  for (int k = 2; k <= count; ++k) {
    if (!ctx.SlotTaken(k)) continue;
    for (int j = 1; j < k; ++j) {
      if (ctx.SlotTaken(j) && list[j] == list[k]) {
        AddError("There are equal satellites " + std::to_string(e.Usi[k]));
        return true;
      }
    }
  }
  return false;
}

uint8_t TSI::Decode() {
  EpochState& e = ctx.epoch;
  ClearSlots(e);
  BeginDecode();
  if (!VerifyChecksum()) {
    e.SatIndexBad = true;
    return 0;
  }
  if (e.TimeLost) return 1;
  const int entries = Length - 1;
  const int stored = std::min(entries, kMaxSlots);
  uint8_t list[kMaxSlots + 1] = {};
  int taken = 0;
  bool glonass = false;
  for (int i = 1; i <= stored; ++i) {
    const uint8_t usi = Body[i - 1];
    e.Usi[i] = usi;
    if (!ctx.SlotTaken(i)) continue;
    ++taken;
    list[i] = usi;
    e.Slots[i] = SlotFromUsi(usi);
    if (IsGlonassUsi(usi)) glonass = true;
    NoteSeen(ctx, usi);
  }
  e.SatCount = entries;
  // The slot table has 70 slots: a list that would need more is refused whatever antenna is
  // selected, so no per-slot message can reach beyond slot 70.
  if (taken >= kMaxSlots || entries > kMaxSlots) {
    AddError("Too many satellites " + std::to_string(e.SatCount));
    e.SatIndexBad = true;
    return 0;
  }
  e.SatIndexBad = false;
  e.GloNumbersBad = glonass;
  std::copy(list + 1, list + kMaxSlots + 1, ctx.epochRec.usi);
  if (FindDuplicate(entries, list)) {
    e.SatIndexBad = true;
    return 0;
  }
  return 1;
}

uint8_t TAN::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (ctx.epoch.TimeLost) return 1;
  std::string newLetters;
  for (int i = 1; i <= Length - 1; ++i) {
    const char letter = static_cast<char>(Body[i - 1]);
    if (i <= kMaxSlots) ctx.slotAntenna[i] = letter;
    if (ctx.antennaLetters.find(letter) == std::string::npos) {
      ctx.antennaLetters += letter;
      newLetters += letter;
    }
    if (letter < 'a' || letter > 'z') {
      AddError(std::string(1, letter));
      AddError(" Error in Antenna Name ");
    }
  }
  const int k = Length - 1;
  if (k >= kMaxSlots) {
    AddError("Too many antenna names " + std::to_string(k));
    return 0;
  }
  if (ctx.askAntenna) {
    ctx.askAntenna = false;
    const AntennaChoice choice = ctx.ui->AskAntenna(newLetters);
    if (!choice.proceed)
      ctx.stopRequested = true;
    else
      ctx.selectedAntenna = choice.antenna;
  }
  return 1;
}

uint8_t TNN::Decode() {
  EpochState& e = ctx.epoch;
  BeginDecode();
  if (!VerifyChecksum()) {
    e.GloNumbersBad = true;
    return 0;
  }
  if (e.TimeLost || e.SatIndexBad) {
    e.GloNumbersBad = true;
    return 1;
  }
  // One byte per GLONASS satellite of the list, whatever its antenna; only the slots of the
  // selected antenna take their number.
  int g = 0;
  for (int i = 1; i <= e.SlotLimit(); ++i)
    if (IsGlonassUsi(e.Usi[i])) ++g;
  if (Length != g + 1) {
    AddError(LengthMismatchText(g, Length - 1));
    return 0;
  }
  uint8_t list[kMaxSlots + 1] = {};
  const uint8_t* next = Body;
  for (int i = 1; i <= e.SlotLimit(); ++i) {
    if (!IsGlonassUsi(e.Usi[i])) continue;
    const uint8_t n = *next++;
    if (!ctx.SlotTaken(i)) continue;
    SatSlot& slot = e.Slots[i];
    if (n >= 1 && n <= 24) {
      slot.Number = n;
      slot.System = SatSystem::Glonass;
      list[i] = n;
      ctx.gloSeen[n] = true;
      ctx.Light(Indicator::Glo);
    } else {
      AddError("USI=" + std::to_string(slot.Channel) + " Slot Number=" + "=" + std::to_string(n) +
               " Error: It is not a number of GLO satellite");
    }
  }
  e.GloNumbersBad = false;
  ctx.epochRec.flags[kFlagNN] = 1;
  std::copy(list + 1, list + kMaxSlots + 1, ctx.epochRec.gloNumber);
  return 1;
}

uint8_t AngleMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (IsEpochUnusable(ctx)) return 1;
  EpochState& e = ctx.epoch;
  if (Length != e.SatCount + 1) {
    AddError(LengthMismatchText(e.SatCount, Length - 1));
    return 1;
  }
  for (int i = 1; i <= e.SlotLimit(); ++i) {
    const uint8_t v = Body[i - 1];
    if (!ctx.SlotTaken(i)) continue;
    if (Variant() == 1) {
      if (v != 255) e.Slots[i].Azimuth = static_cast<int16_t>(v * 2);
    } else if (v != 127) {
      const auto elevation = static_cast<int8_t>(v);
      e.Slots[i].Elevation = elevation;
      ctx.minElevationSeen = std::min<int32_t>(ctx.minElevationSeen, elevation);
    }
  }
  if (Variant() == 1) {
    ctx.epochRec.flags[kFlagAZ] = 1;
    ctx.azimSeen = true;
  } else {
    ctx.elevationMask = ctx.minElevationSeen;
    ctx.epochRec.flags[kFlagEL] = 1;
    ctx.elevSeen = true;
  }
  return 1;
}

}  // namespace vnx
