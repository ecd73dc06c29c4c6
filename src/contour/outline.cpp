#include "contour/outline.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace korvane {

namespace {

constexpr int kUnset = 0;
constexpr int kFinished = -1;
// Steps of the direction codes 1..8 (index 0 unused): right, right-down,
// down, left-down, left, left-up, up, right-up.
constexpr int32_t kDx[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
constexpr int32_t kDy[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
// Orthogonal directions first, so that straight continuations win.
constexpr int kSearchOrder[8] = {1, 3, 5, 7, 8, 6, 4, 2};

int RowPercent(int32_t row, int32_t height) {
  if (height <= 0) return 100;
  const long double v = static_cast<long double>(row) / static_cast<long double>(height) * 100.0L;
  return static_cast<int>(rintl(v));  // default rounding mode: ties to even
}

// One pixel of the marking pass exactly as the row loop treats it; used for
// the single pixel a pass still handles after a cancel.
void MarkPixel(TraceMap& m, int32_t x, int32_t y) {
  auto black = [&](int32_t px, int32_t py) {
    return px >= 0 && py >= 0 && px < m.width && py < m.height && m.at(px, py) == kMapBlack;
  };
  auto paint = [&](int32_t px, int32_t py) {
    if (px >= 0 && py >= 0 && px < m.width && py < m.height) m.at(px, py) = kMapRed;
  };
  if (black(x, y) && !black(x + 1, y)) paint(x + 1, y);
  if (!black(x, y) && black(x + 1, y)) paint(x, y);
  if (black(x, y - 1) && !black(x, y)) paint(x, y);
  if (!black(x, y - 1) && black(x, y)) paint(x, y - 1);
}

// Sixteen pixels at a time; the compiler maps this onto the machine's vector
// registers (plain SSE2 on x86-64).
typedef uint8_t Bytes16 __attribute__((vector_size(16)));

inline Bytes16 Load16(const uint8_t* p) {
  Bytes16 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Store16(uint8_t* p, Bytes16 v) { std::memcpy(p, &v, sizeof v); }
// Lanes of `v` where `mask` is set become `to`.
inline Bytes16 Select(Bytes16 v, Bytes16 mask, uint8_t to) { return v ^ ((v ^ to) & mask); }

// Marks row y of the first pass: the left/right pairs within the row and the
// up/down pairs between rows y - 1 and y, except in the last column, which
// the row loop never reaches. Marking never changes which pixels are black,
// so reading pixels that were already marked in this row changes nothing.
void MarkRow(TraceMap& m, int32_t y) {
  const int32_t w = m.width;
  if (y >= m.height || w < 2) return;
  uint8_t* cur = &m.at(0, y);
  uint8_t* up = y > 0 ? &m.at(0, y - 1) : nullptr;
  constexpr uint8_t B = kMapBlack;
  constexpr uint8_t R = kMapRed;

  // One pixel x of the interior (1 <= x <= w - 2).
  auto inner = [&](int32_t x) {
    const uint8_t c = cur[x];
    const bool hit = cur[x - 1] == B || cur[x + 1] == B || (up != nullptr && up[x] == B);
    if (c != B && hit) cur[x] = R;
    if (up != nullptr && up[x] != B && c == B) up[x] = R;
  };

  // First column: right neighbour and the pixel above.
  if (cur[0] != B && (cur[1] == B || (up != nullptr && up[0] == B))) cur[0] = R;
  if (up != nullptr && up[0] != B && cur[0] == B) up[0] = R;

  int32_t x = 1;
  if (up != nullptr) {
    for (; x + 16 <= w - 1; x += 16) {
      const Bytes16 l = Load16(cur + x - 1) == B;
      const Bytes16 r = Load16(cur + x + 1) == B;
      const Bytes16 c = Load16(cur + x);
      const Bytes16 u = Load16(up + x);
      const Bytes16 cb = c == B;
      const Bytes16 ub = u == B;
      Store16(cur + x, Select(c, ~cb & (l | r | ub), R));
      Store16(up + x, Select(u, ~ub & cb, R));
    }
  } else {
    for (; x + 16 <= w - 1; x += 16) {
      const Bytes16 l = Load16(cur + x - 1) == B;
      const Bytes16 r = Load16(cur + x + 1) == B;
      const Bytes16 c = Load16(cur + x);
      Store16(cur + x, Select(c, ~(c == B) & (l | r), R));
    }
  }
  for (; x <= w - 2; ++x) inner(x);

  // Last column: only its left neighbour counts.
  if (cur[w - 1] != B && cur[w - 2] == B) cur[w - 1] = R;
}

// Second pass on one row: objects become white.
void RemoveRow(uint8_t* row, int32_t w) {
  int32_t x = 0;
  for (; x + 16 <= w; x += 16) {
    const Bytes16 v = Load16(row + x);
    Store16(row + x, Select(v, v == kMapBlack, kMapWhite));
  }
  for (; x < w; ++x)
    if (row[x] == kMapBlack) row[x] = kMapWhite;
}

}  // namespace

int64_t SegmentLength(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int64_t dx = std::llabs(x1) - std::llabs(x2);
  const int64_t dy = std::llabs(y1) - std::llabs(y2);
  // Whole-numbered squares below 2^63 are exact in the 64-bit mantissa.
  const long double d = sqrtl(static_cast<long double>(dx * dx + dy * dy));
  return static_cast<int64_t>(rintl(d));
}

void WormTracer::Trace(int32_t sx, int32_t sy, Path& path) {
  path.runs.clear();
  path.changed.clear();
  path.startChanged = false;
  path.length = 0;
  const int32_t w = map_.width;
  const int32_t h = map_.height;
  uint8_t* const px = map_.px.data();
  auto index = [w](int32_t x, int32_t y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
  };
  auto inside = [w, h](int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(w) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(h);
  };
  auto red = [&](int32_t x, int32_t y) { return inside(x, y) && px[index(x, y)] == kMapRed; };

  if (inside(sx, sy)) {
    const std::size_t i = index(sx, sy);
    path.startWas = px[i];
    path.start = i;
    if (px[i] != kMapGreen) {
      px[i] = kMapGreen;
      path.startChanged = true;
    }
  }

  int32_t x = sx;
  int32_t y = sy;
  std::ptrdiff_t i = static_cast<std::ptrdiff_t>(index(sx, sy));
  const std::ptrdiff_t row = w;
  const std::ptrdiff_t offset[9] = {0, 1, row + 1, row, row - 1, -1, -row - 1, -row, -row + 1};
  // Pixels with all eight neighbours inside the map need no bounds checks.
  const uint32_t innerW = w >= 2 ? static_cast<uint32_t>(w - 2) : 0;
  const uint32_t innerH = h >= 2 ? static_cast<uint32_t>(h - 2) : 0;
  // The pixel stepped from is always green already (the start, or a pixel
  // entered by a step), so a step only has to colour the pixel it enters.
  auto step = [&](int d) __attribute__((always_inline)) {
    if (static_cast<uint32_t>(x - 1) < innerW && static_cast<uint32_t>(y - 1) < innerH) {
      const uint8_t* p = px + i;
      if ((d & 1) == 0 &&
          (p[1] == kMapRed || p[row] == kMapRed || p[-1] == kMapRed || p[-row] == kMapRed)) {
        return false;
      }
      if (p[offset[d]] != kMapRed) return false;
    } else {
      if ((d & 1) == 0 && (red(x + 1, y) || red(x, y + 1) || red(x - 1, y) || red(x, y - 1))) {
        return false;
      }
      if (!red(x + kDx[d], y + kDy[d])) return false;
    }
    x += kDx[d];
    y += kDy[d];
    i += offset[d];
    px[i] = kMapGreen;
    path.changed.push_back(static_cast<std::size_t>(i));
    return true;
  };

  enum { kFirst, kStarted, kIsolated } state = kFirst;
  int dir = kUnset;
  std::vector<Run>& runs = path.runs;
  for (;;) {
    if (dir == kUnset) {
      dir = kFinished;
      for (int d : kSearchOrder) {
        if (step(d)) {
          dir = d;
          break;
        }
      }
    } else if (!step(dir)) {
      // The straight run ends here; a new one opens at this pixel.
      Run& last = runs.back();
      last.x2 = x;
      last.y2 = y;
      path.length += SegmentLength(last.x1, last.y1, last.x2, last.y2);
      runs.push_back({x, y, 0, 0});
      dir = kUnset;
    }
    if (state == kFirst) {
      runs.push_back({sx, sy, 0, 0});
      state = dir == kFinished ? kIsolated : kStarted;
    }
    if (cancel_ || dir == kFinished) break;
  }

  // Drop the run opened at the final position (or the lone record of an
  // isolated pixel); it never got an end point.
  runs.pop_back();
  if (state != kIsolated && std::abs(x - sx) <= 1 && std::abs(y - sy) <= 1) {
    runs.push_back({x, y, sx, sy});
    path.length += SegmentLength(x, y, sx, sy);
  }
}

void WormTracer::Undo(const Path& path) {
  uint8_t* const px = map_.px.data();
  // Every pixel a step entered was red before.
  for (std::size_t i : path.changed) px[i] = kMapRed;
  if (path.startChanged) px[path.start] = path.startWas;
}

void WormTracer::Redo(const Path& path) {
  uint8_t* const px = map_.px.data();
  if (path.startChanged) px[path.start] = kMapGreen;
  for (std::size_t i : path.changed) px[i] = kMapGreen;
}

void WormTracer::ScanWurm(int32_t x, int32_t y) {
  lastPathStart_ = segments_.count();
  traced_ = true;
  const int32_t w = map_.width;
  const int32_t h = map_.height;
  auto red = [&](int32_t px, int32_t py) {
    return static_cast<uint32_t>(px) < static_cast<uint32_t>(w) &&
           static_cast<uint32_t>(py) < static_cast<uint32_t>(h) && map_.at(px, py) == kMapRed;
  };
  // Right end of the red run beginning at the start, read before any trace
  // touches the map.
  int32_t xe = x;
  while (red(xe, y)) ++xe;
  --xe;

  Trace(x, y, first_);
  const Path* kept = &first_;
  if (xe > x) {
    Undo(first_);
    Trace(xe, y, second_);
    if (second_.length < first_.length) {
      // The trace is deterministic on the same pixels, so putting the first
      // trace back gives what tracing it again would.
      Undo(second_);
      Redo(first_);
    } else {
      kept = &second_;
    }
  }
  // Straight into the list: its storage grows without copying, and the pages
  // of millions of records are then written while the rows report progress,
  // not all at once at the end.
  for (const Run& r : kept->runs) segments_.append(r.x1, r.y1, r.x2, r.y2);
}

void WormTracer::finish() {
  if (!traced_) return;
  traced_ = false;
  SegmentList& list = segments_;
  const int32_t total = list.count();
  list.setCount(lastPathStart_);
  list.saveUndo();
  list.setCount(total);
  lastPathStart_ = 0;
}

void ScanOutLine(TraceMap& result, SegmentList& segments, const bool& cancel,
                 ProgressSink& progress) {
  const int32_t w = result.width;
  const int32_t h = result.height;
  // The cancel flag can only change while progress is reported, so checking
  // it at the start of each row equals checking it after every pixel: the
  // first pixel of the row is still handled, then the method stops.

  for (int32_t y = 0; y <= h; ++y) {
    if (cancel && w >= 2) {
      MarkPixel(result, 0, y);
      return;
    }
    MarkRow(result, y);
    progress.report(kOutlineMarkText, RowPercent(y, h));
  }

  for (int32_t y = 0; y <= h - 2; ++y) {
    uint8_t* row = &result.at(0, y);
    if (cancel && w >= 1) {
      if (row[0] == kMapBlack) row[0] = kMapWhite;
      return;
    }
    RemoveRow(row, w);
    progress.report(kOutlineRemoveText, RowPercent(y, h));
  }

  WormTracer tracer(result, segments, cancel);
  for (int32_t y = 0; y <= h - 2; ++y) {
    const uint8_t* row = &result.at(0, y);
    if (cancel && w >= 2) {
      if (row[0] == kMapRed) tracer.ScanWurm(0, y);
      return;
    }
    int32_t x = 0;
    while (x <= w - 2) {
      const void* hit = std::memchr(row + x, kMapRed, static_cast<std::size_t>(w - 1 - x));
      if (hit == nullptr) break;
      x = static_cast<int32_t>(static_cast<const uint8_t*>(hit) - row);
      tracer.ScanWurm(x, y);
      if (cancel) return;
      ++x;
    }
    progress.report(kOutlineTraceText, RowPercent(y, h));
  }
}

void ScanOutLine(Picture& result, SegmentList& segments, const bool& cancel,
                 ProgressSink& progress) {
  TraceMap map;
  LoadTraceMap(result, map);
  MarkedPreviewSink preview(progress, map, result);
  ScanOutLine(map, segments, cancel, preview);
  StoreTraceMap(map, result);
}

}  // namespace korvane
