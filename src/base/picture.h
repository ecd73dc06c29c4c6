#pragma once
// A working picture: width x height 32-bit pixels, alpha in the top byte,
// then red, green, blue; rows top to bottom.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;        // on a contour, still to be traced
constexpr uint32_t kDarkGreen = 0xFF007F00u;  // already turned into segments

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> px;  // width * height, row-major

  bool empty() const { return width <= 0 || height <= 0; }
  uint32_t& at(int32_t x, int32_t y) { return px[static_cast<size_t>(y) * width + x]; }
  uint32_t at(int32_t x, int32_t y) const { return px[static_cast<size_t>(y) * width + x]; }
  void resize(int32_t w, int32_t h, uint32_t fill) {
    width = w;
    height = h;
    px.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
  }
  bool operator==(const Picture&) const = default;
};

}  // namespace korvane
