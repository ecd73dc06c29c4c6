#include "contour/centreline.h"

#include <cmath>

#include "contour/outline.h"
#include "base/percent.h"

namespace korvane {

std::string StrokeWidthMessage(int width) {
  return "Durchschnittliche Linienbreite zu gross: " + std::to_string(width) + " Punkte";
}

namespace {

// Read with clipping: outside the map a pixel is neither white nor black.
inline uint8_t Get(const TraceMap& m, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= m.width || y >= m.height) return kMapOther;
  return m.px[static_cast<size_t>(y) * m.width + x];
}

// Smallest stroke width at which a run with `before` black pixels before P and
// `after` black pixels after it (both ended by white) gets P marked red; kNone
// where P is not the marked pixel of such a run. Runs of 1 to 9 pixels have
// exactly one marked pixel each: 1st, 1st, 2nd, 2nd, 3rd, 4th, 4th, 5th, 5th.
constexpr int kNone = 0x7fff;
constexpr int kMinWidth[5][5] = {
    // one column per count of black pixels after P, 0 to 4
    {1, 1, kNone, kNone, kNone},      // before 0: runs of 1 and 2
    {kNone, 2, 3, kNone, kNone},      // before 1: runs of 3 and 4
    {kNone, kNone, 4, kNone, kNone},  // before 2: run of 5
    {kNone, kNone, 5, 6, kNone},      // before 3: runs of 6 and 7
    {kNone, kNone, kNone, 7, 8},      // before 4: runs of 8 and 9
};

// Black pixels next to P in one direction, up to 5; `white` tells whether
// the stretch ends on a white pixel (red, green, other colours and the
// outside end it without matching).
inline int BlackRun(const TraceMap& m, int32_t x, int32_t y, int32_t dx, int32_t dy, bool& white) {
  int n = 0;
  for (;;) {
    x += dx;
    y += dy;
    const uint8_t c = Get(m, x, y);
    if (c != kMapBlack) {
      white = c == kMapWhite;
      return n;
    }
    if (++n == 5) {
      white = false;
      return n;
    }
  }
}

// Whether P's run along one axis has the shape of a marked run at width w.
inline bool CentreOfRun(const TraceMap& m, int32_t x, int32_t y, int32_t dx, int32_t dy, int w) {
  bool whiteBefore = false, whiteAfter = false;
  const int before = BlackRun(m, x, y, -dx, -dy, whiteBefore);
  if (!whiteBefore || before > 4) return false;
  const int after = BlackRun(m, x, y, dx, dy, whiteAfter);
  if (!whiteAfter || after > 4) return false;
  return w >= kMinWidth[before][after];
}

bool HasRedNeighbour(const TraceMap& m, int32_t x, int32_t y) {
  for (int32_t dy = -1; dy <= 1; ++dy)
    for (int32_t dx = -1; dx <= 1; ++dx)
      if ((dx || dy) && Get(m, x + dx, y + dy) == kMapRed) return true;
  return false;
}

}  // namespace

StrokeWidthResult MeasureStrokeWidth(const TraceMap& map, long double scanStep, const bool& cancel,
                                     ProgressSink& progress) {
  StrokeWidthResult r;
  // The row advance is the whole part of the scan step; anything below one
  // row would never get through the picture.
  long double whole = std::trunc(scanStep);
  if (!(whole >= 1)) whole = 1;
  const int64_t step = whole > map.height ? map.height + int64_t{1} : static_cast<int64_t>(whole);
  int64_t run = 0;  // runs on across row ends: the white frame ends them
  for (int64_t y = 0; y < map.height; y += step) {
    const uint8_t* row = map.px.data() + static_cast<size_t>(y) * map.width;
    for (int32_t x = 0; x < map.width; ++x) {
      if (row[x] == kMapWhite) {
        if (run >= 1 && run <= kMaxCountedRun) ++r.counts[static_cast<size_t>(run)];
        run = 0;
      } else {
        ++run;
      }
      if (cancel) {
        r.cancelled = true;
        return r;
      }
    }
    progress.report(kCentreWidthText, RowPercent(static_cast<long double>(y + step), map.height));
  }
  if (cancel) {
    r.cancelled = true;
    return r;
  }
  for (int len = 1; len <= kMaxCountedRun; ++len)
    if (r.counts[len] > r.counts[r.width]) r.width = len;
  return r;
}

void ScanInline(TraceMap& m, SegmentList& segments, long double scanStep, const bool& cancel,
                ProgressSink& progress, UserDialogs& ui) {
  const int32_t w = m.width;
  const int32_t h = m.height;

  const StrokeWidthResult sw = MeasureStrokeWidth(m, scanStep, cancel, progress);
  if (sw.cancelled) return;
  const int width = sw.width;
  if (width > kMaxThinnedWidth) ui.message(StrokeWidthMessage(width));

  // Mark the centre pixel of each white-ended horizontal, then vertical, run.
  // A pixel marked earlier is no longer black, so runs next to it stay unmarked.
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = m.px.data() + static_cast<size_t>(y) * w;
    for (int32_t x = 0; x < w; ++x) {
      if (row[x] == kMapBlack && width >= 1) {
        if (CentreOfRun(m, x, y, 1, 0, width) || CentreOfRun(m, x, y, 0, 1, width)) {
          row[x] = kMapRed;
        }
      }
      if (cancel) return;
    }
    if (cancel) return;
    progress.report(kCentreReduceText, RowPercent(y + 1, h));
  }

  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = m.px.data() + static_cast<size_t>(y) * w;
    for (int32_t x = 0; x < w; ++x)
      if (row[x] == kMapBlack) row[x] = kMapWhite;
    progress.report(kCentreRemoveText, RowPercent(y + 1, h));
    if (cancel) return;
  }

  // Trace from every pixel that is not white. A start on a pixel that has no
  // red neighbour traces nothing and only turns that pixel green, so the
  // tracer is spared those calls.
  WormTracer tracer(m, segments, cancel);
  bool lastStartTrivial = false;
  for (int32_t y = 0; y + 1 < h; ++y) {
    for (int32_t x = 0; x + 1 < w; ++x) {
      uint8_t& c = m.px[static_cast<size_t>(y) * w + x];
      if (c != kMapWhite) {
        if (c != kMapRed && !HasRedNeighbour(m, x, y)) {
          c = kMapGreen;
          lastStartTrivial = true;
        } else {
          tracer.ScanWurm(x, y);
          lastStartTrivial = false;
        }
      }
      if (cancel) return;
    }
    progress.report(kCentreTraceText, RowPercent(y, h));
  }
  tracer.finish();
  // Each start saves the list in the undo bank; a last start that traced
  // nothing leaves the whole list there.
  if (lastStartTrivial) segments.saveUndo();
}

void ScanInline(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                ProgressSink& progress, UserDialogs& ui) {
  TraceMap map;
  LoadTraceMap(result, map);
  MarkedPreviewSink preview(progress, map, result);
  ScanInline(map, segments, scanStep, cancel, preview, ui);
  StoreTraceMap(map, result);
}

}  // namespace korvane
