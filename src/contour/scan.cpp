#include "contour/scan.h"

#include <cmath>

#include "base/percent.h"

namespace korvane {

namespace {

// Both scans share the line loop; they differ in what opens a stretch, which
// columns a line covers and whether pixels off a stretch are recoloured.
template <bool kNegative>
void ScanLines(Picture& img, SegmentList& list, long double scanStep, const bool& cancel,
               ProgressSink& progress) {
  list.clear();
  if (img.empty()) return;
  const int32_t w = img.width;
  const int32_t h = img.height;
  const long double step = scanStep;

  // Outside the picture: the negative scan sees "not white" there, which
  // never opens a stretch. The positive scan would open one on such a read
  // (only pictures up to two pixels wide start a line outside), so there a
  // read outside counts as white: nothing outside the picture gets machined.
  auto isWhite = [&](int32_t x, int32_t y) {
    if (x < 0 || x >= w) return !kNegative;
    return img.at(x, y) == kWhite;
  };
  auto paint = [&](int32_t x, int32_t y, uint32_t c) {
    if (x >= 0 && x < w) img.at(x, y) = c;
  };
  auto lineEnded = [&](int32_t x) {
    if constexpr (kNegative) return x < 0 || x > w - 1;
    return x <= 0 || x >= w - 1;
  };

  long double p = 0;
  int32_t y = 0;
  int32_t x = kNegative ? 0 : 1;
  int32_t d = 1;
  bool inside = false;

  for (;;) {
    const bool white = isWhite(x, y);
    if (inside && (kNegative ? !white : white)) {
      inside = false;
      Segment& s = list[list.count() - 1];
      s.x2 = x - d;
      s.y2 = p;
    } else if (!inside && (kNegative ? white : !white)) {
      inside = true;
      list.append(x, p, x, p);  // end point follows when the stretch is left
    }
    if (inside) {
      paint(x, y, kDarkGreen);
    } else if (kNegative) {
      paint(x, y, kWhite);
    }
    x += d;
    if (cancel) {
      // An open stretch ends at the last pixel examined, so the list matches
      // the green marks if the partial result is kept.
      if (inside) {
        Segment& s = list[list.count() - 1];
        s.x2 = x - d;
        s.y2 = p;
      }
      return;
    }
    if (!lineEnded(x)) continue;

    if (inside) {
      inside = false;
      Segment& s = list[list.count() - 1];
      s.x2 = x - d;
      s.y2 = p;
    }
    d = -d;
    const long double next = p + step;
    const long double row = std::rint(next);
    progress.report(kScanStatusText, RowPercent(row, h));
    // A step that does not move the line on (zero, negative, not a number,
    // or too small to change the position) would scan forever.
    if (!(next > p) || row >= h) return;
    p = next;
    y = static_cast<int32_t>(row);
    if (kNegative && cancel) return;
  }
}

}  // namespace

void BMPAbtasten(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                 ProgressSink& progress) {
  ScanLines<false>(result, segments, scanStep, cancel, progress);
}

void BMPAbtastNeg(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                  ProgressSink& progress) {
  ScanLines<true>(result, segments, scanStep, cancel, progress);
}

}  // namespace korvane
