#include "image/resizelink.h"

#include <cmath>

namespace korvane {

void ResizeLink::begin(int32_t w0, int32_t h0) {
  w0_ = w0;
  h0_ = h0;
  newW_ = w0;
  newH_ = h0;
  ratio_ = 1.0L;
}

int32_t ResizeLink::Follow(int32_t other0, long double ratio, int32_t fallback) {
  const long double v = static_cast<long double>(other0) / ratio;
  if (!std::isfinite(v) || ratio == 0) return fallback;
  // rintl rounds an exact half to the even neighbour.
  const long double r = std::rint(v);
  if (r < kResizeFieldMin) return kResizeFieldMin;
  if (r > kResizeFieldMax) return kResizeFieldMax;
  return static_cast<int32_t>(r);
}

void ResizeLink::widthChanged(int32_t w, bool edited) {
  newW_ = w;
  ratio_ = static_cast<long double>(w0_) / static_cast<long double>(w);
  if (edited) newH_ = Follow(h0_, ratio_, newH_);
}

void ResizeLink::heightChanged(int32_t h, bool edited) {
  newH_ = h;
  ratio_ = static_cast<long double>(h0_) / static_cast<long double>(h);
  if (edited) newW_ = Follow(w0_, ratio_, newW_);
}

bool ResizeLink::acceptable() const {
  return newW_ >= kResizeFieldMin && newH_ >= kResizeFieldMin;
}

}  // namespace korvane
