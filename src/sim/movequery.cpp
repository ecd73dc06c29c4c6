#include "sim/movequery.h"

#include <cmath>
#include <limits>

#include "sim/interpreter.h"

namespace korvane {

namespace {

long double Length(const Point3& a, const Point3& b) {
  return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                   (b.z - a.z) * (b.z - a.z));
}

// Distance from (px, py) to the projected moves, remembering the closest.
class Nearest : public MoveSink {
 public:
  Nearest(const View3D& v, int px, int py, bool withRapid)
      : v_(v), px_(px), py_(py), withRapid_(withRapid) {}
  void placement(const Point3&) override {}
  void rapid(const Point3& a, const Point3& b) override {
    if (withRapid_) check(a, b);
  }
  void feed(const Point3& a, const Point3& b) override { check(a, b); }

  int32_t current = -1;
  int32_t best = -1;
  double bestDistance = std::numeric_limits<double>::infinity();

 private:
  void check(const Point3& a, const Point3& b) {
    const Pixel p = v_.Project(a.x, a.y, a.z), q = v_.Project(b.x, b.y, b.z);
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px_ - p.x) * dx + (py_ - p.y) * dy) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    const double d = std::hypot(p.x + t * dx - px_, p.y + t * dy - py_);
    if (d < bestDistance) {
      bestDistance = d;
      best = current;
    }
  }
  const View3D& v_;
  int px_, py_;
  bool withRapid_;
};

// Keeps the last move of the current line.
class LastMove : public MoveSink {
 public:
  void placement(const Point3&) override {}
  void rapid(const Point3& a, const Point3& b) override { span = MoveSpan{a, b}; }
  void feed(const Point3& a, const Point3& b) override { span = MoveSpan{a, b}; }
  std::optional<MoveSpan> span;
};

}  // namespace

std::optional<MoveSpan> MoveOfLine(const MoveList& list, int32_t line) {
  if (line < 0 || static_cast<size_t>(line) >= list.size()) return std::nullopt;
  LastMove sink;
  MoveInterpreter interp(sink);
  interp.reset();
  for (int32_t i = 0; i <= line; ++i) {
    sink.span.reset();
    if (!interp.Paintway(list.records()[static_cast<size_t>(i)], list)) return std::nullopt;
  }
  return sink.span;
}

void PathMeter::Sink::rapid(const Point3& a, const Point3& b) { out.rapid += Length(a, b); }
void PathMeter::Sink::feed(const Point3& a, const Point3& b) { out.feed += Length(a, b); }

void PathMeter::add(const MoveRecord& record, const MoveList& list) {
  if (!sink_.out.ok) return;
  if (!interp_.Paintway(record, list)) sink_.out.ok = false;
}

PathLengths MeasurePaths(const MoveList& list) {
  PathMeter meter;
  for (const MoveRecord& r : list.records()) {
    meter.add(r, list);
    if (!meter.lengths().ok) break;
  }
  return meter.lengths();
}

int32_t NearestLine(const MoveList& list, const View3D& view, int px, int py, bool withRapid,
                    double maxPixels) {
  Nearest sink(view, px, py, withRapid);
  MoveInterpreter interp(sink);
  interp.reset();
  for (const MoveRecord& r : list.records()) {
    sink.current = r.source;
    if (!interp.Paintway(r, list)) break;
  }
  return sink.bestDistance <= maxPixels ? sink.best : -1;
}

}  // namespace korvane
