#include "engine/decoders/message.h"

#include <cstring>

#include "engine/stream/checksum.h"

namespace vnx {

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
  ScanError e;
  e.kind = ScanErrorKind::Message;
  e.first = ctx.frame.start;
  e.last = ctx.frame.end;
  e.time = ctx.lastTimeText;
  e.message = row_.name;
  e.lines.push_back(std::move(errorText_));
  ctx.AddError(std::move(e));
}

}  // namespace vnx
