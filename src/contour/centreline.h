#pragma once
// Centre-line tracing (contour type "Mittellinie"), for pictures of drawn
// lines: the tool follows the middle of each stroke instead of cutting around
// it. The method measures the typical stroke width, marks the middle pixel of
// every horizontal and vertical black run not much wider than that, removes the
// rest of the black and traces the marked pixels with the outline tracer.
#include <array>
#include <cstdint>
#include <string>

#include "base/messages.h"
#include "contour/tracemap.h"
#include "base/interaction.h"
#include "base/segments.h"
#include "base/picture.h"

namespace korvane {

// Widest stroke width that is still thinned; a wider typical width is reported.
constexpr int kMaxThinnedWidth = 9;
// Run lengths the histogram counts: 1 .. kMaxCountedRun.
constexpr int kMaxCountedRun = 35;

// "Durchschnittliche Linienbreite zu gross: <w> Punkte"
std::string StrokeWidthMessage(int width);

// Histogram of the white-ended black runs of 1..35 pixels along the rows
// (every whole `scan step`-th row; index 0 stays 0), and the stroke width: the
// smallest length with the largest count (0 for a picture without runs).
struct StrokeWidthResult {
  std::array<int64_t, kMaxCountedRun + 1> counts{};
  int width = 0;
  bool cancelled = false;
};
StrokeWidthResult MeasureStrokeWidth(const TraceMap& map, long double scanStep, const bool& cancel,
                                     ProgressSink& progress);

// Runs the four passes on the result image (the picture with a one-pixel white
// frame) and appends the centre lines to `segments`. Shows the stroke-width
// message through `ui`. Polls `cancel` and returns at once when it is
// set; reports progress once per row of each pass.
void ScanInline(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                ProgressSink& progress, UserDialogs& ui);
// The same on the compact form; marks and segments are identical.
void ScanInline(TraceMap& result, SegmentList& segments, long double scanStep, const bool& cancel,
                ProgressSink& progress, UserDialogs& ui);

}  // namespace korvane
