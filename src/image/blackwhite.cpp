#include "image/blackwhite.h"

namespace korvane {
namespace {

// The one bounds-checked read: outside the picture reads as 0.
uint32_t PixelOrZero(const Picture& p, int64_t x, int64_t y) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return 0;
  return p.px[static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)];
}

inline uint32_t Threshold(uint32_t p, int t) {
  const int m = static_cast<int>((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
  return m > t ? kWhite : kBlack;
}

}  // namespace

bool IsBlackWhite(const Picture& picture) {
  const int64_t w = picture.empty() ? 0 : picture.width;
  const int64_t h = picture.empty() ? 0 : picture.height;
  // Both loops run at least once and stop before the last column and row.
  int64_t y = 0;
  do {
    int64_t x = 0;
    do {
      const uint32_t p = PixelOrZero(picture, x, y);
      if (p != kBlack && p != kWhite) return false;
      ++x;
    } while (x < w - 1);
    ++y;
  } while (y < h - 1);
  return true;
}

void ThresholdImage(Picture& picture, int threshold) {
  for (uint32_t& p : picture.px) p = Threshold(p, threshold);
}

void ThresholdInto(const Picture& src, int threshold, Picture& dst) {
  dst.width = src.width;
  dst.height = src.height;
  dst.px.resize(src.px.size());
  const uint32_t* s = src.px.data();
  uint32_t* d = dst.px.data();
  const size_t n = src.px.size();
  for (size_t i = 0; i < n; ++i) d[i] = Threshold(s[i], threshold);
}

}  // namespace korvane
