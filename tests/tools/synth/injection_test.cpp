// Slips and clock jumps that vnx-synth puts into a log on request.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/scan_fixture.h"
#include "tools/synth/real_data.h"

namespace vnx::synth {
namespace {

TEST(Injection, OptionTexts) {
  const SlipInjection s = ParseSlip("S20:90.5:1:-2:3");
  EXPECT_EQ(s.sat, (SatId{Gnss::Sbas, 120}));
  EXPECT_EQ(s.seconds, 90.5);
  EXPECT_EQ(s.cyclesL1, 1);
  EXPECT_EQ(s.cyclesL2, -2);
  EXPECT_EQ(s.cyclesL5, 3);
  EXPECT_EQ(ParseSlip("R07:10:0:1").sat, (SatId{Gnss::Glonass, 7}));
  EXPECT_EQ(ParseClockJump("60").milliseconds, 1);
  EXPECT_EQ(ParseClockJump("60:-2").milliseconds, -2);
  for (const char* bad : {"G05", "X05:1:1:1", "G05:10:1", ""})
    EXPECT_THROW(ParseSlip(bad), std::runtime_error) << bad;
  for (const char* bad : {"", "x", "10:0"})
    EXPECT_THROW(ParseClockJump(bad), std::runtime_error) << bad;
}

class InjectionScan : public vnx::test::ScanFixture {
 protected:
  std::vector<std::vector<SvRec>> Records(const SynthOptions& o) {
    EXPECT_TRUE(ScanLog(test::MakeLog(test::Opec(), o)));
    return SatRecords();
  }
};

// From the jump on every code is one millisecond of light longer and every phase unchanged;
// from the slip on, only the slipping satellite's L1 phases are 3 cycles longer.
TEST_F(InjectionScan, CodesJumpAndPhasesSlipFromTheirEpochOn) {
  SynthOptions o;
  o.hours = 0.1;
  o.rate = 1;
  const auto plain = Records(o);
  o.clockJumps = {ParseClockJump("200")};
  o.slips = {ParseSlip("G21:100:3:0")};
  const auto changed = Records(o);
  ASSERT_EQ(plain.size(), changed.size());
  int codes = 0, slipped = 0;
  for (size_t e = 0; e < plain.size(); ++e) {
    ASSERT_EQ(plain[e].size(), changed[e].size());
    for (size_t k = 0; k < plain[e].size(); ++k) {
      const SignalBlock& a = plain[e][k].sig[0];
      const SignalBlock& b = changed[e][k].sig[0];
      const bool g21 = plain[e][k].system == 1 && plain[e][k].number == 21;
      if (a.present[kRange]) {
        EXPECT_NEAR(b.range - a.range, e >= 200 ? 299792.458 : 0.0, 1e-3);
        ++codes;
      }
      if (a.present[kPhase]) {
        // The log carries phases beside their code to about a thousandth of a cycle.
        EXPECT_NEAR(b.phase - a.phase, g21 && e >= 100 ? 3.0 : 0.0, 0.01);
        slipped += g21 && e >= 100;
      }
      EXPECT_NEAR(changed[e][k].sig[2].phase, plain[e][k].sig[2].phase, 0.01);
    }
  }
  EXPECT_GT(codes, 5000);
  EXPECT_GT(slipped, 200);
}

}  // namespace
}  // namespace vnx::synth
