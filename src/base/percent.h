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

// Work without a percentage of its own (building a search tree, moving
// records): every `every` steps of it the sink hears `text` again at a fixed
// percentage, so the status line keeps its text and the window keeps answering.
class KeepAlive {
 public:
  KeepAlive(ProgressSink& sink, const char* text, int64_t every = int64_t{1} << 18)
      : sink_(sink), text_(text), every_(every), next_(every) {}
  void add(int64_t steps, int percent) {
    done_ += steps;
    if (done_ < next_) return;
    next_ = done_ + every_;
    sink_.report(text_, percent);
  }

 private:
  ProgressSink& sink_;
  std::string text_;
  int64_t every_, next_, done_ = 0;
};

}  // namespace korvane
