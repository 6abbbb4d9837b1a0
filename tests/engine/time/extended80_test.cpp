#include "engine/time/extended80.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace vnx {
namespace {

Extended80 Bytes(uint64_t mantissa, uint16_t signAndExponent) {
  Extended80 out{};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  out[8] = static_cast<uint8_t>(signAndExponent);
  out[9] = static_cast<uint8_t>(signAndExponent >> 8);
  return out;
}

// Reference bytes worked out with exact rational arithmetic.
const Extended80 kOne = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F};
const Extended80 k40_25 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA1, 0x04, 0x40};
const Extended80 kMinus40_25 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA1, 0x04, 0xC0};
// 59.9996 correctly rounded to 64 bits, and the double nearest 59.9996 widened.
const Extended80 k59_9996 = {0xF3, 0x8E, 0x53, 0x74, 0x24, 0x97, 0xFF, 0xEF, 0x04, 0x40};
const Extended80 k59_9996FromDouble = {0x00, 0x90, 0x53, 0x74, 0x24, 0x97, 0xFF, 0xEF, 0x04, 0x40};
const Extended80 kOneNs = {0x97, 0xA5, 0xB4, 0x36, 0x41, 0x5F, 0x70, 0x89, 0xE1, 0x3F};
const Extended80 kMinusOneNs = {0x97, 0xA5, 0xB4, 0x36, 0x41, 0x5F, 0x70, 0x89, 0xE1, 0xBF};
const Extended80 kJustBelow60 = {0x18, 0xF4, 0xD1, 0xEE, 0xFF, 0xFF, 0xFF, 0xEF, 0x04, 0x40};
const Extended80 kInt64MaxNs = {0x96, 0xA5, 0xB4, 0x36, 0x41, 0x5F, 0x70, 0x89, 0x20, 0x40};

TEST(Extended80, FromDoubleKnownBytes) {
  EXPECT_EQ(Ext80FromDouble(1.0), kOne);
  EXPECT_EQ(Ext80FromDouble(40.25), k40_25);
  EXPECT_EQ(Ext80FromDouble(-40.25), kMinus40_25);
  EXPECT_EQ(Ext80FromDouble(59.9996), k59_9996FromDouble);
  EXPECT_EQ(Ext80FromDouble(0.0), Extended80{});
  EXPECT_EQ(Ext80FromDouble(0.1),
            (Extended80{0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}));
  EXPECT_EQ(Ext80FromDouble(std::numeric_limits<double>::infinity()),
            Bytes(0x8000000000000000, 0x7FFF));
  // The smallest subnormal double, 2^-1074, is a normal extended value.
  EXPECT_EQ(Ext80FromDouble(std::numeric_limits<double>::denorm_min()),
            Bytes(0x8000000000000000, 16383 - 1074));
}

