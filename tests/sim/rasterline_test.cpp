#include "sim/rasterline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

struct Canvas {
  Canvas(int w, int h) : w(w), h(h), px(size_t(w) * h, 0) {}
  RasterTarget target() { return {px.data(), w, h, w}; }
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
  std::string row(int y) const {
    std::string s;
    for (int x = 0; x < w; ++x) s += at(x, y) ? '#' : '.';
    return s;
  }
  int w, h;
  std::vector<uint32_t> px;
};

TEST(RasterLine, LastPixelIsNotSetAndPatternsRestartPerLine) {
  struct Case {
    LineStyle style;
    int x0, x1;
    const char* row;
  } cases[] = {
      {LineStyle::Solid, 1, 6, ".#####......"},
      {LineStyle::Solid, 6, 1, "..#####....."},  // from the right: 6 down to 2
      {LineStyle::Dot, 0, 11, "#..#..#..#.."},
      {LineStyle::DashDot, 0, 12, "####..#..###"},
      {LineStyle::Solid, 4, 4, "............"},  // length zero
  };
  for (const Case& c : cases) {
    Canvas cv(12, 3);
    RasterLine(cv.target(), c.x0, 1, c.x1, 1, 7, c.style);
    EXPECT_EQ(cv.row(1), c.row) << c.x0 << "->" << c.x1;
  }
}

TEST(RasterLine, SlopedLinesStepLikeTheNearestPixel) {
  Canvas cv(10, 4);
  RasterLine(cv.target(), 0, 0, 9, 3, 1, LineStyle::Solid);
  const char* rows[] = {"##........", "..###.....", ".....###..", "........#."};
  for (int y = 0; y < 4; ++y) EXPECT_EQ(cv.row(y), rows[y]) << y;

  Canvas steep(3, 6);
  RasterLine(steep.target(), 0, 5, 2, 0, 1, LineStyle::Solid);  // upwards, y-major
  int set = 0;
  for (uint32_t p : steep.px) set += p != 0;
  EXPECT_EQ(set, 5);
  EXPECT_TRUE(steep.at(0, 5));
  EXPECT_FALSE(steep.at(2, 0));
}

// A line reaching far outside sets exactly the pixels it sets on a canvas
// large enough to hold it.
TEST(RasterLine, ClippedLinesMatchTheWholeLine) {
  const int off = 100;
  struct Line {
    int x0, y0, x1, y1;
  } lines[] = {{-90, 5, 60, 17},  {25, -80, 3, 90},  {-16000 / 200, -50, 90, 80},
               {39, 39, -100, -60}, {-50, 10, -10, 30}, {10, 45, 80, 45}};
  for (const Line& l : lines) {
    for (LineStyle style : {LineStyle::Solid, LineStyle::Dot}) {
      Canvas small(40, 40), big(240, 240);
      RasterLine(small.target(), l.x0, l.y0, l.x1, l.y1, 1, style);
      RasterLine(big.target(), l.x0 + off, l.y0 + off, l.x1 + off, l.y1 + off, 1, style);
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
          ASSERT_EQ(small.at(x, y), big.at(x + off, y + off))
              << l.x0 << "," << l.y0 << "->" << l.x1 << "," << l.y1 << " at " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace korvane
