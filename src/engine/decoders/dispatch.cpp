#include "engine/decoders/dispatch.h"

#include "engine/decoders/family_dispatch.h"
#include "engine/decoders/file_identifier.h"
#include "engine/decoders/identifier_table.h"
#include "engine/decoders/run_message.h"
#include "engine/decoders/satellite_messages.h"
#include "engine/decoders/time_messages.h"

namespace vnx {

uint8_t Dispatch(ScanContext& ctx, uint16_t identifier, const uint8_t* body, int32_t length,
                 uint64_t frameStart) {
  ctx.frame.start = frameStart;
  ctx.frame.end = frameStart + static_cast<uint64_t>(length) + 4;
  const IdentifierRow* row = LookupIdentifier(identifier);
  if (row == nullptr) return 1;
  switch (row->family) {
    case Family::VN:
      return RunMessage<TVN055>(ctx, body, length);
    case Family::RT:
      ctx.epoch.RtOffset = static_cast<int64_t>(frameStart);
      return RunMessage<TRT>(ctx, body, length);
    case Family::RD:
      return RunMessage<TRD>(ctx, body, length);
    case Family::GT:
      return RunMessage<TGT>(ctx, body, length);
    case Family::UO:
      return RunMessage<TUO>(ctx, body, length);
    case Family::TO:
      return RunMessage<TTO>(ctx, body, length);
    case Family::DO:
      return RunMessage<TDO>(ctx, body, length);
    case Family::OO:
      return RunMessage<TOO>(ctx, body, length);
    case Family::BP:
      return RunMessage<TBP>(ctx, body, length);
    case Family::NT:
      return RunMessage<TNT>(ctx, body, length);
    case Family::NO:
      return RunMessage<TNO>(ctx, body, length);
    case Family::GO:
      return RunMessage<TGO>(ctx, body, length);
    case Family::SI:
      return RunMessage<TSI>(ctx, body, length);
    case Family::AN:
      return RunMessage<TAN>(ctx, body, length);
    case Family::NN:
      return RunMessage<TNN>(ctx, body, length);
    case Family::EL:
      return RunMessage<TEL>(ctx, body, length);
    case Family::AZ:
      return RunMessage<TAZ>(ctx, body, length);
    case Family::PO:
    case Family::VE:
    case Family::PV:
    case Family::DP:
    case Family::SG:
    case Family::SP:
    case Family::SV:
      return DecodePositionMessage(ctx, *row, body, length);
    case Family::RC:
    case Family::RCInt:
    case Family::RCRel:
    case Family::RCRelInt:
    case Family::CC:
    case Family::CCInt:
    case Family::PC:
    case Family::PCInt:
    case Family::PCRel:
    case Family::PCRelInt:
    case Family::DC:
    case Family::EC:
    case Family::CE:
    case Family::FC:
    case Family::SS:
    case Family::TC:
    case Family::TT:
      return DecodeObservableMessage(ctx, *row, body, length);
    case Family::GA:
    case Family::NA:
    case Family::IO:
    case Family::PM:
      return DecodeParameterMessage(ctx, *row, body, length);
    case Family::XAXB:
      return DecodeExternalEventMessage(ctx, *row, body, length);
    case Family::SE:
    case Family::ZAZB:
    case Family::LT:
    case Family::YAB:
    case Family::MR73:
    case Family::MR37:
    case Family::AR:
    case Family::WO:
    case Family::WA:
    case Family::ID:
    case Family::PT:
    case Family::ST:
    case Family::PS:
    case Family::BI:
    case Family::BL:
    case Family::VG:
    case Family::PG:
    case Family::WrEcho:
      return DecodeOtherEpochMessage(ctx, *row, body, length);
    case Family::Event:
      return DecodeEventMessage(ctx, *row, body, length);
    case Family::GE:
    case Family::EN:
    case Family::NE:
    case Family::WE:
      return DecodeEphemerisMessage(ctx, *row, body, length);
    case Family::Unknown:
    case Family::Skip:
      break;
  }
  // Accepted without decoding; the frame is skipped by its length.
  return 1;
}

}  // namespace vnx
