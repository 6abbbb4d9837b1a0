#pragma once
// Text of RINEX files: fixed-width numbers written without iostreams or printf (an observation
// file of a day holds tens of millions of them), 80-column header lines with their label at
// column 61, and a buffer that hands the text to its sink in large blocks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/rinex/rinex_sink.h"

namespace vnx::rinex {

// Writes `v` right-aligned in `width` columns with `decimals` digits after the point (Fortran
// Fw.d). A value that does not fit, or is not finite, leaves the columns blank and returns false.
bool PutFixed(char* out, int width, int decimals, double v);
// Writes an integer right-aligned in `width` columns, zero-padded to `minDigits` (Fortran Iw.m).
// A value that does not fit leaves the columns blank and returns false.
bool PutInt(char* out, int width, int64_t v, int minDigits = 1);
// Writes `v` in 19 columns as Fortran D19.12 does: " 1.234567890123E-04"; `exponent` is 'E'
// (RINEX 3) or 'D' (RINEX 2). Twelve decimals of the mantissa, rounded to nearest.
void PutD19(char* out, double v, char exponent);
// The same in `width` columns with `decimals` mantissa decimals (D12.4, D17.10, D16.9).
void PutExp(char* out, int width, int decimals, double v, char exponent);
// Copies at most `width` characters of `s` left-aligned; the rest stays as it was.
void PutText(char* out, int width, std::string_view s);

// One line of at most 80 columns, blank until set.
class Line {
 public:
  Line() { Clear(); }
  void Clear();
  char* At(int column) { return buf_ + column; }  // 0-based
  // Header line: content in columns 1..60, the label from column 61, padded to 80.
  void Label(std::string_view label) { PutText(buf_ + 60, 20, label); }
  std::string_view Full() const { return {buf_, 80}; }
  // Without trailing blanks.
  std::string_view Trimmed() const;

 private:
  char buf_[81];
};

// Collects text and hands it to a sink in blocks of about a megabyte. A failed write is kept:
// everything after it is dropped and Ok() stays false.
class TextBuffer {
 public:
  explicit TextBuffer(Sink& sink, size_t block = size_t{1} << 20);
  ~TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  // Room for `n` more characters; write them, then Commit(n) (at most what was reserved).
  char* Reserve(size_t n);
  void Commit(size_t n) { used_ += n; }
  void Append(std::string_view s);
  // The line and its line break.
  void Put(const Line& line, bool full);
  bool Flush();
  bool Ok() const { return ok_; }
  uint64_t BytesWritten() const { return written_ + used_; }

 private:
  Sink& sink_;
  std::string data_;
  size_t used_ = 0;
  size_t block_;
  uint64_t written_ = 0;
  bool ok_ = true;
};

}  // namespace vnx::rinex
