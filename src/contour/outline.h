#pragma once
// Outline tracing (contour type "Aussen / Umriss"): every black object becomes
// the chains of straight segments that run along its border one pixel
// outside it, so that a tool following them cuts around the object.
//
// Three passes over the conversion run's result image (the picture with a
// one-pixel white frame): mark the border pixels red, remove the objects, and
// trace the red lines into segments, turning them dark green.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/messages.h"
#include "contour/tracemap.h"
#include "base/interaction.h"
#include "base/segments.h"
#include "base/picture.h"

namespace korvane {

// Runs the three passes on `result` and appends the segments to
// the segment list. Polls `cancel` and stops the method when it is
// set; reports progress once per row of each pass.
void ScanOutLine(Picture& result, SegmentList& segments, const bool& cancel,
                 ProgressSink& progress);
// The same on the compact form; marks and segments are identical.
void ScanOutLine(TraceMap& result, SegmentList& segments, const bool& cancel,
                 ProgressSink& progress);

// The tracer of the third pass, also the last stage of the centre-line method.
// One object per method run: it keeps its scratch buffers between paths.
class WormTracer {
 public:
  WormTracer(TraceMap& map, SegmentList& segments, const bool& cancel)
      : map_(map), segments_(segments), cancel_(cancel) {}
  ~WormTracer() { finish(); }
  WormTracer(const WormTracer&) = delete;
  WormTracer& operator=(const WormTracer&) = delete;

  // Traces the red pixels connected to the red pixel (x, y) into segments
  // and turns the traced pixels dark green. It tries the start (x, y) and the
  // right end of the red run beginning there and keeps the longer trace; on a
  // tie the right end wins.
  void ScanWurm(int32_t x, int32_t y);

  // Each path goes into the segment list as it is traced. Every path
  // replaces the undo bank with the list as it was before that path; that
  // copy is taken once, here (also done by the destructor). The list must not
  // change otherwise while paths are pending.
  void finish();

 private:
  struct Run {
    int32_t x1, y1, x2, y2;
  };
  struct Path {
    std::vector<Run> runs;
    std::vector<std::size_t> changed;  // pixels turned dark green, in order
    std::size_t start = 0;             // index of the start pixel
    uint8_t startWas = kMapRed;        // its code before the trace
    bool startChanged = false;
    int64_t length = 0;
  };

  void Trace(int32_t sx, int32_t sy, Path& path);
  void Undo(const Path& path);
  void Redo(const Path& path);

  TraceMap& map_;
  SegmentList& segments_;
  const bool& cancel_;
  Path first_, second_;
  int32_t lastPathStart_ = 0;  // where the last path begins in the list
  bool traced_ = false;
};

// Rounded length of a segment between whole-numbered end points (ties to even).
int64_t SegmentLength(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

}  // namespace korvane
