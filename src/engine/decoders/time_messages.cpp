#include "engine/decoders/time_messages.h"

#include <cstdio>

#include "engine/decoders/common.h"
#include "engine/decoders/identifier_table.h"
#include "engine/epoch/close_epoch.h"
#include "engine/time/extended80.h"
#include "engine/time/gps_time.h"

namespace vnx {

namespace {

constexpr int64_t kDayMs = 86400000;
constexpr int32_t kWrapLimitMs = 7200000;  // a step back of more than 22 hours is midnight

void SetDayNumber(ScanContext& ctx, int32_t days) {
  ctx.epoch.DayNumber = static_cast<int64_t>(static_cast<uint32_t>(days));
}

// Texts and counter of a newly received time of day.
void NoteReceiverTime(ScanContext& ctx, int64_t t) {
  ctx.prevTimeText = TimeOfDayText(ctx.epoch.TimeOfDayMs);
  ctx.lastTimeText = TimeOfDayText(t);
  if (++ctx.timeMsgCount % 500 == 0) ctx.ui->SetTimeLabel(TimeOfDayLabel(t));
}

bool IsAfterToday(const ScanContext& ctx, int32_t y, int32_t m, int32_t d) {
  const CalendarDate& t = ctx.today;
  if (y != t.year) return y > t.year;
  if (m != t.month) return m > t.month;
  return d > t.day;
}

std::string Num(int64_t v) {
  return std::to_string(v);
}

}  // namespace

std::string TimeOfDayText(int64_t ms) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " %lldh%lldm%lld.%llds", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms % 3600000 / 60000),
                static_cast<long long>(ms % 60000 / 1000), static_cast<long long>(ms % 1000));
  return buf;
}

std::string TimeOfDayLabel(int64_t ms) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms % 3600000 / 60000),
                static_cast<long long>(ms % 60000 / 1000), static_cast<long long>(ms % 1000));
  return buf;
}

std::string DateLabel(int32_t year, int32_t month, int32_t day) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d", day, month, year);
  return buf;
}

namespace {

// The step from the previous receiver time to `t`: midnight, backward steps, equal times and
// the smallest positive step, which becomes the epoch interval.
void CheckTimeStep(ScanContext& ctx, int64_t t, std::string& error) {
  EpochState& e = ctx.epoch;
  const auto p = static_cast<uint32_t>(e.TimeOfDayMs);
  int64_t d = static_cast<int32_t>(static_cast<uint32_t>(t) - p);
  if (d < 0) {
    d += kDayMs;
    if (e.TimeSeen && d < kWrapLimitMs) ++e.DayNumber;
    if (d >= kWrapLimitMs || d < 0)
      error += "Bad Receiver Time: " + ctx.lastTimeText + " < preceding: " + ctx.prevTimeText;
  }
  if (e.EpochInterval == 0 && d > 0) e.EpochInterval = static_cast<int32_t>(d);
  if (d == 0) error += "Interval = 0 !" + ctx.lastTimeText;
  if (d > 0 && d < e.EpochInterval) e.EpochInterval = static_cast<int32_t>(d);
}

// Shared by "RD" and "GT": shows the date, reports dates after today and dates before the day
// already reached, and returns the day count of the date.
int32_t CheckDate(ScanContext& ctx, int32_t y, int32_t m, int32_t d, std::string& error) {
  const std::string text = DateLabel(y, m, d);
  if (text != ctx.shownDateText) {
    ctx.ui->SetDateLabel(text);
    ctx.shownDateText = text;
  }
  if (IsAfterToday(ctx, y, m, d))
    error += " RD is greater then current date: " + Num(y) + " " + Num(m) + " " + Num(d);
  const auto n = static_cast<int32_t>(TGPSTime::FromCalendar(y, m, d, 0, 0, 0).DayCount());
  if (ctx.epoch.DayNumber > n) {
    const TGPSTime prev(static_cast<uint32_t>(ctx.epoch.DayNumber * kSecondsPerDay));
    error += " Year =" + Num(y) + " Month =" + Num(m) + " Day = " + Num(d) + " Preceding  Date " +
             Num(prev.Year()) + " Month =" + Num(prev.Month()) + " Day = " + Num(prev.Day());
  }
  return n;
}

}  // namespace

uint8_t TRT::Decode() {
  ctx.epoch.RtOffset = static_cast<int64_t>(ctx.frame.start);  // where the file header ends
  BeginDecode();
  const bool readable = !BodyShort();
  const int64_t t = readable ? Field<uint32_t>(0) : 0;
  if (readable) NoteReceiverTime(ctx, t);
  const uint8_t r = CloseEpoch(ctx);
  if (r != 1) return r;
  EpochState& e = ctx.epoch;
  if (!VerifyChecksum()) {
    e.TimeLost = true;
    return 0;
  }
  if (!readable) {  // no time in the frame: the epoch it opens has none either
    e.TimeLost = true;
    return 1;
  }
  std::string error;
  if (e.SkipNextDiff)
    e.SkipNextDiff = false;
  else
    CheckTimeStep(ctx, t, error);
  AddError(error);
  e.TimeLost = false;
  e.TimeSeen = true;
  e.TimeOfDayMs = t;
  return 1;
}

