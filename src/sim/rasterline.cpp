#include "sim/rasterline.h"

#include <algorithm>
#include <cstdlib>

namespace korvane {

namespace {

// Pixel i of a line is set when bit (i mod period) of the mask is set:
// dots are one pixel on, two off; dash-dot is four on, two off, one on, two off.
struct Pattern {
  uint32_t mask;
  int period;
};
constexpr Pattern kPatterns[] = {{0x1, 1}, {0x1, 3}, {0x4F, 9}};

}  // namespace

void RasterLine(const RasterTarget& t, int x0, int y0, int x1, int y1, uint32_t colour,
                LineStyle style) {
  const int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
  const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  if (major == 0) return;
  // Pixel i (0 <= i < major) lies at major offset i and minor offset
  // (2 i minor + major) div (2 major), the nearest pixel to the true line.
  // The visible steps along the major axis bound the walk.
  const int mStart = xMajor ? x0 : y0, mStep = xMajor ? sx : sy;
  const int mLimit = xMajor ? t.width : t.height;
  int64_t iFirst = 0, iLast = major - 1;
  if (mStep > 0) {
    iFirst = std::max<int64_t>(iFirst, -int64_t(mStart));
    iLast = std::min<int64_t>(iLast, int64_t(mLimit) - 1 - mStart);
  } else {
    iFirst = std::max<int64_t>(iFirst, int64_t(mStart) - (mLimit - 1));
    iLast = std::min<int64_t>(iLast, mStart);
  }
  if (iFirst > iLast) return;
  const Pattern pat = kPatterns[int(style)];
  const int64_t twoMajor = 2 * major, twoMinor = 2 * minor;
  int64_t num = twoMinor * iFirst + major;
  int64_t off = num / twoMajor;
  int64_t rem = num % twoMajor;
  int phase = static_cast<int>(iFirst % pat.period);
  const int nStart = xMajor ? y0 : x0, nStep = xMajor ? sy : sx;
  const int nLimit = xMajor ? t.height : t.width;
  int64_t m = mStart + mStep * iFirst;
  for (int64_t i = iFirst; i <= iLast; ++i) {
    const int64_t n = nStart + nStep * off;
    if (n >= 0 && n < nLimit && (pat.mask >> phase & 1)) {
      const int64_t x = xMajor ? m : n, y = xMajor ? n : m;
      t.bits[y * t.stride + x] = colour;
    } else if ((nStep > 0 && n >= nLimit) || (nStep < 0 && n < 0)) {
      break;  // left the picture across the minor axis for good
    }
    m += mStep;
    rem += twoMinor;
    if (rem >= twoMajor) {
      rem -= twoMajor;
      ++off;
    }
    if (++phase == pat.period) phase = 0;
  }
}

}  // namespace korvane
