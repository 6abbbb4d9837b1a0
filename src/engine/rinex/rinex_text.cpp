#include "engine/rinex/rinex_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vnx::rinex {
namespace {

constexpr int64_t kPow10[] = {1,
                              10,
                              100,
                              1000,
                              10000,
                              100000,
                              1000000,
                              10000000,
                              100000000,
                              1000000000,
                              10000000000,
                              100000000000,
                              1000000000000,
                              10000000000000,
                              100000000000000,
                              1000000000000000};

// Digits of `v` (>= 0) written backwards from `end`; returns the new start.
char* DigitsBackward(char* end, uint64_t v, int minDigits) {
  int n = 0;
  do {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
    ++n;
  } while (v != 0 || n < minDigits);
  return end;
}

}  // namespace

bool PutFixed(char* out, int width, int decimals, double v) {
  if (!std::isfinite(v) || decimals < 0 || decimals > 12) return false;
  const double scaled = v * static_cast<double>(kPow10[decimals]);
  if (std::fabs(scaled) >= 9.0e15) return false;
  const int64_t m = std::llround(scaled);
  const uint64_t mag = static_cast<uint64_t>(m < 0 ? -m : m);
  char tmp[32];
  char* end = tmp + sizeof tmp;
  char* p = end;
  if (decimals > 0) {
    p = DigitsBackward(p, mag % static_cast<uint64_t>(kPow10[decimals]), decimals);
    *--p = '.';
  }
  p = DigitsBackward(p, mag / static_cast<uint64_t>(kPow10[decimals]), 1);
  if (m < 0) *--p = '-';
  const int len = static_cast<int>(end - p);
  if (len > width) return false;
  std::memset(out, ' ', static_cast<size_t>(width - len));
  std::memcpy(out + (width - len), p, static_cast<size_t>(len));
  return true;
}

bool PutInt(char* out, int width, int64_t v, int minDigits) {
  char tmp[32];
  char* end = tmp + sizeof tmp;
  const uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  char* p = DigitsBackward(end, mag, minDigits);
  if (v < 0) *--p = '-';
  const int len = static_cast<int>(end - p);
  if (len > width) return false;
  std::memset(out, ' ', static_cast<size_t>(width - len));
  std::memcpy(out + (width - len), p, static_cast<size_t>(len));
  return true;
}

void PutExp(char* out, int width, int decimals, double v, char exponent) {
  // Exponents beyond two digits do not fit the layout; such values are far below anything a
  // broadcast parameter holds, or not numbers at all.
  if (!std::isfinite(v) || std::fabs(v) < 1e-99) v = 0.0;
  if (std::fabs(v) >= 1e99) v = std::copysign(9.999999999999e98, v);
  char tmp[40];
  auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific, decimals);
  char* e = static_cast<char*>(std::memchr(tmp, 'e', static_cast<size_t>(r.ptr - tmp)));
  if (e != nullptr) *e = exponent;
  const int len = static_cast<int>(r.ptr - tmp);
  if (len > width) {
    std::memset(out, ' ', static_cast<size_t>(width));
    return;
  }
  std::memset(out, ' ', static_cast<size_t>(width - len));
  std::memcpy(out + (width - len), tmp, static_cast<size_t>(len));
}

void PutD19(char* out, double v, char exponent) {
  PutExp(out, 19, 12, v, exponent);
}

void PutText(char* out, int width, std::string_view s) {
  const size_t n = s.size() < static_cast<size_t>(width) ? s.size() : static_cast<size_t>(width);
  std::memcpy(out, s.data(), n);
}

void Line::Clear() {
  std::memset(buf_, ' ', 80);
  buf_[80] = 0;
}

std::string_view Line::Trimmed() const {
  size_t n = 80;
  while (n > 0 && buf_[n - 1] == ' ') --n;
  return {buf_, n};
}

TextBuffer::TextBuffer(Sink& sink, size_t block) : sink_(sink), block_(block) {
  data_.resize(block_ + 4096);
}

char* TextBuffer::Reserve(size_t n) {
  if (used_ + n > data_.size()) {
    Flush();
    if (n > data_.size()) data_.resize(n);
  }
  return data_.data() + used_;
}

void TextBuffer::Append(std::string_view s) {
  char* p = Reserve(s.size());
  std::memcpy(p, s.data(), s.size());
  Commit(s.size());
  if (used_ >= block_) Flush();
}

void TextBuffer::Put(const Line& line, bool full) {
  const std::string_view text = full ? line.Full() : line.Trimmed();
  char* p = Reserve(text.size() + 1);
  std::memcpy(p, text.data(), text.size());
  p[text.size()] = '\n';
  Commit(text.size() + 1);
  if (used_ >= block_) Flush();
}

bool TextBuffer::Flush() {
  if (used_ == 0) return ok_;
  if (ok_) ok_ = sink_.Write(std::string_view(data_.data(), used_));
  written_ += used_;
  used_ = 0;
  return ok_;
}

}  // namespace vnx::rinex
