#pragma once
// Shrinking a picture for the view below 1:1 without losing its marks. Plain
// sampling keeps one source pixel per screen pixel, so a one-pixel contour
// line of a large scan breaks up into dots or vanishes; here every screen
// pixel shows the most significant colour of the source block it covers:
// red (found) over dark green (traced) over black over anything else, which
// keeps the pixel at the block's centre.
#include <cstdint>

#include "base/picture.h"

namespace korvane {

// Fill dst (dstW * dstH pixels, rows top to bottom) from src; the size must
// be at least 1 x 1 and at most the picture's. Target pixel (x, y) covers the
// source columns x * W / dstW up to (x + 1) * W / dstW (exclusive), and the
// same for rows, so the blocks tile the picture without gaps.
void ReduceKeepingMarks(const Picture& src, int32_t dstW, int32_t dstH, uint32_t* dst);

}  // namespace korvane
