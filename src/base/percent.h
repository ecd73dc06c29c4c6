#pragma once
// The one percentage helper: part / whole * 100, rounded to the nearest whole
// number with ties to even (the default rounding mode), as the status line and
// the progress bar show it.
#include <cmath>
#include <cstdint>
#include <string>

#include "base/interaction.h"

namespace korvane {

// Progress of a row-by-row pass, kept within the 0..100 a progress bar takes.
inline int RowPercent(long double row, int32_t height) {
  if (height <= 0) return 100;
  long double v = row / static_cast<long double>(height) * 100.0L;
  if (!(v > 0)) return 0;
  if (v > 100) return 100;
  return static_cast<int>(std::rint(v));
}

// Progress of the k-th of `count` records in exact integer arithmetic:
// done * 100 / count, rounded to the nearest with ties to even.
inline int CountPercent(int64_t done, int64_t count) {
  const int64_t num = done * 100;
  int64_t q = num / count;
  const int64_t twiceRem = 2 * (num % count);
  if (twiceRem > count || (twiceRem == count && (q & 1))) ++q;
  return static_cast<int>(q);
}

// Progress of a pass over a list. Reports only when the percentage changes:
// the status line shows the same, and a desktop sink that processes events on
// each report stays cheap on lists of a million records.
class PercentReporter {
 public:
  PercentReporter(ProgressSink& sink, const char* text) : sink_(sink), text_(text) {}
  void report(long double part, long double whole) {
    const int p = static_cast<int>(std::rint(part / whole * 100.0L));
    if (p == last_) return;
    last_ = p;
    sink_.report(text_, p);
  }

 private:
  ProgressSink& sink_;
  std::string text_;
  int last_ = -1;
};

}  // namespace korvane