uint8_t TGT::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  const uint32_t tow = Field<uint32_t>(0);
  const uint16_t wn = Field<uint16_t>(4);
  if (tow == 0xFFFFFFFFu || wn == 0xFFFF) return 1;
  ctx.epochRec.flags[kFlagGT] = 1;
  ctx.epochRec.gtTow = tow;
  ctx.epochRec.gtWn = wn;
  const uint32_t s = tow / 1000;
  const int64_t t = static_cast<int64_t>(s % kSecondsPerDay) * 1000 + tow % 1000;
  NoteReceiverTime(ctx, t);
  const uint8_t r = CloseEpoch(ctx);
  if (r != 1) return r;
  EpochState& e = ctx.epoch;
  std::string error;
  if (e.SkipNextDiff)
    e.SkipNextDiff = false;
  else
    CheckTimeStep(ctx, t, error);
  e.TimeLost = false;
  e.TimeSeen = true;
  e.TimeOfDayMs = t;
  const TGPSTime date = TGPSTime::FromWeek(TGPSWeek(wn), s);
  const int32_t n = CheckDate(ctx, date.Year(), date.Month(), date.Day(), error);
  AddError(error);
  e.TimeSeen = false;
  SetDayNumber(ctx, n);
  return 1;
}

uint8_t TRD::Decode() {
  if (!derived_) {
    BeginDecode();
    if (!VerifyChecksum()) return 0;
    if (BodyShort()) return 1;
  }
  const uint16_t year = Field<uint16_t>(0);
  const uint8_t month = Body[2];
  const uint8_t day = Body[3];
  if (year == 0xFFFF || month > 12 || day > 31) {
    char text[48];
    std::snprintf(text, sizeof text, " %u %u %u", unsigned{year}, unsigned{month}, unsigned{day});
    AddError(text);
    return 1;
  }
  std::string error;
  const int32_t n = CheckDate(ctx, year, month, day, error);
  AddError(error);
  if (!derived_) ctx.epoch.TimeSeen = false;
  SetDayNumber(ctx, n);
  return 1;
}

uint8_t TUO::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  UtcBlock u{};
  if (!ReadFiniteDouble(Body, u.a0) || !ReadFiniteSingle(Body + 8, u.a1)) return 1;
  u.tot = Field<uint32_t>(12);
  u.wnt = Field<uint16_t>(16);
  u.dtls = Field<int8_t>(18);
  u.dn = Body[19];
  u.wnlsf = Field<uint16_t>(20);
  u.dtlsf = Field<int8_t>(22);
  if (u.tot == 0xFFFFFFFFu || u.wnt == 0xFFFF || u.dtls == 127 || u.dn == 0xFF ||
      u.wnlsf == 0xFFFF || u.dtlsf == 127)
    return 1;
  ctx.utc = u;
  ctx.epoch.UtcSeen = true;
  ctx.epochRec.flags[kFlagUO] = 1;
  return 1;
}

uint8_t TTO::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  double v;
  if (!ReadFiniteDouble(Body, v)) return 1;
  EpochRec& rec = ctx.epochRec;
  rec.flags[kFlagTO] = 1;
  rec.flags[kFlagTOExtended] = 1;
  rec.toValue = v;
  const Extended80 ext = Ext80FromDouble(v);
  std::memcpy(rec.toExtended, ext.data(), ext.size());
  return 1;
}

uint8_t ClockValueMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  if (Variant() == kDO && IsEpochUnusable(ctx)) return 1;
  float v;
  if (!ReadFiniteSingle(Body, v)) return 1;
  EpochRec& rec = ctx.epochRec;
  switch (Variant()) {
    case kDO:
      ctx.pos.doValue = v;
      rec.flags[kFlagPosition] = 1;
      rec.flags[kFlagDO] = 1;
      rec.doValue = v;
      break;
    case kOO:
      rec.flags[kFlagOO] = 1;
      rec.ooValue = v;
      break;
    case kBP:
      rec.flags[kFlagBP] = 1;
      rec.bpValue = v;
      break;
  }
  return 1;
}

uint8_t TNT::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  const uint32_t tod = Field<uint32_t>(0);
  const uint16_t dn = Field<uint16_t>(4);
  if (tod == 0xFFFFFFFFu || dn == 0xFFFF) return 1;
  ctx.epochRec.flags[kFlagNT] = 1;
  ctx.epochRec.ntTod = static_cast<int32_t>(tod);
  ctx.epochRec.ntDn = static_cast<int16_t>(dn);
  return 1;
}

uint8_t TimeScaleOffsetMessage::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  const uint8_t sec = Body[0];
  const uint32_t ns = Field<uint32_t>(1);
  if (sec == 0xFF || ns == 0xFFFFFFFFu) return 1;
  EpochRec& rec = ctx.epochRec;
  if (Variant() == 1) {
    rec.flags[kFlagGO] = 1;
    rec.goSec = sec;
    rec.goNs = static_cast<int32_t>(ns);
  } else {
    rec.flags[kFlagNO] = 1;
    rec.noSec = sec;
    rec.noNs = static_cast<int32_t>(ns);
  }
  return 1;
}

void TakeDerivedDate(ScanContext& ctx, uint16_t year, uint8_t month, uint8_t day) {
  static const IdentifierRow& row = *LookupIdentifier(IdentifierCode('R', 'D'));
  const uint8_t body[4] = {static_cast<uint8_t>(year & 0xFF), static_cast<uint8_t>(year >> 8),
                           month, day};
  TRD date(ctx, row, body, sizeof body);
  date.derived_ = true;
  date.Decode();
}

}  // namespace vnx
