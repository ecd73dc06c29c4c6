#include "contour/tracemap.h"

#include <sys/mman.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

#ifdef __SSE2__
// Codes of four pixels in the low bytes of four 32-bit lanes.
inline __m128i Codes4(__m128i p) {
  const __m128i b = _mm_cmpeq_epi32(p, _mm_set1_epi32(static_cast<int>(kBlack)));
  const __m128i w = _mm_cmpeq_epi32(p, _mm_set1_epi32(static_cast<int>(kWhite)));
  const __m128i r = _mm_cmpeq_epi32(p, _mm_set1_epi32(static_cast<int>(kRed)));
  const __m128i g = _mm_cmpeq_epi32(p, _mm_set1_epi32(static_cast<int>(kDarkGreen)));
  const __m128i known = _mm_or_si128(_mm_or_si128(b, w), _mm_or_si128(r, g));
  __m128i c = _mm_and_si128(b, _mm_set1_epi32(kMapBlack));
  c = _mm_or_si128(c, _mm_and_si128(r, _mm_set1_epi32(kMapRed)));
  c = _mm_or_si128(c, _mm_and_si128(g, _mm_set1_epi32(kMapGreen)));
  return _mm_or_si128(c, _mm_andnot_si128(known, _mm_set1_epi32(kMapOther)));
}
#endif

// Decoded rows arrive as 32-bit pixels; this runs once per pixel of a scan.
void CodeRow(const uint32_t* in, uint8_t* out, std::size_t n) {
  std::size_t i = 0;
#ifdef __SSE2__
  for (; i + 16 <= n; i += 16) {
    const __m128i* src = reinterpret_cast<const __m128i*>(in + i);
    const __m128i lo =
        _mm_packs_epi32(Codes4(_mm_loadu_si128(src)), Codes4(_mm_loadu_si128(src + 1)));
    const __m128i hi =
        _mm_packs_epi32(Codes4(_mm_loadu_si128(src + 2)), Codes4(_mm_loadu_si128(src + 3)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < n; ++i) out[i] = CodeOf(in[i]);
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
