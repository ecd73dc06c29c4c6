#pragma once
// Segment lists as plain values, so tests compare whole lists and print
// readable differences.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "base/segments.h"

namespace korvane::testing {

struct Seg {
  long double x1, y1, x2, y2;
  bool operator==(const Seg&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Seg& s) {
  return os << "(" << static_cast<double>(s.x1) << "," << static_cast<double>(s.y1) << ")->("
            << static_cast<double>(s.x2) << "," << static_cast<double>(s.y2) << ")";
}

// The valid records; contour methods append records with `done` clear.
inline std::vector<Seg> Segs(const SegmentList& list) {
  std::vector<Seg> out;
  for (int32_t i = 0; i < list.count(); ++i) {
    EXPECT_FALSE(list[i].done);
    out.push_back({list[i].x1, list[i].y1, list[i].x2, list[i].y2});
  }
  return out;
}

}  // namespace korvane::testing
