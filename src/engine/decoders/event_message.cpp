#include "engine/decoders/event_message.h"

#include <charconv>
#include <cmath>

namespace vnx {

namespace {

constexpr std::string_view kUnknown = "-Unknown-";

// Keys whose value only goes into one text field of the event record.
struct TextKey {
  std::string_view key;
  ShortString20 EventRec::*field;
  int32_t limit;
};
constexpr TextKey kTextKeys[] = {
    {"_CAN=", &EventRec::can, 20},
    {"_SAV=", &EventRec::sav, 20},
    {"_DSC=", &EventRec::dsc, 20},
    {"_FEA=", &EventRec::fea, 18},
};

bool IsHeightChar(char c) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == 'e' || c == 'E' || c == '-';
}

}  // namespace

double LeadingNumber(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0.0;
  const char* begin = text.data() + first;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), v);
  if (ec != std::errc() || end == begin || !std::isfinite(v)) return 0.0;
  return v;
}

TEventMess::TEventMess(ScanContext& c, const IdentifierRow& row, const uint8_t* body,
                       int32_t length)
    : TRecivMess(c, row, body, length) {
  ctx.eventRec = EventRec{};
}

std::string_view TEventMess::Value(int32_t limit) const {
  // An empty value still points into the text: it is copied into the record as it is.
  return text_.substr(text_.size() < 5 ? text_.size() : 5, static_cast<size_t>(limit));
}

void TEventMess::DecodeSite() {
  const std::string_view v = Value(20);
  ctx.eventRec.key.Set("_SIT=");
  ctx.eventRec.siteName.Set(v);
  ctx.site.siteName.Set(v);
  ctx.site.siteText2.Set("");
}

void TEventMess::DecodeDynamic() {
  ctx.eventRec.key.Set("_DYM=");
  const std::string_view mode = text_.size() > 5 ? text_.substr(5) : std::string_view();
  if (mode.starts_with("DYNAMIC") && Length > 17) {
    ctx.eventRec.dynamic = 1;
    ctx.site.isStatic = 0;
  } else if (mode.starts_with("STATIC") || Length < 17) {
    ctx.site.isStatic = 1;
  } else {
    AddError("_DYM= with not DINAMIC and not STATIC ");
  }
}

// The height is collected right after the key, whatever the event type: digits, blanks,
// points, exponent letters and minus signs, up to the end of the text. A trailing "s" or "S"
// marks a slant height.
void TEventMess::DecodeAntennaHeight(size_t keyAt) {
  ctx.eventRec.key.Set("_ANH=");
  const size_t start = keyAt + 5;
  size_t n = 0;
  while (start + n < text_.size() && IsHeightChar(text_[start + n])) ++n;
  const std::string_view collected = text_.substr(start, n);
  ctx.eventRec.antennaHeightText.Set(collected);
  ctx.site.antennaHeight = LeadingNumber(collected);
  const size_t after = start + n;
  if (n > 0 && after < text_.size() && (text_[after] == 's' || text_[after] == 'S'))
    ctx.site.slant = 1;
}

void TEventMess::DecodeAntennaName() {
  const std::string_view v = Value(20);
  ctx.eventRec.key.Set("_ANT=");
  ctx.eventRec.antennaName.Set(v);
  ctx.site.antennaName.Set(v);
  ctx.site.antennaText.Set(kUnknown);
}

bool TEventMess::DecodeTextKey() {
  for (const TextKey& k : kTextKeys) {
    if (text_.find(k.key) == std::string_view::npos) continue;
    ctx.eventRec.key.Set(k.key);
    (ctx.eventRec.*k.field).Set(Value(k.limit));
    return true;
  }
  return false;
}

uint8_t TEventMess::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (Length <= 5) {
    AddError(" Very short message ");
    return 1;
  }
  EventRec& ev = ctx.eventRec;
  ev.time = Field<int32_t>(0);
  ev.type = Body[4];
  text_ =
      std::string_view(reinterpret_cast<const char*>(Body) + 5, static_cast<size_t>(Length - 6));
  ev.text.Set(text_);
  if (ev.type == 0 && Length <= 11) {
    AddError(" Very short message ");
    return 1;
  }
  ev.key.Set(text_.substr(0, 5));
  if (text_.find("_SIT=") != std::string_view::npos) {
    DecodeSite();
    return 1;
  }
  ctx.site.slant = 0;
  if (text_.find("_DYM=") != std::string_view::npos) {
    DecodeDynamic();
  } else if (const size_t at = text_.find("_ANH="); at != std::string_view::npos) {
    DecodeAntennaHeight(at);
  } else if (text_.find("_ANT=") != std::string_view::npos) {
    DecodeAntennaName();
  } else if (!DecodeTextKey()) {
    ev.key.Set("USER_");
    ev.user.Set(text_.substr(0, 20));
  }
  return 1;
}

uint8_t DecodeEventMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                           int32_t length) {
  const uint8_t result = DecodeWith<TEventMess>(ctx, row, body, length);
  // Every "==" frame has its record, even one that failed its checksum (then cleared).
  ++ctx.epochRec.eventCount;
  ++ctx.eventCount;
  ctx.files.Append(WorkFile::Events, &ctx.eventRec);
  return result;
}

}  // namespace vnx
