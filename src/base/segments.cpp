#include "base/segments.h"

namespace korvane {

BoundingRect FindWayRect(const SegmentList& list) {
  BoundingRect r;
  for (int32_t i = 0; i < list.count(); ++i) {
    const Segment& s = list[i];
    if (s.x1 < r.minX) r.minX = s.x1;
    if (s.x2 < r.minX) r.minX = s.x2;
    if (s.x1 > r.maxX) r.maxX = s.x1;
    if (s.x2 > r.maxX) r.maxX = s.x2;
    if (s.y1 < r.minY) r.minY = s.y1;
    if (s.y2 < r.minY) r.minY = s.y2;
    if (s.y1 > r.maxY) r.maxY = s.y1;
    if (s.y2 > r.maxY) r.maxY = s.y2;
  }
  return r;
}

}  // namespace korvane
