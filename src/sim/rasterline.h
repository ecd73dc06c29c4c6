#pragma once
// One-pixel lines on a 32-bit picture, drawn the way the platform's line
// drawing of the original works: from the first point up to, but not
// including, the last one; a line of length zero sets nothing. Patterned
// lines restart their pattern at every line. Lines may reach far outside the
// picture (the projection clamps to +-16000): only the visible part is walked.
#include <cstdint>

namespace korvane {

enum class LineStyle : uint8_t { Solid, Dot, DashDot };

struct RasterTarget {
  uint32_t* bits = nullptr;
  int width = 0, height = 0;
  int stride = 0;  // in pixels
};

void RasterLine(const RasterTarget& t, int x0, int y0, int x1, int y1, uint32_t colour,
                LineStyle style);

}  // namespace korvane
