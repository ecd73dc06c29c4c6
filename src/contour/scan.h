#pragma once
// Surface scanning: the picture is read along horizontal lines ``scanStep``
// pixels apart, in alternating directions, and every stretch of a line that lies
// on the area to be cleared becomes one horizontal segment at the exact
// (possibly fractional) line position.
#include "base/messages.h"
#include "base/interaction.h"
#include "base/interaction.h"
#include "base/segments.h"
#include "base/picture.h"

namespace korvane {

// Positive scan: clears the non-white area. Stretches found are coloured dark
// green in `result`. Starts with an empty segment list.
void BMPAbtasten(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                 ProgressSink& progress);

// Negative scan: clears the white area. Every examined pixel is recoloured,
// dark green on a stretch and white elsewhere.
void BMPAbtastNeg(Picture& result, SegmentList& segments, long double scanStep, const bool& cancel,
                  ProgressSink& progress);

}  // namespace korvane
