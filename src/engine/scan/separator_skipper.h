#pragma once
// Separators and skipped lines, stepped over the way the scanner does, for the
// resynchronisation search. The search asks for the same stretch again and again (every byte
// of a damaged stretch may be the head of a frame whose end lies in one long run of NULs), so
// the skipper remembers what it walked: each byte is walked a bounded number of times, and a
// search takes time linear in what it crosses.
#include <cstdint>
#include <functional>
#include <memory>

namespace vnx {

// The separators between frames and the bytes that start a skipped line after them.
inline bool IsSeparatorByte(uint8_t b) {
  return b == 13 || b == 10 || b == 0;
}
inline bool StartsSkippedLine(uint8_t b) {
  return b >= 0x21 && b <= 0x2F;
}

class SeparatorSkipper {
 public:
  // Called with every stretch of at least 16 MiB the skipper has walked, so the caller can hand
  // its pages back while a walk crosses gigabytes.
  using WalkedFn = std::function<void(const uint8_t* from, const uint8_t* to)>;

  SeparatorSkipper();
  ~SeparatorSkipper();
  SeparatorSkipper(const SeparatorSkipper&) = delete;
  SeparatorSkipper& operator=(const SeparatorSkipper&) = delete;

  // A new log: forgets everything remembered.
  void Start(const uint8_t* end, WalkedFn walked);
  // Exactly what TVNXFile::SkipSeparators(p) returns, for p < end.
  const uint8_t* Skip(const uint8_t* p);

  // The same walk without remembering anything: for the main loop, where the cursor passes
  // every byte only once anyway.
  const uint8_t* SkipPlain(const uint8_t* p);

  // Bytes the remembering walks have examined since Start(): what bounds the search's time.
  uint64_t Examined() const { return examined_; }

 private:
  // The first position at or after p whose byte is not a separator / is CR or LF (or the end).
  const uint8_t* RunEnd(const uint8_t* p);
  const uint8_t* LineEnd(const uint8_t* p);
  // From a byte that starts a skipped line: over that line and every separator and skipped
  // line that follow, to the first byte that is neither.
  const uint8_t* AfterLines(const uint8_t* p);

  // Every remembered answer has the shape "from any position in [from, to) the answer is
  // `to`": small stretches go into a table keyed by position, the latest long one is kept
  // apart (at most one long stretch reaches beyond what the search looks at).
  struct Memo;
  template <class Pred>
  const uint8_t* NextWhere(Memo& memo, const uint8_t* p, Pred stop);

  const uint8_t* end_ = nullptr;
  WalkedFn walked_;
  uint64_t examined_ = 0;
  std::unique_ptr<Memo> runs_, lines_, chains_;
};

}  // namespace vnx
