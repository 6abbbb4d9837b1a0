#pragma once
// Bodies of the ephemeris messages "GE", "EN", "NE" and "WE", written field by field in frame
// order from the record structures the decoders fill (so a test states its values once).
#include <string>

#include "engine/ephemeris/ephemeris_records.h"

namespace vnx::test {

// 122 bytes: the GE body without its checksum.
std::string GePayload(const KeplerEphFields& k);
// 143 bytes: the GE fields followed by the six Galileo fields.
std::string EnPayload(const GalEphBody& b);
// 79 bytes.
std::string NePayload(const GloEphBody& b);
// 70 bytes.
std::string WePayload(const GeoEphBody& b);

// Plausible values for every field; tests change what they look at.
KeplerEphFields SampleKepler(uint8_t sv, int16_t wn, uint32_t tow, int32_t toe);
GloEphBody SampleGlonass(uint8_t slot, int16_t dne, int32_t tb);
GeoEphBody SampleSbas(uint8_t prn, uint32_t towMs, int32_t tod, uint16_t wn);

}  // namespace vnx::test
