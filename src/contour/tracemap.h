#pragma once
// A compact one-byte-per-pixel form of a picture for the tracers. Only five
// kinds of pixel matter to them (white, black, red, dark green, anything
// else), so a large scan costs a quarter of the memory of its 32-bit form,
// and the passes over it stream through a quarter of the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/interaction.h"
#include "image/decode.h"
#include "base/picture.h"

namespace korvane {

// Pixel codes of a trace map.
constexpr uint8_t kMapWhite = 0;
constexpr uint8_t kMapBlack = 1;
constexpr uint8_t kMapRed = 2;    // on a contour, still to be traced
constexpr uint8_t kMapGreen = 3;  // already turned into segments
constexpr uint8_t kMapOther = 4;  // any other colour: never black, never red

uint8_t MapCodeOf(uint32_t argb);

// Memory for big pixel buffers: asks the kernel for huge pages, because
// first touching a fresh buffer page by page costs more than a whole tracing
// pass on a large scan.
void* AllocateBigBuffer(std::size_t bytes);
void FreeBigBuffer(void* p, std::size_t bytes) noexcept;

template <class T>
struct BigBufferAllocator {
  using value_type = T;
  BigBufferAllocator() noexcept = default;
  template <class U>
  BigBufferAllocator(const BigBufferAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateBigBuffer(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreeBigBuffer(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const BigBufferAllocator<U>&) const noexcept {
    return true;
  }
};

struct TraceMap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t, BigBufferAllocator<uint8_t>> px;  // width * height, row-major

  bool empty() const { return width <= 0 || height <= 0; }
  uint8_t& at(int32_t x, int32_t y) { return px[static_cast<std::size_t>(y) * width + x]; }
  uint8_t at(int32_t x, int32_t y) const { return px[static_cast<std::size_t>(y) * width + x]; }
  void resize(int32_t w, int32_t h, uint8_t fill) {
    width = w;
    height = h;
    px.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill);
  }
  bool operator==(const TraceMap&) const = default;
};

// The compact form of a picture (same size, every pixel coded).
void LoadTraceMap(const Picture& picture, TraceMap& map);

// Write the marks of a traced map back into the picture it came from: pixels
// coded white, black, red or dark green get that colour, pixels coded "other"
// keep the colour they have. The sizes must match.
void StoreTraceMap(const TraceMap& map, Picture& picture);

// Fills a map straight from the decoder with a one-pixel white frame around
// the picture, the form the outline and centre-line methods work on.
class FramedTraceMapSink : public RowSink {
 public:
  explicit FramedTraceMapSink(TraceMap& map) : map_(map) {}
  bool begin(int32_t width, int32_t height) override;
  void row(int32_t y, const uint32_t* pixels) override;

 private:
  TraceMap& map_;
};

// Forwards progress; when the sink shows the picture, the marks made so far
// in the compact map are stored into it before each repaint of the preview
// (every multiple of 10 %), so the user watches the marks appear.
class MarkedPreviewSink : public ProgressSink {
 public:
  MarkedPreviewSink(ProgressSink& inner, const TraceMap& map, Picture& picture)
      : inner_(inner), map_(map), picture_(picture) {}
  void report(const std::string& text, int percent) override {
    if (percent % 10 == 0 && percent != lastPercent_ && inner_.showsPicture())
      StoreTraceMap(map_, picture_);
    lastPercent_ = percent;
    inner_.report(text, percent);
  }
  bool showsPicture() const override { return inner_.showsPicture(); }

 private:
  ProgressSink& inner_;
  const TraceMap& map_;
  Picture& picture_;
  int lastPercent_ = -1;
};

}  // namespace korvane
