#pragma once
// The decoders of each message group, reached from the one dispatch switch. Each takes the
// identifier's table row (family, variant, name) and decodes the frame once.
#include <cstdint>

#include "engine/decoders/identifier_table.h"
#include "engine/epoch/scan_context.h"

namespace vnx {

// Position, velocity and precision: PO, VE, PV, DP, SG, SP, SV.
uint8_t DecodePositionMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                              int32_t length);
// Code, smoothing and phase families, Doppler, SNR and the per-slot status messages.
uint8_t DecodeObservableMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                                int32_t length);
// IO, GA, NA, PM.
uint8_t DecodeParameterMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                               int32_t length);
// XA, XB.
uint8_t DecodeExternalEventMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                                   int32_t length);
// Attitude, PPS offsets and the other epoch messages: AR, mr, MR, ZA, ZB, LT, PG, VG, BL, BI,
// PS, ST, PT, WO, SE, >>, YA, YB, WA, ID.
uint8_t DecodeOtherEpochMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                                int32_t length);
// "==": the event message, whose record is appended whatever its decoding gave.
uint8_t DecodeEventMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                           int32_t length);
// GE, EN, NE, WE.
uint8_t DecodeEphemerisMessage(ScanContext& ctx, const IdentifierRow& row, const uint8_t* body,
                               int32_t length);

}  // namespace vnx
