#include "image/zoomedpicture.h"

#include <vector>

namespace korvane {

namespace {

// Higher wins; 0 for colours that only keep the centre sample.
int Rank(uint32_t v) {
  switch (v) {
    case kRed:
      return 3;
    case kDarkGreen:
      return 2;
    case kBlack:
      return 1;
    default:
      return 0;
  }
}

int32_t BlockStart(int32_t i, int32_t srcSize, int32_t dstSize) {
  return static_cast<int32_t>(static_cast<int64_t>(i) * srcSize / dstSize);
}

}  // namespace

void ReduceKeepingMarks(const Picture& src, int32_t dstW, int32_t dstH, uint32_t* dst) {
  if (src.empty() || dstW <= 0 || dstH <= 0 || dstW > src.width || dstH > src.height) return;
  std::vector<int32_t> xs(static_cast<size_t>(dstW) + 1);
  for (int32_t x = 0; x <= dstW; ++x) xs[static_cast<size_t>(x)] = BlockStart(x, src.width, dstW);
  std::vector<uint8_t> rank(static_cast<size_t>(dstW));
  for (int32_t ty = 0; ty < dstH; ++ty) {
    const int32_t y0 = BlockStart(ty, src.height, dstH);
    const int32_t y1 = BlockStart(ty + 1, src.height, dstH);
    uint32_t* out = dst + static_cast<size_t>(ty) * static_cast<size_t>(dstW);
    const uint32_t* centre = src.px.data() + static_cast<size_t>((y0 + y1) / 2) * src.width;
    for (int32_t tx = 0; tx < dstW; ++tx) {
      const uint32_t v = centre[(xs[static_cast<size_t>(tx)] + xs[static_cast<size_t>(tx) + 1]) / 2];
      out[tx] = v;
      rank[static_cast<size_t>(tx)] = static_cast<uint8_t>(Rank(v));
    }
    for (int32_t y = y0; y < y1; ++y) {
      const uint32_t* row = src.px.data() + static_cast<size_t>(y) * src.width;
      for (int32_t tx = 0; tx < dstW; ++tx) {
        uint8_t& best = rank[static_cast<size_t>(tx)];
        if (best == 3) continue;
        const int32_t end = xs[static_cast<size_t>(tx) + 1];
        for (int32_t x = xs[static_cast<size_t>(tx)]; x < end; ++x) {
          const uint32_t v = row[x];
          if (v == kWhite) continue;  // the common case: nothing to keep
          const int r = Rank(v);
          if (r > best) {
            best = static_cast<uint8_t>(r);
            out[tx] = v;
          }
        }
      }
    }
  }
}

}  // namespace korvane
