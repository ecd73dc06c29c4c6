#include "contour/tracemap.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

namespace korvane {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Branch-free so that the row loops vectorise.
inline uint8_t CodeOf(uint32_t p) {
  uint8_t c = kMapOther;
  c = p == kWhite ? kMapWhite : c;
  c = p == kBlack ? kMapBlack : c;
  c = p == kRed ? kMapRed : c;
  c = p == kDarkGreen ? kMapGreen : c;
  return c;
}

void CodeRow(const uint32_t* in, uint8_t* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = CodeOf(in[i]);
}

}  // namespace

uint8_t MapCodeOf(uint32_t argb) { return CodeOf(argb); }

void* AllocateBigBuffer(std::size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (p == nullptr) throw std::bad_alloc();
  // Only a hint: without huge pages the buffer works the same, just slower.
  madvise(p, rounded, MADV_HUGEPAGE);
  return p;
}

void FreeBigBuffer(void* p, std::size_t bytes) noexcept {
  if (bytes < kHugePage) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}

void LoadTraceMap(const Picture& picture, TraceMap& map) {
  map.width = picture.width;
  map.height = picture.height;
  map.px.resize(picture.px.size());
  CodeRow(picture.px.data(), map.px.data(), picture.px.size());
}

void StoreTraceMap(const TraceMap& map, Picture& picture) {
  static constexpr uint32_t kColour[] = {kWhite, kBlack, kRed, kDarkGreen};
  const std::size_t n = std::min(map.px.size(), picture.px.size());
  for (std::size_t i = 0; i < n; ++i) {
    const uint8_t c = map.px[i];
    if (c < kMapOther) picture.px[i] = kColour[c];
  }
}

bool FramedTraceMapSink::begin(int32_t width, int32_t height) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max() - 2;
  if (width < 0 || height < 0 || width > kMax || height > kMax) return false;
  map_.resize(width + 2, height + 2, kMapWhite);
  return true;
}

void FramedTraceMapSink::row(int32_t y, const uint32_t* pixels) {
  if (y < 0 || y >= map_.height - 2) return;
  const int32_t w = map_.width - 2;
  CodeRow(pixels, &map_.at(1, y + 1), static_cast<std::size_t>(w));
}

}  // namespace korvane
