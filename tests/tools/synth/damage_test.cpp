#include "tools/synth/damage.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/synth/frame_builder.h"

namespace vnx::synth {
namespace {

std::string Frames(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
}

TEST(Damage, ReaderSearchesOverGarbageToTheNextConfirmedFrame) {
  std::string a = BuildFrame("PO", "abcdef"), b = BuildFrame("DP", "xyz"),
              c = BuildFrame("SG", "q");
  std::string log = Frames({a, "\r\n", "\x01xyz", b, "\r\n", c, "\r\n"});
  ResyncResult r = FindNextFrame(log, a.size());
  EXPECT_FALSE(r.direct);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.start, a.size() + 2);
  EXPECT_EQ(r.target, a.size() + 6);
  EXPECT_TRUE(LandsCleanly(log, r, a.size() + 6));
  // Offsets in lower-case hex: the garbage starts at byte 14 and ends at byte 17.
  EXPECT_EQ(OtherTextLine(r.start, r.target - r.start, " 0h0m1.0s"),
            "Error: Other text  len=4 0X   e (0X 11 ) (  0h0m1.0s ) ");
  EXPECT_EQ(HexBytesLine("\x01xyz"), "01 78 79 7a ");
}

TEST(Damage, CommentLinesAfterALineBreakAreNoGarbage) {
  std::string a = BuildFrame("PO", "abc"), b = BuildFrame("DP", "xyz");
  std::string log = Frames({a, "\r\n# a comment\r\n", b, "\r\n", b, "\r\n"});
  ResyncResult r = FindNextFrame(log, a.size());
  EXPECT_TRUE(r.direct);
  EXPECT_EQ(r.target, log.find("DP"));
}

TEST(Damage, AHeadWhoseConfirmationLiesBeyondTheChunkIsNotClean) {
  // "AB0FF" looks like a frame head whose body would reach past what the check can see.
  std::string a = BuildFrame("PO", "abc"), b = BuildFrame("DP", "xyz");
  std::string log = Frames({a, "\r\n",
                            "\x01"
                            "AB0FF",
                            b, "\r\n", b, "\r\n"});
  ResyncResult r = FindNextFrame(log, a.size());
  ASSERT_TRUE(r.found);
  EXPECT_FALSE(LandsCleanly(log, r, r.target));
}

TEST(Damage, CutFramesFailTheirChecksum) {
  std::string a = BuildFrame("PO", std::string(20, 'x')), b = BuildFrame("DP", "xyz");
  std::string whole = a + "\r\n" + b + "\r\n" + b + "\r\n";
  EXPECT_FALSE(ChecksumFails(whole, 0, a.size() - 5));
  std::string cut = a.substr(0, 12) + "\r\n" + b + "\r\n" + b + "\r\n";
  EXPECT_TRUE(ChecksumFails(cut, 0, a.size() - 5));
}

}  // namespace
}  // namespace vnx::synth
