#include "base/segments.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace korvane {

SegmentList::SegmentList(const SegmentList& other)
    : undo_(other.undo_),
      count_(other.count_),
      used_(other.used_),
      saved_(other.saved_),
      undoKept_(other.undoKept_) {
  reserve(std::max(other.capacity(), kBankSize));
  if (used_ > 0)
    std::memcpy(store_.data(), other.store_.data(), static_cast<size_t>(used_) * sizeof(Segment));
}

SegmentList& SegmentList::operator=(const SegmentList& other) {
  if (this != &other) *this = SegmentList(other);
  return *this;
}

int32_t SegmentList::capacity() const {
  const size_t records = store_.capacity() / sizeof(Segment);
  return static_cast<int32_t>(
      std::min(records, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

void SegmentList::Grow(int32_t n) {
  const size_t need = static_cast<size_t>(n) * sizeof(Segment);
  const size_t doubled = static_cast<size_t>(capacity()) * 2 * sizeof(Segment);
  store_.grow(need, std::max(need, doubled));
}

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
