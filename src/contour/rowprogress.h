#pragma once
// Progress of a row-by-row pass: row / height * 100, rounded to the nearest
// whole number with ties to even, kept within the 0..100 a progress bar takes.
#include <cmath>
#include <cstdint>

namespace korvane {

inline int RowPercent(long double row, int32_t height) {
  if (height <= 0) return 100;
  long double v = row / static_cast<long double>(height) * 100.0L;
  if (!(v > 0)) return 0;
  if (v > 100) return 100;
  return static_cast<int>(std::rint(v));  // default rounding mode: ties to even
}

}  // namespace korvane
