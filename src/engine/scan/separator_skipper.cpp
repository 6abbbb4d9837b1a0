#include "engine/scan/separator_skipper.h"

#include <vector>

namespace vnx {

namespace {

// A walk reports every stretch of this size it has crossed.
constexpr ptrdiff_t kWalkChunk = 16 << 20;

bool IsLineBreak(uint8_t b) {
  return b == 13 || b == 10;
}

}  // namespace

struct SeparatorSkipper::Memo {
  // Twice the 4100 bytes a frame head can look ahead, so the positions the search asks about
  // while it stands at one place rarely share a slot (a shared slot only costs a walk again).
  static constexpr size_t kSlots = 8192;
  // Walks shorter than this are cheaper to repeat than to remember: most searches in ordinary
  // damage never make the table.
  static constexpr ptrdiff_t kWorthRemembering = 32;

  struct Entry {
    const uint8_t* key;
    const uint8_t* value;
  };
  std::vector<Entry> slots;
  const uint8_t* farFrom = nullptr;
  const uint8_t* farTo = nullptr;

  static size_t Slot(const uint8_t* p) { return reinterpret_cast<uintptr_t>(p) & (kSlots - 1); }
  const uint8_t* Find(const uint8_t* p) const {
    if (p >= farFrom && p < farTo) return farTo;
    if (slots.empty()) return nullptr;
    const Entry& e = slots[Slot(p)];
    return e.key == p ? e.value : nullptr;
  }
  // From any position in [from, walkedTo) the answer is `answer` (and so from any position up
  // to the answer itself).
  void Remember(const uint8_t* from, const uint8_t* walkedTo, const uint8_t* answer) {
    const ptrdiff_t n = walkedTo - from;
    if (n < kWorthRemembering) return;
    if (n > static_cast<ptrdiff_t>(kSlots / 2)) {
      farFrom = from;
      farTo = answer;
      return;
    }
    if (slots.empty()) slots.assign(kSlots, Entry{nullptr, nullptr});
    for (const uint8_t* p = from; p < walkedTo; ++p) slots[Slot(p)] = {p, answer};
  }
  void Forget() {
    slots.clear();
    farFrom = farTo = nullptr;
  }
};

SeparatorSkipper::SeparatorSkipper()
    : runs_(std::make_unique<Memo>()),
      lines_(std::make_unique<Memo>()),
      chains_(std::make_unique<Memo>()) {}

SeparatorSkipper::~SeparatorSkipper() = default;

void SeparatorSkipper::Start(const uint8_t* end, WalkedFn walked) {
  end_ = end;
  walked_ = std::move(walked);
  examined_ = 0;
  for (Memo* m : {runs_.get(), lines_.get(), chains_.get()}) m->Forget();
}

const uint8_t* SeparatorSkipper::SkipPlain(const uint8_t* p) {
  const uint8_t* chunk = p;
  auto advanceWhile = [&](auto keepGoing) {
    while (p < end_ && keepGoing(*p)) {
      ++p;
      if (p - chunk >= kWalkChunk) {
        if (walked_) walked_(chunk, p);
        chunk = p;
      }
    }
  };
  while (p < end_ && IsSeparatorByte(*p)) {
    advanceWhile(IsSeparatorByte);
    if (p < end_ && StartsSkippedLine(*p)) advanceWhile([](uint8_t b) { return !IsLineBreak(b); });
  }
  return p;
}

template <class Pred>
const uint8_t* SeparatorSkipper::NextWhere(Memo& memo, const uint8_t* p, Pred stop) {
  const uint8_t* q = p;
  const uint8_t* answer = end_;
  const uint8_t* chunk = p;
  for (; q < end_; ++q) {
    if (stop(*q)) {
      answer = q;
      break;
    }
    if (const uint8_t* known = memo.Find(q)) {
      answer = known;
      break;
    }
    if (q - chunk >= kWalkChunk) {
      if (walked_) walked_(chunk, q);
      chunk = q;
    }
  }
  examined_ += static_cast<uint64_t>(q - p);
  memo.Remember(p, q, answer);
  return answer;
}

const uint8_t* SeparatorSkipper::RunEnd(const uint8_t* p) {
  return NextWhere(*runs_, p, [](uint8_t b) { return !IsSeparatorByte(b); });
}

const uint8_t* SeparatorSkipper::LineEnd(const uint8_t* p) {
  return NextWhere(*lines_, p, IsLineBreak);
}

const uint8_t* SeparatorSkipper::AfterLines(const uint8_t* p) {
  Memo& memo = *chains_;
  // Every byte from p to the answer lies in a skipped line or a run of separators of the
  // same chain, so any line start among them leads to the same answer.
  const uint8_t* e = p;
  const uint8_t* answer = nullptr;
  while (answer == nullptr) {
    ++examined_;
    if (const uint8_t* known = memo.Find(e)) {
      answer = known;
      break;
    }
    const uint8_t* lineEnd = LineEnd(e);
    if (lineEnd == end_) {
      answer = end_;
      e = end_;
      break;
    }
    const uint8_t* next = RunEnd(lineEnd);
    if (next == end_ || !StartsSkippedLine(*next)) {
      answer = next;
      e = next;
      break;
    }
    e = next;
  }
  memo.Remember(p, e, answer);
  return answer;
}

const uint8_t* SeparatorSkipper::Skip(const uint8_t* p) {
  if (p >= end_ || !IsSeparatorByte(*p)) return p;
  const uint8_t* e = RunEnd(p);
  if (e == end_ || !StartsSkippedLine(*e)) return e;
  return AfterLines(e);
}

}  // namespace vnx
