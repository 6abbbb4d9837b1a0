#include "engine/decoders/parameter_messages.h"

#include <cstring>

namespace vnx {

uint8_t CheckedOnlyMessage::Decode() {
  BeginDecode();
  return VerifyChecksum() ? 1 : 0;
}

uint8_t TIO::Decode() {
  BeginDecode();
  if (!VerifyChecksum()) return 0;
  if (BodyShort()) return 1;
  IonoBlock& io = ctx.iono;
  io = IonoBlock{};
  io.tot = Field<uint32_t>(0);
  io.wn = Field<uint16_t>(4);  // raw: the ionosphere view shows the week as sent
  for (int i = 0; i < 4; ++i) {
    io.alpha[i] = Field<float>(6 + 4 * i);
    io.beta[i] = Field<float>(22 + 4 * i);
  }
  ctx.epochRec.flags[kFlagIO] = 1;
  ctx.ionoSeen = true;
  return 1;
}

bool TPM::QuotedValue(std::string_view& value) const {
  const std::string_view body(reinterpret_cast<const char*>(Body), static_cast<size_t>(Length));
  const size_t open = body.find('"');
  if (open == std::string_view::npos) return false;
  const size_t close = body.find('"', open + 1);
  if (close == std::string_view::npos) return false;
  value = body.substr(open + 1, close - open - 1);
  return true;
}

bool TPM::HasKey(std::string_view text, std::string_view key) const {
  return static_cast<size_t>(Length) > key.size() && text.starts_with(key);
}

uint8_t TPM::Decode() {
  BeginDecode();
  const auto* chars = reinterpret_cast<const char*>(Body);
  const std::string_view text(chars, Length > 0 ? strnlen(chars, static_cast<size_t>(Length)) : 0);
  std::string_view value;
  if ((HasKey(text, "version/main=") || HasKey(text, "rcv/ver/main=")) && QuotedValue(value))
    ctx.headerInfo[kHeaderMainVersion] = std::string(value.substr(0, 20));
  if ((HasKey(text, "rcvid=") || HasKey(text, "rcv/id=")) && QuotedValue(value))
    ctx.headerInfo[kHeaderReceiverId] = std::string(value);
  if (HasKey(text, "rcv/ver/board=") && QuotedValue(value))
    ctx.headerInfo[kHeaderBoardVersion] = std::string(value.substr(0, 20));
  const size_t at = text.find('@');
  if (at != std::string_view::npos && at > 0) ++ctx.epochRec.taggedPmCount;
  return 1;
}

}  // namespace vnx
