// The identifier table and the operations the decoders share.
#include "engine/decoders/identifier_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "engine/decoders/common.h"

namespace vnx {
namespace {

TEST(IdentifierTable, HoldsEveryIdentifierOnce) {
  std::set<std::string> ids;
  int decoded = 0;
  for (const IdentifierRow& r : kIdentifierTable) {
    EXPECT_TRUE(ids.insert(r.id).second) << r.id;
    EXPECT_EQ(LookupIdentifier(IdentifierCode(r.id[0], r.id[1])), &r);
    if (r.decode != nullptr) ++decoded;
  }
  EXPECT_EQ(ids.size(), 126u);
  EXPECT_EQ(decoded, 122);
  EXPECT_EQ(LookupIdentifier(IdentifierCode('Q', 'Q')), nullptr);
}

TEST(IdentifierTable, VariantsNamesAndLengths) {
  // Rows that decode alike share one decoder entry (`sameAs`); every row carries its variant,
  // the name of its error lines and the minimum length its decoder tests.
  struct Case {
    const char* id;
    const char* sameAs;
    int variant;
    const char* name;
    int minLength;
  };
  const Case cases[] = {
      {"RC", "R1", 0, "RC", 0},    {"R5", "RC", 4, "R5", 0},    {"D5", "DC", 4, "D5", 0},
      {"5E", "CE", 4, "5E", 0},    {"1R", "5R", 1, "1R", 0},    {"cp", "1p", 0, "cp", 0},
      {"XB", "XA", 1, "XB", 10},   {"ZB", "ZA", 1, "ZB", 5},    {"YB", "YA", 0, "YA", 10},
      {"mr", "mr", 0, "MR73", 73}, {"MR", "MR", 0, "MR37", 37}, {"VN", "VN", 0, "VN055", 85},
      {"==", "==", 0, "Event", 0}, {"GE", "EN", 0, "GE", 123},  {"EN", "GE", 1, "EN", 144},
      {"~~", "~~", 0, "~~", 5},
  };
  for (const Case& c : cases) {
    const IdentifierRow* r = LookupIdentifier(IdentifierCode(c.id[0], c.id[1]));
    const IdentifierRow* same = LookupIdentifier(IdentifierCode(c.sameAs[0], c.sameAs[1]));
    ASSERT_NE(r, nullptr) << c.id;
    ASSERT_NE(same, nullptr) << c.sameAs;
    EXPECT_NE(r->decode, nullptr) << c.id;
    EXPECT_EQ(r->decode, same->decode) << c.id;
    EXPECT_EQ(r->variant, c.variant) << c.id;
    EXPECT_STREQ(r->name, c.name) << c.id;
    EXPECT_EQ(r->minLength, c.minLength) << c.id;
  }
  // Families with their own shape do not share a decoder.
  const auto decoder = [](const char* id) {
    return LookupIdentifier(IdentifierCode(id[0], id[1]))->decode;
  };
  EXPECT_NE(decoder("RC"), decoder("rc"));
  EXPECT_NE(decoder("mr"), decoder("MR"));
  EXPECT_NE(decoder("RC"), decoder("PC"));
  // Only the file identifier and "SE" keep what they find wrong to themselves.
  for (const IdentifierRow& r : kIdentifierTable)
    EXPECT_EQ(r.silent,
              r.name != nullptr && (std::string(r.name) == "VN055" || std::string(r.name) == "SE"))
        << r.id;
  EXPECT_EQ(IdentifierCode('R', 'C'), 21059);
}

TEST(SharedOperations, FiniteReadsRefuseMissingValues) {
  const float inf = std::numeric_limits<float>::infinity();
  uint8_t bytes[8];
  std::memcpy(bytes, &inf, 4);
  float f = 7.0f;
  EXPECT_FALSE(ReadFiniteSingle(bytes, f));
  EXPECT_EQ(f, 7.0f);

  const uint64_t missing = 9221120237041090560ull;
  std::memcpy(bytes, &missing, 8);
  double d = 1.0;
  EXPECT_FALSE(ReadFiniteDouble(bytes, d));
  const double v = 2.5;
  std::memcpy(bytes, &v, 8);
  EXPECT_TRUE(ReadFiniteDouble(bytes, d));
  EXPECT_EQ(d, 2.5);
}

TEST(SharedOperations, CarrierFrequencies) {
  HeadlessUi ui;
  ScanContext ctx(ui);
  ctx.epoch.Slots[1] = {1, SatSystem::Gps, 0, 0, 99};
  ctx.epoch.Slots[2] = {3, SatSystem::Glonass, 0, 0, -7};
  ctx.epoch.Slots[3] = {75, SatSystem::Galileo, 0, 0, 5};
  EXPECT_EQ(CarrierFrequency(ctx, 1, 0), 1575420000.0);
  EXPECT_EQ(CarrierFrequency(ctx, 1, 2), 1227600000.0);
  EXPECT_EQ(CarrierFrequency(ctx, 1, 4), 1176450000.0);
  EXPECT_EQ(CarrierFrequency(ctx, 2, 0), 1598062500.0);
  EXPECT_EQ(CarrierFrequency(ctx, 2, 2), 1242937500.0);
  EXPECT_EQ(CarrierFrequency(ctx, 3, 3), 1227600000.0);
}

TEST(SharedOperations, SatelliteNumbers) {
  for (int n = 0; n < 256; ++n) {
    const bool valid = (n >= 1 && n <= 32) || (n >= 71 && n <= 102) || (n >= 120 && n <= 152);
    EXPECT_EQ(IsSatNumberInvalid(static_cast<uint8_t>(n)), !valid) << n;
  }
}

}  // namespace
}  // namespace vnx
