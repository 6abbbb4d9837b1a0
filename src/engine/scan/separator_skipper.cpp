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
  // More than twice the 4100 bytes a frame head can look ahead, so the positions the search
  // asks about while it stands at one place never share a slot.
  static constexpr size_t kSlots = 16384;

  std::vector<const uint8_t*> key, value;
  const uint8_t* farFrom = nullptr;
  const uint8_t* farTo = nullptr;

  void Clear() {
    key.assign(kSlots, nullptr);
    value.assign(kSlots, nullptr);
    farFrom = farTo = nullptr;
  }
  static size_t Slot(const uint8_t* p) { return reinterpret_cast<uintptr_t>(p) & (kSlots - 1); }
  const uint8_t* Find(const uint8_t* p) const {
    if (p >= farFrom && p < farTo) return farTo;
    const size_t i = Slot(p);
    return key[i] == p ? value[i] : nullptr;
  }
  // From any position in [from, walkedTo) the answer is `answer` (and so from any position up
  // to the answer itself).
  void Remember(const uint8_t* from, const uint8_t* walkedTo, const uint8_t* answer) {
    if (walkedTo - from > static_cast<ptrdiff_t>(kSlots / 2)) {
      farFrom = from;
      farTo = answer;
      return;
    }
    for (const uint8_t* p = from; p < walkedTo; ++p) {
      const size_t i = Slot(p);
      key[i] = p;
      value[i] = answer;
    }
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
  for (Memo* m : {runs_.get(), lines_.get(), chains_.get()}) {
    // The tables are made on the first search of a log: most logs never need one.
    m->key.clear();
    m->value.clear();
    m->farFrom = m->farTo = nullptr;
  }
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
  if (memo.key.empty()) memo.Clear();
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
  if (memo.key.empty()) memo.Clear();
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