TEST(Extended80, FromNanosecondsKnownBytes) {
  const std::vector<std::pair<int64_t, Extended80>> cases = {
      {0, Extended80{}},
      {1000000000, kOne},
      {40250000000, k40_25},
      {-40250000000, kMinus40_25},
      {59999600000, k59_9996},
      {1, kOneNs},
      {-1, kMinusOneNs},
      {59999999999, kJustBelow60},
      {std::numeric_limits<int64_t>::max(), kInt64MaxNs},
  };
  for (const auto& [numerator, bytes] : cases) {
    EXPECT_EQ(Ext80FromNanoseconds(numerator), bytes) << numerator;
  }
  // The most negative numerator has no positive counterpart in int64.
  const Extended80 minimum = Ext80FromNanoseconds(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(minimum[9], 0xC0);
  EXPECT_DOUBLE_EQ(Ext80ToDouble(minimum.data()), -9223372036.854775808);
}

TEST(Extended80, SecondsAndNanosecondsMatchTheSingleNumerator) {
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(40, 250000000), k40_25);
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(41, -750000000), k40_25);
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(59, 999600000), k59_9996);
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(0, 0), Extended80{});
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(-1, 1000000000), Extended80{});
  // Far outside the int64 numerator: no overflow, still the exact sum rounded once.
  const int64_t big = std::numeric_limits<int64_t>::max();
  const Extended80 v = Ext80FromSecondsAndNanoseconds(big, big);
  EXPECT_DOUBLE_EQ(Ext80ToDouble(v.data()), 9223372036854775807.0 + 9223372036.854775807);
  // 2^63 - 1 + 0.25 and + 0.75 need 65 bits and sit halfway: both go to the even mantissa,
  // the second one carrying into the exponent.
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(big, 250000000), Bytes(0xFFFFFFFFFFFFFFFE, 0x403D));
  EXPECT_EQ(Ext80FromSecondsAndNanoseconds(big, 750000000), Bytes(0x8000000000000000, 0x403E));
  const int64_t small = std::numeric_limits<int64_t>::min();
  const Extended80 w = Ext80FromSecondsAndNanoseconds(small, small);
  EXPECT_EQ(w[9] & 0x80, 0x80);
}

TEST(Extended80, ToDoubleRoundsToNearestEven) {
  struct Case {
    uint64_t mantissa;
    uint16_t exponent;
    double expected;
  };
  const double up1 = std::nextafter(1.0, 2.0);
  const double up2 = std::nextafter(up1, 2.0);
  const double maxDouble = std::numeric_limits<double>::max();
  const double tiny = std::numeric_limits<double>::denorm_min();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Case> cases = {
      {0x8000000000000400, 0x3FFF, 1.0},             // exactly half an ulp: stays even
      {0x8000000000000401, 0x3FFF, up1},             // just above half
      {0x80000000000003FF, 0x3FFF, 1.0},             // just below half
      {0x8000000000000C00, 0x3FFF, up2},             // half between odd and even: up
      {0xFFFFFFFFFFFFFC00, 0x3FFF, 2.0},             // carry into the exponent
      {0xFFFFFFFFFFFFF800, 0x43FE, maxDouble},       // largest double
      {0xFFFFFFFFFFFFFC00, 0x43FE, inf},             // rounds past the largest double
      {0x8000000000000000, 0x43FF, inf},             // 2^1024
      {0x8000000000000000, 16383 - 1074, tiny},      // 2^-1074
      {0x8000000000000000, 16383 - 1075, 0.0},       // half the smallest subnormal: even is 0
      {0x8000000000000001, 16383 - 1075, tiny},      // a little more
      {0xC000000000000000, 16383 - 1074, 2 * tiny},  // 1.5 units: up to the even 2
      {0xC000000000000000, 16383 - 1075, tiny},      // 0.75 of a unit
      {0x8000000000000000, 1, 0.0},                  // far below every double
      {0x0000000000000001, 0, 0.0},                  // extended denormal
      {0x4000000000000000, 0x3FFF, 0.5},             // unnormal: the value still counts
  };
  for (const Case& c : cases) {
    const Extended80 b = Bytes(c.mantissa, c.exponent);
    EXPECT_EQ(Ext80ToDouble(b.data()), c.expected) << std::hex << c.mantissa << " " << c.exponent;
  }
  const Extended80 negativeTie = Bytes(0x8000000000000C00, 0xBFFF);
  EXPECT_EQ(Ext80ToDouble(negativeTie.data()), -up2);
  EXPECT_TRUE(std::isnan(Ext80ToDouble(Bytes(0xC000000000000000, 0x7FFF).data())));
  EXPECT_EQ(Ext80ToDouble(Bytes(0x8000000000000000, 0xFFFF).data()), -inf);
  EXPECT_EQ(Ext80ToDouble(k59_9996.data()), 59.9996);
}

