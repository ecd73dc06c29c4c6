#pragma once
// Whole-picture operations of the correction and filter dialogs and the
// geometric commands: tone table, 3x3 convolution, grey, invert, rotation,
// mirroring and nearest-neighbour resizing. Each is one pass over the pixels;
// results go in place or into a destination picture whose storage is reused
// when it already has the size.
#include <array>
#include <cstdint>

#include "base/picture.h"

namespace korvane {

// The five level values the correction dialog passes: low, mid, high, range low, range high.
constexpr int kLevelLow = 0;
constexpr int kLevelMid = 127;
constexpr int kLevelHigh = 255;
constexpr int kLevelRangeLow = 0;
constexpr int kLevelRangeHigh = 255;

// Entry i is the new value of a colour channel whose old value is i.
using ToneTable = std::array<uint8_t, 256>;

// Brightness, contrast and gamma -100..100; levels 0..255 with low < mid < high
// and rangeLow <= rangeHigh. Computed in single precision throughout.
ToneTable BuildLevelsTable(int brightness, int contrast, int gamma, int low = kLevelLow,
                           int mid = kLevelMid, int high = kLevelHigh,
                           int rangeLow = kLevelRangeLow, int rangeHigh = kLevelRangeHigh);

// dst := src with red, green and blue mapped through `table` and alpha 255.
// `dst` may be `src`.
void ApplyToneTable(const Picture& src, const ToneTable& table, Picture& dst);

// A 3x3 kernel in row order (row above, own row, row below) and its divisor.
struct FilterKernel {
  std::array<int32_t, 9> k;
  uint16_t divisor;
};

enum class FilterKind { Grenzwert, Hipass, Kanten, Scharf, Praegen, Weich };
const FilterKernel& KernelOf(FilterKind kind);

// In place on the interior of the picture; every sum reads the pixels as they
// were before the pass. Per channel: sum in 32 bits, divided with truncation
// toward zero, then above 254 -> 255 and below 1 -> 0; the written pixel is
// opaque. The one-pixel frame keeps its pixels; pictures narrower or lower
// than 3 pixels are left as they are.
void Convolve3x3(const std::array<int32_t, 9>& kernel, uint16_t divisor, Picture& picture);
inline void Convolve3x3(const FilterKernel& f, Picture& picture) {
  Convolve3x3(f.k, f.divisor, picture);
}

// "Graustufen": red, green and blue become (61 R + 174 G + 21 B) div 256; alpha kept.
void GreyImage(Picture& picture);
// "Invertieren": red, green and blue become 255 minus their value; alpha kept.
void InvertImage(Picture& picture);

// Rotation by 90 degrees clockwise: dst becomes src.height x src.width and
// source pixel (x, y) lands on (src.height - 1 - y, x). dst must not be src.
void RotateRight(Picture& dst, const Picture& src);
// Column order reversed (the "BFlipV" command). dst may be src.
void MirrorLeftRight(Picture& dst, const Picture& src);
// Row order reversed (the "BFlipH" command). dst may be src.
void MirrorTopBottom(Picture& dst, const Picture& src);

// The picture toolbar's rotate and mirror commands: the result of the working
// image (unaccepted changes included) is written into the accepted image and
// copied back, so it takes effect as accepted at once.
void RotateRightCommand(Picture& working, Picture& accepted);
void MirrorCommand(Picture& working, Picture& accepted, bool leftRight);

// Smallest new width or height the resize accepts.
constexpr int32_t kMinResizeSide = 10;

// Nearest-neighbour resampling: new pixel (x, y) takes source pixel
// ((2x + 1) W div 2w, (2y + 1) H div 2h), the one under its centre; values,
// alpha included, are copied unchanged. False, with dst untouched, when a side
// is below kMinResizeSide, the source is empty or the result would exceed the
// largest picture the decoders accept. dst must not be src.
bool ResizeNearest(const Picture& src, int32_t width, int32_t height, Picture& dst);

// Gives `p` the size w x h without filling: existing storage is reused, so a
// picture of the same pixel count costs nothing.
void SetSizeUninitialised(Picture& p, int32_t w, int32_t h);

}  // namespace korvane
