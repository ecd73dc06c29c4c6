#pragma once
// Black-and-white test and threshold, and the steps of the image dialogs'
// preview / accept / cancel cycle on the job's working and accepted images.
#include <cstdint>

#include "base/picture.h"

namespace korvane {

// Slider position the black-and-white dialog starts with each time it is shown.
constexpr int kDefaultThreshold = 128;

// True when every examined pixel is 0xFF000000 or 0xFFFFFFFF; the last column
// and the last row are not examined (except in a picture one pixel wide or
// high), and an empty picture fails.
bool IsBlackWhite(const Picture& picture);

// In place: a pixel whose mean (R + G + B) div 3 is above `threshold` becomes
// white, any other black; alpha is ignored and both results are opaque.
void ThresholdImage(Picture& picture, int threshold);

// dst := src thresholded, in one pass (dst keeps its storage when the sizes match).
void ThresholdInto(const Picture& src, int threshold, Picture& dst);

}  // namespace korvane
