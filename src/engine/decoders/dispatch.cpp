#include "engine/decoders/dispatch.h"

#include "engine/decoders/file_identifier.h"
#include "engine/decoders/identifier_table.h"
#include "engine/decoders/satellite_messages.h"
#include "engine/decoders/time_messages.h"

namespace vnx {

namespace {

// Creates, decodes and destroys one message object; the destructor reports its errors.
template <class Message, class... Extra>
uint8_t Run(ScanContext& ctx, const uint8_t* body, int32_t length, Extra... extra) {
  Message m(ctx, body, length, extra...);
  return m.Decode();
}

}  // namespace

uint8_t Dispatch(ScanContext& ctx, uint16_t identifier, const uint8_t* body, int32_t length,
                 uint64_t frameStart) {
  ctx.frame.start = frameStart;
  ctx.frame.end = frameStart + static_cast<uint64_t>(length) + 4;
  const IdentifierRow* row = LookupIdentifier(identifier);
  if (row == nullptr) return 1;
  switch (row->family) {
    case Family::VN:
      return Run<TVN055>(ctx, body, length);
    case Family::RT:
      ctx.epoch.RtOffset = static_cast<int64_t>(frameStart);
      return Run<TRT>(ctx, body, length);
    case Family::RD:
      return Run<TRD>(ctx, body, length);
    case Family::GT:
      return Run<TGT>(ctx, body, length);
    case Family::UO:
      return Run<TUO>(ctx, body, length);
    case Family::TO:
      return Run<TTO>(ctx, body, length);
    case Family::DO:
      return Run<TDO>(ctx, body, length);
    case Family::OO:
      return Run<TOO>(ctx, body, length);
    case Family::BP:
      return Run<TBP>(ctx, body, length);
    case Family::NT:
      return Run<TNT>(ctx, body, length);
    case Family::NO:
      return Run<TNO>(ctx, body, length);
    case Family::GO:
      return Run<TGO>(ctx, body, length);
    case Family::SI:
      return Run<TSI>(ctx, body, length);
    case Family::AN:
      return Run<TAN>(ctx, body, length);
    case Family::NN:
      return Run<TNN>(ctx, body, length);
    case Family::EL:
      return Run<TEL>(ctx, body, length);
    case Family::AZ:
      return Run<TAZ>(ctx, body, length);
    default:
      // Accepted without decoding; the frame is skipped by its length.
      return 1;
  }
}

}  // namespace vnx
