#pragma once
// Progress of a pass over a list: part / whole * 100, rounded to the nearest
// whole number with ties to even. Reports only when the percentage changes: the
// status line shows the same, and a desktop sink that processes events on each
// report stays cheap on lists of a million records.
#include <cmath>
#include <string>

#include "core/interaction.h"

namespace korvane {

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
