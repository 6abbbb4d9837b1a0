// The remembering separator walk of the resynchronisation search: the same answers as the
// plain walk, in work linear in what it crosses.
#include "engine/scan/separator_skipper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vnx::test {
namespace {

const uint8_t* At(const std::string& s, size_t i) {
  return reinterpret_cast<const uint8_t*>(s.data()) + i;
}

TEST(SeparatorSkipper, AnswersAsThePlainWalkInAnyOrder) {
  // Separators, line starts, NULs inside skipped lines and ordinary bytes, mixed at random.
  const char alphabet[] = {'\0', '\0', '\r', '\n', '#', '/', 'x', 'A', '\0', '!'};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(1 + rng() % 400, ' ');
    for (char& c : bytes) c = alphabet[rng() % sizeof alphabet];
    const uint8_t* end = At(bytes, bytes.size());
    SeparatorSkipper plain, remembering;
    plain.Start(end, nullptr);
    remembering.Start(end, nullptr);
    std::vector<size_t> order(bytes.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (round % 2) std::shuffle(order.begin(), order.end(), rng);
    for (const size_t i : order)
      ASSERT_EQ(remembering.Skip(At(bytes, i)) - At(bytes, 0),
                plain.SkipPlain(At(bytes, i)) - At(bytes, 0))
          << "round " << round << " at " << i;
  }
}

// The resynchronisation asks, for every byte of a damaged stretch that reads as a frame head
// of length L, where the separators after that frame end.
uint64_t WorkOfSearch(const std::string& bytes, int queriesPerByte) {
  SeparatorSkipper s;
  const uint8_t* end = At(bytes, bytes.size());
  s.Start(end, nullptr);
  for (size_t c = 0; c + 5 < bytes.size(); ++c)
    for (int k = 0; k < queriesPerByte; ++k) {
      // Heads of every length, in the order that defeats a memory of one stretch.
      const size_t len = (4095 - (c * 2 + k * 977) % 4096);
      if (c + 5 + len < bytes.size()) s.Skip(At(bytes, c + 5 + len));
    }
  return s.Examined();
}

TEST(SeparatorSkipper, WorkStaysLinearOnCraftedStretches) {
  const size_t n = 1 << 20;
  std::string nuls = std::string(4096, 'F') + std::string(n, '\0') + "x";
  std::string lines;  // NULs inside skipped lines, each a way into the same long chain
  while (lines.size() < n) lines += std::string("\0#\0#", 4) + std::string(61, 'y') + "\n";
  lines += "x";
  std::string runs;  // many short runs inside the window the search looks at
  while (runs.size() < n) runs += std::string(2000, '\0') + "#zz";
  runs += "x";
  // A few walks per byte (a slot the search shares costs a walk again); a search that walks the
  // run anew from each head would cost about 2000 per byte here.
  for (const std::string* bytes : {&nuls, &lines, &runs})
    EXPECT_LE(WorkOfSearch(*bytes, 2), 16 * bytes->size()) << bytes->substr(0, 8);
}

}  // namespace
}  // namespace vnx::test