TEST(Extended80, DoubleRoundTripIsExact) {
  using Limits = std::numeric_limits<double>;
  // clang-format off
  std::vector<double> values = {0.0, -0.0, 1.0, -1.5, 59.9996, 1e-300, Limits::max(),
      -Limits::max(), Limits::min(), Limits::denorm_min(), -Limits::denorm_min() * 12345,
      Limits::infinity(), -Limits::infinity()};
  // clang-format on
  std::mt19937_64 bits(20240623);
  for (int i = 0; i < 20000; ++i) values.push_back(std::bit_cast<double>(bits()));
  for (double v : values) {
    const Extended80 e = Ext80FromDouble(v);
    const double back = Ext80ToDouble(e.data());
    if (std::isnan(v)) {
      EXPECT_TRUE(std::isnan(back));
    } else {
      EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(v)) << v;
    }
  }
}

TEST(Extended80, SplitKnownValues) {
  struct Case {
    Extended80 bytes;
    int64_t whole;
    int64_t nanoseconds;
  };
  const std::vector<Case> cases = {
      {Extended80{}, 0, 0},
      {kOne, 1, 0},
      {k40_25, 40, 250000000},
      {kMinus40_25, -40, -250000000},
      {k59_9996, 59, 999600000},
      {k59_9996FromDouble, 59, 999600000},
      {kOneNs, 0, 1},
      {kMinusOneNs, 0, -1},
      {kJustBelow60, 59, 999999999},
      {kInt64MaxNs, 9223372036, 854775807},
      // 40 + 1/1024 s is 976562.5 ns and 40 + 3/1024 s is 2929687.5 ns: ties go to even.
      {Ext80FromDouble(40.0 + 1.0 / 1024), 40, 976562},
      {Ext80FromDouble(40.0 + 3.0 / 1024), 40, 2929688},
      {Ext80FromDouble(-40.0 - 1.0 / 1024), -40, -976562},
      // Fractions that round up to a whole second keep the whole part as truncated.
      {Ext80FromDouble(0.9999999999), 0, 1000000000},
      {Ext80FromDouble(std::ldexp(1.0, -100)), 0, 0},
      {Ext80FromDouble(std::ldexp(1.0, 62)), int64_t{1} << 62, 0},
      {Ext80FromDouble(-std::ldexp(1.0, 63)), std::numeric_limits<int64_t>::min(), 0},
      {Bytes(0x8000000000000000, 0), 0, 0},  // extended denormal
  };
  for (const Case& c : cases) {
    int64_t whole = -7;
    int64_t ns = -7;
    ASSERT_TRUE(Ext80SplitSeconds(c.bytes.data(), whole, ns));
    EXPECT_EQ(whole, c.whole);
    EXPECT_EQ(ns, c.nanoseconds) << c.whole;
  }
}

TEST(Extended80, SplitRefusesWhatHasNoWholePart) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {inf, -inf, std::numeric_limits<double>::quiet_NaN(), std::ldexp(1.0, 63),
                   -std::ldexp(1.0, 64), 1e300}) {
    int64_t whole = 0;
    int64_t ns = 0;
    EXPECT_FALSE(Ext80SplitSeconds(Ext80FromDouble(v).data(), whole, ns)) << v;
  }
}

TEST(Extended80, NanosecondsSurviveTheStoredSeconds) {
  std::mt19937_64 pick(1537);
  for (int64_t second = -60; second <= 60; ++second) {
    for (int i = 0; i < 200; ++i) {
      const int64_t ns = static_cast<int64_t>(pick() % 1000000000);
      const int64_t signedNs = second < 0 ? -ns : ns;
      const Extended80 e = Ext80FromNanoseconds(second * 1000000000 + signedNs);
      int64_t whole = 0;
      int64_t back = 0;
      ASSERT_TRUE(Ext80SplitSeconds(e.data(), whole, back));
      EXPECT_EQ(whole, second);
      EXPECT_EQ(back, signedNs) << second;
    }
  }
}

}  // namespace
}  // namespace vnx
