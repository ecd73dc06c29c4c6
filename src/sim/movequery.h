#pragma once
// Questions about a move list as a whole, answered by replaying it: the
// lengths of the feed and rapid paths, and which line a point on the surface
// is nearest to (for pointing from the drawing at the NC program).
#include <cstdint>
#include <optional>

#include "sim/interpreter.h"
#include "sim/movelist.h"
#include "sim/view3d.h"

namespace korvane {

struct PathLengths {
  long double feed = 0, rapid = 0;  // millimetres, vertical moves included
  bool ok = true;                   // false: the list stops at an unreadable line
};
PathLengths MeasurePaths(const MoveList& list);

// The same lengths summed record by record, as the records are read: a list
// of millions of moves is then measured while its reading reports progress.
class PathMeter {
 public:
  PathMeter() : interp_(sink_) { interp_.reset(); }
  PathMeter(const PathMeter&) = delete;
  PathMeter& operator=(const PathMeter&) = delete;
  // Adds one record of `list` (in list order); after an unreadable one the
  // lengths stay as they were before it.
  void add(const MoveRecord& record, const MoveList& list);
  const PathLengths& lengths() const { return sink_.out; }

 private:
  class Sink : public MoveSink {
   public:
    void placement(const Point3&) override {}
    void rapid(const Point3& a, const Point3& b) override;
    void feed(const Point3& a, const Point3& b) override;
    PathLengths out;
  };
  Sink sink_;
  MoveInterpreter interp_;
};

// The move-list index of the line whose drawn move passes nearest to pixel
// (px, py) in `view`, if within `maxPixels`; -1 otherwise. Rapid moves count
// only when they are drawn.
// The last move that line `line` of the list makes (a feed line: the move in
// the plane after its plunge), or nothing for a line without a move.
struct MoveSpan {
  Point3 from, to;
};
std::optional<MoveSpan> MoveOfLine(const MoveList& list, int32_t line);

int32_t NearestLine(const MoveList& list, const View3D& view, int px, int py, bool withRapid,
                    double maxPixels);

}  // namespace korvane
