#pragma once
// The ordering of path optimisation written out literally: every remaining
// record is scanned at every step. Kept as the reference the fast search is
// checked against (tests) and timed against (bench).
#include <cstddef>
#include <utility>
#include <vector>

#include "contour/pathopt.h"
#include "base/segments.h"

namespace korvane::reference {

inline void OptimizeOrder(std::vector<Segment>& r, bool allowSwap) {
  const size_t n = r.size();
  for (Segment& s : r) s.done = false;
  for (size_t k = 0; k + 1 < n; ++k) {
    if (r[k].done) continue;
    r[k].done = true;
    long double best = 999999999999999.0L;
    size_t m = 0;  // 0 is never a candidate: none found
    bool reversed = false;
    for (size_t t = k + 1; t < n; ++t) {
      if (r[t].done) continue;
      long double g = PointDistance(r[k].x2, r[k].y2, r[t].x1, r[t].y1);
      if (g < best) {
        best = g;
        m = t;
        reversed = false;
        if (best == 0) break;
      }
      if (allowSwap) {
        g = PointDistance(r[k].x2, r[k].y2, r[t].x2, r[t].y2);
        if (g < best) {
          best = g;
          m = t;
          reversed = true;
          if (best == 0) break;
        }
      }
    }
    if (m == 0) continue;
    if (reversed) {
      std::swap(r[m].x1, r[m].x2);
      std::swap(r[m].y1, r[m].y2);
    }
    if (k + 1 < m) std::swap(r[m], r[k + 1]);
  }
  for (Segment& s : r) s.done = true;
}

}  // namespace korvane::reference
