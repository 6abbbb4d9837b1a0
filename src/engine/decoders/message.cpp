#include "engine/decoders/message.h"

#include <cstring>

#include "engine/stream/checksum.h"

namespace vnx {

std::string HexOffset(uint64_t v) {
  char buf[20];
  int n = 0;
  do {
    buf[n++] = "0123456789abcdef"[v & 15];
    v >>= 4;
  } while (v != 0);
  return std::string(std::make_reverse_iterator(buf + n), std::make_reverse_iterator(buf));
}

TRecivMess::TRecivMess(ScanContext& context, const IdentifierRow& row, const uint8_t* body,
                       int32_t length)
    : ctx(context), Body(body), Length(length), row_(row), checkLength_(row.minLength > 0) {}

TRecivMess::~TRecivMess() {
  ReportError();
}

void TRecivMess::BeginDecode() {
  if (BodyShort())
    AddError("Length of message = " + std::to_string(Length) +
             " but must be >= " + std::to_string(row_.minLength));
  ReadPos = Body;
}

bool TRecivMess::VerifyChecksum() {
  if (Length < 1) {  // no checksum byte at all
    AddError(" Bad Checksum   ");
    return false;
  }
  const uint8_t* frame = Body - 5;
  if (Checksum(frame, static_cast<size_t>(Length) + 4) == Body[Length - 1]) return true;
  AddError(" Bad Checksum   ");
  return false;
}

void TRecivMess::ReportError() {
  if (errorText_.empty() || row_.silent) return;
  std::string line = "Addr ( 0x )  ";
  line += HexOffset(ctx.frame.start);
  line += " - ";
  line += HexOffset(ctx.frame.end);
  line += " ( ";
  line += ctx.lastTimeText;
  line += " ) ";
  line += "   Error in ";
  line += row_.name;
  line += " message : ";
  line += errorText_;
  ctx.AddError(std::move(line));
}

}  // namespace vnx
